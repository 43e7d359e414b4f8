// Importing a stream of records on both backends and in both storage modes: the counts a user
// is shown, records taken as they parse, and a database failure at any statement of a batch
// costing only the record it hit, never half a record.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "db/Gbk.h"
#include "marc/core/MarcImport.h"
#include "marc/core/basBMStore.h"
#include "tests/marc/MarcDbTest.h"
#include "tests/support/ProbeBackend.h"

namespace {

class MarcImport : public MarcDbTest {};
class MarcImportUnicode : public MarcDbUnicodeTest {};

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(SERIALS_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

MarcImportReport imported(const std::string& bytes, MarcFormat format, MarcEncoding enc,
                          std::vector<std::string>* notices = nullptr) {
    std::istringstream in(bytes);
    MarcImportListener listener;
    listener.notice = [notices](const std::string& line) {
        if (notices) notices->push_back(line);
    };
    return MarcImportStream(in, format, enc, listener);
}

std::string field(const MarcRec& rec, const char* ref) {
    MarcResetCursor();
    return MarcGetSubFieldSeq(rec, ref);
}

// Rows that belong to no record, and records without data rows: what half a save leaves.
std::string orphans() {
    return scalar(
               "SELECT count(*) FROM marc_data WHERE marc_rec_no NOT IN "
               "(SELECT marc_rec_no FROM marc)") +
           "/" +
           scalar(
               "SELECT count(*) FROM marc_idx WHERE marc_rec_no NOT IN "
               "(SELECT marc_rec_no FROM marc)") +
           "/" +
           scalar(
               "SELECT count(*) FROM marc WHERE marc_rec_no NOT IN "
               "(SELECT marc_rec_no FROM marc_data)");
}

MARC_BOTH_MODES(MarcImport, CountsTellWhatWasSavedRepairedAndSkipped) {
    std::string good = fixture("unimarc_sample.mrc");
    std::string crlf = good.substr(0, good.find('\x1d') + 1);
    crlf.replace(crlf.find('\x1e', 30) + 3, 2, "\r\n");
    std::string junk = "00040nas  2200000   450 " + std::string(15, 'x') + "\x1d";
    std::vector<std::string> notices;
    MarcImportReport r =
        imported(good + junk + crlf, MarcFormat::Cnmarc, MarcEncoding::Gbk, &notices);
    EXPECT_EQ(r.saved, 3);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(r.repaired, 1);
    EXPECT_EQ(r.failed, 0);
    EXPECT_FALSE(r.complete());
    EXPECT_EQ(r.bytesRead, good.size() + junk.size() + crlf.size());
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[0].find("第 3 条记录（文件位置 " + std::to_string(good.size()) + "）已跳过"),
              std::string::npos)
        << notices[0];
    EXPECT_NE(notices[1].find("回车换行"), std::string::npos) << notices[1];
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "3");
    // Numbered in file order, each with its own 001 and header columns.
    MarcRec third = MarcLoad("0000000003");
    EXPECT_EQ(field(third, "001"), "0000000003");
    EXPECT_EQ(third.MarcType, "C");
    EXPECT_EQ(field(third, "200a"), field(MarcLoad("0000000001"), "200a"));
}

MARC_BOTH_MODES(MarcImport, Marc8RecordsAreSavedAsUnicodeText) {
    MarcImportReport r =
        imported(fixture("marc8_sample.mrc"), MarcFormat::Usmarc, MarcEncoding::ByLeader);
    ASSERT_EQ(r.saved, 2);
    EXPECT_TRUE(r.complete());
    MarcRec western = MarcLoad("0000000001");
    MarcRec cjk = MarcLoad("0000000002");
    // Characters outside GBK survive only where the tables hold Unicode.
    auto stored = [](const std::string& text) {
        return UnicodeMarcMode ? text : gbkToUtf8(utf8ToGbk(text));
    };
    EXPECT_EQ(field(western, "245a"), stored("Revue d'études françaises /"));
    EXPECT_EQ(field(western, "100a"), stored("Dvořák, Antonín."));
    EXPECT_EQ(field(cjk, "880a"), "中国图书馆学报.");
    EXPECT_EQ(western.Leader[9], 'a');
}

MARC_BOTH_MODES(MarcImport, AFailureAtAnyStatementCostsOnlyWholeRecords) {
    std::string two = fixture("unimarc_sample.mrc");
    ProbeBackend& probe = ProbeBackend::install();
    probe.reset();
    ASSERT_EQ(imported(two, MarcFormat::Cnmarc, MarcEncoding::Gbk).saved, 2);
    const int steps = probe.steps();
    ASSERT_GT(steps, 10);
    int total = 2;
    for (int step = 1; step <= steps; ++step) {
        probe.reset();
        probe.failAt = step;
        MarcImportReport r = imported(two, MarcFormat::Cnmarc, MarcEncoding::Gbk);
        probe.failAt = 0;
        EXPECT_EQ(r.saved + r.failed, 2) << "step " << step;
        EXPECT_GE(r.failed, 1) << "step " << step;
        total += r.saved;
        EXPECT_EQ(scalar("SELECT count(*) FROM marc"), std::to_string(total)) << "step " << step;
        EXPECT_EQ(orphans(), "0/0/0") << "step " << step;
        EXPECT_FALSE(g_blnInTrans);
    }
}

// A record the database refuses halfway through a batch (its number is taken already) is left
// out alone: the records before and after it in the same transaction are saved whole, and the
// refused one leaves no data or index row under its number.
MARC_BOTH_MODES(MarcImport, ARecordRefusedInTheMiddleOfABatchIsLeftOutAlone) {
    std::string two = fixture("unimarc_sample.mrc");
    std::string three = two + two.substr(0, two.find('\x1d') + 1);
    const long long last =
        std::stoll(scalar("SELECT max_rec_no FROM reg_marc_number WHERE marc_kind='marc'"));
    const std::string taken = MarcRecNoText(std::to_string(last + 2));
    ASSERT_EQ(LIB_DB_InsertRows("marc", MarcHeaderColumns(kMarcBib),
                                {{taken, "11", "0", "C", "ROOT", "2024-01-01", "CHI", "CN"}}),
              0)
        << g_ErrInfo.strDesc;
    const long long records = std::stoll(scalar("SELECT count(*) FROM marc"));

    std::vector<std::string> notices;
    MarcImportReport r = imported(three, MarcFormat::Cnmarc, MarcEncoding::Gbk, &notices);
    EXPECT_EQ(r.saved, 2);
    EXPECT_EQ(r.failed, 1);
    EXPECT_FALSE(r.complete());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("第 2 条记录"), std::string::npos) << notices[0];
    EXPECT_FALSE(g_blnInTrans);

    for (long long n : {last + 1, last + 3}) {
        const std::string no = "'" + MarcRecNoText(std::to_string(n)) + "'";
        EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no=" + no), "1") << n;
        EXPECT_NE(scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no=" + no), "0") << n;
        EXPECT_NE(scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no=" + no), "0") << n;
        EXPECT_EQ(field(MarcLoad(MarcRecNoText(std::to_string(n))), "001"),
                  MarcRecNoText(std::to_string(n)));
    }
    const std::string no = "'" + taken + "'";
    EXPECT_EQ(scalar("SELECT cata_date FROM marc WHERE marc_rec_no=" + no), "2024-01-01")
        << "the record that had the number is untouched";
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no=" + no), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no=" + no), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), std::to_string(records + 2));
}

// A large import ends by gathering the planner's statistics of the tables it filled (without
// them PostgreSQL plans searches on the new rows as if the tables were empty); a small one
// leaves them to the server.
TEST_P(MarcImport, ALargeImportGathersThePlannerStatisticsOfTheTablesItFilled) {
    const std::string two = fixture("unimarc_sample.mrc");
    auto analyzedByHand = [this] {
        if (GetParam() != kPostgres) return 0LL;
        return std::stoll(
            scalar("SELECT analyze_count FROM pg_stat_user_tables WHERE relname='marc_idx'"));
    };
    ProbeBackend& probe = ProbeBackend::install();
    ASSERT_EQ(imported(two, MarcFormat::Cnmarc, MarcEncoding::Gbk).saved, 2);
    EXPECT_TRUE(probe.analyzed.empty());
    const long long before = analyzedByHand();

    std::string large;
    for (int i = 0; i < kMarcAnalyzeAfter / 2; ++i)
        large += two;
    MarcImportReport r = imported(large, MarcFormat::Cnmarc, MarcEncoding::Gbk);
    ASSERT_EQ(r.saved, kMarcAnalyzeAfter);
    EXPECT_TRUE(r.complete());
    for (const char* table : {"marc", "marc_data", "marc_idx", "marc_title_word"})
        EXPECT_NE(std::find(probe.analyzed.begin(), probe.analyzed.end(), table),
                  probe.analyzed.end())
            << table;
    EXPECT_FALSE(g_blnInTrans);
    if (GetParam() == kPostgres) {
        EXPECT_EQ(analyzedByHand(), before + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, MarcImportUnicode, ::testing::Values(kSqlite, kPostgres),
                         backendName);
SERIALS_ON_BOTH_BACKENDS(MarcImport);

}  // namespace

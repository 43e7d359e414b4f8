// Saving a catalogue record in a transaction of its own, new and changed, with each step failed
// in turn, and an import while another connection holds the write lock: the record, its data
// rows and its index are all there or none is. (The record number
// drawn for a new record stays used: numbering commits on its own so that parallel imports
// never share a number.)
#include <gtest/gtest.h>

#include <sstream>

#include "marc/core/MarcImport.h"
#include "marc/core/MarcIso.h"
#include "tests/marc/MarcDbTest.h"
#include "tests/support/FaultSteps.h"
#include "tests/support/HeldWriteLock.h"

namespace {

class MarcFaults : public MarcDbTest {
protected:
    static std::string tables() {
        return tableRows({"marc", "marc_data", "marc_idx", "lc_class", "marc_title_word"});
    }
    static MarcRec record() {
        return marcFromItems(
            "C", {{"200a", "数据库学报"}, {"011a", "1000-0003"}, {"210c", "科学出版社"}});
    }
};
SERIALS_ON_BOTH_BACKENDS(MarcFaults);

TEST_P(MarcFaults, NewRecord) {
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [] {
            MarcRec rec = record();
            return MarcSave(rec, 0, 0, "");
        },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
    EXPECT_NE(scalar("SELECT count(*) FROM marc_idx"), "0");
}

TEST_P(MarcFaults, ChangedRecord) {
    MarcRec saved = record();
    ASSERT_TRUE(MarcSave(saved, 0, 0, ""));
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [&] {
            MarcRec rec = saved;
            MarcAddField(rec, MakeMarcField("300", "  ", std::string(1, kSubfieldMark) + "a月刊"));
            return MarcSave(rec, 0, 0, "");
        },
        tables);
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), "1");
}

TEST_P(MarcFaults, ImportUnderAHeldWriteLockSavesRecordsWholeOrReportsThem) {
    const bool sqlite = GetParam() == kSqlite;
    std::string file;
    for (const char* title : {"数据库学报", "情报学刊", "图书馆论坛", "期刊管理"})
        file += MarcIsoWrite(marcFromItems("C", {{"200a", title}}), MarcEncoding::Gbk);
    // Another workstation holds the write lock a little longer than the busy timeout (SQLite)
    // or for a while (PostgreSQL, which waits for it).
    HeldWriteLock held("marc", std::chrono::milliseconds(sqlite ? 6000 : 1500));
    std::vector<std::string> notices;
    std::istringstream in(file);
    MarcImportListener listener;
    listener.notice = [&](const std::string& n) { notices.push_back(n); };
    MarcImportReport r = MarcImportStream(in, MarcFormat::Cnmarc, MarcEncoding::Gbk, listener);
    held.join();
    EXPECT_EQ(r.saved + r.failed, 4);
    // A batch the lock stops is reported once, with the records it held.
    EXPECT_EQ(notices.empty(), r.failed == 0);
    if (sqlite) {
        EXPECT_GE(r.failed, 1) << "the lock outlasted the busy timeout";
    }
    for (const ShownMessage& shown : presenter.shown)
        EXPECT_FALSE(shown.inTransaction) << shown.body;
    EXPECT_EQ(scalar("SELECT count(*) FROM marc"), std::to_string(r.saved));
    // No data or index row without its record, no record without its data.
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_data WHERE marc_rec_no NOT IN "
                     "(SELECT marc_rec_no FROM marc)"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc_idx WHERE marc_rec_no NOT IN "
                     "(SELECT marc_rec_no FROM marc)"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no NOT IN "
                     "(SELECT marc_rec_no FROM marc_data)"),
              "0");
}

}  // namespace

// Normalised numbers, the title change copy and copying or moving details between catalogues:
// what each writes (numbers, records, lines, flags), the cases each refuses with nothing
// written, and every step of each operation failed in turn; the pre-order items' normalised
// numbers an upgraded database computes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "db/SchemaInstaller.h"
#include "db/SqlText.h"
#include "marc/core/MarcImport.h"
#include "marc/core/basBMStore.h"
#include "ordering/core/OrdTransfer.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

// The lines of CompleteDetail as linesOf() writes them: subscribers, funds, distributions.
const char* const kCompleteLines =
    "QK01/2/1/全年;WWQK/1/0/上半年;|QK01/01/2/30000;WWQK/02/1/15000;|QK01/QK01/1/;QK01/"
    "QKYL/1/TP3/12;|";

// YZFX 202601 holds 2-15 (with a catalogue record), 82-1 and ABC; YZFX 202602 and SYZF 202601
// are the targets, 202602 already holding an 82-1 of its own.
class OrdXfer : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(MarcLoadDemoRecords({}).saved, 40);
        record = scalar("SELECT marc_rec_no FROM marc WHERE m_title='图书馆学研究进展'");
        ASSERT_FALSE(record.empty());
        for (const char* year : {"202601", "202602"})
            ASSERT_EQ(intNewOrdCata("YZFX", year), 0);
        ASSERT_EQ(intNewOrdCata("SYZF", "202601"), 0);
        OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
        d.marcNo = record;
        save(d);
        save(CompleteDetail("YZFX", "202601", "82-1"));
        save(CompleteDetail("YZFX", "202601", "ABC"));
        OrdDetail theirs = CompleteDetail("YZFX", "202602", "82-1");
        theirs.remark = "目标目录原有";
        save(theirs);
    }
    void save(OrdDetail d) { ASSERT_EQ(intSaveOrdDetail(d, false), 0); }
    static std::string col(const std::string& c, const std::string& publ, const std::string& year,
                           const std::string& no) {
        return scalar("SELECT " + c + " FROM m_peri_ord_detl WHERE publ_code='" + publ +
                      "' AND peri_ord_year='" + year + "' AND asord_no='" + no + "'");
    }
    // Subscriber, fund and distribution lines of a detail, as text.
    static std::string linesOf(const std::string& publ, const std::string& year,
                               const std::string& no) {
        const std::string key = " WHERE publ_code='" + publ + "' AND peri_ord_year='" + year +
                                "' AND asord_no='" + no + "' ORDER BY 1";
        std::string out;
        for (const char* sql :
             {"SELECT location || '/' || sub_peri_qty || '/' || chk_stat || '/' || "
              "COALESCE(peri_region, '') FROM m_sub_ord_lst",
              "SELECT location || '/' || fund_src_code || '/' || sub_qty || '/' || "
              "CAST(sub_amt * 100 AS INTEGER) FROM "
              "m_peri_sub_fund_out",
              "SELECT location || '/' || dist_loca || '/' || dist_qty || '/' || "
              "COALESCE(label, '') FROM m_peri_ord_dist_lst"}) {
            for (const auto& row : g_OraDatabase->query(sql + key).rows)
                out += row[0].str() + ";";
            out += "|";
        }
        return out;
    }
    static std::string orderTables() {
        return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst"});
    }
    std::string record;
};
SERIALS_ON_BOTH_BACKENDS(OrdXfer);

TEST_P(OrdXfer, StandardWritesTheNormalisedNumbersOfTheNamedDetailsOnly) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET fmt_asord_no='旧', row_version=3");
    std::vector<std::pair<std::string, std::string>> written;
    ASSERT_EQ(intStandardOrdNumbers("YZFX", "202601", {"2-15", "ABC", "不存在"}, written), 0);
    EXPECT_EQ(written, (std::vector<std::pair<std::string, std::string>>{{"2-15", "0002-0015"},
                                                                         {"ABC", "ABC"}}));
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202601", "2-15"), "0002-0015");
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202601", "ABC"), "ABC");
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202601", "82-1"), "旧");
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202602", "82-1"), "旧");
    // A list loaded before the change must not save over it.
    EXPECT_EQ(col("row_version", "YZFX", "202601", "2-15"), "4");
    EXPECT_EQ(col("row_version", "YZFX", "202601", "82-1"), "3");
    // Run again: nothing changes, no version moves.
    ASSERT_EQ(intStandardOrdNumbers("YZFX", "202601", {"2-15"}, written), 0);
    EXPECT_EQ(col("row_version", "YZFX", "202601", "2-15"), "4");
}

TEST_P(OrdXfer, TitleChangeCopiesRecordDetailAndLinesUnderTheNewNumber) {
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET ord_flag='1', chk_bgn_date='2026-01-01' WHERE "
        "asord_no='2-15'");
    OrdRenameResult r;
    ASSERT_EQ(intRenameOrdDetail("YZFX", "202601", "2-15", r), 0);
    EXPECT_EQ(r.asordNo, "2-15:A");
    ASSERT_FALSE(r.marcNo.empty());
    EXPECT_NE(r.marcNo, record);
    // The new record: its own number in 001, the old one's title, index rows of its own.
    MarcRec copy = MarcLoad(r.marcNo), old = MarcLoad(record);
    ASSERT_FALSE(copy.Dir.empty());
    ASSERT_EQ(copy.Dir[0].Tag, "001");
    EXPECT_EQ(MarcFieldContent(copy, 0), r.marcNo);
    EXPECT_EQ(copy.Dir.size(), old.Dir.size());
    EXPECT_EQ(scalar("SELECT m_title FROM marc WHERE marc_rec_no='" + r.marcNo + "'"),
              "图书馆学研究进展");
    const std::string idx = "SELECT count(*) FROM marc_idx WHERE marc_rec_no='";
    EXPECT_NE(scalar(idx + r.marcNo + "'"), "0");
    EXPECT_EQ(scalar(idx + r.marcNo + "'"), scalar(idx + record + "'"));
    // The detail: new number and record, not sent, the rest as it was.
    EXPECT_EQ(col("marc_rec_no", "YZFX", "202601", "2-15:A"), r.marcNo);
    EXPECT_EQ(col("ord_flag", "YZFX", "202601", "2-15:A"), "0");
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202601", "2-15:A"), "0002-15:A");
    EXPECT_EQ(col("peri_price || '/' || peri_total_price || '/' || peri_ord_qty || '/' || remark",
                  "YZFX", "202601", "2-15:A"),
              col("peri_price || '/' || peri_total_price || '/' || peri_ord_qty || '/' || remark",
                  "YZFX", "202601", "2-15"));
    EXPECT_EQ(linesOf("YZFX", "202601", "2-15:A"), linesOf("YZFX", "202601", "2-15"));
    EXPECT_EQ(linesOf("YZFX", "202601", "2-15:A"), kCompleteLines);
    // The source keeps its record and state.
    EXPECT_EQ(col("marc_rec_no || ord_flag", "YZFX", "202601", "2-15"), record + "1");
}

TEST_P(OrdXfer, TitleChangeRefusalsWriteNothing) {
    OrdRenameResult r;
    ASSERT_EQ(intRenameOrdDetail("YZFX", "202601", "2-15", r), 0);
    const std::string before = orderTables() + tableRows({"marc"});
    struct Case {
        const char* asordNo;
        const char* message;
    } cases[] = {
        {"2-15:A", "此刊已经改名了（带有:A标志），不能再改名复制"},
        {"2-15", "征订号为2-15:A的订购明细已经存在，不能再改名复制！"},
        {"82-1", "征订号为82-1的订购明细没有书目记录，不能改名复制！"},
        {"9-9", "订购目录中没有征订号为9-9的订购明细！"},
    };
    for (const Case& c : cases) {
        presenter.shown.clear();
        EXPECT_EQ(intRenameOrdDetail("YZFX", "202601", c.asordNo, r), -1) << c.asordNo;
        ASSERT_EQ(presenter.shown.size(), 1u) << c.asordNo;
        EXPECT_EQ(presenter.shown[0].body, c.message);
        EXPECT_EQ(presenter.shown[0].type, 'E');
    }
    // A number that the ":A" would make longer than the column takes.
    const std::string longNo(39, '7');
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET asord_no='" + longNo +
        "' WHERE publ_code='YZFX' AND peri_ord_year='202601' AND asord_no='ABC'");
    EXPECT_EQ(intRenameOrdDetail("YZFX", "202601", longNo, r), -1);
    EXPECT_NE(presenter.bodies().back().find("超过40个字符"), std::string::npos);
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET asord_no='ABC' WHERE asord_no='" + longNo +
                           "'");
    EXPECT_EQ(orderTables() + tableRows({"marc"}), before);
}

TEST_P(OrdXfer, CopySkipsNumbersTheTargetHasAndCopiesTheRestWithTheirLines) {
    OrdXferResult r;
    ASSERT_EQ(intTransferOrdDetails("YZFX", "202601", {"2-15", "82-1"}, "YZFX", "202602",
                                    OrdXferMode::Copy, r),
              0);
    EXPECT_EQ(r.copied, std::vector<std::string>{"2-15"});
    EXPECT_EQ(r.existing, std::vector<std::string>{"82-1"});
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"下列征订号在该目录中已经存在：\n82-1",
                                                            "成功将纪录移动到指定目录中！"}));
    EXPECT_EQ(linesOf("YZFX", "202602", "2-15"), linesOf("YZFX", "202601", "2-15"));
    EXPECT_EQ(col("marc_rec_no", "YZFX", "202602", "2-15"), record);
    EXPECT_EQ(col("remark", "YZFX", "202602", "82-1"), "目标目录原有");
    // The source stays.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE peri_ord_year='202601'"), "3");
}

TEST_P(OrdXfer, ACopyOutOfASentCatalogueIsARenewalAndNotSent) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='2-15'");
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_lst SET peri_ord_flag='1' WHERE "
        "publ_code='YZFX' AND peri_ord_year='202601'");
    OrdXferResult r;
    ASSERT_EQ(intTransferOrdDetails("YZFX", "202601", {"2-15", "ABC"}, "SYZF", "202601",
                                    OrdXferMode::Copy, r),
              0);
    for (const char* no : {"2-15", "ABC"}) {
        EXPECT_EQ(col("ord_flag || new_ord_flag || resp_wkr", "SYZF", "202601", no), "01DY01")
            << no;
        EXPECT_EQ(linesOf("SYZF", "202601", no), linesOf("YZFX", "202601", no)) << no;
    }
    // Out of an unsent catalogue each title keeps its flag.
    ASSERT_EQ(
        intTransferOrdDetails("YZFX", "202602", {"82-1"}, "SYZF", "202601", OrdXferMode::Copy, r),
        0);
    EXPECT_EQ(col("new_ord_flag", "SYZF", "202601", "82-1"), "0");
}

TEST_P(OrdXfer, MoveTakesTheDetailsOutOfTheSourceButNeverSentOnes) {
    OrdXferResult r;
    ASSERT_EQ(intTransferOrdDetails("YZFX", "202601", {"2-15", "ABC", "82-1"}, "SYZF", "202601",
                                    OrdXferMode::Move, r),
              0);
    EXPECT_EQ(r.copied, (std::vector<std::string>{"2-15", "ABC", "82-1"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE publ_code='YZFX' AND "
                     "peri_ord_year='202601'"),
              "0");
    EXPECT_EQ(linesOf("YZFX", "202601", "2-15"), "|||");
    EXPECT_EQ(linesOf("SYZF", "202601", "2-15"), kCompleteLines);
    EXPECT_EQ(col("marc_rec_no", "SYZF", "202601", "2-15"), record);

    // Back again, with one of them sent in the meantime: the move is refused whole.
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='ABC'");
    const std::string before = orderTables();
    presenter.shown.clear();
    EXPECT_EQ(intTransferOrdDetails("SYZF", "202601", {"2-15", "ABC"}, "YZFX", "202601",
                                    OrdXferMode::Move, r),
              -1);
    EXPECT_EQ(presenter.bodies(),
              std::vector<std::string>{"下列征订号已经发订，不能移出原目录（可以复制）：\nABC"});
    EXPECT_EQ(orderTables(), before);
}

TEST_P(OrdXfer, TargetsThatCannotTakeTheDetailsAreRefused) {
    const std::string before = orderTables();
    struct Case {
        const char *publ, *year, *message;
    } cases[] = {
        {"", "", "请选择目的订购目录！"},
        {"YZFX", "202601", "目的订购目录就是原订购目录，请选择其他订购目录！"},
        {"YZFX", "209901", "目的订购目录YZFX 209901不存在！"},
    };
    for (const Case& c : cases) {
        presenter.shown.clear();
        OrdXferResult r;
        EXPECT_EQ(
            intTransferOrdDetails("YZFX", "202601", {"2-15"}, c.publ, c.year, OrdXferMode::Move, r),
            -1);
        EXPECT_EQ(presenter.bodies(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(orderTables(), before);
}

TEST_P(OrdXfer, MergingACatalogueCopiesAllItsDetails) {
    OrdXferResult r;
    ASSERT_EQ(intMergeOrdCata("YZFX", "202601", "YZFX", "202602", r), 0);
    EXPECT_EQ(r.copied, (std::vector<std::string>{"2-15", "ABC"}));
    EXPECT_EQ(r.existing, std::vector<std::string>{"82-1"});
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE peri_ord_year='202602'"), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE peri_ord_year='202601'"), "3");
}

class OrdXferFaults : public OrdXfer {
protected:
    void SetUp() override {
        OrdXfer::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        probe = &ProbeBackend::install();
    }
    static std::string tables() {
        // The record counter is left out: a number drawn stays drawn.
        return orderTables() + tableRows({"marc", "marc_data", "marc_idx", "marc_title_word"});
    }
    void expectEveryStepSafe(const std::function<bool()>& op) {
        auto failed = failEachStep(*probe, presenter, op, tables);
        EXPECT_TRUE(contains(failed, "begin"));
        EXPECT_TRUE(contains(failed, "commit"));
    }
    ProbeBackend* probe = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdXferFaults);

TEST_P(OrdXferFaults, Standard) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET fmt_asord_no='旧'");
    std::vector<std::pair<std::string, std::string>> written;
    expectEveryStepSafe([&] {
        return intStandardOrdNumbers("YZFX", "202601", {"2-15", "82-1", "ABC"}, written) == 0;
    });
    EXPECT_EQ(col("fmt_asord_no", "YZFX", "202601", "82-1"), "0082-0001");
}

TEST_P(OrdXferFaults, TitleChange) {
    OrdRenameResult r;
    expectEveryStepSafe([&] { return intRenameOrdDetail("YZFX", "202601", "2-15", r) == 0; });
    EXPECT_EQ(col("marc_rec_no", "YZFX", "202601", "2-15:A"), r.marcNo);
}

TEST_P(OrdXferFaults, Move) {
    OrdXferResult r;
    expectEveryStepSafe([&] {
        return intTransferOrdDetails("YZFX", "202601", {"2-15", "82-1", "ABC"}, "YZFX", "202602",
                                     OrdXferMode::Move, r) == 0;
    });
    EXPECT_EQ(col("count(*)", "YZFX", "202601", "2-15"), "0");
    EXPECT_EQ(col("count(*)", "YZFX", "202601", "82-1"), "1");
}

TEST_P(OrdXferFaults, Copy) {
    OrdXferResult r;
    expectEveryStepSafe([&] {
        return intTransferOrdDetails("YZFX", "202601", {"2-15", "ABC"}, "SYZF", "202601",
                                     OrdXferMode::Copy, r) == 0;
    });
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE publ_code='SYZF'"), "4");
}

}  // namespace

namespace {

// The upgrade step that gives an existing database's pre-order items their normalised number
// computes it in SQL: on both backends it must agree with the program's own normalisation.
class AsordNumberUpgrade : public OrdDbTest {
protected:
    static std::string upgradeStep() {
        for (const auto& e :
             std::filesystem::directory_iterator(std::string(SERIALS_SOURCE_DIR) + "/db/upgrade")) {
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            if (text.str().find("ALTER TABLE peri_asord_detl ADD COLUMN fmt_asord_no") !=
                std::string::npos)
                return text.str();
        }
        return "";
    }
};
SERIALS_ON_BOTH_BACKENDS(AsordNumberUpgrade);

TEST_P(AsordNumberUpgrade, ExistingItemsGetTheNumberTheProgramWouldWrite) {
    const std::string step = upgradeStep();
    ASSERT_FALSE(step.empty());
    // The database as it was before the step.
    g_OraDatabase->execute("DROP INDEX PERI_ASORD_DETL_FMT_IDX");
    g_OraDatabase->execute("ALTER TABLE peri_asord_detl DROP COLUMN fmt_asord_no");
    const std::vector<std::string> numbers = {
        "2-15",   "82-1", "0082-0001", "2-15:A", "12345-1", "1234-12345", "-5",
        "ABC",    "2-",   "1-2-3",     "0024-A", "12-3456", "a-b",        "中-1",
        "中文-1", "éé-1", "a中-1",     "中a-12", "ab中-1",  "７-1",       "9-0504"};
    for (const std::string& n : numbers)
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no) "
            "VALUES ('YZFX','202611'," +
            LIB_SqlStr(n) + ")");
    for (const std::string& sql : splitSqlScript(step))
        g_OraDatabase->execute(sql);
    for (const std::string& n : numbers)
        EXPECT_EQ(
            scalar("SELECT fmt_asord_no FROM peri_asord_detl WHERE asord_no=" + LIB_SqlStr(n)),
            strFormatAsordNo(n))
            << n;
    EXPECT_EQ(scalar("SELECT count(*) FROM peri_asord_detl WHERE fmt_asord_no='0082-0001'"), "2");
}

}  // namespace

// Accession on both backends: property numbers from the operator's section (recycled ones
// first), bound volumes and single issues written to indi_acct and item, uniqueness of property
// numbers and barcodes (a number taken meanwhile by another workstation reports "财产号重复!"),
// undo refused on loan; failures at any step leave every table as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "binding/core/basBindFunc.h"
#include "binding/core/basStoreFunc.h"
#include "db/basLibDB.h"
#include "tests/binding/BindTestData.h"
#include "tests/support/ProbeBackend.h"

namespace {

class Store : public BindDbTest {
protected:
    void SetUp() override {
        BindDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        insertAccessionSetup();
        TitleSpec t;
        t.callNo = "TP3/12";
        marc = insertTitle(t);
        BindSearch s;
        s.text = "测试";
        std::vector<BindTitle> titles;
        ASSERT_EQ(intFindBindTitles(s, titles), 0);
        BindCreate r{"ZD01", "2026-01", true, "2025", 1};
        ASSERT_EQ(intCreateBindRecords(r, titles, bindNos), 0);
        ASSERT_EQ(bindNos.size(), 2u);
    }
    StoreEntry entry(const std::string& barcode, const std::string& prop = "") {
        StoreEntry e;
        e.propNo = prop;
        e.barCode = barcode;
        return e;
    }
    std::string accessioned(const std::string& table, const std::string& prop) {
        return scalar(
            "SELECT bar_code||'|'||call_no||'|'||location||'|'||dis_location||'|'||"
            "marc_rec_no||'|'||year||'|'||vol_peri||'|'||asord_no||'|'||resp_wkr FROM " +
            table + " WHERE prop_no='" + prop + "'");
    }
    // The issue kept out of the binding records: copy 1 of issue 13.
    BoundCopy keptCopy() { return {periIdOf(13), "QK01", "QK01", "33", "13", "2025", 1}; }
    // Fails the operation at its begin, at its commit and at each of its steps in turn, and
    // finds the tables as they were each time; the run whose step number lies past the last
    // step finally succeeds.
    void failEverywhere(const std::function<int()>& op) {
        ProbeBackend& probe = ProbeBackend::install();
        const std::string before = bindSnapshot();
        auto unchanged = [&](const std::string& what) {
            probe.failAt = 0;
            probe.failBegin = probe.failCommit = false;
            EXPECT_EQ(bindSnapshot(), before) << what;
            EXPECT_FALSE(g_blnInTrans) << what;
        };
        probe.failBegin = true;
        EXPECT_EQ(op(), -1) << "begin";
        unchanged("begin");
        probe.failCommit = true;
        EXPECT_EQ(op(), -1) << "commit";
        unchanged("commit");
        for (int step = 1;; ++step) {
            probe.reset();
            probe.failAt = step;
            int rc = op();
            if (probe.steps() < step) {
                EXPECT_EQ(rc, 0) << ::testing::PrintToString(presenter.bodies());
                EXPECT_GT(step, 5);
                break;
            }
            EXPECT_EQ(rc, -1) << "step " << step;
            unchanged("step " + std::to_string(step));
        }
        probe.failAt = 0;
    }
    std::string marc;
    std::vector<std::string> bindNos;
};
SERIALS_ON_BOTH_BACKENDS(Store);

TEST_P(Store, BoundVolumeIsAccessionedWithTheNextNumberOfTheSection) {
    std::string peek;
    ASSERT_EQ(intPeekPropNo("11", peek), 0);
    EXPECT_EQ(peek, "Q0000001");
    EXPECT_EQ(scalar("SELECT min_prop_no FROM section_max_number WHERE section_code='S11'"), "1");

    StoreEntry e = entry("B0001");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[0], e), 0)
        << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(e.propNo, "Q0000001");
    const std::string row =
        "B0001|TP3/12|QK01|QK01|" + marc + "|2025|33(1)-33(6)|" + bindNos[0] + "|ZD01";
    EXPECT_EQ(accessioned("indi_acct", "Q0000001"), row);
    EXPECT_EQ(accessioned("item", "Q0000001"), row);
    EXPECT_EQ(LibVar(scalar("SELECT price FROM item")).num(), 75.0);
    EXPECT_EQ(scalar("SELECT chk_batch_no||in_date FROM indi_acct"), "QH0000012026-01-15");
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + bindNos[0] + "'"),
              "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50039'"), "1");

    StoreEntry again = entry("B0002");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], again), -1);
    EXPECT_EQ(presenter.shown.back().body, "该合订本已经登录入藏！");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[1], again), 0);
    EXPECT_EQ(again.propNo, "Q0000002");
}

TEST_P(Store, LoanGradeAndCirculationTypeGoToTheItemAndMustBeInUse) {
    std::vector<CodeName> grades, types;
    ASSERT_EQ(intListLendGrades(grades), 0);
    ASSERT_FALSE(grades.empty());
    EXPECT_TRUE(
        std::is_sorted(grades.begin(), grades.end(),
                       [](const CodeName& a, const CodeName& b) { return a.code < b.code; }));
    exec("UPDATE circ_type_code SET code_use_flag='0' WHERE circ_type_code='32'");
    ASSERT_EQ(intListCircTypes(types), 0);
    EXPECT_TRUE(
        std::none_of(types.begin(), types.end(), [](const CodeName& c) { return c.code == "32"; }));
    EXPECT_TRUE(
        std::any_of(types.begin(), types.end(), [](const CodeName& c) { return c.code == "22"; }));

    StoreEntry unused = entry("B0001");
    unused.circType = "32";
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], unused), -1);
    EXPECT_EQ(presenter.shown.back().body, "流通类型32不存在！");
    StoreEntry unknown = entry("B0001");
    unknown.lendGrade = "Z";
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], unknown), -1);
    EXPECT_EQ(presenter.shown.back().body, "借阅等级Z不存在！");
    EXPECT_EQ(scalar("SELECT count(*) FROM item"), "0");
    EXPECT_EQ(scalar("SELECT min_prop_no FROM section_max_number WHERE section_code='S11'"), "1");

    StoreEntry e = entry("B0001");
    e.lendGrade = grades.front().code;
    e.circType = "22";
    ASSERT_EQ(intStoreBound("QH000001", bindNos[0], e), 0);
    EXPECT_EQ(
        scalar("SELECT lend_grd||'|'||circ_type_code FROM item WHERE prop_no='" + e.propNo + "'"),
        grades.front().code + "|22");
    StoreEntry single = entry("D0001");
    single.lendGrade = "C";
    ASSERT_EQ(intStoreSingle("QD000001", keptCopy(), single), 0);
    EXPECT_EQ(scalar("SELECT lend_grd FROM item WHERE prop_no='" + single.propNo + "'"), "C");
}

TEST_P(Store, AProposedNumberTakenMeanwhileGivesTheReceivedVolumeTheNextOne) {
    std::string proposal;
    ASSERT_EQ(intPeekPropNo("11", proposal), 0);
    ASSERT_EQ(proposal, "Q0000001");
    // Another workstation accessions a volume with the number shown here.
    StoreEntry other = entry("B0009");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[1], other), 0);
    ASSERT_EQ(other.propNo, proposal);

    BindRecord r;
    ASSERT_EQ(intLoadBindRecord(bindNos[0], r), 0);
    StoreEntry e = entry("B0001", proposal);
    e.callNo = "TP3/12";
    e.fromSection = true;
    ASSERT_EQ(intReceiveBound(r, e, true, "QH000001"), 0)
        << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(scalar("SELECT prop_no FROM indi_acct WHERE bar_code='B0001'"), "Q0000002");
    EXPECT_EQ(scalar("SELECT min_prop_no FROM section_max_number WHERE section_code='S11'"), "3");

    // A number typed by the operator is kept as typed and checked for duplicates.
    StoreEntry typed = entry("B0003", "Q0000002");
    typed.callNo = "TP3/12";
    EXPECT_EQ(intReceiveBound(r, typed, true, "QH000001"), -1);
    EXPECT_EQ(presenter.shown.back().body, "财产号重复!");
}

TEST_P(Store, RecycledNumbersReleasedBeforeTodayAreTakenFirst) {
    exec(
        "INSERT INTO recycle_section (section_code,prop_serial,use_date) VALUES "
        "('S11',7,'2026-01-14'),('S11',5,'2026-01-15'),('S11',9,'2026-01-02')");
    StoreEntry first = entry("B0001"), second = entry("B0002");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[0], first), 0);
    ASSERT_EQ(intStoreBound("QH000001", bindNos[1], second), 0);
    EXPECT_EQ(first.propNo, "Q0000007");
    EXPECT_EQ(second.propNo, "Q0000009");
    // 5 was given back today: not yet free again.
    EXPECT_EQ(scalar("SELECT prop_serial FROM recycle_section"), "5");
    EXPECT_EQ(scalar("SELECT min_prop_no FROM section_max_number WHERE section_code='S11'"), "1");
}

TEST_P(Store, AnOperatorWithoutASectionOrWithAnExhaustedOneGetsNoNumber) {
    exec("UPDATE section_max_number SET min_prop_no=10000000 WHERE section_code='S11'");
    StoreEntry e = entry("B0001");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], e), -1);
    EXPECT_EQ(presenter.shown.back().body, "财产号区段已用完，请设置新的财产号区段！");
    exec("DELETE FROM section_wkr WHERE class_type_code='11'");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], e), -1);
    EXPECT_EQ(presenter.shown.back().body, "操作员没有该类型的财产号区段，请先设置财产号区段！");
    e.propNo = "Q9000001";  // typed by hand: no section needed
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], e), 0);
    EXPECT_EQ(intStoreBound("QD000001", bindNos[1], e), -1);  // a single-issue batch
    EXPECT_EQ(presenter.shown.back().body, "验收批次不存在，请先选择验收批次！");
}

TEST_P(Store, DuplicatePropertyNumberOrBarcodeIsRefusedBeforeAnythingIsWritten) {
    exec("INSERT INTO item (prop_no,bar_code) VALUES ('Q0000001','OLD1')");
    exec("INSERT INTO indi_acct (prop_no,bar_code) VALUES ('Q0000777','OLD2')");
    const std::string before = bindSnapshot();
    StoreEntry dupProp = entry("B0001", "Q0000001");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], dupProp), -1);
    EXPECT_EQ(presenter.shown.back().body, "财产号重复!");
    StoreEntry dupBar = entry("OLD2", "Q0000002");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], dupBar), -1);
    EXPECT_EQ(presenter.shown.back().body, "条码号重复!");
    StoreEntry noBar = entry("", "Q0000002");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], noBar), -1);
    EXPECT_EQ(presenter.shown.back().body, "条码号不能为空。");
    EXPECT_EQ(bindSnapshot(), before);
}

// Another workstation takes the property number between the check and the write.
class RacingBackend : public ProbeBackend {
public:
    using ProbeBackend::ProbeBackend;
    long long execute(const std::string& sql) override {
        if (!raced && sql.rfind("INSERT INTO indi_acct", 0) == 0) {
            raced = true;
            ProbeBackend::execute(
                "INSERT INTO indi_acct (prop_no,bar_code) VALUES "
                "('Q0000001','THEIRS')");
            ProbeBackend::execute(
                "INSERT INTO item (prop_no,bar_code) VALUES "
                "('Q0000001','THEIRS')");
        }
        return ProbeBackend::execute(sql);
    }
    bool raced = false;
};

TEST_P(Store, APropertyNumberTakenMeanwhileIsReportedAsADuplicatePropertyNumber) {
    auto racing = std::make_unique<RacingBackend>(std::move(g_OraDatabase));
    g_OraDatabase = std::move(racing);
    StoreEntry e = entry("B0001", "Q0000001");
    EXPECT_EQ(intStoreBound("QH000001", bindNos[0], e), -1);
    EXPECT_EQ(presenter.shown.back().body, "财产号重复!");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "0");
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + bindNos[0] + "'"),
              "0");
}

TEST_P(Store, ReceivingNeedsTheNumbersAndChecksOrAccessionsTheVolume) {
    BindRecord r;
    ASSERT_EQ(intLoadBindRecord(bindNos[0], r), 0);
    EXPECT_EQ(r.title, "测试学报合订本");
    EXPECT_EQ(r.callNo, "TP3/12");
    StoreEntry e = entry("B0001", "Q0000100");
    e.callNo = r.callNo;
    for (auto [field, message] : {std::pair{&StoreEntry::propNo, "财产号不能为空。"},
                                  std::pair{&StoreEntry::barCode, "条码号不能为空。"},
                                  std::pair{&StoreEntry::callNo, "索书号不能为空。"}}) {
        StoreEntry missing = e;
        missing.*field = "";
        EXPECT_EQ(intReceiveBound(r, missing, false, ""), -1);
        EXPECT_EQ(presenter.shown.back().body, message);
    }
    r.title = "测试学报 第33卷";
    r.boundPrice = 21;
    ASSERT_EQ(intReceiveBound(r, e, false, ""), 0);
    EXPECT_EQ(scalar("SELECT bound_flag||m_title||bind_chk_wkr||bind_chk_date FROM "
                     "m_peri_bind_detl WHERE bind_no='" +
                     bindNos[0] + "'"),
              "1测试学报 第33卷ZD012026-01-15");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "0");
    ASSERT_EQ(intCheckBound(bindNos[0], true), 0);
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + bindNos[0] + "'"),
              "0");

    ASSERT_EQ(intLoadBindRecord(bindNos[1], r), 0);
    ASSERT_EQ(intReceiveBound(r, e, true, "QH000001"), 0);
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + bindNos[1] + "'"),
              "2");
    EXPECT_EQ(scalar("SELECT asord_no||vol_peri FROM indi_acct WHERE prop_no='Q0000100'"),
              bindNos[1] + "33(7)-33(12)");
}

TEST_P(Store, SingleIssueIsAccessionedAndItsUndoReturnsCopyAndNumber) {
    StoreEntry e = entry("D0001");
    ASSERT_EQ(intStoreSingle("QD000001", keptCopy(), e), 0)
        << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(e.propNo, "QD000501");
    EXPECT_EQ(accessioned("item", "QD000501"),
              "D0001|TP3/12|QK01|QK01|" + marc + "|2025|33(13)|B-1|ZD01");
    EXPECT_EQ(
        scalar("SELECT item_stat||remark FROM m_peri_item WHERE peri_id='" + periIdOf(13) + "'"),
        "4QD000501");
    StoreEntry twice = entry("D0002");
    EXPECT_EQ(intStoreSingle("QD000001", keptCopy(), twice), -1);
    EXPECT_EQ(presenter.shown.back().body, "无该期刊单刊信息，请重新查询！");

    ASSERT_EQ(intUndoStore("QD000501"), 0);
    EXPECT_EQ(scalar("SELECT item_stat||nvl(remark,'') FROM m_peri_item WHERE peri_id='" +
                     periIdOf(13) + "'"),
              "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM item") + scalar("SELECT count(*) FROM indi_acct"), "00");
    EXPECT_EQ(scalar("SELECT section_code||prop_serial||use_date FROM recycle_section"),
              "S155012026-01-15");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50042'"), "1");
}

TEST_P(Store, UndoIsRefusedWhileTheVolumeIsOnLoanAndOtherwiseReturnsTheVolume) {
    StoreEntry e = entry("B0001");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[0], e), 0);
    exec(
        "INSERT INTO lend_lst (prop_no,reader_bar_code,lend_date) VALUES "
        "('Q0000001','R001','2026-01-15 11:00:00')");
    const std::string before = bindSnapshot();
    EXPECT_EQ(intUndoStore("Q0000001"), -1);
    EXPECT_EQ(presenter.shown.back().body, "该册正在借出，不能撤销入藏！");
    EXPECT_EQ(bindSnapshot(), before);
    exec("DELETE FROM lend_lst");
    ASSERT_EQ(intUndoStore("Q0000001"), 0);
    EXPECT_EQ(scalar("SELECT bound_flag FROM m_peri_bind_detl WHERE bind_no='" + bindNos[0] + "'"),
              "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct"), "0");
}

TEST_P(Store, BatchesAreSavedAndOnlyUnusedOnesDeleted) {
    CheckAcct b;
    ASSERT_EQ(intLoadCheckAcct("QH000001", b), 0);
    EXPECT_EQ(b.date, "2026-01-15");
    EXPECT_EQ(b.respWkr, "ZD01");
    b.remark = "改";
    ASSERT_EQ(intSaveCheckAcct(b), 0);
    std::vector<CheckAcct> list;
    ASSERT_EQ(intListCheckAccts(0, list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].remark, "改");
    StoreEntry e = entry("B0001");
    ASSERT_EQ(intStoreBound("QH000001", bindNos[0], e), 0);
    EXPECT_EQ(intDeleteCheckAcct("QH000001"), -1);
    EXPECT_EQ(presenter.shown.back().body, "该验收批次已有入藏记录，不能删除！");
    EXPECT_EQ(intDeleteCheckAcct("QD000001"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_check_acct"), "1");
}

TEST_P(Store, FailureAtAnyStepOfAccessioningABoundVolumeLeavesNothing) {
    exec(
        "INSERT INTO recycle_section (section_code,prop_serial,use_date) VALUES "
        "('S11',7,'2026-01-14')");
    StoreEntry e = entry("B0002");
    failEverywhere([&] { return intStoreBound("QH000001", bindNos[0], e); });
    EXPECT_EQ(e.propNo, "Q0000007");
}

TEST_P(Store, FailureAtAnyStepOfReceivingAndAccessioningLeavesNothing) {
    BindRecord r;
    ASSERT_EQ(intLoadBindRecord(bindNos[0], r), 0);
    StoreEntry e = entry("B0002", "Q0000102");
    e.callNo = "TP3/12";
    failEverywhere([&] { return intReceiveBound(r, e, true, "QH000001"); });
    // As the receiving screen sends it: the proposed number taken from the section.
    ASSERT_EQ(intLoadBindRecord(bindNos[1], r), 0);
    StoreEntry proposed = entry("B0003", "Q0000001");
    proposed.callNo = "TP3/12";
    proposed.fromSection = true;
    failEverywhere([&] { return intReceiveBound(r, proposed, true, "QH000001"); });
    EXPECT_EQ(scalar("SELECT prop_no FROM indi_acct WHERE bar_code='B0003'"), "Q0000001");
}

TEST_P(Store, FailureAtAnyStepOfAccessioningASingleIssueOrUndoingItLeavesNothing) {
    StoreEntry e = entry("D0002");
    failEverywhere([&] { return intStoreSingle("QD000001", keptCopy(), e); });
    ASSERT_EQ(e.propNo, "QD000501");
    failEverywhere([&] { return intUndoStore(e.propNo); });
}

}  // namespace

// Order details in the database on both backends: catalogues created, re-keyed and deleted;
// details saved, reloaded, replaced, refused and deleted; the look-back to the previous batch;
// a failed save leaves nothing; a catalogue loads in a fixed number of queries.
#include <gtest/gtest.h>

#include <fstream>

#include "db/Gbk.h"

#include "common/OperatorState.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/TestDb.h"

namespace {

class OrdStore : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    }
    // The saved detail read back from the database.
    OrdDetail reload(const std::string& publ, const std::string& year, const std::string& no) {
        std::vector<OrdDetail> all;
        EXPECT_EQ(intLoadOrdDetails(publ, year, all), 0) << g_ErrInfo.strDesc;
        for (OrdDetail& d : all)
            if (d.asordNo == no) return d;
        ADD_FAILURE() << no << " not found";
        return {};
    }
    OrdDetail saved(const std::string& no, const std::string& year = "202601") {
        OrdDetail d = CompleteDetail("YZFX", year, no);
        EXPECT_EQ(intSaveOrdDetail(d, false), 0) << ::testing::PrintToString(presenter.bodies());
        return d;
    }
    // Every row of the order and log tables, as text, to compare before and after.
    std::string snapshot() {
        return tableSnapshot({"m_peri_ord_detl", "m_sub_ord_lst", "m_peri_sub_fund_out",
                              "m_peri_ord_dist_lst", "log_detl", "wkr_job_qty"});
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdStore);

TEST_P(OrdStore, SavedDetailReadsBackAsEntered) {
    OrdDetail d = saved("2-15");
    EXPECT_EQ(d.state, RowState::Unchanged);
    EXPECT_EQ(d.key, "YZFX|202601|2-15|");
    OrdDetail back = reload("YZFX", "202601", "2-15");
    for (auto field :
         {&OrdDetail::pub, &OrdDetail::ordYear, &OrdDetail::asordNo, &OrdDetail::periType,
          &OrdDetail::getMode, &OrdDetail::publFreq, &OrdDetail::carrier, &OrdDetail::moneyType,
          &OrdDetail::price, &OrdDetail::totalPrice, &OrdDetail::kindNo, &OrdDetail::remark,
          &OrdDetail::newFlag, &OrdDetail::key})
        EXPECT_EQ(back.*field, d.*field) << d.*field;
    EXPECT_EQ(back.status, "0");
    EXPECT_EQ(back.forePrice, "");  // never typed: stays empty, not 0
    EXPECT_EQ(back.sumCopies, "3");
    EXPECT_EQ(back.fAsordNo, "0002-0015");
    EXPECT_EQ(back.subs, d.subs);
    EXPECT_EQ(scalar("SELECT resp_wkr FROM m_peri_ord_detl"), "DY01");
}

TEST_P(OrdStore, SaveCountsWorkloadAndLogsTheOperation) {
    saved("2-15");
    EXPECT_EQ(scalar("SELECT kind FROM wkr_job_qty WHERE job_type='502' AND wkr_no_f='DY01'"), "1");
    EXPECT_EQ(scalar("SELECT volume FROM wkr_job_qty WHERE job_type='502'"), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50018'"), "1");
    EXPECT_EQ(scalar("SELECT obj_key2 FROM log_detl WHERE log_type='50018'"), "YZFX");
}

TEST_P(OrdStore, ModifiedDetailReplacesItsLinesCompletely) {
    OrdDetail d = saved("2-15");
    d.state = RowState::Modified;
    d.subs.erase(d.subs.begin());
    d.subs[0].funds = {{"05", "1", "150", ""}};
    ASSERT_EQ(intSaveOrdDetail(d, true), 0);
    EXPECT_EQ(presenter.shown.back().body, "数据成功保存！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst"), "1");
    EXPECT_EQ(scalar("SELECT fund_src_code FROM m_peri_sub_fund_out"), "05");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst"), "0");
    EXPECT_EQ(scalar("SELECT peri_ord_qty FROM m_peri_ord_detl"), "1");
    EXPECT_EQ(reload("YZFX", "202601", "2-15").subs, d.subs);
}

TEST_P(OrdStore, SubscriberThatDoesNotCheckInWritesNoDistribution) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    d.subs[1].dists = {{"WWQK", "1", ""}};
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE location='WWQK'"), "0");
}

TEST_P(OrdStore, NumberTakenInTheSameCatalogueIsRefusedButAllowedInAnother) {
    saved("2-15");
    OrdDetail other = saved("2-16");
    other.asordNo = "2-15";
    other.state = RowState::Modified;
    EXPECT_EQ(intSaveOrdDetail(other, false), -1);
    EXPECT_EQ(presenter.shown.back().body, "该征订号已存在，请重新输入征订号！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE asord_no='2-16'"), "1");
    EXPECT_EQ(other.state, RowState::Modified);

    ASSERT_EQ(intNewOrdCata("YZFX", "202602"), 0);
    saved("2-15", "202602");
    ASSERT_EQ(intNewOrdCata("TSJK", "202601"), 0);
    OrdDetail elsewhere = CompleteDetail("TSJK", "202601", "2-15");
    EXPECT_EQ(intSaveOrdDetail(elsewhere, false), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE asord_no='2-15'"), "3");
}

TEST_P(OrdStore, RenumberedDetailMovesItsLines) {
    OrdDetail d = saved("2-15");
    d.asordNo = "2-99";
    d.state = RowState::Modified;
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='2-15'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='2-99'"), "2");
    EXPECT_EQ(d.key, "YZFX|202601|2-99|");
}

TEST_P(OrdStore, InvalidDetailShowsTheListAndWritesNothing) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    d.moneyType = "";
    d.subs[0].dists.clear();
    EXPECT_EQ(intSaveOrdDetail(d, false), -1);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_EQ(presenter.shown.back().body,
              " 必须选择币种！\n 订户【QK01】签收必须选择分配地！\n订购号为：2-15的记录不能保存！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
}

TEST_P(OrdStore, FullWidthNumbersAreSavedAsNumbersAndBadOnesWriteNothing) {
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-15");
    d.totalPrice = "１５０";
    d.subs[0].count = "２";
    d.subs[0].funds[0].amount = "";
    ASSERT_EQ(intSaveOrdDetail(d, false), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(scalar("SELECT peri_total_price FROM m_peri_ord_detl"), "150");
    EXPECT_EQ(scalar("SELECT peri_ord_qty FROM m_peri_ord_detl"), "3");
    EXPECT_EQ(d.totalPrice, "150");

    OrdDetail bad = CompleteDetail("YZFX", "202601", "2-16");
    bad.totalPrice = "12,5";
    bad.subs[1].count = "9999999999999999999";
    bad.subs[1].funds[0].fundSrc = "";
    const std::string before = snapshot();
    EXPECT_EQ(intSaveOrdDetail(bad, false), -1);
    EXPECT_EQ(presenter.shown.back().body,
              " 年价必须是数字！\n 订户【WWQK】复本数必须是1到9999之间的整数！\n "
              "订户【WWQK】经费项目不能为空！\n订购号为：2-16的记录不能保存！");
    EXPECT_EQ(snapshot(), before);
}

TEST_P(OrdStore, ImportChecksEveryCodeAndReadsGbkFiles) {
    const std::string path = ::testing::TempDir() + "ordfix_import.csv";
    // The measured file: unknown publisher and location, negative copies, full-width price.
    std::ofstream(path, std::ios::binary) << "D,ZZZZ,202601,9-1,,0,01,月刊,01,CNY,,１２０,,,,0,\n"
                                             "S,NOPE,0,-2,,\nF,01,1,,\n";
    int saved = 0;
    std::vector<std::string> skipped;
    std::string error;
    const std::string before = snapshot();
    ASSERT_EQ(intImportOrdFile(path, saved, skipped, error), 0) << error;
    EXPECT_EQ(saved, 0);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(presenter.shown.back().body,
              " 订户【NOPE】复本数必须是1到9999之间的整数！\n 发行商【ZZZZ】不存在，请重新选择！\n "
              "订户【NOPE】不存在，请重新选择！\n订购号为：9-1的记录不能保存！");
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE publ_code='ZZZZ'"), "0");

    // The same kind of file saved by a Chinese spreadsheet, in GBK.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << utf8ToGbk(
        "D,YZFX,202601,9-2,,0,01,月刊,01,CNY,10,,,,,0,中文说明\n"
        "S,WWQK,0,1,全年,\nF,02,1,,\n");
    ASSERT_EQ(intImportOrdFile(path, saved, skipped, error), 0) << error;
    EXPECT_EQ(saved, 1) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(reload("YZFX", "202601", "9-2").remark, "中文说明");
    EXPECT_EQ(scalar("SELECT peri_total_price FROM m_peri_ord_detl WHERE asord_no='9-2'"), "120");

    // Bytes that are neither UTF-8 nor GBK are refused before anything is read.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "D,YZFX,202601,9-3\xFF\xFF\n";
    EXPECT_EQ(intImportOrdFile(path, saved, skipped, error), -1);
    EXPECT_NE(error.find("既不是 UTF-8 也不是 GBK 编码"), std::string::npos) << error;
}

TEST_P(OrdStore, SavingASentDetailKeepsItsStateAndCheckInSettings) {
    OrdDetail d = saved("2-15");
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET ord_flag='1', chk_bgn_date='2026-01-01', aslack_ysno='1', "
        "qty_of_year=12");
    d = reload("YZFX", "202601", "2-15");
    d.remark = "改过";
    d.state = RowState::Modified;
    ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    EXPECT_EQ(scalar("SELECT ord_flag||chk_bgn_date||aslack_ysno FROM m_peri_ord_detl"),
              "12026-01-011");
    EXPECT_EQ(scalar("SELECT qty_of_year FROM m_peri_ord_detl"), "12");
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_ord_detl"), "改过");
}

TEST_P(OrdStore, ASaveOverAChangeMadeSinceTheLoadIsRefused) {
    saved("2-15");
    auto edited = [&](const std::string& remark) {
        OrdDetail d = reload("YZFX", "202601", "2-15");
        d.remark = remark;
        d.state = RowState::Modified;
        return d;
    };
    const std::string refusal = "订购号为：2-15的记录已被其他工作站修改或删除，请刷新后重新修改！";
    // Two workstations load the detail; the second to save is refused.
    OrdDetail mine = edited("我改的"), theirs = edited("他们改的");
    ASSERT_EQ(intSaveOrdDetail(theirs, false), 0);
    const std::string before = snapshot();
    EXPECT_EQ(intSaveOrdDetail(mine, false), -1);
    EXPECT_EQ(presenter.shown.back().body, refusal);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(mine.state, RowState::Modified) << "the edits stay for the operator";

    // The finishing mark set elsewhere counts as a change too.
    OrdDetail stale = edited("又改");
    ASSERT_EQ(intSetEndFlag("YZFX", "202601", "2-15", "1"), 0);
    EXPECT_EQ(intSaveOrdDetail(stale, false), -1);

    // Reloaded, the detail saves, and saves again after its own save.
    OrdDetail fresh = edited("刷新后改");
    ASSERT_EQ(intSaveOrdDetail(fresh, false), 0);
    fresh.remark = "再改";
    fresh.state = RowState::Modified;
    ASSERT_EQ(intSaveOrdDetail(fresh, false), 0);
    EXPECT_EQ(scalar("SELECT remark||end_ord_flag FROM m_peri_ord_detl"), "再改1");

    // A detail deleted elsewhere is not brought back.
    OrdDetail gone = edited("删了");
    ASSERT_EQ(intDeleteOrdDetails({gone.key}, false, false), 0);
    EXPECT_EQ(intSaveOrdDetail(gone, false), -1);
    EXPECT_EQ(presenter.shown.back().body, refusal);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "0");
}

TEST_P(OrdStore, EditsThatWouldOrphanCheckInRowsAreRefusedOnceCheckInBegan) {
    saved("2-15");
    // Issue 1 registered and one copy received at QK01.
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2'");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no) VALUES "
        "('P000000001', 'YZFX', '202601', '2-15')");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no) VALUES "
        "('P000000001', 'QK01', 'QK01', 1)");
    OrdDetail d = reload("YZFX", "202601", "2-15");
    d.state = RowState::Modified;
    d.asordNo = "2-99";
    d.subs[0].count = "3";
    d.subs[0].dists[0].qty = "2";
    d.subs[0].funds[0].qty = "3";
    d.subs.pop_back();
    const std::string before = snapshot();
    EXPECT_EQ(intSaveOrdDetail(d, false), -1);
    EXPECT_EQ(presenter.shown.back().body,
              " 已经开始签收，不能修改征订号！\n 订户【QK01】已有签收信息，不能修改复本数！\n "
              "订户【WWQK】已经开始签收，不能删除！\n订购号为：2-99的记录不能保存！");
    EXPECT_EQ(snapshot(), before);

    // What leaves the check-in rows whole still saves: a remark, copies where nothing came yet.
    OrdDetail kept = reload("YZFX", "202601", "2-15");
    kept.state = RowState::Modified;
    kept.remark = "签收中也可改说明";
    kept.subs[1].count = "2";
    kept.subs[1].funds[0].qty = "2";
    ASSERT_EQ(intSaveOrdDetail(kept, false), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(scalar("SELECT ord_flag||peri_ord_qty FROM m_peri_ord_detl"), "24");
}

TEST_P(OrdStore, FailureAtAnyStatementOfASaveLeavesNothing) {
    OrdDetail first = saved("2-15");
    ProbeBackend& probe = ProbeBackend::install();
    // The save that is to fail: a modified detail (delete and rewrite of all its lines).
    auto modified = [&] {
        OrdDetail d = first;
        d.state = RowState::Modified;
        d.asordNo = "2-16";
        d.subs[1].dists.clear();
        return d;
    };
    OrdDetail probeRun = modified();
    probe.reset();
    ASSERT_EQ(intSaveOrdDetail(probeRun, false), 0);
    const int steps = probe.steps();
    ASSERT_GT(steps, 10);
    // Put the first version back, then fail each step in turn.
    probeRun.state = RowState::Modified;
    probeRun.asordNo = "2-15";
    probeRun.subs = first.subs;
    ASSERT_EQ(intSaveOrdDetail(probeRun, false), 0);
    g_OraDatabase->execute("DELETE FROM log_detl");
    g_OraDatabase->execute("DELETE FROM wkr_job_qty");
    saved("2-17");
    const std::string reference = snapshot();
    for (int step = 1; step <= steps; ++step) {
        OrdDetail d = modified();
        probe.reset();
        probe.failAt = step;
        EXPECT_EQ(intSaveOrdDetail(d, false), -1) << "step " << step;
        probe.failAt = 0;
        EXPECT_EQ(d.state, RowState::Modified);
        EXPECT_EQ(snapshot(), reference) << "step " << step;
        EXPECT_FALSE(g_blnInTrans);
    }
}

TEST_P(OrdStore, SentDetailCannotBeDeleted) {
    OrdDetail a = saved("2-15");
    OrdDetail b = saved("2-16");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE asord_no='2-16'");
    EXPECT_EQ(intDeleteOrdDetails({a.key, b.key}), -1);
    EXPECT_EQ(presenter.shown.back().body, "行已经发订，不能删除！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "2");

    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intDeleteOrdDetails({a.key}), 1);
    EXPECT_EQ(presenter.shown.back().body, "是否确定删除订购信息？");
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_EQ(intDeleteOrdDetails({a.key}), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE asord_no='2-15'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out WHERE asord_no='2-15'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE asord_no='2-15'"), "0");
}

TEST_P(OrdStore, CatalogueRenamedCarriesEveryRowAlong) {
    saved("2-15");
    saved("2-16");
    // An open issue owes copies at both locations; the owed rows carry its order line.
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, peri_no, "
        "finish_flag, aslack_date) VALUES "
        "('0000000001','YZFX','202601','2-15',1,'0','2026-02-01')");
    ASSERT_EQ(intRefreshIssueLack(""), 0) << g_ErrInfo.strDesc;
    ASSERT_EQ(scalar("SELECT count(*) FROM m_peri_chk_lack WHERE publ_code='YZFX'"), "2");
    ASSERT_EQ(intRenameOrdCata("YZFX", "202601", "SYZF", "202602"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_lack WHERE publ_code='SYZF' AND "
                     "peri_ord_year='202602' AND asord_no='2-15'"),
              "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE publ_code='YZFX'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE publ_code='SYZF' AND "
                     "peri_ord_year='202602'"),
              "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE publ_code='SYZF'"), "4");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out WHERE publ_code='SYZF'"), "4");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE publ_code='SYZF'"), "4");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50016'"), "2");

    // Onto a catalogue that exists: the duplicate key is reported and nothing moves.
    ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
    EXPECT_EQ(intRenameOrdCata("SYZF", "202602", "YZFX", "202601"), -1);
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE publ_code='SYZF'"), "2");
}

TEST_P(OrdStore, SentCatalogueWithDetailsCannotBeDeleted) {
    saved("2-15");
    g_OraDatabase->execute("UPDATE m_peri_ord_lst SET peri_ord_flag='1'");
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_EQ(intDeleteOrdCata("YZFX", "202601"), -1);
    EXPECT_EQ(presenter.bodies(),
              (std::vector<std::string>{"是否删除订购目录", "已经发订，且不为空，不可删除！"}));
    g_OraDatabase->execute("UPDATE m_peri_ord_lst SET peri_ord_flag='0'");
    presenter.replies.push_back({kMsgOk, {}});
    EXPECT_EQ(intDeleteOrdCata("YZFX", "202601"), 0);
    for (const char* t : {"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst"})
        EXPECT_EQ(scalar(std::string("SELECT count(*) FROM ") + t), "0") << t;
}

TEST_P(OrdStore, CataloguesListedByBatchWithinTheRange) {
    ASSERT_EQ(intNewOrdCata("TSJK", "202501"), 0);
    ASSERT_EQ(intNewOrdCata("TSJK", "202701"), 0);
    EXPECT_EQ(intNewOrdCata("TSJK", "2027"), -1);
    saved("2-15");
    LibArray rows;
    ASSERT_EQ(intGetOrdCata("202501", "202601", rows), 0);
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows(2, 2).str(), "202501");
    EXPECT_EQ(rows(0, 3).str(), "YZFX");
    EXPECT_EQ(rows(1, 3).str(), "全国邮政报刊发行局");
    EXPECT_EQ(rows(3, 3).str(), "2026-03-02");
    EXPECT_EQ(rows(5, 3).num(), 1);
}

TEST_P(OrdStore, LookBackTakesTheLatestOtherSentBatch) {
    ASSERT_EQ(intNewOrdCata("YZFX", "202401"), 0);
    ASSERT_EQ(intNewOrdCata("SYZF", "202501"), 0);
    ASSERT_EQ(intNewOrdCata("YZFX", "202701"), 0);
    ASSERT_EQ(intNewOrdCata("YZFX", "202801"), 0);
    saved("2-15", "202401");
    saved("2-15", "202701");
    saved("2-15", "202801");
    OrdDetail s = CompleteDetail("SYZF", "202501", "2-15");
    ASSERT_EQ(intSaveOrdDetail(s, false), 0);
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET ord_flag='1', qty_of_year=12 WHERE peri_ord_year IN "
        "('202401','202501','202601')");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='3' WHERE peri_ord_year='202701'");
    LibArray row;
    // 2028 was never sent; 2027 is later than the current batch and still counts.
    ASSERT_EQ(intLookBackDetl("202601", "2-15", row), 0);
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row(1, 2).str(), "202701");
    ASSERT_EQ(intLookBackDetl("202701", "2-15", row), 0);
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row(1, 2).str(), "202501");
    EXPECT_EQ(row(0, 2).str(), "SYZF");
    EXPECT_EQ(row(3, 2).num(), 12);
    ASSERT_EQ(intLookBackDetl("202601", "9-99", row), 0);
    EXPECT_EQ(row.recordCount(), 0);
}

TEST_P(OrdStore, PriceRefreshMovesEveryFundAmountAndFrequencyRefreshTheName) {
    saved("2-15");
    ASSERT_EQ(intUpdateOrdPrice("YZFX", "202601", "2-15", "14", "168"), 0);
    EXPECT_EQ(scalar("SELECT peri_price FROM m_peri_ord_detl"), "14");
    EXPECT_EQ(scalar("SELECT sub_amt FROM m_peri_sub_fund_out WHERE location='QK01'"), "336");
    EXPECT_EQ(scalar("SELECT sub_amt FROM m_peri_sub_fund_out WHERE location='WWQK'"), "168");
    ASSERT_EQ(intUpdateOrdFreq("YZFX", "202601", "2-15", "双月刊"), 0);
    EXPECT_EQ(reload("YZFX", "202601", "2-15").publFreq, "双月刊");
}

TEST_P(OrdStore, IntegrityCheckAndFinishingMark) {
    OrdDetail d = saved("2-15");
    saved("2-16");
    g_OraDatabase->execute("DELETE FROM m_sub_ord_lst WHERE asord_no='2-16'");
    std::vector<std::string> missing;
    ASSERT_EQ(intCheckOrdCata("YZFX", "202601", missing), 0);
    EXPECT_EQ(missing, std::vector<std::string>{"2-16"});
    ASSERT_EQ(intSetEndFlag("YZFX", "202601", "2-15", "1"), 0);
    EXPECT_EQ(reload("YZFX", "202601", "2-15").endFlag, "1");
}

TEST_P(OrdStore, CatalogueLoadsInFourQueriesWhateverItsSize) {
    // 2,000 details with three subscribers each, written directly for speed.
    g_OraDatabase->begin();
    for (int i = 0; i < 2000; ++i) {
        std::string no = "'" + std::to_string(i / 100) + "-" + std::to_string(i % 100) + "'";
        g_OraDatabase->execute(
            "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, ord_flag, "
            "peri_type, peri_price, peri_total_price) VALUES ('YZFX','202601'," +
            no + ",'0','0',1,12)");
        for (const char* loc : {"QK01", "QKYL", "WWQK"}) {
            g_OraDatabase->execute(
                "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, "
                "sub_peri_qty, chk_stat) VALUES ('YZFX','202601'," +
                no + ",'" + loc + "',1,'1')");
            g_OraDatabase->execute(
                "INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, "
                "fund_src_code, sub_qty, sub_amt) VALUES ('YZFX','202601'," +
                no + ",'" + loc + "','01',1,12)");
            g_OraDatabase->execute(
                "INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, "
                "dist_loca, dist_qty) VALUES ('YZFX','202601'," +
                no + ",'" + loc + "','" + loc + "',1)");
        }
    }
    g_OraDatabase->commit();
    ProbeBackend& probe = ProbeBackend::install();
    std::vector<OrdDetail> all;
    ASSERT_EQ(intLoadOrdDetails("YZFX", "202601", all), 0);
    EXPECT_EQ(probe.queries, 4);
    EXPECT_EQ(probe.statements, 0);
    ASSERT_EQ(all.size(), 2000u);
    for (const OrdDetail& d : all) {
        ASSERT_EQ(d.subs.size(), 3u) << d.asordNo;
        EXPECT_EQ(d.subs[2].location, "WWQK");
        EXPECT_EQ(d.subs[2].funds.size(), 1u);
        EXPECT_EQ(d.subs[2].dists.size(), 1u);
    }
}

// The demo data as a new database has it: last year's and this year's catalogues of both
// distributors, each detail complete enough to be saved again unchanged.
class DemoOrders : public DbTest {
protected:
    InstallOptions installOptions() const override { return OrdTestInstall(); }
};
SERIALS_ON_BOTH_BACKENDS(DemoOrders);

TEST_P(DemoOrders, CataloguesOfBothYearsHoldValidDetails) {
    LibArray cats;
    ASSERT_EQ(intGetOrdCata("203001", "203199", cats), 0);
    ASSERT_EQ(cats.recordCount(), 4);
    int sent = 0;
    for (int r = 2; r < cats.rows(); ++r) {
        std::vector<OrdDetail> details;
        ASSERT_EQ(intLoadOrdDetails(cats(0, r).str(), cats(2, r).str(), details), 0);
        ASSERT_FALSE(details.empty());
        for (const OrdDetail& d : details) {
            EXPECT_TRUE(OrdDetailErrors(d).empty()) << d.asordNo;
            EXPECT_EQ(d.sumCopies, d.sumCount()) << d.asordNo;
            EXPECT_EQ(d.fAsordNo, strFormatAsordNo(d.asordNo));
            sent += d.status != "0";
        }
    }
    EXPECT_GT(sent, 0);
    LibArray offers;
    ASSERT_EQ(intGetAsordCata(offers), 0);
    ASSERT_EQ(offers.recordCount(), 1);
    EXPECT_EQ(offers(2, 2).str(), "203201");
    std::vector<OrdDetail> items;
    ASSERT_EQ(intLoadAsordItems("YZFX", "203201", items), 0);
    EXPECT_EQ(items.size(), 12u);
    EXPECT_EQ(items[0].title, "图书馆学研究进展");
}

}  // namespace

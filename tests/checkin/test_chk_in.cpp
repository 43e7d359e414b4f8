// Check-in in the database on both backends: copies numbered per sub-location, partial and
// repeated check-ins, removal that keeps processed copies, combining, deleting issues, all
// issues or a location, holdings statements, the location right, and the log and workload rows
// each change writes.
#include <gtest/gtest.h>

#include "checkin/core/basChkIn.h"
#include "common/OperatorState.h"
#include "db/DbTransaction.h"
#include "ordering/core/basOrdList.h"
#include "tests/checkin/FinishFlagCheck.h"
#include "tests/checkin/test_chk_in_fixture.h"
#include "tests/support/ProbeBackend.h"

namespace {

class ChkIn : public ChkDbTest {
protected:
    // Copies of an issue as "location/dis_location/item_no/item_stat", in key order.
    std::string copies(const std::string& periId) {
        RawResult r = g_OraDatabase->query(
            "SELECT location,dis_location,item_no,item_stat FROM m_peri_item WHERE peri_id='" +
            periId + "' ORDER BY location,dis_location,item_no");
        std::string out;
        for (auto& row : r.rows)
            out += (out.empty() ? "" : " ") + row[0].str() + "/" + row[1].str() + "/" +
                   row[2].str() + "/" + row[3].str();
        return out;
    }
    std::vector<ChkInIssue> issues(const ChkInLocation& l) {
        std::vector<ChkInIssue> v;
        EXPECT_EQ(intLoadChkIssues(kChkKey, l.location, v), 0);
        return v;
    }
    void answerYes() { presenter.replies.push_back({kMsgOk, nullptr}); }
    std::string finished(int n) {
        return scalar("SELECT finish_flag FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(n) +
                      "'");
    }
    void addClaim(const std::string& periId) {
        g_OraDatabase->execute(
            "INSERT INTO m_aslack_rec (peri_id, location, aslack_detl_date, aslack_detl_qty) "
            "VALUES ('" +
            periId + "', 'QK01', '2036-03-01', 1)");
        refreshOwedCopies("peri_id='" + periId + "'");
    }
};
SERIALS_ON_BOTH_BACKENDS(ChkIn);

TEST_P(ChkIn, LoadsTheLineItsLocationsAndTheirDistribution) {
    EXPECT_EQ(line.title, "图书馆学研究");
    EXPECT_EQ(line.marcRecNo, "0000009001");
    EXPECT_EQ(line.periOrdQty, 4);
    EXPECT_EQ(qk01.location, "QK01");
    EXPECT_EQ(qk01.subQty, 3);
    EXPECT_TRUE(qk01.configured);
    ASSERT_EQ(qk01.dists.size(), 2u);
    EXPECT_EQ(qk01.dists[1].distLoca, "QKYL");
    EXPECT_EQ(qk01.dists[1].label, "G25/7");
    EXPECT_EQ(qk01.distributedQty(), 3);
    std::vector<ChkInIssue> v = issues(qk01);
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[0].coverIssue, "1");
    EXPECT_EQ(v[11].coverIssueTotal, "112");
    EXPECT_EQ(v[11].periNo, 12);
    std::vector<std::string> years;
    ASSERT_EQ(intLoadChkYears(kChkKey, years), 0);
    EXPECT_EQ(years, std::vector<std::string>{"2036"});
}

TEST_P(ChkIn, IssueDistributedTwoPlusOneGetsItemNumbersOneTwoAndOne) {
    EXPECT_EQ(intCheckInIssues(line, qk01, {chkIssueId(3)}), 3);
    EXPECT_EQ(copies(chkIssueId(3)), "QK01/QK01/1/0 QK01/QK01/2/0 QK01/QKYL/1/0");
    EXPECT_EQ(scalar("SELECT chk_date||wkr_no FROM m_peri_item WHERE dis_location='QKYL'"),
              "2036-03-20 10:30:00JD01");
    EXPECT_EQ(intCheckInIssues(line, qk01, {chkIssueId(3)}), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "3");
    // One log row and one workload count, for the check-in that added copies.
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50023'"), "1");
    EXPECT_EQ(scalar("SELECT obj_key1||' '||obj_key2||' '||obj_desc2 FROM log_detl WHERE "
                     "log_type='50023'"),
              "0000009001 YZFX 5-01 QK01");
    EXPECT_EQ(scalar("SELECT kind||'/'||volume FROM wkr_job_qty WHERE job_type='505' AND "
                     "wkr_no_f='JD01'"),
              "1/3");
    EXPECT_EQ(ArrivalText(IssueArrival(issues(qk01)[2], qk01.subQty, "2036-03-20")), "已到");
}

TEST_P(ChkIn, PartialDeliveryIsPartlyArrivedAndTheRestNumbersOn) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(1), chkIssueId(2)}, 1), 2);
    std::vector<ChkInIssue> v = issues(qk01);
    EXPECT_EQ(v[0].received, 1);
    EXPECT_EQ(ArrivalText(IssueArrival(v[0], qk01.subQty, "2036-03-20")), "部分到");
    EXPECT_EQ(ArrivalTip(v[0], qk01.subQty), "复本：3  已签：1  未签：2");
    EXPECT_EQ(ArrivalText(IssueArrival(v[3], qk01.subQty, "2036-03-20")), "未到");
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(1)}), 2);
    EXPECT_EQ(copies(chkIssueId(1)), "QK01/QK01/1/0 QK01/QK01/2/0 QK01/QKYL/1/0");
    // The other location counts its own copies only.
    EXPECT_EQ(issues(wwqk)[0].received, 0);
}

TEST_P(ChkIn, RemovingACheckInKeepsProcessedCopies) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(4)}), 3);
    g_OraDatabase->execute(
        "UPDATE m_peri_item SET item_stat='3' WHERE dis_location='QK01' AND "
        "item_no=1");
    EXPECT_EQ(intUndoCheckIn(line, qk01, {chkIssueId(4)}), 2);
    EXPECT_EQ(copies(chkIssueId(4)), "QK01/QK01/1/3");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50024'"), "1");
    // A bound copy numbered above a desk copy stays too.
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(5)}), 3);
    g_OraDatabase->execute("UPDATE m_peri_item SET item_stat='3' WHERE peri_id='" + chkIssueId(5) +
                           "' AND dis_location='QK01' AND item_no=2");
    EXPECT_EQ(intUndoCheckIn(line, qk01, {chkIssueId(5)}), 1);
    EXPECT_EQ(copies(chkIssueId(5)), "QK01/QK01/1/0 QK01/QK01/2/3");
}

// The claim search reads only unfinished issues: each change of copies or subscribers keeps the
// flag right in its own transaction.
TEST_P(ChkIn, AnIssueIsFinishedOnceEveryReceivingLocationHasItsCopies) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(1), chkIssueId(2)}), 6);
    EXPECT_EQ(finished(1), "0");  // WWQK still waits for its copy
    LIB_ResetOperator();
    ASSERT_TRUE(LIB_Login("ZG01", "1234"));  // may work on WWQK
    ASSERT_EQ(intCheckInIssues(line, wwqk, {chkIssueId(1), chkIssueId(3)}), 2);
    EXPECT_EQ(finished(1), "1");
    EXPECT_EQ(finished(3), "0");  // nothing at QK01 yet
    EXPECT_EQ(intUndoCheckIn(line, wwqk, {chkIssueId(1)}), 1);
    EXPECT_EQ(finished(1), "0");
    ASSERT_EQ(intCheckInIssues(line, wwqk, {chkIssueId(1), chkIssueId(2)}), 2);
    EXPECT_EQ(finished(1), "1");
    EXPECT_EQ(finished(2), "1");

    // A receiving location added in the order list reopens them; one that does not check in
    // does not.
    std::vector<OrdDetail> details;
    ASSERT_EQ(intLoadOrdDetails("YZFX", "203601", details), 0);
    ASSERT_EQ(details.size(), 1u);
    OrdDetail d = details[0];
    for (OrdSubscriber& s : d.subs)
        if (s.funds.empty()) s.funds.push_back({"01", s.count, "720", ""});
    d.subs.push_back({"SHKX", "0", "1", "全年", "", {{"01", "1", "240", ""}}, {}});
    ASSERT_EQ(intSaveOrdDetail(d, false), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(finished(1), "1");
    ASSERT_EQ(intLoadOrdDetails("YZFX", "203601", details), 0);
    d = details[0];
    for (OrdSubscriber& s : d.subs)
        if (s.location == "SHKX") {
            s.chkFlag = "1";
            s.dists = {{"SHKX", "1", "K1/2"}};
        }
    ASSERT_EQ(intSaveOrdDetail(d, false), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(finished(1), "0");
    EXPECT_EQ(finished(2), "0");
    EXPECT_EQ(wrongFinishFlags(), std::vector<std::string>{});
    // The copies the reopened issues owe there, with the shelf label; a label changed alone
    // reaches them too.
    const std::string owedAtShkx =
        "SELECT sub_qty||'/'||rece_qty||' '||label FROM m_peri_chk_lack "
        "WHERE location='SHKX' AND peri_id='" +
        chkIssueId(1) + "'";
    EXPECT_EQ(scalar(owedAtShkx), "1/0 K1/2");
    ASSERT_EQ(intLoadOrdDetails("YZFX", "203601", details), 0);
    d = details[0];
    for (OrdSubscriber& s : d.subs)
        if (s.location == "SHKX") s.dists = {{"SHKX", "1", "K1/3"}};
    ASSERT_EQ(intSaveOrdDetail(d, false), 0) << ::testing::PrintToString(presenter.bodies());
    EXPECT_EQ(scalar(owedAtShkx), "1/0 K1/3");
}

TEST_P(ChkIn, LocationWithoutTheOperatorsRightIsRefused) {
    EXPECT_EQ(intCheckInIssues(line, wwqk, {chkIssueId(1)}), -1);
    EXPECT_EQ(presenter.shown.back().body, "你没有操作该订户的权限。");
    answerYes();
    EXPECT_EQ(intDeleteIssues(line, "WWQK", {chkIssueId(1)}), -1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "12");
    EXPECT_FALSE(LocationAllowed("WWQK"));
    EXPECT_TRUE(LocationAllowed("qkyl"));
}

TEST_P(ChkIn, CombiningIssuesThreeAndFourOfVolumeTwelve) {
    addClaim(chkIssueId(4));
    addClaim(chkIssueId(3));
    addClaim(chkIssueId(7));
    answerYes();
    ASSERT_EQ(intCombineIssues(line, "QK01", {chkIssueId(4), chkIssueId(3)}), 0);
    EXPECT_EQ(presenter.shown.back().body, "是否确认合并选择卷期。");
    std::vector<ChkInIssue> v = issues(qk01);
    ASSERT_EQ(v.size(), 11u);
    EXPECT_EQ(v[2].periId, chkIssueId(3));
    EXPECT_EQ(v[2].coverVol, "12");
    EXPECT_EQ(v[2].coverIssue, "3-4");
    EXPECT_EQ(v[2].periType, "9");
    EXPECT_EQ(v[2].beginIssue + "/" + v[2].endIssue, "3/4");
    EXPECT_EQ(scalar("SELECT code1 FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(3) + "'"),
              "2");
    // The merged issues' claims go, the first one's included; another issue keeps its claim.
    EXPECT_EQ(scalar("SELECT peri_id FROM m_aslack_rec"), chkIssueId(7));
    for (std::size_t i = 0; i < v.size(); ++i)
        EXPECT_EQ(v[i].periNo, static_cast<int>(i) + 1);
    // A combined issue combines on with its whole range.
    answerYes();
    ASSERT_EQ(intCombineIssues(line, "QK01", {chkIssueId(3), chkIssueId(5)}), 0);
    EXPECT_EQ(issues(qk01)[2].coverIssue, "3-5");
    EXPECT_EQ(scalar("SELECT code1 FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(3) + "'"),
              "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50028'"), "2");
}

TEST_P(ChkIn, CombiningIsRefusedForSupplementsCheckedInIssuesOrAnAnsweredNo) {
    g_OraDatabase->execute("UPDATE m_peri_chk_vol SET peri_type='1' WHERE peri_id='" +
                           chkIssueId(6) + "'");
    answerYes();
    EXPECT_EQ(intCombineIssues(line, "QK01", {chkIssueId(6), chkIssueId(7)}), -1);
    EXPECT_EQ(presenter.shown.back().body, "期刊类型不对，不能合并。");
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(8)}, 1), 1);
    answerYes();
    EXPECT_EQ(intCombineIssues(line, "QK01", {chkIssueId(8), chkIssueId(9)}), -1);
    EXPECT_EQ(presenter.shown.back().body, "已有签收信息，不能合并。");
    presenter.replies.push_back({kMsgCancel, nullptr});
    EXPECT_EQ(intCombineIssues(line, "QK01", {chkIssueId(10), chkIssueId(11)}), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE peri_type='0'"), "11");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50028'"), "0");
}

TEST_P(ChkIn, DeletingIssuesKeepsThoseWithCopiesAndRenumbers) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(2)}), 3);
    g_OraDatabase->execute(
        "INSERT INTO m_prio_read_noti (peri_id, location, prio_reader_code) "
        "VALUES ('" +
        chkIssueId(1) + "', 'QK01', 'R1')");
    for (int i : {1, 2, 3, 4})
        addClaim(chkIssueId(i));
    answerYes();
    EXPECT_EQ(intDeleteIssues(line, "QK01", {chkIssueId(1), chkIssueId(2), chkIssueId(3)}), 2);
    // Issue 2 has copies and stays with its claim; the claims of the deleted issues go.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_aslack_rec"), "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_aslack_rec WHERE peri_id IN ('" + chkIssueId(1) +
                     "','" + chkIssueId(3) + "')"),
              "0");
    std::vector<ChkInIssue> v = issues(qk01);
    ASSERT_EQ(v.size(), 10u);
    EXPECT_EQ(v[0].periId, chkIssueId(2));
    EXPECT_EQ(v[1].periId, chkIssueId(4));
    for (std::size_t i = 0; i < v.size(); ++i)
        EXPECT_EQ(v[i].periNo, static_cast<int>(i) + 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_prio_read_noti"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50027'"), "1");
    presenter.replies.push_back({kMsgCancel, nullptr});
    EXPECT_EQ(intDeleteIssues(line, "QK01", {chkIssueId(4)}), 0);
    EXPECT_EQ(issues(qk01).size(), 10u);
}

TEST_P(ChkIn, DeletingAllIssuesLetsTheLineBePredictedAgain) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(2)}), 3);
    addClaim(chkIssueId(5));
    answerYes();
    ASSERT_EQ(intDeleteAllIssues(line, "QK01"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_aslack_rec"), "0");
    EXPECT_EQ(presenter.shown.back().body, "是否确认删除所有卷期信息。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item"), "0");
    EXPECT_EQ(scalar("SELECT ord_flag FROM m_peri_ord_detl"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg WHERE finish_flag='0'"), "2");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50029'"), "1");
}

TEST_P(ChkIn, SubscriberWithCheckInsCannotBeDeletedOneWithoutCan) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(1)}), 3);
    answerYes();
    EXPECT_EQ(intDeleteSubLocation(line, qk01), -1);
    EXPECT_EQ(presenter.shown.back().body, "该订户已有签收信息，不可删除。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst"), "2");

    // ZG01 may work on WWQK, which has no copies: its rows go and the line loses its copy.
    LIB_ResetOperator();
    ASSERT_TRUE(LIB_Login("ZG01", "1234"));
    answerYes();
    ASSERT_EQ(intDeleteSubLocation(line, wwqk), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE location='WWQK'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE location='WWQK'"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg"), "1");
    EXPECT_EQ(scalar("SELECT peri_ord_qty FROM m_peri_ord_detl"), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "12");
    // With WWQK gone, issue 1 has every copy its one receiving location wants.
    EXPECT_EQ(scalar("SELECT peri_id FROM m_peri_chk_vol WHERE finish_flag='1'"), chkIssueId(1));
    EXPECT_EQ(wrongFinishFlags(), std::vector<std::string>{});
}

TEST_P(ChkIn, DeletingTheLastConfiguredSubscriberDropsTheExpectedIssues) {
    LIB_ResetOperator();
    ASSERT_TRUE(LIB_Login("ZG01", "1234"));
    g_OraDatabase->execute("DELETE FROM m_peri_chk_cfg WHERE location='QK01'");
    answerYes();
    ASSERT_EQ(intDeleteSubLocation(line, wwqk), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "0");
    EXPECT_EQ(scalar("SELECT ord_flag FROM m_peri_ord_detl"), "1");
}

TEST_P(ChkIn, HoldingsStatementsAreReplacedAndAnEmptyOneRemoved) {
    ASSERT_EQ(intSaveLocaRecs("0000009001",
                              {{"2035", "第11卷1-12期", "QK01"}, {"2036", "第12卷", "QK01"}}),
              0);
    ASSERT_EQ(
        intSaveLocaRecs("0000009001", {{"2036", " 第12卷1-6期 ", "QK01"}, {"2035", "  ", "QK01"}}),
        0);
    std::vector<LocaRec> recs;
    ASSERT_EQ(intLoadLocaRecs("0000009001", recs), 0);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].publYear, "2036");
    EXPECT_EQ(recs[0].statement, "第12卷1-6期");
    EXPECT_EQ(intSaveLocaRecs("0000009001", {{"36", "x", "QK01"}}), -1);
    EXPECT_EQ(intSaveLocaRecs("0000009001", {{"2036", "x", "WWQK"}}), -1);
    EXPECT_EQ(presenter.shown.back().body, "你没有操作该订户的权限。");
}

TEST_P(ChkIn, EditedOrderLineIsWritten) {
    ChkInOrderLine edited = line;
    edited.remark = "改为季刊";
    edited.publFreq = "季刊";
    edited.periPrice = "60";
    edited.forePrice = "";
    ASSERT_EQ(intSaveChkOrderLine(edited, "QK01"), 0);
    ChkInOrderLine back;
    ASSERT_EQ(intLoadChkOrderLine(kChkKey, back), 0);
    EXPECT_EQ(back.remark, "改为季刊");
    EXPECT_EQ(back.publFreq, "季刊");
    EXPECT_EQ(back.periPrice, "60");
    EXPECT_EQ(back.forePrice, "");
    EXPECT_EQ(intLoadChkOrderLine({"YZFX", "203601", "none"}, back), 1);
}

TEST_P(ChkIn, IssueGridLoadsInOneQueryWithTheCopiesOfItsOwnLocation) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(1), chkIssueId(2)}, 2), 4);
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(2)}), 1);
    g_OraDatabase->execute(
        "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat) VALUES "
        "('" +
        chkIssueId(3) + "', 'WWQK', 'WWQK', 1, '0')");
    refreshOwedCopies("peri_id='" + chkIssueId(3) + "'");
    ProbeBackend& probe = ProbeBackend::install();
    probe.reset();
    std::vector<ChkInIssue> v = issues(qk01);
    EXPECT_EQ(probe.queries + probe.statements, 1);
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[0].received, 2);
    EXPECT_EQ(v[1].received, 3);
    EXPECT_EQ(v[2].received, 0) << "a copy at WWQK is not QK01's";
    EXPECT_EQ(v[2].periId, chkIssueId(3));
    EXPECT_EQ(v[2].expectDate, "2036-03-05");
    EXPECT_EQ(v[2].aslackDate, "2036-04-04");
    EXPECT_EQ(v[2].carrierCode, "01");
    EXPECT_EQ(v[2].periType, "0");
    EXPECT_EQ(v[2].periNo, 3);
    EXPECT_EQ(v[2].remark, "") << "NULL reads as empty";
    std::vector<ChkInIssue> w = issues(wwqk);
    EXPECT_EQ(w[1].received, 0);
    EXPECT_EQ(w[2].received, 1);
}

// Every change, failed at its begin, at each statement and at its commit, leaves every
// check-in, order, log and workload table as it was.
class ChkInFaults : public ChkIn {
protected:
    std::string snapshot() {
        return tableSnapshot({"m_peri_item", "m_peri_chk_vol", "m_peri_chk_cfg", "m_peri_ord_detl",
                              "m_sub_ord_lst", "m_peri_ord_dist_lst", "m_peri_sub_fund_out",
                              "m_aslack_rec", "m_peri_chk_lack", "m_prio_read_noti",
                              "m_peri_loca_rec", "log_detl", "wkr_job_qty"});
    }
    // Runs `op` once to count its steps on a copy of the state, then fails each in turn.
    void failEachStep(const std::function<int()>& op, const std::function<void()>& arrange) {
        arrange();
        ProbeBackend& probe = ProbeBackend::install();
        const std::string reference = snapshot();
        int steps = 0;
        {
            // A run that succeeds, inside a transaction of the test's own that undoes it.
            DbTransaction outer;
            ASSERT_TRUE(outer.ok());
            probe.reset();
            ASSERT_GE(op(), 0);
            steps = probe.steps();
            ASSERT_NE(snapshot(), reference) << "the operation changed nothing";
        }
        ASSERT_GT(steps, 1);
        ASSERT_EQ(snapshot(), reference);
        auto expectUnchanged = [&](const std::string& what) {
            EXPECT_EQ(snapshot(), reference) << what;
            EXPECT_FALSE(g_blnInTrans) << what;
        };
        probe.failBegin = true;
        EXPECT_EQ(op(), -1);
        probe.failBegin = false;
        expectUnchanged("begin");
        for (int step = 1; step <= steps; ++step) {
            probe.reset();
            probe.failAt = step;
            EXPECT_EQ(op(), -1) << "step " << step;
            probe.failAt = 0;
            expectUnchanged("step " + std::to_string(step));
        }
        probe.failCommit = true;
        EXPECT_EQ(op(), -1);
        probe.failCommit = false;
        expectUnchanged("commit");
    }
    // Questions are answered yes, however many times an operation is run.
    void alwaysYes() {
        for (int i = 0; i < 100; ++i)
            answerYes();
    }
};
SERIALS_ON_BOTH_BACKENDS(ChkInFaults);

TEST_P(ChkInFaults, CheckIn) {
    failEachStep(
        [&] {
            return intCheckInIssues(line, qk01, {chkIssueId(1), chkIssueId(2)});
        },
        [] {});
}

TEST_P(ChkInFaults, UndoCheckIn) {
    failEachStep(
        [&] {
            return intUndoCheckIn(line, qk01, {chkIssueId(1), chkIssueId(2)});
        },
        [&] {
            intCheckInIssues(line, qk01, {chkIssueId(1), chkIssueId(2)});
        });
}

TEST_P(ChkInFaults, Combine) {
    alwaysYes();
    failEachStep(
        [&] {
            return intCombineIssues(line, "QK01", {chkIssueId(1), chkIssueId(2)});
        },
        [&] {
            addClaim(chkIssueId(1));
            addClaim(chkIssueId(2));
        });
}

TEST_P(ChkInFaults, DeleteIssues) {
    alwaysYes();
    failEachStep(
        [&] {
            return intDeleteIssues(line, "QK01", {chkIssueId(1), chkIssueId(5)});
        },
        [&] { addClaim(chkIssueId(5)); });
}

TEST_P(ChkInFaults, DeleteAll) {
    alwaysYes();
    failEachStep([&] { return intDeleteAllIssues(line, "QK01"); },
                 [&] {
                     intCheckInIssues(line, qk01, {chkIssueId(3)});
                     addClaim(chkIssueId(4));
                 });
}

TEST_P(ChkInFaults, DeleteSubscriber) {
    LIB_ResetOperator();
    ASSERT_TRUE(LIB_Login("ZG01", "1234"));
    alwaysYes();
    failEachStep(
        [&] { return intDeleteSubLocation(line, wwqk); },
        [] { g_OraDatabase->execute("DELETE FROM m_peri_chk_cfg WHERE location='QK01'"); });
}

TEST_P(ChkInFaults, HoldingsStatements) {
    failEachStep(
        [&] {
            return intSaveLocaRecs("0000009001",
                                   {{"2035", "第11卷", "QK01"}, {"2036", "第12卷", "QKYL"}});
        },
        [] {});
}

}  // namespace

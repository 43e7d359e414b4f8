// Work on single issues and checked-in copies on both backends: the hand-over list's day ends
// at 23:59:59, hand-over takes the highest copy at the desk and taking back the lowest handed
// over, a fault anywhere in a hand-over changes nothing; a claim for one issue follows the
// claim rules; first-read notices are recorded and mailed; the check-in date changes only
// while the copies are at the desk.
#include <gtest/gtest.h>

#include "checkin/core/basChkClaim.h"
#include "checkin/core/basChkDetail.h"
#include "tests/checkin/ClaimTestData.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/SmtpSink.h"

namespace {

class IssueWork : public ClaimDbTest {
protected:
    void SetUp() override {
        ClaimDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        line.subs = {{"QK01", 2}};
        addLine(line);
        addIssue(line, "0000000001", 1, "2026-03-01");
        addIssue(line, "0000000002", 2, "2026-03-09");
    }
    std::string copies(const std::string& periId) {
        RawResult r = g_OraDatabase->query(
            "SELECT item_no,item_stat,nvl(conn_date,'') FROM m_peri_item WHERE peri_id=" +
            q(periId) + " ORDER BY item_no");
        std::string out;
        for (auto& row : r.rows)
            out += row[0].str() + ":" + row[1].str() + (row[2].str().empty() ? "" : "@") +
                   row[2].str() + " ";
        return out;
    }
    std::string snapshot() {
        return copies("0000000001") + "|" + copies("0000000002") + "|" +
               scalar("SELECT COUNT(*) FROM log_detl") + "|" +
               scalar("SELECT COUNT(*) FROM wkr_job_qty");
    }
    ClaimLine line;
};
SERIALS_ON_BOTH_BACKENDS(IssueWork);

TEST_P(IssueWork, HandOverListTakesTheWholeLastDay) {
    addCopies("0000000001", "QK01", 2, "2026-03-09 23:59:59");
    addCopies("0000000002", "QK01", 1, "2026-03-10 00:00:00");
    std::vector<TransferRow> rows;
    ASSERT_EQ(intTransferList("2026-03-09", "2026-03-09", "", false, rows), 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].periId, "0000000001");
    EXPECT_EQ(rows[0].copies, 2);
    EXPECT_EQ(rows[0].cover, "45卷1期");
    EXPECT_EQ(rows[0].label, "TP3/12");
    EXPECT_EQ(rows[0].periType, "普通刊");
    EXPECT_EQ(rows[0].title, "计算机学报");
    ASSERT_EQ(intTransferList("2026-03-09", "2026-03-10", "QK01", false, rows), 0);
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(intTransferList("2026-03-10", "2026-03-09", "", false, rows), -1);
    EXPECT_EQ(presenter.shown.back().body, "日期区间不正确，起始日期不能大于截止日期！");
    EXPECT_EQ(intTransferList("2026-03-09", "2026-03-10", "", true, rows), 1);
    EXPECT_EQ(presenter.shown.back().body, "没有符合条件的可交接期刊！");
    EXPECT_EQ(strPeriTypeName("9"), "合刊");
    EXPECT_EQ(strPeriTypeName("7"), "其他");
}

TEST_P(IssueWork, HandOverTakesTheHighestCopyAndTakingBackTheLowest) {
    addCopies("0000000001", "QK01", 2);
    std::vector<TransferRow> rows;
    ASSERT_EQ(intTransferList("2026-03-01", "2026-03-01", "", false, rows), 0);
    presenter.replies.push_back({kMsgOk, nullptr});
    ASSERT_EQ(intHandOver(rows, 1), 0);
    EXPECT_EQ(presenter.shown.back().body, "交接完成！");
    EXPECT_EQ(copies("0000000001"), "1:0 2:1@2026-03-10 ");
    ASSERT_EQ(transferHandOver(rows, 1), 0);
    EXPECT_EQ(copies("0000000001"), "1:1@2026-03-10 2:1@2026-03-10 ");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM log_detl WHERE log_type='50030'"), "2");
    EXPECT_EQ(scalar("SELECT SUM(volume) FROM wkr_job_qty WHERE job_type='507'"), "2");

    ASSERT_EQ(intTransferList("2026-03-01", "2026-03-01", "", true, rows), 0);
    EXPECT_EQ(rows[0].copies, 2);
    presenter.replies.push_back({kMsgCancel, nullptr});
    EXPECT_EQ(intTakeBack(rows, 1), -1);  // the question answered no
    presenter.replies.push_back({kMsgOk, nullptr});
    ASSERT_EQ(intTakeBack(rows, 1), 0);
    EXPECT_EQ(presenter.shown.back().body, "取回完成！");
    EXPECT_EQ(copies("0000000001"), "1:0 2:1@2026-03-10 ");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM log_detl WHERE log_type='50031'"), "1");
}

TEST_P(IssueWork, AFaultAnywhereInAHandOverChangesNothing) {
    addCopies("0000000001", "QK01", 2);
    addCopies("0000000002", "QK01", 1);
    std::vector<TransferRow> rows;
    ASSERT_EQ(intTransferList("2026-03-01", "2026-03-01", "", false, rows), 0);
    ASSERT_EQ(rows.size(), 2u);
    const std::string before = snapshot();
    ProbeBackend& probe = ProbeBackend::install();
    ASSERT_EQ(transferHandOver(rows, 2), 0);
    const int steps = probe.steps();
    EXPECT_GE(steps, 6);  // the date, three copies, two log lines, the counter
    sqlRun("UPDATE m_peri_item SET item_stat='0',conn_date=NULL");
    sqlRun("DELETE FROM log_detl WHERE log_type='50030'");
    sqlRun("DELETE FROM wkr_job_qty WHERE job_type='507'");
    ASSERT_EQ(snapshot(), before);
    for (int step = 1; step <= steps; ++step) {
        probe.reset();
        probe.failAt = step;
        EXPECT_EQ(transferHandOver(rows, 2), -1) << "step " << step;
        probe.failAt = 0;
        EXPECT_EQ(snapshot(), before) << "step " << step;
        EXPECT_FALSE(g_blnInTrans);
    }
    probe.failBegin = true;
    EXPECT_EQ(transferHandOver(rows, 2), -1);
    probe.failBegin = false;
    probe.failCommit = true;
    EXPECT_EQ(transferHandOver(rows, 2), -1);
    probe.failCommit = false;
    EXPECT_EQ(snapshot(), before);
}

TEST_P(IssueWork, ClaimForOneIssueFollowsTheClaimRules) {
    addCopies("0000000001", "QK01", 1);
    ASSERT_EQ(intClaimOneIssue("0000000001", "QK01", 0, "单期催缺"), 0);
    EXPECT_EQ(presenter.shown.back().body, "订购催缺通知发送成功。");
    EXPECT_EQ(scalar("SELECT aslack_detl_qty||'/'||aslack_detl_date||'/'||remark FROM "
                     "m_aslack_rec"),
              "1/2026-03-10/单期催缺");
    // Claimed today: the second claim waits its 15 days.
    EXPECT_EQ(intClaimOneIssue("0000000001", "QK01", 0, ""), -1);
    EXPECT_EQ(presenter.shown.back().body, "不符合催缺条件，不能够催缺。");
    LIB_DB_PinServerDate("2026-03-25 09:00:00");
    EXPECT_EQ(intClaimOneIssue("0000000001", "QK01", 1, ""), 0);
    addCopies("0000000002", "QK01", 2);  // complete: nothing to claim
    EXPECT_EQ(intClaimOneIssue("0000000002", "QK01", 0, ""), -1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_aslack_rec"), "2");
}

TEST_P(IssueWork, FirstReadNoticesAreRecordedAndMailedToReadersWithAnAddress) {
    sqlRun(
        "INSERT INTO prio_reader (prio_reader_code,prio_reader_name,prio_reader_email) VALUES "
        "('R01','李教授','li@lib.example.edu.cn'),('R02','王老师',NULL)");
    EXPECT_EQ(intSendFirstRead("0000000001", "QK01", {}), -1);
    EXPECT_EQ(presenter.shown.back().body, "至少选择一个以上优先阅览者。");
    SmtpSink sink(home->dir());
    home->writeIni(home->workingIni() + "[MAIL]\nSMTP=127.0.0.1:" + sink.port +
                   "\nUSE_SMTP=1\nFROM=serials@lib.example.edu.cn\n");
    ASSERT_EQ(intSendFirstRead("0000000001", "QK01", {"R01", "R02"}), 0);
    EXPECT_EQ(presenter.shown.back().body, "优先阅览通知发送成功。");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM m_prio_read_noti WHERE send_noti_date='2026-03-10'"),
              "2");
    std::string m = sink.message(1);
    EXPECT_NE(m.find("TO 李教授 <li@lib.example.edu.cn>"), std::string::npos) << m;
    EXPECT_NE(m.find("计算机学报"), std::string::npos) << m;
    EXPECT_EQ(sink.message(2), "");  // the reader without an address gets no mail
}

TEST_P(IssueWork, CheckInDateChangesOnlyWhileTheCopiesAreAtTheDesk) {
    addCopies("0000000001", "QK01", 2, "2026-03-05 14:20:00");
    EXPECT_EQ(intModifyCheckDate("0000000001", "QK01", "2026-03-11"), -1);  // after today
    EXPECT_EQ(presenter.shown.back().body, "不能修改该签收日期。");
    EXPECT_EQ(intModifyCheckDate("0000000001", "QK01", "2026-02-30"), -1);
    ASSERT_EQ(intModifyCheckDate("0000000001", "QK01", "2026-03-04"), 0);
    EXPECT_EQ(scalar("SELECT MIN(chk_date)||'/'||MAX(chk_date) FROM m_peri_item"),
              "2026-03-04 14:20:00/2026-03-04 14:20:00");
    sqlRun("UPDATE m_peri_item SET item_stat='1' WHERE item_no=2");
    EXPECT_EQ(intModifyCheckDate("0000000001", "QK01", "2026-03-03"), -1);
    EXPECT_EQ(scalar("SELECT MIN(chk_date) FROM m_peri_item"), "2026-03-04 14:20:00");
}

}  // namespace

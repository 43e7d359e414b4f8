// Issues edited by hand on both backends: an issue added with its copies, an issue edited with
// its copies brought to new counts (never dropping a copy that left the desk), a run of further
// issues numbered and dated on from the line's last issue, and every one of these left undone
// by a failure at any of its steps.
#include <gtest/gtest.h>

#include "checkin/core/IssueEdit.h"
#include "tests/checkin/test_chk_in_fixture.h"
#include "tests/support/FaultSteps.h"

namespace {

class IssueEdit : public ChkDbTest {
protected:
    void SetUp() override {
        ChkDbTest::SetUp();
        if (IsSkipped()) return;
        g_OraDatabase->execute(
            "UPDATE m_peri_ord_detl SET days_of_aslack=30, qty_of_vol=12, attachment='光盘'");
    }
    // "dis_location/item_no/item_stat" of the issue's copies at QK01.
    std::string copies(const std::string& periId) {
        IssueDetail d;
        EXPECT_EQ(loadIssueDetail(periId, "QK01", d), 0);
        std::string out;
        for (const IssueCopy& c : d.copies)
            out += (out.empty() ? "" : " ") + c.disLocation + "/" + std::to_string(c.itemNo) + "/" +
                   c.itemStat;
        return out;
    }
    // "vol/issue/total expect aslack no" of the line's issues from peri_no `from` on.
    std::string issuesFrom(int from) {
        std::string out;
        for (const auto& row :
             g_OraDatabase
                 ->query("SELECT cover_vol,cover_issue,cover_issue_total,expect_date,aslack_date,"
                         "peri_no,peri_type FROM m_peri_chk_vol WHERE peri_no>=" +
                         std::to_string(from) + " ORDER BY peri_no")
                 .rows)
            out += row[0].str() + "/" + row[1].str() + "/" + row[2].str() + " " + row[3].str() +
                   " " + row[4].str() + " " + row[5].str() + " " + row[6].str() + "\n";
        return out;
    }
    IssueDraft supplement() {
        IssueDraft d;
        d.coverVol = "12";
        d.coverIssue = "增刊";
        d.expectDate = "2036-06-20";
        d.periType = "1";
        d.issueTitle = "年会论文集";
        return d;
    }
};
SERIALS_ON_BOTH_BACKENDS(IssueEdit);

TEST_P(IssueEdit, AnIssueAddedByHandComesLastWithItsCopiesAndClaimDate) {
    IssueDraft empty;
    empty.expectDate = "2036-06-20";
    EXPECT_EQ(saveIssue(line, "QK01", empty, {}), -1);
    EXPECT_EQ(presenter.shown.back().body, "卷，期，总期不能全部为空。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "12");

    IssueDraft d = supplement();
    ASSERT_EQ(saveIssue(line, "QK01", d, {{"QK01", 2}, {"QKYL", 1}}), 0);
    EXPECT_EQ(d.periId, chkIssueId(13));
    EXPECT_EQ(issuesFrom(13), "12/增刊/ 2036-06-20 2036-07-20 13 1\n");
    EXPECT_EQ(scalar("SELECT carrier_code||publ_year||issue_title FROM m_peri_chk_vol WHERE "
                     "peri_id='" +
                     d.periId + "'"),
              "012036年会论文集");
    EXPECT_EQ(copies(d.periId), "QK01/1/0 QK01/2/0 QKYL/1/0");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50026'"), "1");
    // Another location's operator right is still required.
    EXPECT_EQ(saveIssue(line, "WWQK", d, {}), -1);
    EXPECT_EQ(presenter.shown.back().body, "你没有操作该订户的权限。");
}

TEST_P(IssueEdit, EditingAnIssueRewritesItsCopiesButKeepsThoseHandedOver) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(2)}), 3);
    IssueDetail detail;
    ASSERT_EQ(loadIssueDetail(chkIssueId(2), "QK01", detail), 0);
    EXPECT_EQ(detail.issue.coverIssue, "2");
    EXPECT_EQ(detail.copies.size(), 3u);

    IssueDraft d = detail.issue;
    d.remark = "封面破损";
    d.aslackDate = "2036-04-01";
    ASSERT_EQ(saveIssue(line, "QK01", d, {{"QK01", 1}, {"QKYL", 2}}), 0);
    EXPECT_EQ(copies(chkIssueId(2)), "QK01/1/0 QKYL/1/0 QKYL/2/0");
    EXPECT_EQ(scalar("SELECT remark||aslack_date FROM m_peri_chk_vol WHERE peri_id='" +
                     chkIssueId(2) + "'"),
              "封面破损2036-04-01");

    g_OraDatabase->execute(
        "UPDATE m_peri_item SET item_stat='1' WHERE dis_location='QKYL' AND "
        "item_no=2");
    d.remark = "不应保存";
    EXPECT_EQ(saveIssue(line, "QK01", d, {{"QK01", 1}, {"QKYL", 1}}), -1);
    EXPECT_EQ(presenter.shown.back().body, "已交接的复本不能删除。");
    EXPECT_EQ(copies(chkIssueId(2)), "QK01/1/0 QKYL/1/0 QKYL/2/1");
    EXPECT_EQ(scalar("SELECT remark FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(2) + "'"),
              "封面破损");
}

TEST_P(IssueEdit, CopiesSavedWithTheIssueFinishOrReopenIt) {
    auto finished = [this] {
        return scalar("SELECT finish_flag FROM m_peri_chk_vol WHERE peri_id='" + chkIssueId(2) +
                      "'");
    };
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(2)}, 2), 2);
    g_OraDatabase->execute(
        "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat) VALUES "
        "('" +
        chkIssueId(2) + "', 'WWQK', 'WWQK', 1, '0')");
    IssueDetail detail;
    ASSERT_EQ(loadIssueDetail(chkIssueId(2), "QK01", detail), 0);
    IssueDraft d = detail.issue;
    ASSERT_EQ(saveIssue(line, "QK01", d, {{"QK01", 2}, {"QKYL", 1}}), 0);
    EXPECT_EQ(finished(), "1");
    ASSERT_EQ(saveIssue(line, "QK01", d, {{"QK01", 1}, {"QKYL", 1}}), 0);
    EXPECT_EQ(finished(), "0");
}

TEST_P(IssueEdit, TheDetailListsTheIssuesClaimsAndNotices) {
    g_OraDatabase->execute(
        "INSERT INTO m_aslack_rec (peri_id, location, aslack_detl_date, aslack_wkr, "
        "aslack_detl_qty, remark) VALUES ('" +
        chkIssueId(3) + "', 'QK01', '2036-05-01', 'JD01', 2, '二次'), ('" + chkIssueId(3) +
        "', 'QK01', '2036-04-01', 'JD01', 3, ''), ('" + chkIssueId(3) +
        "', 'WWQK', '2036-04-02', 'JD01', 1, '')");
    refreshOwedCopies("peri_id='" + chkIssueId(3) + "'");
    g_OraDatabase->execute(
        "INSERT INTO prio_reader (prio_reader_code, prio_reader_name) VALUES ('R1', '王馆长')");
    g_OraDatabase->execute(
        "INSERT INTO m_prio_read_noti (peri_id, location, prio_reader_code, send_noti_date) "
        "VALUES ('" +
        chkIssueId(3) + "', 'QK01', 'R1', '2036-03-10')");
    IssueDetail d;
    ASSERT_EQ(loadIssueDetail(chkIssueId(3), "QK01", d), 0);
    ASSERT_EQ(d.claims.size(), 2u);
    EXPECT_EQ(d.claims[0].date + "/" + std::to_string(d.claims[0].qty), "2036-04-01/3");
    EXPECT_EQ(d.claims[1].remark, "二次");
    ASSERT_EQ(d.notices.size(), 1u);
    EXPECT_EQ(d.notices[0].readerName, "王馆长");
    EXPECT_EQ(loadIssueDetail("9999999999", "QK01", d), 1);
}

TEST_P(IssueEdit, ABatchRunsOnFromTheLastIssueOnTheTitlesFrequency) {
    IssueBatch b;
    ASSERT_EQ(issueBatchDefaults(line, b), 0);
    // Issue 12 closed volume 12; the monthly title's next slot after 2036-12-05 is 1 January.
    EXPECT_EQ(b.begVol, 13);
    EXPECT_EQ(b.begIssue, 1);
    EXPECT_EQ(b.begTotal, 113);
    EXPECT_EQ(b.perVol, 12);
    EXPECT_EQ(b.firstDate, "2037-01-01");
    b.count = 3;
    EXPECT_EQ(addIssueBatch(line, "QK01", b), 3);
    EXPECT_EQ(issuesFrom(13),
              "13/1/113 2037-01-01 2037-01-31 13 0\n"
              "13/2/114 2037-02-01 2037-03-03 14 0\n"
              "13/3/115 2037-03-01 2037-03-31 15 0\n");
    EXPECT_EQ(scalar("SELECT max(peri_id) FROM m_peri_chk_vol"), chkIssueId(15));
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE attachment='光盘'"), "3");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50025'"), "1");

    // The numbering of prediction: issue 11 of 12 runs into the next volume.
    ASSERT_EQ(issueBatchDefaults(line, b), 0);
    EXPECT_EQ(b.begVol, 13);
    EXPECT_EQ(b.begIssue, 4);
    b = {};
    b.begVol = 20;
    b.begIssue = 11;
    b.perVol = 12;
    b.count = 3;
    b.firstDate = "2038-01-01";
    EXPECT_EQ(addIssueBatch(line, "QK01", b), 3);
    EXPECT_EQ(issuesFrom(16),
              "20/11/ 2038-01-01 2038-01-31 16 0\n"
              "20/12/ 2038-02-01 2038-03-03 17 0\n"
              "21/1/ 2038-03-01 2038-03-31 18 0\n");
}

TEST_P(IssueEdit, ABatchIsCheckedBeforeAnythingIsWritten) {
    IssueBatch b;
    b.begVol = 13;
    b.begIssue = 1;
    b.perVol = 12;
    b.firstDate = "2037-01-01";
    EXPECT_EQ(addIssueBatch(line, "QK01", b), -1);
    EXPECT_EQ(presenter.shown.back().body, "新增期数不能为空。");
    b.count = 2;
    b.begIssue = 13;
    EXPECT_EQ(addIssueBatch(line, "QK01", b), -1);
    EXPECT_EQ(presenter.shown.back().body, "起始期不能大于每卷期数。");
    b = {};
    b.count = 2;
    b.firstDate = "2037-01-01";
    EXPECT_EQ(addIssueBatch(line, "QK01", b), -1);
    EXPECT_EQ(presenter.shown.back().body, "起始卷，起始期，起始总期不能全部为空。");
    b.begVol = 13;
    b.begIssue = 1;
    EXPECT_EQ(addIssueBatch(line, "QK01", b), -1);
    EXPECT_EQ(presenter.shown.back().body, "每卷期数不能为空。");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol"), "12");
}

class IssueEditFaults : public IssueEdit {
protected:
    std::string snapshot() {
        return tableRows(
            {"m_peri_chk_vol", "m_peri_item", "m_peri_chk_lack", "m_peri_ord_detl", "log_detl"});
    }
};
SERIALS_ON_BOTH_BACKENDS(IssueEditFaults);

TEST_P(IssueEditFaults, SavingAnIssueWithItsCopies) {
    ASSERT_EQ(intCheckInIssues(line, qk01, {chkIssueId(4)}), 3);
    ProbeBackend& probe = ProbeBackend::install();
    IssueDraft added = supplement();
    std::vector<std::string> steps = failEachStep(
        probe, presenter,
        [&] {
            IssueDraft d = added;
            return saveIssue(line, "QK01", d, {{"QK01", 1}, {"QKYL", 1}}) == 0;
        },
        [&] { return snapshot(); });
    EXPECT_TRUE(contains(steps, "begin"));
    EXPECT_TRUE(contains(steps, "commit"));
    IssueDetail detail;
    ASSERT_EQ(loadIssueDetail(chkIssueId(4), "QK01", detail), 0);
    failEachStep(
        probe, presenter,
        [&] {
            IssueDraft d = detail.issue;
            return saveIssue(line, "QK01", d, {{"QK01", 1}, {"QKYL", 3}}) == 0;
        },
        [&] { return snapshot(); });
}

TEST_P(IssueEditFaults, AddingABatch) {
    ProbeBackend& probe = ProbeBackend::install();
    IssueBatch b;
    ASSERT_EQ(issueBatchDefaults(line, b), 0);
    b.count = 4;
    std::vector<std::string> steps = failEachStep(
        probe, presenter, [&] { return addIssueBatch(line, "QK01", b) == 4; },
        [&] { return snapshot(); });
    EXPECT_TRUE(contains(steps, "commit"));
}

}  // namespace

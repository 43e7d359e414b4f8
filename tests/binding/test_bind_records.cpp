// Binding on both backends: finding titles with copies to bind, issue order, cutting issues into
// binding records (runs, kept issues, copies, numbers, prices, spine titles), editing, deleting
// and batches; a failure at any step of creating records leaves every table as it was.
#include <gtest/gtest.h>

#include "binding/core/basBindFunc.h"
#include "db/basLibDB.h"
#include "tests/binding/BindTestData.h"
#include "tests/support/ProbeBackend.h"

namespace {

class BindRecords : public BindDbTest {
protected:
    std::vector<BindTitle> find(const std::string& text = "测试",
                                BindSearchField field = BindSearchField::IndexGroup) {
        BindSearch s;
        s.field = field;
        s.text = text;
        s.year = "2025";
        std::vector<BindTitle> titles;
        EXPECT_EQ(intFindBindTitles(s, titles), 0) << ::testing::PrintToString(presenter.bodies());
        return titles;
    }
    BindCreate request(bool keep = true, int copies = 1) {
        BindCreate r;
        r.binder = "ZD01";
        r.batchNo = "2026-01";
        r.keep = keep;
        r.year = "2025";
        r.copies = copies;
        return r;
    }
    std::vector<std::string> create(const BindCreate& r) {
        std::vector<std::string> nos;
        EXPECT_EQ(intCreateBindRecords(r, find(), nos), 0)
            << ::testing::PrintToString(presenter.bodies()) << g_ErrInfo.strDesc << g_ErrInfo.strMsg
            << g_ErrInfo.strFunc << g_strSQL;
        return nos;
    }
    // Which record each copy of the title is bound in, "-" when it is not: "1:2026000001 ...".
    std::string copies(int issues, int copiesEach) {
        std::string out;
        for (int i = 1; i <= issues; ++i)
            for (int c = 1; c <= copiesEach; ++c) {
                std::string no = scalar(
                    "SELECT nvl(bind_no,'-')||item_stat FROM m_peri_item "
                    "WHERE peri_id='" +
                    periIdOf(i) + "' AND item_no=" + std::to_string(c));
                out += std::to_string(i) + "." + std::to_string(c) + ":" + no + " ";
            }
        return out;
    }
};
SERIALS_ON_BOTH_BACKENDS(BindRecords);

TEST_P(BindRecords, FindsTheTitleWithItsAvailableCopiesPerLocation) {
    TitleSpec t;
    t.copies = 2;
    std::string marc = insertTitle(t);
    exec("UPDATE m_peri_item SET item_stat='3' WHERE peri_id='" + periIdOf(1) + "'");
    exec("UPDATE m_peri_item SET item_stat='4' WHERE peri_id='" + periIdOf(2) + "' AND item_no=1");
    std::vector<BindTitle> titles = find();
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].marcRecNo, marc);
    EXPECT_EQ(titles[0].asordNo, "B-1");
    EXPECT_EQ(titles[0].location, "QK01");
    EXPECT_EQ(titles[0].issues, 13);  // issue 1 is bound already
    EXPECT_EQ(titles[0].copies, 25);
    EXPECT_EQ(find("TST", BindSearchField::PublCode).size(), 1u);
    EXPECT_EQ(find("B-1", BindSearchField::AsordNo).size(), 1u);
}

TEST_P(BindRecords, SearchRefusesEmptyTextKeptIssuesWithoutYearAndNothingFound) {
    insertTitle({});
    std::vector<BindTitle> titles;
    BindSearch s;
    s.text = "  ";
    EXPECT_EQ(intFindBindTitles(s, titles), -1);
    EXPECT_EQ(presenter.shown.back().body, "查询内容不能为空。");
    s.text = "测试";
    s.keep = true;
    EXPECT_EQ(intFindBindTitles(s, titles), -1);
    EXPECT_EQ(presenter.shown.back().body, "使用保留期数必须指定年度。");
    s.keep = false;
    s.year = "2024";
    EXPECT_EQ(intFindBindTitles(s, titles), -1);
    EXPECT_EQ(presenter.shown.back().body, "无该期刊单刊信息，请重新查询！");
    EXPECT_TRUE(titles.empty());
}

TEST_P(BindRecords, VolumesAndIssuesSortAsNumbers) {
    insertTitle({});
    // Issues 1-7 are in volume 10, issues 8-14 in volume 2: volume 2 comes first.
    exec("UPDATE m_peri_chk_vol SET cover_vol='10' WHERE peri_no<=7");
    exec("UPDATE m_peri_chk_vol SET cover_vol='2' WHERE peri_no>7");
    std::vector<BindIssue> issues;
    ASSERT_EQ(intLoadBindIssues(find()[0], "2025", false, issues), 0);
    std::vector<std::string> order;
    for (const BindIssue& i : issues)
        order.push_back(strIssueLabel(i));
    EXPECT_EQ(order, (std::vector<std::string>{"2(8)", "2(9)", "2(10)", "2(11)", "2(12)", "2(13)",
                                               "2(14)", "10(1)", "10(2)", "10(3)", "10(4)", "10(5)",
                                               "10(6)", "10(7)"}));
    ASSERT_EQ(intLoadBindIssues(find()[0], "2025", true, issues), 0);
    EXPECT_EQ(issues.size(), 12u);
    EXPECT_EQ(strIssueLabel(issues.back()), "10(5)");
    EXPECT_EQ(issues.front().price, 12.5);
}

TEST_P(BindRecords, FourteenIssuesSixPerVolumeTwoKeptGiveTwoRecords) {
    std::string marc = insertTitle({});
    std::vector<std::string> nos = create(request(true));
    EXPECT_EQ(nos, (std::vector<std::string>{"2026000001", "2026000002"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "2");
    EXPECT_EQ(scalar("SELECT marc_rec_no||'|'||bookbinder_code||'|'||bind_batch_no||'|'||"
                     "bound_flag||'|'||qty_of_bind||'|'||bgn_end_year||'|'||bgn_end_vol||'|'||"
                     "m_title||'|'||book_size||'|'||color||'|'||frame||'|'||carrier_code||'|'||"
                     "get_mode_code FROM m_peri_bind_detl WHERE bind_no='2026000002'"),
              marc + "|ZD01|2026-01|0|6|2025|33(7)-33(12)|测试学报合订本|16开|深蓝|精装|01|01");
    EXPECT_EQ(LibVar(scalar("SELECT bound_edit_price FROM m_peri_bind_detl WHERE "
                            "bind_no='2026000001'"))
                  .num(),
              75.0);
    EXPECT_EQ(LibVar(scalar("SELECT bound_price FROM m_peri_bind_detl WHERE "
                            "bind_no='2026000001'"))
                  .num(),
              18.0);
    // Issues 1-6 in the first record, 7-12 in the second, the two kept issues still free.
    std::string expect;
    for (int i = 1; i <= 14; ++i)
        expect += std::to_string(i) + ".1:" +
                  (i <= 6    ? "20260000013"
                   : i <= 12 ? "20260000023"
                             : "-0") +
                  " ";
    EXPECT_EQ(copies(14, 1), expect);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE remark=bind_no"), "12");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50036'"), "1");
    EXPECT_EQ(scalar("SELECT volume FROM wkr_job_qty WHERE job_type='510' AND wkr_no_f='ZD01'"),
              "2");
}

TEST_P(BindRecords, WithoutKeepingTheShortLastRunIsARecordToo) {
    insertTitle({});
    std::vector<std::string> nos = create(request(false));
    ASSERT_EQ(nos.size(), 3u);
    EXPECT_EQ(scalar("SELECT qty_of_bind||' '||bgn_end_vol FROM m_peri_bind_detl WHERE bind_no='" +
                     nos[2] + "'"),
              "2 33(13)-33(14)");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE item_stat='3'"), "14");
}

TEST_P(BindRecords, EachCopyBoundIsARecordTakingTheHighestCopyFirst) {
    TitleSpec t;
    t.issues = 6;
    t.copies = 2;
    insertTitle(t);
    std::vector<std::string> nos = create(request(false, 2));
    ASSERT_EQ(nos, (std::vector<std::string>{"2026000001", "2026000002"}));
    std::string expect;
    for (int i = 1; i <= 6; ++i)
        expect += std::to_string(i) + ".1:20260000023 " + std::to_string(i) + ".2:20260000013 ";
    EXPECT_EQ(copies(6, 2), expect);
}

TEST_P(BindRecords, AnIssueWithoutASecondCopyIsLeftOutOfTheSecondRecord) {
    TitleSpec t;
    t.issues = 6;
    t.copies = 2;
    insertTitle(t);
    exec("DELETE FROM m_peri_item WHERE peri_id='" + periIdOf(4) + "' AND item_no=2");
    std::vector<std::string> nos = create(request(false, 2));
    ASSERT_EQ(nos.size(), 2u);
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[0] + "'"),
              "6");
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[1] + "'"),
              "5");
}

TEST_P(BindRecords, BindingNumbersRunOnWithinTheServerYear) {
    EXPECT_EQ(strNextBindNo("2026"), "2026000001");
    insertTitle({});
    exec(
        "INSERT INTO m_peri_bind_detl (bind_no,bookbinder_code,bind_batch_no) VALUES "
        "('2026000041','ZD01','2026-01'),('2025000077','ZD01','2026-01')");
    EXPECT_EQ(strNextBindNo("2026"), "2026000042");
    EXPECT_EQ(create(request(true)), (std::vector<std::string>{"2026000042", "2026000043"}));
}

TEST_P(BindRecords, CreationIsRefusedWithoutBatchKeepChoiceOrWithTooManyCopies) {
    insertTitle({});
    std::vector<BindTitle> titles = find();
    const std::string before = bindSnapshot();
    std::vector<std::string> nos;
    struct Case {
        BindCreate request;
        std::string message;
    };
    BindCreate noBatch = request();
    noBatch.batchNo = "";
    BindCreate noChoice = request();
    noChoice.keep.reset();
    std::vector<Case> cases{{noBatch, "装订批次不能为空。"},
                            {noChoice, "装订单刊不能为空。"},
                            {request(true, 0), "装订复本数不能为零或者超过最大值。"},
                            {request(true, 3), "装订复本数不能为零或者超过最大值。"}};
    for (const Case& c : cases) {
        EXPECT_EQ(intCreateBindRecords(c.request, titles, nos), -1) << c.message;
        EXPECT_EQ(presenter.shown.back().body, c.message);
    }
    EXPECT_TRUE(nos.empty());
    EXPECT_EQ(bindSnapshot(), before);
}

TEST_P(BindRecords, IssuesAreAddedRemovedAndMovedWithTheRecordTotals) {
    insertTitle({});
    std::vector<std::string> nos = create(request(true));
    ASSERT_EQ(nos.size(), 2u);
    // Issue 13 was kept back: add it to the second record.
    ASSERT_EQ(intAddBindIssue(nos[1], periIdOf(13), "QK01", "QK01"), 0);
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[1] + "'"),
              "7");
    EXPECT_EQ(LibVar(scalar("SELECT bound_edit_price FROM m_peri_bind_detl WHERE bind_no='" +
                            nos[1] + "'"))
                  .num(),
              87.5);
    EXPECT_EQ(intAddBindIssue(nos[1], periIdOf(13), "QK01", "QK01"), -1);
    EXPECT_EQ(presenter.shown.back().body, "该合订本中相同单刊已经存在。");
    EXPECT_EQ(intAddBindIssue("", periIdOf(14), "QK01", "QK01"), -1);
    EXPECT_EQ(presenter.shown.back().body, "合订本不能为空。");

    // Cut issue 6 from the first record and paste it into the second.
    std::vector<BoundCopy> bound;
    ASSERT_EQ(intLoadBoundCopies(nos[0], bound), 0);
    ASSERT_EQ(bound.size(), 6u);
    ASSERT_EQ(intMoveBindIssue(nos[0], bound.back(), nos[1]), 0);
    EXPECT_EQ(scalar("SELECT bind_no FROM m_peri_item WHERE peri_id='" + periIdOf(6) + "'"),
              nos[1]);
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[0] + "'"),
              "5");

    // Removing issue 1 sends it back to the desk; a handed-over copy goes back to '1'.
    ASSERT_EQ(intLoadBoundCopies(nos[0], bound), 0);
    exec("UPDATE m_peri_item SET conn_date='2026-01-11' WHERE peri_id='" + periIdOf(2) + "'");
    presenter.replies = {{kMsgOk, {}}, {kMsgOk, {}}};
    ASSERT_EQ(intRemoveBindIssue(nos[0], bound[0]), 0);
    ASSERT_EQ(intRemoveBindIssue(nos[0], bound[1]), 0);
    EXPECT_EQ(scalar("SELECT item_stat||nvl(remark,'-')||nvl(bind_no,'-') FROM m_peri_item WHERE "
                     "peri_id='" +
                     periIdOf(1) + "'"),
              "0--");
    EXPECT_EQ(scalar("SELECT item_stat FROM m_peri_item WHERE peri_id='" + periIdOf(2) + "'"), "1");
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[0] + "'"),
              "3");
}

TEST_P(BindRecords, PastingAnotherTitlesIssueAsksFirst) {
    insertTitle({});
    TitleSpec other;
    other.publ = "TSTC";
    other.issues = 6;
    other.firstPeriId = 101;
    insertTitle(other);
    std::vector<std::string> nos = create(request(false));
    ASSERT_EQ(nos.size(), 4u);  // 6, 6 and 2 issues of the first title, 6 of the second
    std::vector<BoundCopy> bound;
    ASSERT_EQ(intLoadBoundCopies(nos[3], bound), 0);
    const std::string before = bindSnapshot();
    presenter.replies = {{kMsgCancel, {}}};
    EXPECT_EQ(intMoveBindIssue(nos[3], bound[0], nos[0]), 1);
    EXPECT_EQ(presenter.shown.back().body, "不同种刊不应装订在一起，是否确认一定要装订在一起。");
    EXPECT_FALSE(presenter.shown.back().inTransaction);
    EXPECT_EQ(bindSnapshot(), before);
    presenter.replies = {{kMsgOk, {}}};
    EXPECT_EQ(intMoveBindIssue(nos[3], bound[0], nos[0]), 0);
    EXPECT_EQ(scalar("SELECT qty_of_bind FROM m_peri_bind_detl WHERE bind_no='" + nos[0] + "'"),
              "7");
}

TEST_P(BindRecords, DeletingRecordsReturnsCopiesAndRemovesTheirVolumes) {
    insertTitle({});
    std::vector<std::string> nos = create(request(true));
    ASSERT_EQ(nos.size(), 2u);
    exec("INSERT INTO item (prop_no,asord_no) VALUES ('Q0000009','" + nos[0] + "')");
    exec("INSERT INTO indi_acct (prop_no,bar_code,asord_no) VALUES ('Q0000009','B9','" + nos[0] +
         "')");
    presenter.replies = {{kMsgCancel, {}}};
    EXPECT_EQ(intDeleteBindRecords({nos[0]}), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "2");
    presenter.replies = {{kMsgOk, {}}};
    ASSERT_EQ(intDeleteBindRecords({nos[0]}), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_bind_detl"), "1");
    EXPECT_EQ(scalar("SELECT count(*) FROM item") + scalar("SELECT count(*) FROM indi_acct"), "00");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE item_stat='0' AND bind_no IS NULL"),
              "8");
    EXPECT_EQ(intDeleteBindRecords({}), -1);
    EXPECT_EQ(presenter.shown.back().body, "请选择要删除的合订本。");
}

TEST_P(BindRecords, BatchesAreSavedListedSentAndOnlyUnusedOnesDeleted) {
    ASSERT_EQ(intSaveBindBatch({"ZD01", "2026-02", "第二批", "", ""}), 0);
    ASSERT_EQ(intSaveBindBatch({"ZD01", "2026-02", "第二批，改", "2026-02-01", ""}), 0);
    EXPECT_EQ(scalar("SELECT remark||send_bind_date||resp_wkr FROM m_bind_batch_lst WHERE "
                     "bind_batch_no='2026-02'"),
              "第二批，改2026-02-01ZD01");
    insertTitle({});
    create(request(true));
    std::vector<BindBatch> batches;
    ASSERT_EQ(intListBindBatches("ZD01", "", "", true, batches), 0);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].batchNo, "2026-01");
    EXPECT_EQ(batches[0].records, 2);
    ASSERT_EQ(intListBindBatches("ZD01", "2026-01-15", "", std::nullopt, batches), 0);
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].batchNo, "2026-02");

    presenter.replies = {{kMsgOk, {}}};
    EXPECT_EQ(intDeleteBindBatch("ZD01", "2026-01"), -1);
    EXPECT_EQ(presenter.shown.back().body, "该批次已有合订本，不能删除！");
    presenter.replies = {{kMsgOk, {}}};
    EXPECT_EQ(intDeleteBindBatch("ZD01", "2026-02"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_bind_batch_lst"), "1");

    ASSERT_EQ(intSendBindBatch("ZD01", "2026-01"), 0);
    EXPECT_EQ(scalar("SELECT send_bind_date FROM m_bind_batch_lst"), "2026-01-15");
}

TEST_P(BindRecords, FailureAtBeginAnyStepOrCommitOfCreationLeavesNothing) {
    insertTitle({});
    TitleSpec other;
    other.publ = "TSTC";
    other.issues = 6;
    other.firstPeriId = 101;
    insertTitle(other);
    std::vector<BindTitle> titles = find();
    ProbeBackend& probe = ProbeBackend::install();
    exec("DELETE FROM log_detl");
    const std::string before = bindSnapshot();
    std::vector<std::string> nos;
    probe.reset();
    ASSERT_EQ(intCreateBindRecords(request(true), titles, nos), 0);
    const int steps = probe.steps();
    ASSERT_GT(steps, 8);
    presenter.replies = {{kMsgOk, {}}};
    ASSERT_EQ(intDeleteBindRecords(nos), 0);
    exec("DELETE FROM log_detl");
    exec("DELETE FROM wkr_job_qty");
    ASSERT_EQ(bindSnapshot(), before);
    auto failsAndLeavesNothing = [&](const std::string& what) {
        nos.clear();
        EXPECT_EQ(intCreateBindRecords(request(true), titles, nos), -1) << what;
        probe.failAt = 0;
        probe.failBegin = probe.failCommit = false;
        EXPECT_TRUE(nos.empty()) << what;
        EXPECT_EQ(bindSnapshot(), before) << what;
        EXPECT_FALSE(g_blnInTrans) << what;
    };
    probe.failBegin = true;
    failsAndLeavesNothing("begin");
    for (int step = 1; step <= steps; ++step) {
        probe.reset();
        probe.failAt = step;
        failsAndLeavesNothing("step " + std::to_string(step));
    }
    probe.failCommit = true;
    failsAndLeavesNothing("commit");
}

}  // namespace

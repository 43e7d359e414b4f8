// Subscription renewal on both backends: what is copied and what is set anew, batch numbers,
// renewal flags of sent sources, the order-state and pre-order filters, orders already in the
// target (asked or decided in advance), aborting between details, failures per distributor,
// the run log, and every step of a catalogue's copy failed in turn.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ordering/core/OrdRenew.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

// The detail columns a renewal copies unchanged.
const char* const kCopiedColumns =
    "publ_code, asord_no, carrier_code, get_mode_code, marc_rec_no, book_size_code, money_code, "
    "days_of_items, peri_price, peri_total_price, fore_price, fore_total_price, peri_ord_qty, "
    "pay_date, remark, publ_freq, kind_no, qty_of_vol, days_of_aslack, bind_item_qty, "
    "chk_bgn_date, fst_rece_date, peri_type, fmt_asord_no, end_ord_flag";

std::string rowsOf(const std::string& sql) {
    std::string out;
    for (const auto& row : g_OraDatabase->query(sql).rows) {
        for (const auto& v : row)
            out += v.str() + "|";
        out += "\n";
    }
    return out;
}

class OrdRenewTest : public OrdDbTest {
protected:
    void cata(const std::string& publ, const std::string& year) {
        ASSERT_EQ(intNewOrdCata(publ, year), 0);
    }
    void detail(const std::string& publ, const std::string& year, const std::string& no,
                const std::string& periType = "0", const std::string& newFlag = "0") {
        OrdDetail d = CompleteDetail(publ, year, no);
        d.periType = periType;
        d.newFlag = newFlag;
        ASSERT_EQ(intSaveOrdDetail(d, false), 0);
    }
    static RenewOptions byYear(std::vector<std::string> publs, const std::string& newYear) {
        RenewOptions o;
        o.sourceYear = "2025";
        o.publs = std::move(publs);
        o.newYear = newYear;
        o.existing = RenewAnswer::Keep;
        return o;
    }
    // Runs with the opening confirmation answered yes and then the given answers.
    int renew(const RenewOptions& o, std::initializer_list<int> answers = {},
              const RenewProgressFn& progress = {}) {
        presenter.replies.push_back({kMsgOk, {}});
        for (int a : answers)
            presenter.replies.push_back({a, {}});
        presenter.shown.clear();
        return intRenewOrders(o, result, progress);
    }
    std::vector<std::string> questions() const {
        std::vector<std::string> out;
        for (const auto& m : presenter.shown)
            if (m.type == 'Q') out.push_back(m.body);
        return out;
    }
    // YZFX's details of the batch.
    static std::string details(const std::string& year, const std::string& columns) {
        return rowsOf("SELECT " + columns + " FROM m_peri_ord_detl WHERE publ_code='YZFX' AND " +
                      "peri_ord_year='" + year + "' ORDER BY asord_no");
    }
    RenewResult result;
};
SERIALS_ON_BOTH_BACKENDS(OrdRenewTest);

TEST_P(OrdRenewTest, ByYearKeepsBatchNumbersAndCopiesEveryLine) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    detail("YZFX", "202501", "2-16");
    cata("YZFX", "202502");
    detail("YZFX", "202502", "82-1");
    cata("TSJK", "202501");
    detail("TSJK", "202501", "9-9");
    // Check-in settings held in the detail travel with it; the send-time columns do not.
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET days_of_items=30, qty_of_vol=12, bind_item_qty=6, "
        "chk_bgn_date='2025-01-01', book_size_code='16K', end_ord_flag='1', aslack_ysno='1', "
        "ord_flag='1', resp_wkr='ZG01' WHERE asord_no='2-16'");

    ASSERT_EQ(renew(byYear({"YZFX"}, "2026")), 0);
    EXPECT_EQ(presenter.shown.back().body, "操作成功完成！");
    EXPECT_EQ(result.catalogues, 2);
    EXPECT_EQ(result.copied, 3);

    EXPECT_EQ(rowsOf("SELECT publ_code, peri_ord_year, peri_ord_date, resp_wkr, peri_ord_flag "
                     "FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%' ORDER BY 2"),
              "YZFX|202601|2026-03-02|DY01|0|\nYZFX|202602|2026-03-02|DY01|0|\n");
    EXPECT_EQ(details("202601", kCopiedColumns), details("202501", kCopiedColumns));
    EXPECT_EQ(details("202602", kCopiedColumns), details("202502", kCopiedColumns));
    EXPECT_EQ(details("202601", "asord_no, resp_wkr, ord_flag, aslack_ysno"),
              "2-15|DY01|0||\n2-16|DY01|0||\n");
    for (const char* lines : {"m_sub_ord_lst", "m_peri_sub_fund_out", "m_peri_ord_dist_lst"}) {
        std::string sql = std::string("SELECT * FROM ") + lines +
                          " WHERE publ_code='YZFX' AND peri_ord_year='%' ORDER BY 3, 4, 5";
        auto of = [&](const std::string& year) {
            std::string s = sql;
            s.replace(s.find('%'), 1, year);
            std::string rows = rowsOf(s);
            for (std::size_t p; (p = rows.find(year)) != std::string::npos;)
                rows.replace(p, year.size(), "BATCH");
            return rows;
        };
        EXPECT_FALSE(of("202501").empty()) << lines;
        EXPECT_EQ(of("202601"), of("202501")) << lines;
        EXPECT_EQ(of("202602"), of("202502")) << lines;
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE publ_code='TSJK' AND "
                     "peri_ord_year LIKE '2026%'"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50020'"), "2");
}

TEST_P(OrdRenewTest, SentSourcesBecomeRenewalsAndUnsentOnesKeepTheirFlag) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "1-1", "0", "0");
    detail("YZFX", "202501", "1-2", "0", "1");
    cata("YZFX", "202502");
    detail("YZFX", "202502", "2-1", "0", "0");
    detail("YZFX", "202502", "2-2", "0", "1");
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_lst SET peri_ord_flag='1' WHERE peri_ord_year='202501'");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='1' WHERE peri_ord_year='202501'");

    ASSERT_EQ(renew(byYear({"YZFX"}, "2026")), 0);
    EXPECT_EQ(details("202601", "asord_no, new_ord_flag, ord_flag"), "1-1|1|0|\n1-2|1|0|\n");
    EXPECT_EQ(details("202602", "asord_no, new_ord_flag, ord_flag"), "2-1|0|0|\n2-2|1|0|\n");
}

TEST_P(OrdRenewTest, OrderStateFiltersDropStoppedAndCeasedTitles) {
    cata("YZFX", "202501");
    const char* kinds[][2] = {{"0-0", "0"}, {"0-1", "1"}, {"0-2", "2"},
                              {"0-3", "3"}, {"0-4", "0"}, {"0-5", "0"}};
    for (auto [no, type] : kinds)
        detail("YZFX", "202501", no, type);
    // An empty and a missing order state count as normal.
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET peri_type='' WHERE asord_no='0-4'");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET peri_type=NULL WHERE asord_no='0-5'");

    RenewOptions o = byYear({"YZFX"}, "2026");
    o.ceased = o.stopped = false;
    ASSERT_EQ(renew(o), 0);
    EXPECT_EQ(details("202601", "asord_no"), "0-0|\n0-1|\n0-4|\n0-5|\n");

    o = byYear({"YZFX"}, "2027");
    o.normal = o.renamed = false;
    ASSERT_EQ(renew(o), 0);
    EXPECT_EQ(details("202701", "asord_no"), "0-2|\n0-3|\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE peri_ord_year='202701'"), "4");
}

TEST_P(OrdRenewTest, OnlyTitlesOfferedInTheNewYearsPreOrderCatalogue) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    detail("YZFX", "202501", "2-16");
    RenewOptions o = byYear({"YZFX"}, "2026");
    o.onlyOffered = true;
    ASSERT_EQ(renew(o), 0);
    EXPECT_EQ(details("202601", "asord_no"), "");

    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES "
        "('YZFX','202509'), ('YZFX','202609'), ('TSJK','202609')");
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_detl (publ_code, publ_year_month, asord_no) VALUES "
        "('YZFX','202609','2-16'), ('YZFX','202509','2-15'), ('TSJK','202609','2-15')");
    o.existing = RenewAnswer::Replace;
    ASSERT_EQ(renew(o), 0);
    EXPECT_EQ(details("202601", "asord_no"), "2-16|\n");
}

TEST_P(OrdRenewTest, ExistingOrdersAreAskedAboutBeforeAnyTransaction) {
    cata("YZFX", "202501");
    for (const char* no : {"2-15", "2-16", "2-17"})
        detail("YZFX", "202501", no);
    cata("YZFX", "202601");
    detail("YZFX", "202601", "2-15");
    detail("YZFX", "202601", "2-16");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET remark='原有' WHERE peri_ord_year='202601'");

    RenewOptions o = byYear({"YZFX"}, "2026");
    o.existing = RenewAnswer::Ask;
    // Keep the existing orders; then keep the catalogue; keep 2-15, replace 2-16.
    ASSERT_EQ(renew(o, {kMsgCancel, kMsgOk, kMsgOk, kMsgCancel}), 0);
    EXPECT_EQ(
        questions(),
        (std::vector<std::string>{
            "此操作将删除新年度批次下所选发行商已经存在的全部订购信息，且不可恢复，要继续嘛？",
            "新年度批次下所选发行商存在订购信息，是否删除这些订购信息？",
            "存在发行商[YZFX]，年度批次[202601]的订单，是否保留原有？",
            "存在发行商[YZFX]，年度批次[202601]，征订号[2-15]的订购明细，是否保留原有？",
            "存在发行商[YZFX]，年度批次[202601]，征订号[2-16]的订购明细，是否保留原有？"}));
    for (const auto& m : presenter.shown)
        EXPECT_FALSE(m.inTransaction) << m.body;
    EXPECT_EQ(details("202601", "asord_no, remark"),
              "2-15|原有|\n2-16|核心期刊|\n2-17|核心期刊|\n");
    EXPECT_EQ(result.kept, 1);
    EXPECT_EQ(result.copied, 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE peri_ord_year='202601'"), "6");
}

TEST_P(OrdRenewTest, AnswersDecidedInAdvance) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    cata("YZFX", "202601");
    detail("YZFX", "202601", "2-15");
    detail("YZFX", "202601", "7-7");
    cata("YZFX", "202609");  // not a source batch, still under the new year
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET remark='原有' WHERE peri_ord_year='202601'");

    RenewOptions keep = byYear({"YZFX"}, "2026");
    ASSERT_EQ(renew(keep), 0);
    EXPECT_EQ(questions().size(), 1u) << "only the opening confirmation is asked";
    EXPECT_EQ(details("202601", "asord_no, remark"), "2-15|原有|\n7-7|原有|\n");

    RenewOptions replace = keep;
    replace.existing = RenewAnswer::Replace;
    ASSERT_EQ(renew(replace), 0);
    EXPECT_EQ(questions().size(), 1u);
    EXPECT_EQ(details("202601", "asord_no, remark"), "2-15|核心期刊|\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE peri_ord_year='202609'"), "0");
}

TEST_P(OrdRenewTest, NamedCatalogueCollectsEveryBatch) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    cata("YZFX", "202502");
    detail("YZFX", "202502", "2-15");
    detail("YZFX", "202502", "3-1");
    RenewOptions o = byYear({"YZFX"}, "");
    o.byYear = false;
    o.newCata = "202603";
    o.existing = RenewAnswer::Ask;
    // The second batch's 2-15 meets the first one's copy: replace it.
    ASSERT_EQ(renew(o, {kMsgOk, kMsgCancel}), 0);
    EXPECT_EQ(questions().back(),
              "存在发行商[YZFX]，年度批次[202603]，征订号[2-15]的订购明细，是否保留原有？");
    EXPECT_EQ(rowsOf("SELECT peri_ord_year FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%'"),
              "202603|\n");
    EXPECT_EQ(details("202603", "asord_no"), "2-15|\n3-1|\n");
}

TEST_P(OrdRenewTest, StartConditionsRefuseWithTheirMessages) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    const std::string before = tableRows({"m_peri_ord_lst", "m_peri_ord_detl"});
    struct Case {
        std::function<void(RenewOptions&)> change;
        const char* message;
    };
    const Case cases[] = {
        {[](RenewOptions& o) { o.sourceYear = ""; }, "没有可以复制的往年数据！"},
        {[](RenewOptions& o) { o.sourceYear = "2019"; }, "没有可以复制的往年数据！"},
        {[](RenewOptions& o) { o.newYear = ""; }, "请输入新的年度！"},
        {[](RenewOptions& o) { o.newYear = "26"; }, "请输入新的年度！"},
        {[](RenewOptions& o) { o.byYear = false; }, "请输入新的订购目录！"},
        {[](RenewOptions& o) { o.publs.clear(); }, "请选择发行商！"},
        {[](RenewOptions& o) { o.newYear = "2025"; }, "新的年度不能与源年度相同！"},
        // XHSD is no serials distributor: its catalogues are not renewed here.
        {[](RenewOptions& o) { o.publs = {"XHSD"}; }, "没有可以复制的往年数据！"},
    };
    for (const Case& c : cases) {
        RenewOptions o = byYear({"YZFX"}, "2026");
        c.change(o);
        presenter.shown.clear();
        EXPECT_EQ(intRenewOrders(o, result), 1) << c.message;
        ASSERT_FALSE(presenter.shown.empty()) << c.message;
        EXPECT_EQ(presenter.shown.back().body, c.message);
        EXPECT_EQ(presenter.shown.back().title, "提示");
    }
    // Declining the opening confirmation writes nothing either.
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intRenewOrders(byYear({"YZFX"}, "2026"), result), 1);
    EXPECT_EQ(tableRows({"m_peri_ord_lst", "m_peri_ord_detl"}), before);
}

TEST_P(OrdRenewTest, SecondStartWhileRunningIsRefused) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    int inner = 0;
    ASSERT_EQ(renew(byYear({"YZFX"}, "2026"), {},
                    [&](const RenewProgress&) {
                        EXPECT_TRUE(IsRenewRunning());
                        RenewResult r2;
                        inner = intRenewOrders(byYear({"YZFX"}, "2027"), r2);
                        return true;
                    }),
              0);
    EXPECT_EQ(inner, 1);
    EXPECT_FALSE(IsRenewRunning());
    EXPECT_EQ(questions().size(), 1u);
    EXPECT_EQ(presenter.bodies().at(1), "操作正在执行！");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE peri_ord_year='202701'"), "0");
}

TEST_P(OrdRenewTest, AbortLeavesWholeDetailsAndReportsProgress) {
    cata("YZFX", "202501");
    for (const char* no : {"1-1", "1-2", "1-3", "1-4", "1-5"})
        detail("YZFX", "202501", no);
    RenewOptions o = byYear({"YZFX"}, "2026");
    o.detailsPerStep = 2;
    std::vector<std::pair<int, int>> seen;
    ASSERT_EQ(renew(o, {},
                    [&](const RenewProgress& p) {
                        seen.push_back({p.done, p.total});
                        EXPECT_NE(p.text.find("YZFX"), std::string::npos);
                        return seen.size() < 2;
                    }),
              0);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{2, 5}, {4, 5}}));
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(presenter.shown.back().body, "操作已中止！");
    EXPECT_EQ(details("202601", "asord_no, peri_ord_qty"), "1-1|3|\n1-2|3|\n1-3|3|\n1-4|3|\n");
    // Every copied detail has all of its lines.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_sub_ord_lst WHERE peri_ord_year='202601'"), "8");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_sub_fund_out WHERE peri_ord_year='202601'"), "8");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE peri_ord_year='202601'"), "8");
}

class OrdRenewFailure : public OrdRenewTest {
protected:
    void SetUp() override {
        OrdRenewTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cata("TSJK", "202501");
        detail("TSJK", "202501", "5-1");
        cata("TSJK", "202502");
        detail("TSJK", "202502", "5-2");
        cata("YZFX", "202501");
        detail("YZFX", "202501", "2-15");
        // A stray subscriber line where TSJK's first copy must go makes that copy fail.
        g_OraDatabase->execute(
            "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location) VALUES "
            "('TSJK','202601','5-1','QK01')");
    }
};
SERIALS_ON_BOTH_BACKENDS(OrdRenewFailure);

TEST_P(OrdRenewFailure, EndsThatDistributorOnlyAndIsLogged) {
    EXPECT_EQ(renew(byYear({"TSJK", "YZFX"}, "2026")), -1);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(rowsOf("SELECT publ_code, peri_ord_year FROM m_peri_ord_lst WHERE peri_ord_year "
                     "LIKE '2026%'"),
              "YZFX|202601|\n");
    EXPECT_EQ(presenter.shown.back().body, "续订过程中出现错误，请查看日志！");
    std::ifstream in(strRenewLogPath());
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("发行商[TSJK] 年度批次[202501]→[202601]：出错，已回滚：ORA-00001"),
              std::string::npos)
        << log.str();
    EXPECT_EQ(log.str().find("[202502]"), std::string::npos) << "TSJK's copy ended at its failure";
    EXPECT_NE(log.str().find("发行商[YZFX] 年度批次[202501]→[202601]：复制 1 条"),
              std::string::npos);
    EXPECT_NE(log.str().find("续订结束：目录 1 个，复制明细 1 条"), std::string::npos);
}

TEST_P(OrdRenewFailure, StopsTheWholeRunWhenAskedTo) {
    RenewOptions o = byYear({"TSJK", "YZFX"}, "2026");
    o.onError = RenewOnError::StopRun;
    EXPECT_EQ(renew(o), -1);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%'"), "0");
}

class OrdRenewFaults : public OrdRenewTest {};
SERIALS_ON_BOTH_BACKENDS(OrdRenewFaults);

TEST_P(OrdRenewFaults, EveryStepOfACatalogueCopy) {
    cata("YZFX", "202501");
    for (const char* no : {"2-15", "2-16", "2-17"})
        detail("YZFX", "202501", no);
    cata("YZFX", "202601");
    detail("YZFX", "202601", "2-16");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET remark='原有' WHERE peri_ord_year='202601'");
    g_OraDatabase->execute("DELETE FROM log_detl");
    g_OraDatabase->execute("DELETE FROM wkr_job_qty");
    RenewOptions o = byYear({"YZFX"}, "2026");
    o.detailsPerStep = 2;
    // Only the catalogue's own transaction writes: the target detail is replaced, not cleared.
    o.existing = RenewAnswer::Ask;
    ProbeBackend& probe = ProbeBackend::install();
    auto failed = failEachStep(
        probe, presenter,
        [&] {
            presenter.replies.clear();
            for (int a : {kMsgOk, kMsgCancel, kMsgOk, kMsgCancel})
                presenter.replies.push_back({a, {}});
            return intRenewOrders(o, result) == 0;
        },
        [] {
            return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                              "m_peri_sub_fund_out", "m_peri_ord_dist_lst", "log_detl"});
        });
    EXPECT_TRUE(contains(failed, "begin"));
    EXPECT_TRUE(contains(failed, "commit"));
    EXPECT_EQ(details("202601", "asord_no, remark"),
              "2-15|核心期刊|\n2-16|核心期刊|\n2-17|核心期刊|\n");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_dist_lst WHERE peri_ord_year='202601'"), "6");
}

// Clearing the target is its own transaction ahead of the copies: a failure in it leaves the
// tables as they were, a failure after it leaves them exactly cleared, never half of either.
TEST_P(OrdRenewFaults, EveryStepOfClearingTheTarget) {
    cata("YZFX", "202501");
    detail("YZFX", "202501", "2-15");
    cata("YZFX", "202601");
    cata("YZFX", "202602");
    detail("YZFX", "202602", "2-16");
    auto tables = [] {
        return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst"});
    };
    const std::string untouched = tables();
    g_OraDatabase->begin();
    for (const char* t : {"m_peri_ord_lst", "m_peri_ord_detl", "m_sub_ord_lst",
                          "m_peri_sub_fund_out", "m_peri_ord_dist_lst"})
        g_OraDatabase->execute(std::string("DELETE FROM ") + t +
                               " WHERE peri_ord_year LIKE '2026%'");
    const std::string cleared = tables();
    g_OraDatabase->rollback();

    RenewOptions o = byYear({"YZFX"}, "2026");
    o.existing = RenewAnswer::Replace;
    ProbeBackend& probe = ProbeBackend::install();
    bool clearingFailed = false;
    for (int step = 1; step < 1000; ++step) {
        std::string before = tables();
        probe.reset();
        probe.failAt = step;
        presenter.replies.assign(1, {kMsgOk, {}});
        const bool ok = intRenewOrders(o, result) == 0;
        probe.failAt = 0;
        if (probe.failed.empty()) {
            EXPECT_TRUE(ok);
            break;
        }
        EXPECT_FALSE(ok) << probe.failed;
        const std::string after = tables();
        EXPECT_TRUE(after == untouched || after == cleared) << "step " << step << ": " << after;
        clearingFailed = clearingFailed || after == untouched;
        EXPECT_FALSE(g_OraDatabase->inTransaction());
        // Put the target back for the next step.
        if (after != before) {
            g_OraDatabase->execute("DELETE FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%'");
            g_OraDatabase->execute(
                "INSERT INTO m_peri_ord_lst VALUES "
                "('YZFX','202601','2026-03-02','DY01','0'), "
                "('YZFX','202602','2026-03-02','DY01','0')");
            OrdDetail d = CompleteDetail("YZFX", "202602", "2-16");
            probe.failAt = 0;
            ASSERT_EQ(intSaveOrdDetail(d, false), 0);
            g_OraDatabase->execute("DELETE FROM log_detl");
            g_OraDatabase->execute("DELETE FROM wkr_job_qty");
            ASSERT_EQ(tables(), untouched);
        }
    }
    EXPECT_TRUE(clearingFailed);
    EXPECT_EQ(rowsOf("SELECT peri_ord_year FROM m_peri_ord_lst WHERE peri_ord_year LIKE '2026%'"),
              "202601|\n");
}

}  // namespace

// Sending order details and taking a send back: the first-time and carried check-in settings,
// the configuration rows per subscriber that checks in, the catalogue's send state, the states
// that are left alone, the check-in progress, and every step of both operations failed in turn.
#include <gtest/gtest.h>

#include "ordering/core/OrdRefresh.h"
#include "ordering/core/OrdSend.h"
#include "ordering/core/basOrdFunc.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/FaultSteps.h"

namespace {

class OrdSend : public OrdDbTest {
protected:
    void SetUp() override {
        OrdDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(intNewOrdCata("YZFX", "202601"), 0);
        for (const char* no : {"2-15", "2-16"})
            save(CompleteDetail("YZFX", "202601", no));
    }
    void save(OrdDetail d) { ASSERT_EQ(intSaveOrdDetail(d, false), 0); }
    static std::string col(const std::string& c, const std::string& year, const std::string& no) {
        return scalar("SELECT " + c + " FROM m_peri_ord_detl WHERE peri_ord_year='" + year +
                      "' AND asord_no='" + no + "'");
    }
    static std::string cfg(const std::string& c, const std::string& year, const std::string& no,
                           const std::string& loca) {
        return scalar("SELECT " + c + " FROM m_peri_chk_cfg WHERE peri_ord_year='" + year +
                      "' AND asord_no='" + no + "' AND location='" + loca + "'");
    }
    static std::string catalogueFlag() {
        return scalar("SELECT peri_ord_flag FROM m_peri_ord_lst WHERE peri_ord_year='202601'");
    }
    static std::string cfgCount() { return scalar("SELECT count(*) FROM m_peri_chk_cfg"); }
    int send(const std::vector<std::string>& nos) {
        return intSendOrdDetails("YZFX", "202601", nos, result, false);
    }
    int unsend(const std::vector<std::string>& nos) {
        return intUnsendOrdDetails("YZFX", "202601", nos, result, false);
    }
    OrdSendResult result;
};
SERIALS_ON_BOTH_BACKENDS(OrdSend);

TEST_P(OrdSend, FirstTimeTitleStartsOnFirstJanuaryWithClaimsWanted) {
    ASSERT_EQ(send({"2-15"}), 0);
    EXPECT_EQ(result.changed, std::vector<std::string>{"2-15"});
    EXPECT_TRUE(result.catalogueSent);
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "1");
    EXPECT_EQ(col("chk_bgn_date", "202601", "2-15"), "2026-01-01");
    EXPECT_EQ(col("aslack_ysno", "202601", "2-15"), "1");
    EXPECT_EQ(col("fst_rece_date", "202601", "2-15"), "1");
    EXPECT_EQ(col("ord_flag", "202601", "2-16"), "0");
    EXPECT_EQ(catalogueFlag(), "1");
    // QK01 checks in: one row for the year, every copy set aside for binding. WWQK does not.
    EXPECT_EQ(cfgCount(), "1");
    EXPECT_EQ(cfg("begin_date", "202601", "2-15", "QK01"), "2026-01-01");
    EXPECT_EQ(cfg("end_date", "202601", "2-15", "QK01"), "2026-12-31");
    EXPECT_EQ(cfg("auto_update_loca || bind_ysno || finish_flag", "202601", "2-15", "QK01"), "110");
    EXPECT_EQ(cfg("bind_copy_qty", "202601", "2-15", "QK01"), "2");
}

// A list loaded before a send or its cancelling does not save over it.
TEST_P(OrdSend, ADetailLoadedBeforeASendIsNotSavedOverIt) {
    auto loaded = [] {
        std::vector<OrdDetail> all;
        EXPECT_EQ(intLoadOrdDetails("YZFX", "202601", all), 0);
        for (OrdDetail& d : all)
            if (d.asordNo == "2-15") {
                d.remark = "发订前改的";
                d.state = RowState::Modified;
                return d;
            }
        return OrdDetail{};
    };
    OrdDetail beforeSend = loaded();
    ASSERT_EQ(send({"2-15"}), 0);
    EXPECT_EQ(intSaveOrdDetail(beforeSend, false), -1);
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "1");

    OrdDetail beforeUnsend = loaded();
    ASSERT_EQ(unsend({"2-15"}), 0);
    EXPECT_EQ(intSaveOrdDetail(beforeUnsend, false), -1);
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "0");
    EXPECT_NE(col("COALESCE(remark, '')", "202601", "2-15"), "发订前改的");
}

TEST_P(OrdSend, RenewalCarriesTheLatestEarlierSentBatch) {
    // 2024 and 2025 were sent, 2027 was entered and never sent: 2025 is the one to follow.
    for (const char* year : {"202401", "202501", "202701"}) {
        ASSERT_EQ(intNewOrdCata("YZFX", year), 0);
        save(CompleteDetail("YZFX", year, "2-17"));
    }
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET ord_flag='1', qty_of_year=6, chk_bgn_date='2025-03-01', "
        "aslack_ysno='0', days_of_aslack=45, aslack_second=20, aslack_third=30, fst_rece_date='5',"
        " attachment='光盘', qty_of_vol=6, bind_item_qty=3, book_size_code='16', days_of_items=60"
        " WHERE peri_ord_year='202501'");
    g_OraDatabase->execute(
        "UPDATE m_peri_ord_detl SET ord_flag='3', qty_of_year=99 WHERE peri_ord_year='202401'");
    g_OraDatabase->execute(
        "INSERT INTO m_peri_chk_cfg (publ_code, peri_ord_year, asord_no, location, begin_date, "
        "end_date, auto_update_loca, beg_vol, beg_issue, beg_total_issue, bind_ysno, "
        "bind_copy_qty, pres_copy_qty, exch_copy_qty, issue_keep_qty, color, frame, finish_flag, "
        "issue_continue, vol_beg_issue) VALUES ('YZFX','202501','2-17','QK01','2025-03-01',"
        "'2025-12-31','0',12,1,133,'0',1,1,0,0,'蓝','精装','1','1',7)");
    // This year WWQK checks in too; it had no configuration the year before.
    OrdDetail d = CompleteDetail("YZFX", "202601", "2-17");
    d.subs[1].chkFlag = "1";
    d.subs[1].dists = {{"WWQK", "1", ""}};
    save(d);

    ASSERT_EQ(send({"2-17"}), 0);
    EXPECT_EQ(col("qty_of_year", "202601", "2-17"), "6");
    EXPECT_EQ(col("chk_bgn_date", "202601", "2-17"), "2026-03-01");
    EXPECT_EQ(col("aslack_ysno", "202601", "2-17"), "0");
    EXPECT_EQ(
        col("days_of_aslack || '/' || aslack_second || '/' || aslack_third", "202601", "2-17"),
        "45/20/30");
    EXPECT_EQ(col("fst_rece_date || attachment || qty_of_vol || bind_item_qty || book_size_code"
                  " || days_of_items",
                  "202601", "2-17"),
              "5光盘631660");
    // QK01 follows last year's row within this year's period; WWQK gets the plain one.
    EXPECT_EQ(cfg("begin_date || ' ' || end_date", "202601", "2-17", "QK01"),
              "2026-01-01 2026-12-31");
    EXPECT_EQ(cfg("auto_update_loca || beg_vol || '/' || beg_issue || '/' || beg_total_issue || "
                  "bind_ysno || bind_copy_qty || pres_copy_qty || color || frame || "
                  "issue_continue || vol_beg_issue || finish_flag",
                  "202601", "2-17", "QK01"),
              "012/1/133011蓝精装170");
    EXPECT_EQ(cfg("auto_update_loca || bind_ysno || bind_copy_qty", "202601", "2-17", "WWQK"),
              "111");
    EXPECT_EQ(cfg("beg_vol", "202601", "2-17", "WWQK"), "");
}

TEST(OrdSendDates, CarriedBeginDateMovesIntoTheBatchYear) {
    EXPECT_EQ(strCarriedChkBgnDate("2025-03-15", "202601"), "2026-03-15");
    EXPECT_EQ(strCarriedChkBgnDate("2024-02-29", "202501"), "2025-02-28");
    EXPECT_EQ(strCarriedChkBgnDate("2024-02-29", "202801"), "2028-02-29");
    for (const char* bad : {"", "2025-3-1", "2025-13-01", "20250301xx", "abcd-ef-gh"})
        EXPECT_EQ(strCarriedChkBgnDate(bad, "202601"), "2026-01-01") << bad;
}

TEST_P(OrdSend, CheckingInDetailsAreLeftAloneByBothCommands) {
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET ord_flag='2' WHERE asord_no='2-16'");
    ASSERT_EQ(send({"2-15", "2-16"}), 0);
    EXPECT_EQ(result.changed, std::vector<std::string>{"2-15"});
    EXPECT_EQ(col("ord_flag", "202601", "2-16"), "2");
    EXPECT_EQ(col("chk_bgn_date", "202601", "2-16"), "");
    // Sending again changes nothing.
    ASSERT_EQ(send({"2-15"}), 0);
    EXPECT_TRUE(result.changed.empty());
    EXPECT_EQ(cfgCount(), "1");
    // Cancelling takes back 2-15 only; 2-16 keeps the catalogue sent.
    ASSERT_EQ(unsend({"2-15", "2-16"}), 0);
    EXPECT_EQ(result.changed, std::vector<std::string>{"2-15"});
    EXPECT_EQ(col("ord_flag", "202601", "2-16"), "2");
    EXPECT_TRUE(result.catalogueSent);
    EXPECT_EQ(catalogueFlag(), "1");
}

TEST_P(OrdSend, CancellingOneOfTwoKeepsTheCatalogueSent) {
    ASSERT_EQ(send({"2-15", "2-16"}), 0);
    EXPECT_EQ(cfgCount(), "2");
    ASSERT_EQ(unsend({"2-15"}), 0);
    EXPECT_TRUE(result.catalogueSent);
    EXPECT_EQ(catalogueFlag(), "1");
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "0");
    EXPECT_EQ(cfg("count(*)", "202601", "2-15", "QK01"), "0");
    EXPECT_EQ(cfg("count(*)", "202601", "2-16", "QK01"), "1");
    ASSERT_EQ(unsend({"2-16"}), 0);
    EXPECT_FALSE(result.catalogueSent);
    EXPECT_EQ(catalogueFlag(), "0");
    EXPECT_EQ(cfgCount(), "0");
}

TEST_P(OrdSend, QuestionsDeclinedChangeNothing) {
    OrdSendResult r;
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intSendOrdDetails("YZFX", "202601", {"2-15"}, r), 1);
    EXPECT_EQ(presenter.bodies().back(), "是否确认发订选择订购明细");
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "0");
    ASSERT_EQ(send({"2-15"}), 0);
    presenter.replies.push_back({kMsgCancel, {}});
    EXPECT_EQ(intUnsendOrdDetails("YZFX", "202601", {"2-15"}, r), 1);
    EXPECT_EQ(presenter.bodies().back(), "是否确认取消发订选择订购明细");
    EXPECT_EQ(col("ord_flag", "202601", "2-15"), "1");
}

TEST_P(OrdSend, ProgressCountsIssuesWhoseCopiesAllArrived) {
    ASSERT_EQ(send({"2-15"}), 0);
    // Three copies ordered (QK01 2, WWQK 1): issue 1 complete, issue 2 short of one, 3 not yet.
    for (int i = 1; i <= 3; ++i)
        g_OraDatabase->execute(
            "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, peri_no) "
            "VALUES ('000000000" +
            std::to_string(i) + "','YZFX','202601','2-15'," + std::to_string(i) + ")");
    auto item = [](int issue, const char* loca, int n) {
        g_OraDatabase->execute(
            "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no) VALUES "
            "('000000000" +
            std::to_string(issue) + "','" + loca + "','" + loca + "'," + std::to_string(n) + ")");
    };
    item(1, "QK01", 1);
    item(1, "QK01", 2);
    item(1, "WWQK", 1);
    item(2, "QK01", 1);
    item(2, "QK01", 2);
    std::vector<OrdChkProgress> p;
    ASSERT_EQ(intGetOrdChkProgress("YZFX", "202601", {"2-15", "2-16"}, p), 0);
    ASSERT_EQ(p.size(), 1u) << "2-16 is not sent";
    EXPECT_EQ(strOrdChkProgress(p[0]), "开始签收，未完成（已订3期，已签1期）");
}

TEST_P(OrdSend, DetailsPairWithPreOrderItemsByNormalisedNumber) {
    save(CompleteDetail("YZFX", "202601", "82-1"));
    save(CompleteDetail("YZFX", "202601", "ABC"));
    g_OraDatabase->execute(
        "INSERT INTO peri_asord_cata (publ_code, publ_year_month) VALUES ('YZFX','202511')");
    // As the review file writes them: each with its normalised number.
    for (const char* row :
         {"'0002-0015', 13.5, 162, '月刊', '0002-0015'", "'0082-0001', 20, 80, '季刊', '0082-0001'",
          "'abc', 1, 1, '月刊', 'abc'", "'2-17', 9, 9, '月刊', '0002-0017'"})
        g_OraDatabase->execute(
            "INSERT INTO peri_asord_detl (publ_code, publ_year_month, "
            "asord_no, peri_price, peri_year_price, publ_freq, fmt_asord_no) VALUES "
            "('YZFX','202511'," +
            std::string(row) + ")");
    std::vector<AsordPair> pairs;
    ASSERT_EQ(intPairWithAsord("YZFX", "202601", "YZFX", "202511", pairs), 0);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].ordAsordNo, "2-15");
    EXPECT_EQ(pairs[0].asordNo, "0002-0015");
    EXPECT_EQ(pairs[0].price, "13.5");
    EXPECT_EQ(pairs[0].sumPrice, "162");
    EXPECT_EQ(pairs[1].ordAsordNo, "82-1");
    EXPECT_EQ(pairs[1].freq, "季刊");
    ASSERT_EQ(intPairWithAsord("YZFX", "202601", "TSJK", "202511", pairs), 0);
    EXPECT_TRUE(pairs.empty());
}

class OrdSendFaults : public OrdSend {
protected:
    void SetUp() override {
        OrdSend::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // 2-15 renews a sent 2025 detail with a configuration row; 2-16 is new.
        ASSERT_EQ(intNewOrdCata("YZFX", "202501"), 0);
        save(CompleteDetail("YZFX", "202501", "2-15"));
        g_OraDatabase->execute(
            "UPDATE m_peri_ord_detl SET ord_flag='1', qty_of_year=6 WHERE "
            "peri_ord_year='202501'");
        g_OraDatabase->execute(
            "INSERT INTO m_peri_chk_cfg (publ_code, peri_ord_year, asord_no, "
            "location, beg_vol) VALUES ('YZFX','202501','2-15','QK01',4)");
        probe = &ProbeBackend::install();
    }
    static std::string tables() {
        return tableRows({"m_peri_ord_lst", "m_peri_ord_detl", "m_peri_chk_cfg"});
    }
    void expectEveryStepSafe(const std::function<bool()>& op) {
        auto failed = failEachStep(*probe, presenter, op, tables);
        EXPECT_TRUE(contains(failed, "begin"));
        EXPECT_TRUE(contains(failed, "commit"));
    }
    ProbeBackend* probe = nullptr;
};
SERIALS_ON_BOTH_BACKENDS(OrdSendFaults);

TEST_P(OrdSendFaults, Send) {
    expectEveryStepSafe([&] { return send({"2-15", "2-16"}) == 0; });
    EXPECT_EQ(cfg("beg_vol", "202601", "2-15", "QK01"), "4");
    EXPECT_EQ(catalogueFlag(), "1");
}

TEST_P(OrdSendFaults, Unsend) {
    ASSERT_EQ(send({"2-15", "2-16"}), 0);
    expectEveryStepSafe([&] { return unsend({"2-15", "2-16"}) == 0; });
    EXPECT_EQ(catalogueFlag(), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg WHERE peri_ord_year='202601'"), "0");
}

}  // namespace

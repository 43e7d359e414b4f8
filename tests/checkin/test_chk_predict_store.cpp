// Saving a check-in configuration: what loading defaults to, the rows a first confirmation
// writes, what a second one changes, the refusals, and a failure at any step leaving nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "checkin/core/GenerateDemo.h"
#include "checkin/core/basChkConfig.h"
#include "checkin/core/basChkPredict.h"
#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "tests/checkin/ChkTestData.h"
#include "tests/checkin/FinishFlagCheck.h"
#include "tests/support/ProbeBackend.h"

namespace {

const std::string kLine = " WHERE publ_code='YZFX' AND peri_ord_year='203101' AND asord_no='4-66'";

class ChkConfigStore : public ChkDbTest {
protected:
    ChkConfigForm monthly() {
        ChkConfigForm f = loaded();
        f.line.fstReceDate = 5;
        f.line.daysOfAslack = 30;
        f.line.qtyOfVol = 12;
        f.line.attachment = " 光盘 ";
        f.cfg.begVol = 21;
        f.cfg.begIssue = 1;
        f.cfg.begTotalIssue = 241;
        return f;
    }
    std::vector<std::string> column(const std::string& sql) {
        RawResult r = g_OraDatabase->query(sql);
        std::vector<std::string> out;
        for (auto& row : r.rows)
            out.push_back(row.at(0).str());
        return out;
    }
    std::string snapshot() {
        return tableSnapshot(
            {"m_peri_ord_detl", "m_peri_chk_cfg", "m_peri_chk_vol", "m_peri_chk_lack", "log_detl"});
    }
};
SERIALS_ON_BOTH_BACKENDS(ChkConfigStore);

}  // namespace

TEST_P(ChkConfigStore, LoadingDefaultsAndTheFrequencyLink) {
    ChkConfigForm f = loaded();
    EXPECT_EQ(f.freqCode, 'f');  // the order side stores 月刊
    EXPECT_FALSE(f.cfgExists);
    EXPECT_EQ(f.line.chkBgnDate, "2031-01-01");
    EXPECT_EQ(f.cfg.beginDate, "2031-01-01");
    EXPECT_EQ(f.cfg.endDate, "2031-12-31");
    EXPECT_EQ(f.locationCopies, 2);
    EXPECT_EQ(f.cfg.bindCopyQty, 2);
    EXPECT_EQ(f.line.qtyOfYear, 12);
    EXPECT_EQ(f.line.carrierCode, "01");
    EXPECT_EQ(loaded("4-73").freqCode, 'h');
    EXPECT_EQ(loaded("4-66", "SHKX").locationCopies, 1);
    ChkConfigForm none;
    EXPECT_EQ(intLoadChkConfig({"YZFX", "203101", "9-99"}, "QK01", none), 1);

    EXPECT_EQ(chkFreqCode("季刊"), 'h');
    EXPECT_EQ(chkFreqCode(" H "), 'h');
    EXPECT_EQ(chkFreqCode("旬刊"), 'o');
    EXPECT_EQ(chkFreqCode("周报"), '\0');
    EXPECT_EQ(chkFreqCode("q"), '\0');
    EXPECT_EQ(chkFreqName('c'), "周刊");

    ChkConfigChoices choices;
    ASSERT_EQ(intLoadChkConfigChoices(choices), 0);
    ASSERT_FALSE(choices.bookSizes.empty());
    EXPECT_EQ(choices.bookSizes.front(), (std::pair<std::string, std::string>{"01", "16开"}));
}

TEST_P(ChkConfigStore, FirstConfirmationWritesLineConfigurationIssuesAndLog) {
    const std::string before = scalar("SELECT max(peri_id) FROM m_peri_chk_vol");
    const long long first = before.empty() ? 1 : std::stoll(before) + 1;
    ASSERT_EQ(intSaveChkConfig(monthly()), 0) << ::testing::PrintToString(presenter.bodies());

    EXPECT_EQ(scalar("SELECT ord_flag FROM m_peri_ord_detl" + kLine), "2");
    EXPECT_EQ(scalar("SELECT fst_rece_date FROM m_peri_ord_detl" + kLine), "5");
    EXPECT_EQ(scalar("SELECT attachment FROM m_peri_ord_detl" + kLine), "光盘");
    EXPECT_EQ(scalar("SELECT chk_bgn_date FROM m_peri_ord_detl" + kLine), "2031-01-01");
    EXPECT_EQ(scalar("SELECT beg_total_issue FROM m_peri_chk_cfg" + kLine + " AND location='QK01'"),
              "241");
    EXPECT_EQ(scalar("SELECT bind_copy_qty FROM m_peri_chk_cfg" + kLine), "2");

    const std::string cols =
        "SELECT peri_id||'|'||peri_no||'|'||cover_vol||'|'||cover_issue||'|'||cover_issue_total"
        "||'|'||carrier_code||'|'||expect_date||'|'||aslack_date||'|'||publ_year||'|'||"
        "attachment||'|'||finish_flag||'|'||peri_type FROM m_peri_chk_vol" +
        kLine + " ORDER BY peri_no";
    auto rows = column(cols);
    ASSERT_EQ(rows.size(), 12u);
    char key[24];
    std::snprintf(key, sizeof key, "%010lld", first);
    EXPECT_EQ(rows[0], std::string(key) + "|1|21|1|241|01|2031-01-05|2031-02-04|2031|光盘|0|0");
    std::snprintf(key, sizeof key, "%010lld", first + 11);
    EXPECT_EQ(rows[11], std::string(key) + "|12|21|12|252|01|2031-12-05|2032-01-04|2031|光盘|0|0");

    auto log = column(
        "SELECT obj_key1||'|'||wkr_no||'|'||obj_key2||'|'||obj_key3||'|'||obj_desc2 FROM "
        "log_detl WHERE log_type='50022'");
    EXPECT_EQ(log, std::vector<std::string>{"0000000009|JD01|YZFX|203101|QK01"});
}

TEST_P(ChkConfigStore, SecondConfirmationRewritesClaimDatesOnly) {
    ASSERT_EQ(intSaveChkConfig(monthly()), 0);
    const auto dates =
        column("SELECT expect_date FROM m_peri_chk_vol" + kLine + " ORDER BY peri_no");
    const auto keys = column("SELECT peri_id FROM m_peri_chk_vol" + kLine + " ORDER BY peri_no");

    ChkConfigForm again = loaded();
    EXPECT_TRUE(again.cfgExists);
    EXPECT_EQ(again.line.fstReceDate, 5);
    EXPECT_EQ(again.cfg.begVol, 21);
    again.line.fstReceDate = 20;  // a changed start day moves no expected issue
    again.line.daysOfAslack = 10;
    again.line.attachment = "附图";
    ASSERT_EQ(intSaveChkConfig(again), 0);
    EXPECT_EQ(column("SELECT expect_date FROM m_peri_chk_vol" + kLine + " ORDER BY peri_no"),
              dates);
    EXPECT_EQ(column("SELECT peri_id FROM m_peri_chk_vol" + kLine + " ORDER BY peri_no"), keys);
    auto claims = column("SELECT aslack_date FROM m_peri_chk_vol" + kLine + " ORDER BY peri_no");
    EXPECT_EQ(claims.front(), "2031-01-15");
    EXPECT_EQ(claims.back(), "2031-12-15");
    EXPECT_EQ(column("SELECT DISTINCT attachment FROM m_peri_chk_vol" + kLine),
              std::vector<std::string>{"附图"});
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg" + kLine), "1");
    EXPECT_EQ(scalar("SELECT fst_rece_date FROM m_peri_ord_detl" + kLine), "20");

    // The second location of the line shares its issues.
    ChkConfigForm other = loaded("4-66", "SHKX");
    other.cfg.begTotalIssue = 1;
    ASSERT_EQ(intSaveChkConfig(other), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol" + kLine), "12");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg" + kLine), "2");
}

TEST_P(ChkConfigStore, KeysRunOnOverTheWholeTableAndRomanNumbersStay) {
    ASSERT_EQ(intSaveChkConfig(monthly()), 0);
    const std::string last = scalar("SELECT max(peri_id) FROM m_peri_chk_vol");
    ChkConfigForm quarterly = loaded("4-73");
    quarterly.roman = true;
    quarterly.line.fstReceDate = 1;
    quarterly.cfg.begVol = 3;
    ASSERT_EQ(intSaveChkConfig(quarterly), 0);
    auto rows = column(
        "SELECT peri_id||'|'||cover_vol||'|'||expect_date FROM m_peri_chk_vol WHERE "
        "asord_no='4-73' AND peri_ord_year='203101' ORDER BY peri_no");
    ASSERT_EQ(rows.size(), 4u);
    char key[24];
    std::snprintf(key, sizeof key, "%010lld", std::stoll(last) + 1);
    EXPECT_EQ(rows[0], std::string(key) + "|Ⅲ|2031-01-01");
    EXPECT_EQ(rows[3].substr(10), "|VI|2031-10-01");
    // The setting holds for the rest of the program's run.
    EXPECT_TRUE(QK_bolLuoMa);
    EXPECT_TRUE(loaded("4-66").roman);
}

TEST_P(ChkConfigStore, RefusalsShowTheirMessageAndWriteNothing) {
    const std::string reference = snapshot();
    ChkConfigForm f = monthly();
    f.cfg.presCopyQty = 1;  // 2 bound + 1 gift for 2 copies
    EXPECT_EQ(intSaveChkConfig(f), -1);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().body, "装订，赠送，交换复本数之和应该等于订户复本数。");
    EXPECT_EQ(presenter.shown.back().title, kChkConfigCaption);
    EXPECT_EQ(presenter.shown.back().type, 'W');
    f = monthly();
    f.cfg.endDate = "2030-12-31";
    f.cfg.presCopyQty = 1;  // the period is checked first
    EXPECT_EQ(intSaveChkConfig(f), -1);
    EXPECT_EQ(presenter.shown.back().body, "订购起始日期不能大于订购截止日期。");
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET publ_freq='周报'" + kLine);
    const std::string unknown = snapshot();
    EXPECT_EQ(intSaveChkConfig(loaded()), -1);
    EXPECT_NE(presenter.shown.back().body.find("周报"), std::string::npos);
    EXPECT_EQ(snapshot(), unknown);
    g_OraDatabase->execute("UPDATE m_peri_ord_detl SET publ_freq='月刊'" + kLine);
    EXPECT_EQ(snapshot(), reference);
}

TEST_P(ChkConfigStore, FailureAtBeginAnyStatementOrCommitLeavesNothing) {
    // A daily title for two years: 731 issues, two insert statements.
    auto daily = [&] {
        ChkConfigForm f = monthly();
        f.freqCode = 'a';
        f.cfg.endDate = "2032-12-31";
        return f;
    };
    ProbeBackend& probe = ProbeBackend::install();
    // The first confirmation, and a second one over the predicted issues.
    for (bool second : {false, true}) {
        auto prepare = [&] {
            for (const char* t :
                 {"m_aslack_rec", "indi_acct", "item", "m_peri_bind_detl", "m_peri_item",
                  "m_peri_chk_lack", "m_peri_chk_vol", "m_peri_chk_cfg"})
                g_OraDatabase->execute(std::string("DELETE FROM ") + t);
            g_OraDatabase->execute("DELETE FROM log_detl");
            if (second) {
                ASSERT_EQ(intSaveChkConfig(daily()), 0);
            }
        };
        ChkConfigForm f = daily();
        f.cfgExists = second;
        f.line.daysOfAslack = 3;
        prepare();
        probe.reset();
        ASSERT_EQ(intSaveChkConfig(f), 0);
        const int n = probe.steps();
        ASSERT_GE(n, second ? 6 : 7);
        EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol" + kLine), "731");
        for (int step = 0; step <= n + 1; ++step) {
            prepare();
            const std::string before = snapshot();
            probe.reset();
            probe.failBegin = step == 0;
            probe.failAt = step >= 1 && step <= n ? step : 0;
            probe.failCommit = step == n + 1;
            EXPECT_EQ(intSaveChkConfig(f), -1) << "step " << step;
            probe.failBegin = probe.failCommit = false;
            probe.failAt = 0;
            EXPECT_EQ(snapshot(), before) << "second " << second << " step " << step;
            EXPECT_FALSE(g_blnInTrans);
        }
    }
}

TEST_P(ChkConfigStore, DemoOrdersAreConfiguredWhereTheyAreCheckedIn) {
    const std::string finished = scalar("SELECT count(*) FROM m_peri_ord_detl WHERE ord_flag='3'");
    ASSERT_EQ(ChkConfigureDemoOrders(), 0) << ::testing::PrintToString(presenter.bodies());
    // Every sent line is predicted, no unsent one.
    EXPECT_EQ(scalar("SELECT count(DISTINCT peri_ord_year||asord_no) FROM m_peri_chk_vol"),
              scalar("SELECT count(*) FROM m_peri_ord_detl WHERE ord_flag<>'0'"));
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol v, m_peri_ord_detl d WHERE "
                     "v.publ_code=d.publ_code AND v.peri_ord_year=d.peri_ord_year AND "
                     "v.asord_no=d.asord_no AND d.ord_flag='0'"),
              "0");
    // Configured at the locations that check in, not the others.
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_cfg c, m_sub_ord_lst s WHERE "
                     "c.publ_code=s.publ_code AND c.peri_ord_year=s.peri_ord_year AND "
                     "c.asord_no=s.asord_no AND c.location=s.location AND s.chk_stat<>'1'"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_ord_detl WHERE ord_flag='3'"), finished);
    EXPECT_EQ(scalar("SELECT cover_vol||'/'||cover_issue||'/'||expect_date FROM m_peri_chk_vol "
                     "WHERE asord_no='0024-A' AND peri_no=2"),
              "LXX/Ⅱ/2030-04-10");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE asord_no='3-38' AND "
                     "peri_ord_year='203101'"),
              "24");
    EXPECT_FALSE(QK_bolLuoMa);
}

TEST_P(ChkConfigStore, DemoArrivalsAreCompletePartialAndClaimableInBothYears) {
    const std::string today = "2031-09-15";
    LIB_DB_PinServerDate(today + " 09:00:00");
    ASSERT_EQ(ChkConfigureDemoOrders(), 0) << ::testing::PrintToString(presenter.bodies());
    ASSERT_EQ(ChkReceiveDemoArrivals(), 0) << ::testing::PrintToString(presenter.bodies());
    // The copies of an issue at the location that checks it in, against those subscribed.
    const std::string issues =
        "SELECT count(*) FROM m_peri_chk_vol v JOIN m_sub_ord_lst s ON "
        "s.publ_code=v.publ_code AND s.peri_ord_year=v.peri_ord_year AND s.asord_no=v.asord_no "
        "AND s.chk_stat='1' WHERE ";
    const std::string copies =
        "(SELECT count(*) FROM m_peri_item i WHERE i.peri_id=v.peri_id "
        "AND i.location=s.location)";
    for (const std::string year : {"203001", "203101"}) {
        const std::string in = "v.peri_ord_year='" + year + "' AND ";
        EXPECT_NE(scalar(issues + in + copies + ">=s.sub_peri_qty"), "0") << year;
        EXPECT_NE(scalar(issues + in + copies + ">0 AND " + copies + "<s.sub_peri_qty"), "0")
            << year;
        EXPECT_NE(scalar(issues + in + copies + "=0 AND v.aslack_date<'" + today + "'"), "0")
            << year;
        // Nothing arrives before it is expected, nor after the day the database is made.
        EXPECT_EQ(scalar(issues + in + copies + ">0 AND v.expect_date>'" + today + "'"), "0");
    }
    // A finished line has every issue in full; the weekly and the daily title have arrivals.
    EXPECT_EQ(scalar(issues + "v.peri_ord_year='203001' AND v.asord_no='2-24' AND " + copies +
                     "<s.sub_peri_qty"),
              "0");
    for (const std::string line : {"5-10", "5-17"})
        EXPECT_NE(scalar(issues + "v.asord_no='" + line + "' AND " + copies + ">0"), "0") << line;
    // Issues in full at every receiving location are finished, the others not.
    EXPECT_EQ(wrongFinishFlags(), std::vector<std::string>{});
    EXPECT_NE(scalar("SELECT count(*) FROM m_peri_chk_vol WHERE finish_flag='1'"), "0");
    // Received by the check-in librarian through the check-in, logged as such; the session is
    // as it was.
    EXPECT_NE(scalar("SELECT count(*) FROM log_detl WHERE log_type='50023' AND wkr_no='JD01'"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM m_peri_item WHERE wkr_no<>'JD01'"), "0");
    EXPECT_EQ(g_strWkrNo, "JD01");
    EXPECT_FALSE(g_blnSpecialRight);
}

TEST_P(ChkConfigStore, DemoCopiesAreDatedTheDaysTheirIssuesCame) {
    const std::string today = "2031-09-15";
    LIB_DB_PinServerDate(today + " 09:00:00");
    ASSERT_EQ(ChkConfigureDemoOrders(), 0) << ::testing::PrintToString(presenter.bodies());
    // The demo's own claim and binding rows bring copies with dates of their own.
    std::string earlier = "''";
    for (const std::string& id : column("SELECT DISTINCT peri_id FROM m_peri_item"))
        earlier += ",'" + id + "'";
    ASSERT_EQ(ChkReceiveDemoArrivals(), 0) << ::testing::PrintToString(presenter.bodies());
    const std::string received = " i.peri_id NOT IN (" + earlier + ")";
    const std::string items = " FROM m_peri_item i WHERE" + received;

    // On or after the expected day, within the week the demo allows, and never after today.
    LibArray rows;
    ASSERT_EQ(LIB_DB_Select("SELECT i.chk_date,v.expect_date FROM m_peri_item i JOIN "
                            "m_peri_chk_vol v ON v.peri_id=i.peri_id WHERE" +
                                received,
                            rows),
              0);
    ASSERT_GT(rows.recordCount(), 50);
    for (int r = 2; r < rows.rows(); ++r) {
        const std::string day = rows(0, r).str().substr(0, 10), expected = rows(1, r).str();
        EXPECT_GE(day, expected);
        EXPECT_LE(day, chkAddDays(expected, 7)) << expected;
        EXPECT_LE(day, today);
    }
    // Spread over the months of both years, in working hours, not all on the day it was made.
    EXPECT_GT(std::stoi(scalar("SELECT count(DISTINCT substr(chk_date,1,7))" + items)), 12);
    EXPECT_EQ(scalar("SELECT count(*)" + items +
                     " AND (substr(chk_date,12,2) < '09' OR substr(chk_date,12,2) > '16')"),
              "0");
    // All copies of one issue at one location came together.
    EXPECT_EQ(scalar("SELECT count(*) FROM (SELECT peri_id,location" + items +
                     " GROUP BY peri_id,location HAVING count(DISTINCT chk_date) > 1) t"),
              "0");
}

// A title ready for check-in, written straight into the tables (in place of the demo orders):
// one sent order line of a
// monthly journal, its receiving location QK01 with 3 copies distributed 2 to QK01 and 1 to
// QKYL, a second location WWQK (1 copy, to itself), both configured, and twelve expected issues
// of volume 12 (issues 1-12, running numbers 101-112) for 2031, expected on the 5th.
#pragma once

#include <string>
#include <vector>

#include "app/basQKLogin.h"
#include "checkin/core/basChkIn.h"
#include "db/basLibDB.h"
#include "tests/checkin/OwedCopies.h"
#include "tests/ordering/OrdTestData.h"
#include "tests/support/TestDb.h"

inline const ChkOrderKey kChkKey{"YZFX", "203601", "5-01"};

inline std::string chkIssueId(int n) {
    std::string s = std::to_string(9000 + n);
    return std::string(10 - s.size(), '0') + s;
}

inline void InsertChkTitle() {
    auto exec = [](const std::string& sql) { g_OraDatabase->execute(sql); };
    DropDemoOrders();
    exec(
        "INSERT INTO marc (marc_rec_no, marc_type, lang_code, m_title, m_isbn) VALUES "
        "('0000009001', '0', 'chi', '图书馆学研究', '1001-8867')");
    exec(
        "INSERT INTO marc_idx (marc_rec_no, marc_idx_grp, marc_idx_tag, marc_idx_cont) VALUES "
        "('0000009001', '03', '011a', '1001-8867')");
    exec(
        "INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year, peri_ord_date, resp_wkr, "
        "peri_ord_flag) VALUES ('YZFX', '203601', '2035-10-01', 'DY01', '1')");
    exec(
        "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, carrier_code, "
        "get_mode_code, marc_rec_no, money_code, peri_price, peri_total_price, peri_ord_qty, "
        "ord_flag, publ_freq, peri_type) VALUES ('YZFX', '203601', '5-01', '01', '01', "
        "'0000009001', 'CNY', 20, 240, 4, '2', '月刊', '0')");
    exec(
        "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, sub_peri_qty, "
        "chk_stat) VALUES ('YZFX', '203601', '5-01', 'QK01', 3, '1'), "
        "('YZFX', '203601', '5-01', 'WWQK', 1, '1')");
    exec(
        "INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, "
        "dist_loca, dist_qty, label) VALUES ('YZFX', '203601', '5-01', 'QK01', 'QK01', 2, ''), "
        "('YZFX', '203601', '5-01', 'QK01', 'QKYL', 1, 'G25/7'), "
        "('YZFX', '203601', '5-01', 'WWQK', 'WWQK', 1, '')");
    exec(
        "INSERT INTO m_peri_sub_fund_out (publ_code, peri_ord_year, asord_no, location, "
        "fund_src_code, sub_qty, sub_amt) VALUES ('YZFX', '203601', '5-01', 'WWQK', '01', 1, 240)");
    exec(
        "INSERT INTO m_peri_chk_cfg (publ_code, peri_ord_year, asord_no, location, begin_date, "
        "end_date, finish_flag) VALUES ('YZFX', '203601', '5-01', 'QK01', '2036-01-01', "
        "'2036-12-31', '1'), ('YZFX', '203601', '5-01', 'WWQK', '2036-01-01', '2036-12-31', '1')");
    for (int n = 1; n <= 12; ++n) {
        std::string mm = (n < 10 ? "0" : "") + std::to_string(n);
        std::string claim =
            n == 12 ? "2037-01-04"
                    : "2036-" + std::string(n < 9 ? "0" : "") + std::to_string(n + 1) + "-04";
        exec(
            "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, cover_vol, "
            "cover_issue, cover_issue_total, carrier_code, expect_date, aslack_date, publ_year, "
            "peri_no, finish_flag, peri_type) VALUES ('" +
            chkIssueId(n) + "', 'YZFX', '203601', '5-01', '12', '" + std::to_string(n) + "', '" +
            std::to_string(100 + n) + "', '01', '2036-" + mm + "-05', '" + claim + "', '2036', " +
            std::to_string(n) + ", '0', '0')");
    }
    // The copies the issues owe, as prediction leaves them.
    refreshOwedCopies();
}

// Check-in tests on both backends: the title above, JD01 (check-in librarian, locations QK01
// and QKYL) logged in on the demo workstation, the server date pinned to 2036-03-20.
class ChkDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override { return OrdTestInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        InsertChkTitle();
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login("JD01", "1234"));
        LIB_DB_PinServerDate("2036-03-20 10:30:00");
        ASSERT_EQ(intLoadChkOrderLine(kChkKey, line), 0);
        std::vector<ChkInLocation> all;
        ASSERT_EQ(intLoadChkLocations(kChkKey, all), 0);
        ASSERT_EQ(all.size(), 2u);
        qk01 = all[0];
        wwqk = all[1];
    }
    void TearDown() override {
        if (!IsSkipped() && g_OraDatabase) expectOwedCopiesKept();
        DbTest::TearDown();
    }
    ChkInOrderLine line;
    ChkInLocation qk01, wwqk;
};

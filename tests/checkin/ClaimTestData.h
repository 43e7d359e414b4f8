// Rows for the claim tests, written straight into the order and check-in tables: order lines
// with their subscribers, expected issues, received copies and earlier claims, each bringing the
// copies still owed up to date as the program's writers do. The fixture logs in the demo
// check-in librarian, pins the server's date, and finds the owed copies kept after each test.
#pragma once

#include <string>

#include "app/basQKLogin.h"
#include "common/OperatorState.h"
#include "db/basLibDB.h"
#include "tests/checkin/OwedCopies.h"
#include "tests/support/TestDb.h"

inline const char* const kClaimToday = "2026-03-10";

inline void sqlRun(const std::string& sql) {
    g_OraDatabase->execute(sql);
}

inline std::string q(const std::string& v) {
    return LIB_SqlStr(v);
}

// An order line claimed at `aslackSecond`/`aslackThird` day intervals, with its record and one
// subscriber per location.
struct ClaimLine {
    std::string publ = "YZFX", year = "202601", asord = "2-15", marc = "T000000001";
    std::string title = "计算机学报", issn = "0254-4164", getMode = "01", docType = "j";
    std::string ysno = "1";
    int second = 15, third = 20;
    std::vector<std::pair<std::string, int>> subs = {{"QK01", 3}};
    std::string label = "TP3/12";
};

inline std::vector<std::string> lineSql(const ClaimLine& l) {
    std::vector<std::string> out;
    out.push_back("INSERT INTO marc (marc_rec_no, doc_type_code, m_title, m_isbn) VALUES (" +
                  q(l.marc) + "," + q(l.docType) + "," + q(l.title) + "," + q(l.issn) + ")");
    out.push_back(
        "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, marc_rec_no, "
        "get_mode_code, publ_freq, kind_no, aslack_ysno, aslack_second, aslack_third) VALUES (" +
        q(l.publ) + "," + q(l.year) + "," + q(l.asord) + "," + q(l.marc) + "," + q(l.getMode) +
        ",'m','TP3'," + q(l.ysno) + "," + std::to_string(l.second) + "," + std::to_string(l.third) +
        ")");
    for (const auto& [loc, qty] : l.subs) {
        out.push_back(
            "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, "
            "sub_peri_qty, chk_stat) VALUES (" +
            q(l.publ) + "," + q(l.year) + "," + q(l.asord) + "," + q(loc) + "," +
            std::to_string(qty) + ",'1')");
        out.push_back(
            "INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, "
            "dist_loca, dist_qty, label) VALUES (" +
            q(l.publ) + "," + q(l.year) + "," + q(l.asord) + "," + q(loc) + "," + q(loc) + "," +
            std::to_string(qty) + "," + q(l.label) + ")");
    }
    return out;
}

inline void addLine(const ClaimLine& l) {
    for (const std::string& sql : lineSql(l))
        sqlRun(sql);
}

// An expected issue of the line, claimable after `aslackDate`.
inline std::string issueSql(const ClaimLine& l, const std::string& periId, int periNo,
                            const std::string& aslackDate, const std::string& finish = "0") {
    return (
        "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, cover_vol, "
        "cover_issue, expect_date, aslack_date, publ_year, peri_no, finish_flag, peri_type) "
        "VALUES (" +
        q(periId) + "," + q(l.publ) + "," + q(l.year) + "," + q(l.asord) + ",'45'," +
        q(std::to_string(periNo)) + "," + q(aslackDate) + "," + q(aslackDate) + ",'2026'," +
        std::to_string(periNo) + "," + q(finish) + ",'0')");
}

inline void addIssue(const ClaimLine& l, const std::string& periId, int periNo,
                     const std::string& aslackDate, const std::string& finish = "0") {
    sqlRun(issueSql(l, periId, periNo, aslackDate, finish));
    refreshOwedCopies("peri_id=" + q(periId));
}

inline void addCopies(const std::string& periId, const std::string& loc, int n,
                      const std::string& chkDate = "2026-03-01 10:00:00") {
    for (int i = 1; i <= n; ++i)
        sqlRun(
            "INSERT INTO m_peri_item (peri_id, location, dis_location, item_no, item_stat, "
            "chk_date, wkr_no) VALUES (" +
            q(periId) + "," + q(loc) + "," + q(loc) + "," + std::to_string(i) + ",'0'," +
            q(chkDate) + ",'JD01')");
    refreshOwedCopies("peri_id=" + q(periId));
}

inline void addClaim(const std::string& periId, const std::string& loc, const std::string& date) {
    sqlRun(
        "INSERT INTO m_aslack_rec (peri_id, location, aslack_detl_date, aslack_wkr, "
        "aslack_detl_qty) VALUES (" +
        q(periId) + "," + q(loc) + "," + q(date) + ",'JD01',1)");
    refreshOwedCopies("peri_id=" + q(periId));
}

// Claim tests on both backends: demo operators and codes, no demo orders, JD01 logged in on
// the demo workstation, the server's date pinned to kClaimToday.
class ClaimDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        for (const char* t :
             {"m_aslack_rec", "m_peri_item", "m_peri_chk_lack", "m_peri_chk_vol",
              "m_peri_ord_dist_lst", "m_peri_sub_fund_out", "m_sub_ord_lst", "m_peri_ord_detl"})
            sqlRun(std::string("DELETE FROM ") + t);
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login("JD01", "1234"));
        LIB_DB_PinServerDate(std::string(kClaimToday) + " 09:00:00");
    }
    void TearDown() override {
        if (!IsSkipped() && g_OraDatabase) expectOwedCopiesKept();
        DbTest::TearDown();
    }
};

// Order details for the ordering tests: a complete detail of the demo code tables, and a
// catalogue created through the same routine the screens use.
#pragma once

#include <string>

#include "app/basQKLogin.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdList.h"
#include "tests/support/TestDb.h"

// Demo data with the demo orders in 2030-2032, batches the tests do not use themselves.
inline InstallOptions OrdTestInstall() {
    InstallOptions o = demoInstall();
    o.variables["LAST_YEAR"] = "2030";
    o.variables["YEAR"] = "2031";
    o.variables["NEXT_YEAR"] = "2032";
    return o;
}

// Empties the order tables the demo data filled, for tests that count rows of a clean slate.
inline void DropDemoOrders() {
    // The demo's check-in, claims, binding and accession hang on its orders: they go first.
    for (const char* t : {"m_aslack_rec", "indi_acct", "item", "call_no_lst", "m_peri_check_acct",
                          "m_peri_bind_detl", "m_bind_batch_lst", "m_peri_item", "m_peri_chk_lack",
                          "m_peri_chk_vol", "m_peri_chk_cfg", "m_peri_ord_dist_lst",
                          "m_peri_sub_fund_out", "m_sub_ord_lst", "m_peri_ord_detl",
                          "m_peri_ord_lst", "peri_asord_detl", "peri_asord_cata", "asord_marc"})
        g_OraDatabase->execute(std::string("DELETE FROM ") + t);
}

// A valid detail: two subscribers (QK01 checks in 2 copies sent to QK01 and QKYL; WWQK takes
// 1 copy without checking in), each with a fund line.
inline OrdDetail CompleteDetail(const std::string& publ, const std::string& year,
                                const std::string& asordNo) {
    OrdDetail d = NewOrdDetail(publ, year);
    d.asordNo = asordNo;
    d.periType = "0";
    d.getMode = "01";
    d.publFreq = "月刊";
    d.carrier = "01";
    d.moneyType = "CNY";
    d.price = "12.5";
    d.totalPrice = "150";
    d.kindNo = "TP3";
    d.remark = "核心期刊";
    d.subs = {
        {"QK01",
         "1",
         "2",
         "全年",
         "主馆",
         {{"01", "2", "300", ""}},
         {{"QK01", "1", ""}, {"QKYL", "1", "TP3/12"}}},
        {"WWQK", "0", "1", "上半年", "", {{"02", "1", "150", "外刊"}}, {}},
    };
    return d;
}

// Ordering tests on both backends: the demo operators, empty order tables, DY01 logged in from
// the demo workstation, and a pinned server date.
class OrdDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override { return OrdTestInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        DropDemoOrders();
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login("DY01", "1234"));
        LIB_DB_PinServerDate("2026-03-02 09:15:00");
    }
};

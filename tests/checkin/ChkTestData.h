// Check-in configuration tests: the demo orders in 2030 and 2031, the check-in librarian logged
// in from the demo workstation, and a pinned server date; after each test the copies still owed
// are found as the writers must keep them.
#pragma once

#include <string>

#include "app/basQKLogin.h"
#include "checkin/core/basChkConfig.h"
#include "db/basLibDB.h"
#include "tests/checkin/OwedCopies.h"
#include "tests/support/TestDb.h"

inline InstallOptions ChkTestInstall() {
    InstallOptions o = demoInstall();
    o.variables["LAST_YEAR"] = "2030";
    o.variables["YEAR"] = "2031";
    o.variables["NEXT_YEAR"] = "2032";
    return o;
}

class ChkDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override { return ChkTestInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        QK_bolLuoMa = false;
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login("JD01", "1234"));
        LIB_DB_PinServerDate("2031-03-02 09:15:00");
    }
    void TearDown() override {
        if (!IsSkipped() && g_OraDatabase) expectOwedCopiesKept();
        DbTest::TearDown();
    }
    // A monthly demo line not yet configured: QK01 takes 2 copies, SHKX 1.
    ChkConfigForm loaded(const std::string& asordNo = "4-66", const std::string& loca = "QK01") {
        ChkConfigForm f;
        EXPECT_EQ(intLoadChkConfig({"YZFX", "203101", asordNo}, loca, f), 0) << g_ErrInfo.strDesc;
        return f;
    }
};

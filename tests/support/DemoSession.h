// The demo database as a librarian finds it: its years pinned to 2025–2027 so that rows and dates
// are fixed, its catalogue records loaded, and a demo operator logged in.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/basQKLogin.h"
#include "marc/core/MarcImport.h"
#include "tests/support/TestDb.h"

class DemoDbTest : public DbTest {
protected:
    InstallOptions installOptions() const override {
        InstallOptions o = demoInstall();
        o.variables["LAST_YEAR"] = "2025";
        o.variables["YEAR"] = "2026";
        o.variables["NEXT_YEAR"] = "2027";
        return o;
    }
    // From SetUp, after DbTest::SetUp: the records, as init-db --demo loads them after its
    // tables, then `wkrNo` logged in at the demo workstation.
    void openAs(const std::string& wkrNo) {
        ASSERT_EQ(MarcLoadDemoRecords([](const std::string&) {}).failed, 0);
        LIB_SetComputerName(kDemoComputer);
        ASSERT_TRUE(LIB_Login(wkrNo, "1234"));
    }
};

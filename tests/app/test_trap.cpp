// An exception that escapes a core routine (a malformed dump, a bad index) reaches the operator
// as the run-time error ECM206 with its log line, after the open transaction was rolled back;
// the program goes on. serialsctl fails the verb with the same message.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/basLibLog.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "tests/support/TestDb.h"

namespace {

class Trap : public DbTest {
protected:
    std::string logText() {
        std::ifstream in(LIB_LogFilePath());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};
SERIALS_ON_BOTH_BACKENDS(Trap);

TEST_P(Trap, MalformedDumpShowsTheRunTimeErrorAndRollsBack) {
    int rc = runTrapped([] {
        LIB_DB_BeginTrans();
        LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('TRAP1')");
        return DumpToText("Typ=1 Len=2: 4e,123456789abcdef0123").empty() ? 1 : 0;
    });
    EXPECT_EQ(rc, -1);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].type, 'E');
    EXPECT_EQ(presenter.shown[0].body, LIB_GetMsgText("ECM206"));
    EXPECT_FALSE(presenter.shown[0].inTransaction);
    EXPECT_FALSE(g_blnInTrans);
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct WHERE prop_no='TRAP1'"), "0");
    EXPECT_NE(logText().find("运行时错误 9："), std::string::npos) << logText();
    EXPECT_EQ(g_RunErr.number, 0) << "the reporter clears the error";

    // The session goes on as before.
    EXPECT_EQ(
        runTrapped([] { return LIB_DB_Execute("INSERT INTO indi_acct (prop_no) VALUES ('T2')"); }),
        0);
    EXPECT_EQ(scalar("SELECT count(*) FROM indi_acct WHERE prop_no='T2'"), "1");
}

TEST_P(Trap, EachKindOfExceptionHasItsRunTimeNumber) {
    struct Case {
        std::function<void()> raise;
        const char* code;
        const char* logged;
    };
    const Case cases[] = {
        {[] { throw std::out_of_range("index 7 of 3"); }, "ECM206", "运行时错误 9：index 7 of 3"},
        {[] { throw std::overflow_error("too large"); }, "ECM205", "运行时错误 6：too large"},
        {[] { throw std::runtime_error("other"); }, "ECM206", "运行时错误 51：other"},
    };
    for (const Case& c : cases) {
        presenter.shown.clear();
        EXPECT_EQ(runTrapped([&] {
                      c.raise();
                      return 0;
                  }),
                  -1);
        ASSERT_EQ(presenter.shown.size(), 1u);
        EXPECT_EQ(presenter.shown[0].body, LIB_GetMsgText(c.code)) << c.logged;
        EXPECT_NE(logText().find(c.logged), std::string::npos) << c.logged;
    }
}

}  // namespace

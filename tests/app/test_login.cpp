// Logging in: every refusal with its message, the operator state a login leaves, rights of
// each kind, and the password change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/basQKLogin.h"
#include "common/OperatorState.h"
#include "common/PasswordHash.h"
#include "common/basLogQuery.h"
#include "common/basQKEnv.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "tests/support/ProbeBackend.h"
#include "tests/support/TestDb.h"

namespace {

class Login : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        LIB_SetComputerName(kDemoComputer);
    }
    // Logs in and returns the one message shown (or "" when none was).
    std::string attempt(const std::string& user, const std::string& password) {
        presenter.shown.clear();
        LIB_Login(user, password);
        return presenter.shown.empty() ? "" : presenter.shown.back().body;
    }
    void expectLoggedOut() {
        EXPECT_FALSE(g_blnLogin);
        EXPECT_EQ(g_strWkrNo, "");
        EXPECT_EQ(g_arrAuth.recordCount(), 0);
    }
};
SERIALS_ON_BOTH_BACKENDS(Login);

TEST_P(Login, EachRefusalShowsItsMessageAndLeavesNobodyLoggedIn) {
    struct Case {
        const char* user;
        const char* password;
        const char* computer;
        const char* code;
    };
    const Case cases[] = {
        {"NOBODY", "1234", kDemoComputer, "ECM500"}, {"LS01", "1234", kDemoComputer, "ECM501"},
        {"DY01", "4321", kDemoComputer, "ECM502"},   {"DY01", "1234", "ANOTHER-PC", "ECM503"},
        {"LT01", "1234", kDemoComputer, "ECM504"},
    };
    for (const Case& c : cases) {
        LIB_SetComputerName(c.computer);
        EXPECT_EQ(attempt(c.user, c.password), LIB_GetMsgText(c.code)) << c.user << " " << c.code;
        expectLoggedOut();
    }
}

TEST_P(Login, OperatorNumberAndPasswordIgnoreCase) {
    EXPECT_TRUE(LIB_Login("  dy01 ", "1234"));
    EXPECT_EQ(g_strWkrNo, "DY01");
    EXPECT_TRUE(LIB_Login("root", "rOoT"));
    EXPECT_EQ(g_strWkrNo, "ROOT");
}

TEST_P(Login, SuccessfulLoginKeepsOperatorLocationRightsAndLocations) {
    ASSERT_TRUE(LIB_Login("DY01", "1234"));
    EXPECT_TRUE(g_blnLogin);
    EXPECT_EQ(g_strLocation, "QK01");
    EXPECT_EQ(g_strComputer, kDemoComputer);
    EXPECT_EQ(g_strWkrInfo, "wangli@lib.example.edu.cn;010-62751001");
    EXPECT_FALSE(g_blnSpecialRight);
    EXPECT_EQ(g_arrAuth.recordCount(), 4);
    EXPECT_EQ(g_arrUserLoca.recordCount(), 3);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_P(Login, FirstMatchingWorkstationGroupGivesTheLocation) {
    LIB_SetComputerName("qkyl-desk");
    ASSERT_TRUE(LIB_Login("JD01", "1234"));
    EXPECT_EQ(g_strLocation, "QKYL");
}

TEST_P(Login, RootNeedsNoWorkstationAndPassesEveryRight) {
    LIB_SetComputerName("ANY-PC");
    ASSERT_TRUE(LIB_Login("ROOT", "ROOT"));
    EXPECT_EQ(g_strLocation, "");
    for (int kind : {0, 4, 5, 9})
        EXPECT_TRUE(LIB_CheckRight("9999", kind, true)) << kind;
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_P(Login, RightKinds) {
    ASSERT_TRUE(LIB_Login("DY01", "1234"));
    EXPECT_TRUE(LIB_CheckRight("5001", 0, true));
    EXPECT_FALSE(LIB_CheckRight("5007", 0, false));
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(LIB_CheckRight("5007", 0, true));
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM504"));
    EXPECT_TRUE(LIB_CheckRight("anything", 4, true));
    EXPECT_FALSE(LIB_CheckRight("5001", 5, false));
    EXPECT_FALSE(LIB_CheckRight("5001", 3, false));
    ASSERT_TRUE(LIB_Login("ZG01", "1234"));
    EXPECT_TRUE(LIB_CheckRight("5001", 5, false));
}

TEST_P(Login, LoginIsLoggedWithItsEnvironment) {
    ASSERT_TRUE(LIB_Login("DY01", "1234"));
    LibArray rows;
    ASSERT_EQ(LIB_QueryOpLog({"", "", "DY01", "50000"}, rows), 0);
    ASSERT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(rows(3, 2).str(), "操作员登录");
    EXPECT_EQ(rows(5, 2).str(), kDemoComputer);
    EXPECT_EQ(rows(6, 2).str(), "期刊部");
}

TEST_P(Login, PasswordChangeNeedsMatchingConfirmation) {
    ASSERT_TRUE(LIB_Login("DY01", "1234"));
    EXPECT_EQ(LIB_ChangePassword("DY01", "new-one", "new-two"), -1);
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM510"));
    EXPECT_TRUE(LIB_PasswordMatches("DY01", "1234"));

    EXPECT_EQ(LIB_ChangePassword("dy01", "O'Brien-1", "O'Brien-1"), 0);
    EXPECT_EQ(presenter.shown.back().body, "成功修改登录口令！");
    EXPECT_FALSE(LIB_PasswordMatches("DY01", "1234"));
    EXPECT_TRUE(LIB_Login("DY01", "o'brien-1"));
}

// Passwords at rest, the first login of a new ROOT, and failed logins.
class Passwords : public Login {
protected:
    void SetUp() override {
        Login::SetUp();
        setLoginWait([this](int seconds) { waits.push_back(seconds); });
    }
    void TearDown() override {
        setLoginWait(nullptr);
        Login::TearDown();
    }
    std::string worker(const std::string& column, const std::string& wkrNo) {
        return scalar("SELECT " + column + " FROM lib_worker WHERE wkr_no='" + wkrNo + "'");
    }
    std::string logText() {
        std::string all;
        for (const auto& f : std::filesystem::directory_iterator(home->dir() + "/LOG")) {
            std::ifstream in(f.path());
            std::stringstream s;
            s << in.rdbuf();
            all += s.str();
        }
        return all;
    }
    std::vector<int> waits;
};
SERIALS_ON_BOTH_BACKENDS(Passwords);

TEST_P(Passwords, NoOperatorKeepsAPlainTextPassword) {
    EXPECT_EQ(scalar("SELECT count(*) FROM lib_worker WHERE password IS NOT NULL AND password<>''"),
              "0");
    RawResult rows = g_OraDatabase->query("SELECT wkr_no, pwd_hash FROM lib_worker");
    ASSERT_EQ(rows.rows.size(), 7u);
    for (const auto& row : rows.rows) {
        EXPECT_EQ(row[1].str().rfind("$argon2id$", 0), 0u) << row[0].str();
        EXPECT_EQ(row[1].str().find("1234"), std::string::npos);
    }
    // Each has its own salt: the same password gives different hashes.
    EXPECT_NE(worker("pwd_hash", "DY01"), worker("pwd_hash", "JD01"));
}

TEST_P(Passwords, APlainTextRowBecomesAHashAtItsNextLogin) {
    g_OraDatabase->execute(
        "UPDATE lib_worker SET password='Old-Pw', pwd_hash=NULL WHERE wkr_no='DY01'");
    EXPECT_FALSE(LIB_Login("DY01", "wrong"));
    EXPECT_EQ(worker("password", "DY01"), "Old-Pw");
    ASSERT_TRUE(LIB_Login("dy01", "old-PW"));
    EXPECT_EQ(worker("nvl(password,'-')", "DY01"), "-");
    EXPECT_TRUE(verifyPassword(worker("pwd_hash", "DY01"), "OLD-pw"));
    EXPECT_TRUE(LIB_Login("DY01", "OLD-PW"));
}

TEST_P(Passwords, AnOperatorMarkedForAChangeChangesBeforeLoggingIn) {
    g_OraDatabase->execute("UPDATE lib_worker SET pwd_change='1' WHERE wkr_no='ROOT'");
    EXPECT_FALSE(LIB_Login("ROOT", "ROOT"));
    EXPECT_EQ(presenter.shown.back().body, "请先修改登录口令，再用新口令登录。");
    expectLoggedOut();
    // The password was right: the change is allowed, and then the new one logs in.
    ASSERT_TRUE(LIB_PasswordMatches("root", "root"));
    ASSERT_EQ(LIB_ChangePassword("root", "Neu-2026", "Neu-2026"), 0);
    EXPECT_EQ(worker("pwd_change", "ROOT"), "0");
    EXPECT_FALSE(LIB_Login("ROOT", "ROOT"));
    EXPECT_TRUE(LIB_Login("ROOT", "neu-2026"));
}

TEST_P(Passwords, AnEmptyPasswordIsRefused) {
    EXPECT_EQ(LIB_ChangePassword("DY01", "", ""), -1);
    EXPECT_EQ(presenter.shown.back().body, "口令不能为空！");
    EXPECT_TRUE(LIB_PasswordMatches("DY01", "1234"));
}

TEST_P(Passwords, FiveFailuresAreLoggedAndEachFurtherTryIsSlowed) {
    for (int i = 0; i < kFreeLoginTries; ++i)
        EXPECT_FALSE(LIB_Login("dy01", "guess" + std::to_string(i)));
    EXPECT_TRUE(waits.empty());
    LibArray rows;
    ASSERT_EQ(LIB_QueryOpLog({"", "", "DY01", "50060"}, rows), 0);
    ASSERT_EQ(rows.recordCount(), kFreeLoginTries);
    EXPECT_EQ(rows(3, 2).str(), "操作员登录失败");
    EXPECT_EQ(rows(5, 2).str(), kDemoComputer);
    EXPECT_EQ(worker("login_fails", "DY01"), std::to_string(kFreeLoginTries));

    EXPECT_FALSE(LIB_Login("DY01", "guess5"));
    EXPECT_EQ(waits, std::vector<int>{kLoginDelaySeconds});
    // The right password waits too, then starts the count again.
    EXPECT_TRUE(LIB_Login("DY01", "1234"));
    EXPECT_EQ(waits.size(), 2u);
    EXPECT_EQ(worker("login_fails", "DY01"), "0");
    EXPECT_TRUE(LIB_Login("DY01", "1234"));
    EXPECT_EQ(waits.size(), 2u);
    // Another operator's count is its own; an unknown number is logged as tried.
    EXPECT_FALSE(LIB_Login("NOBODY", "x"));
    ASSERT_EQ(LIB_QueryOpLog({"", "", "NOBODY", "50060"}, rows), 0);
    EXPECT_EQ(rows.recordCount(), 1);
    // A number longer than the log's operator column is logged cut, without a database error.
    presenter.shown.clear();
    EXPECT_FALSE(LIB_Login(std::string(30, 'X'), "x"));
    EXPECT_EQ(presenter.bodies(), std::vector<std::string>{LIB_GetMsgText("ECM500")});
    ASSERT_EQ(LIB_QueryOpLog({"", "", std::string(20, 'X'), "50060"}, rows), 0);
    EXPECT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(worker("login_fails", "JD01"), "0");
}

TEST_P(Passwords, AFailedFailureRecordLeavesNeitherCountNorLogRow) {
    // The count and the log row of a failed try are one transaction: fail each statement.
    for (int failAt = 2; failAt <= 4; ++failAt) {
        ProbeBackend& probe = ProbeBackend::install();
        probe.failAt = failAt;
        EXPECT_FALSE(LIB_Login("DY01", "wrong"));
        openSession(*home);
        EXPECT_EQ(worker("login_fails", "DY01"), "0") << failAt;
        EXPECT_EQ(scalar("SELECT count(*) FROM log_detl WHERE log_type='50060'"), "0") << failAt;
    }
}

TEST_P(Passwords, AFailedChangeLeavesNoTraceOfTheNewPasswordInTheLog) {
    // A trigger makes the change fail in the database, the way a real failure would.
    if (GetParam() == kPostgres) {
        g_OraDatabase->execute(
            "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
            "$$ BEGIN RAISE EXCEPTION 'refused'; END $$");
        g_OraDatabase->execute(
            "CREATE TRIGGER refuse BEFORE UPDATE ON lib_worker FOR EACH ROW EXECUTE FUNCTION "
            "refuse()");
    } else {
        g_OraDatabase->execute(
            "CREATE TRIGGER refuse BEFORE UPDATE ON lib_worker BEGIN SELECT RAISE(ABORT, "
            "'refused'); END");
    }
    const std::string hashBefore = worker("pwd_hash", "DY01");
    EXPECT_EQ(LIB_ChangePassword("DY01", "Geheim-77", "Geheim-77"), -1);
    EXPECT_EQ(worker("pwd_hash", "DY01"), hashBefore);
    std::string log = logText();
    EXPECT_NE(log.find("SQL语法:UPDATE lib_worker SET password=NULL, pwd_hash='***'"),
              std::string::npos)
        << log;
    for (const char* secret : {"Geheim-77", "GEHEIM-77", "$argon2"})
        EXPECT_EQ(log.find(secret), std::string::npos) << secret;
}

}  // namespace

namespace {

TEST_P(Login, RefusedNewLoginKeepsTheOperatorLoggedIn) {
    ASSERT_TRUE(LIB_Login("DY01", "1234"));
    const std::string location = g_strLocation;
    const int rights = g_arrAuth.recordCount();
    ASSERT_FALSE(location.empty());
    const char* const refused[][2] = {
        {"NOBODY", "1234"}, {"LS01", "1234"}, {"ZG01", "4321"}, {"LT01", "1234"}};
    for (const auto& c : refused) {
        EXPECT_NE(attempt(c[0], c[1]), "") << c[0];
        EXPECT_TRUE(g_blnLogin) << c[0];
        EXPECT_EQ(g_strWkrNo, "DY01") << c[0];
        EXPECT_EQ(g_strLocation, location) << c[0];
        EXPECT_EQ(g_arrAuth.recordCount(), rights) << c[0];
    }
    LIB_SetComputerName("ANOTHER-PC");
    EXPECT_EQ(attempt("ZG01", "1234"), LIB_GetMsgText("ECM503"));
    EXPECT_EQ(g_strWkrNo, "DY01");
    EXPECT_EQ(g_strComputer, kDemoComputer);
}

TEST_P(Login, WorkstationGroupWithoutALocationStillAdmits) {
    g_OraDatabase->execute("UPDATE loca_comp_lst SET location=NULL WHERE comp_name='" +
                           std::string(kDemoComputer) + "'");
    EXPECT_EQ(attempt("DY01", "1234"), "");
    EXPECT_TRUE(g_blnLogin);
    EXPECT_EQ(g_strLocation, "");
}

TEST_P(Login, LoginLogThatCannotBeWrittenLeavesNoRowAndTheLoginStands) {
    ASSERT_TRUE(LIB_LoginCheck("DY01", "1234") == LoginFailure::None);
    ProbeBackend& probe = ProbeBackend::install();
    for (int step = 1;; ++step) {
        probe.reset();
        probe.failAt = step;
        presenter.shown.clear();
        EXPECT_TRUE(LIB_LoginGranted());
        probe.failAt = 0;
        if (probe.failed.empty()) break;
        EXPECT_EQ(scalar("SELECT count(*) FROM log_detl"), "0") << probe.failed;
        ASSERT_EQ(presenter.shown.size(), 1u) << probe.failed;
        EXPECT_FALSE(presenter.shown[0].inTransaction) << probe.failed;
        EXPECT_FALSE(g_blnInTrans);
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM log_detl"), "1");
}

}  // namespace

// serialsctl as an administrator runs it: the error messages of failing statements, query
// output, and init-db's refusal to overwrite a database.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <unistd.h>
#include <cstdio>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/basQKEnv.h"
#include "tests/support/CtlRun.h"
#include "tests/support/TestDb.h"

namespace {

class Ctl : public CtlTest {
protected:
    void SetUp() override {
        CtlTest::SetUp();
        if (!IsSkipped()) home = std::make_unique<TestHome>(GetParam(), demoInstall());
    }

    CtlResult run(const std::vector<std::string>& args) {
        return runCtl(binary, home->dir(), args);
    }

    std::unique_ptr<TestHome> home;
};
SERIALS_ON_BOTH_BACKENDS(Ctl);

TEST_P(Ctl, DuplicatePropertyNumberPrintsItsMessage) {
    ASSERT_EQ(run({"exec", "INSERT INTO indi_acct (prop_no) VALUES ('P0001')"}).code, 0);
    CtlResult r = run({"exec", "INSERT INTO indi_acct (prop_no) VALUES ('P0001')"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("财产号重复!"), std::string::npos) << r.err;
}

TEST_P(Ctl, DeletingAReferencedItemPrintsItsMessage) {
    ASSERT_EQ(run({"exec", "INSERT INTO item (prop_no) VALUES ('P0002')"}).code, 0);
    ASSERT_EQ(run({"exec", "INSERT INTO lend_lst (prop_no) VALUES ('P0002')"}).code, 0);
    CtlResult r = run({"exec", "DELETE FROM item WHERE prop_no='P0002'"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("该财产已经被相关记录引用!"), std::string::npos) << r.err;
}

TEST_P(Ctl, SyntaxErrorPrintsTheMessageTableText) {
    CtlResult text = run({"query", "SELECT msg_content FROM msg_mst WHERE msg_id='ECM012'"});
    ASSERT_EQ(text.code, 0) << text.err;
    std::string ecm012 = text.out.substr(text.out.find("\n", text.out.find("---")) + 1);
    ecm012 = ecm012.substr(0, ecm012.find('\n'));
    auto line = ecm012.find("\\N");
    std::string firstPart = ecm012.substr(0, line);
    CtlResult r = run({"exec", "UPDATE indi_acct SET WHERE"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(firstPart), std::string::npos) << r.err << " / " << firstPart;
}

TEST_P(Ctl, QueryPrintsHeaderAndRows) {
    ASSERT_EQ(
        run({"exec",
             "INSERT INTO indi_acct (prop_no, remark, price) VALUES ('Q1', '中文 O''Neil', 12.5)"})
            .code,
        0);
    CtlResult r = run({"query", "SELECT prop_no, remark, price FROM indi_acct WHERE prop_no='Q1'"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "prop_no  remark       price\n"
              "-------  -----------  -----\n"
              "Q1       中文 O'Neil  12.5\n"
              "(1 行)\n");
}

TEST_P(Ctl, CallRunsAProcedureAndReportsUnknownOnes) {
    EXPECT_EQ(run({"call", "SYS_GetServerDate 'x'"}).code, 0);
    CtlResult r = run({"call", "no_such_procedure 1,2"});
    EXPECT_EQ(r.code, 1);
}

TEST_P(Ctl, InitDbRefusesToOverwriteUnlessForced) {
    ASSERT_EQ(run({"exec", "INSERT INTO indi_acct (prop_no) VALUES ('KEEP')"}).code, 0);
    CtlResult refused = run({"init-db"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_NE(run({"query", "SELECT prop_no FROM indi_acct"}).out.find("KEEP"), std::string::npos);

    CtlResult forced = run({"init-db", "--force"});
    EXPECT_EQ(forced.code, 0) << forced.err;
    // The new database's ROOT must change its password before anything else.
    CtlResult first = run({"query", "SELECT count(*) AS n FROM indi_acct"});
    EXPECT_EQ(first.code, 1);
    EXPECT_NE(first.err.find("请先修改登录口令"), std::string::npos) << first.err;
    EXPECT_NE(first.err.find("passwd"), std::string::npos) << first.err;
    EXPECT_EQ(run({"passwd", "", ""}).code, 1);
    ASSERT_EQ(run({"passwd", "New-Root-1", "New-Root-1"}).code, 0);
    EXPECT_NE(run({"--user", "ROOT", "--password", "new-root-1", "query",
                   "SELECT count(*) AS n FROM indi_acct"})
                  .out.find("\n0\n"),
              std::string::npos);
}

TEST_P(Ctl, InitDbForceNeedsTheMaintenanceRightAndKeepsOtherTables) {
    ASSERT_EQ(run({"exec", "INSERT INTO indi_acct (prop_no) VALUES ('KEEP')"}).code, 0);
    ASSERT_EQ(run({"exec", "CREATE TABLE other_app (id INTEGER, note VARCHAR(20))"}).code, 0);
    ASSERT_EQ(run({"exec", "INSERT INTO other_app VALUES (1, 'theirs')"}).code, 0);
    CtlResult nobody = run({"--user", "", "--password", "", "init-db", "--force"});
    EXPECT_EQ(nobody.code, 1);
    EXPECT_NE(nobody.err.find("5009"), std::string::npos) << nobody.err;
    CtlResult librarian = run({"--user", "DY01", "--password", "1234", "init-db", "--force"});
    EXPECT_EQ(librarian.code, 1);
    EXPECT_NE(librarian.err.find("没有使用该功能的权限"), std::string::npos) << librarian.err;
    EXPECT_NE(run({"query", "SELECT prop_no FROM indi_acct"}).out.find("KEEP"), std::string::npos);

    CtlResult supervisor = run({"--user", "ZG01", "--password", "1234", "init-db", "--force"});
    ASSERT_EQ(supervisor.code, 0) << supervisor.err;
    // The fresh database has no demo operators: ROOT (after its change) looks.
    ASSERT_EQ(run({"passwd", "Root-2", "Root-2"}).code, 0);
    auto asRoot = [&](const std::string& sql) {
        return run({"--user", "ROOT", "--password", "Root-2", "query", sql}).out;
    };
    EXPECT_NE(asRoot("SELECT note FROM other_app").find("theirs"), std::string::npos);
    EXPECT_EQ(asRoot("SELECT prop_no FROM indi_acct").find("KEEP"), std::string::npos);
}

TEST_P(Ctl, RawSqlIsInTheOperationLogWithPasswordsMasked) {
    ASSERT_EQ(run({"--user", "ZG01", "--password", "1234", "exec",
                   "UPDATE lib_worker SET password='Klartext9' WHERE wkr_no='LS01'"})
                  .code,
              0);
    EXPECT_EQ(run({"--user", "ZG01", "--password", "1234", "exec", "DELETE FROM no_such"}).code, 1);
    ASSERT_EQ(run({"query", "SELECT count(*) AS n FROM msg_mst"}).code, 0);
    CtlResult log = run({"log", "--type", "50061"});
    ASSERT_EQ(log.code, 0) << log.err;
    EXPECT_NE(log.out.find("password='***' WHERE wkr_no='LS01'"), std::string::npos) << log.out;
    EXPECT_EQ(log.out.find("Klartext9"), std::string::npos);
    // Who ran what: the failed statement is there too, and ROOT's query.
    EXPECT_NE(log.out.find("DELETE FROM no_such"), std::string::npos) << log.out;
    EXPECT_NE(log.out.find("ZG01"), std::string::npos);
    EXPECT_NE(log.out.find("SELECT count(*) AS n FROM msg_mst"), std::string::npos);
}

TEST_P(Ctl, WhoamiShowsTheDemoLibrariansSession) {
    CtlResult r = run({"--user", "jd01", "--password", "1234", "whoami"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("操作员：JD01 陈晓峰"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("地点：期刊部 (QK01)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("权限：5000 5002 5003 5008"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("可操作地点：QK01 QKYL"), std::string::npos) << r.out;
}

TEST_P(Ctl, LoginRefusalsPrintTheirMessagesAndFail) {
    struct Case {
        const char* user;
        const char* password;
        const char* code;
    };
    for (const Case& c : {Case{"NOBODY", "x", "ECM500"}, Case{"LS01", "1234", "ECM501"},
                          Case{"DY01", "bad", "ECM502"}, Case{"LT01", "1234", "ECM504"}}) {
        CtlResult text =
            run({"query",
                 std::string("SELECT msg_content FROM msg_mst WHERE msg_id='") + c.code + "'"});
        std::string message = text.out.substr(text.out.find("\n", text.out.find("---")) + 1);
        message = message.substr(0, message.find_first_of("%\n"));
        CtlResult r = run({"--user", c.user, "--password", c.password, "whoami"});
        EXPECT_EQ(r.code, 1) << c.code;
        EXPECT_NE(r.err.find(message), std::string::npos) << c.code << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.code;
    }
}

TEST_P(Ctl, VerbsNeedTheirRight) {
    CtlResult r = run({"--user", "DY01", "--password", "1234", "log"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("没有使用该功能的权限"), std::string::npos) << r.err;
    CtlResult raw = run({"--user", "DY01", "--password", "1234", "exec", "DELETE FROM msg_mst"});
    EXPECT_EQ(raw.code, 1);
    // Refused before it ran: the messages are all still there.
    EXPECT_EQ(run({"query", "SELECT count(*) AS n FROM msg_mst"}).out.find("\n0\n"),
              std::string::npos);
    CtlResult log = run({"--user", "ZG01", "--password", "1234", "log", "--user", "DY01"});
    ASSERT_EQ(log.code, 0) << log.err;
    EXPECT_NE(log.out.find("操作员登录"), std::string::npos) << log.out;
}

TEST_P(Ctl, PasswdChangesTheOperatorsPassword) {
    EXPECT_EQ(run({"--user", "DY01", "--password", "1234", "passwd", "n1", "n2"}).code, 1);
    ASSERT_EQ(run({"--user", "DY01", "--password", "1234", "passwd", "n1", "n1"}).code, 0);
    EXPECT_EQ(run({"--user", "DY01", "--password", "1234", "whoami"}).code, 1);
    EXPECT_EQ(run({"--user", "DY01", "--password", "N1", "whoami"}).code, 0);
}

// A home with nothing in it: init-db writes the embedded database's settings, and both files
// are the owner's alone. The new ROOT's password is a hash, marked for a change.
TEST(CtlInitDbOnSqlite, NewSettingsAndDatabaseFileAreReadableByTheirOwnerOnly) {
    const char* ctl = std::getenv("SERIALSCTL");
    if (!ctl) GTEST_SKIP() << "SERIALSCTL is not set";
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("serials-init-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "TMP");
    CtlResult r = runCtl(ctl, dir.string(), {"init-db"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* file : {"mavren.ini", "DAT/serials.db"})
        EXPECT_EQ(fs::status(dir / file).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << file;
    // The settings a library may edit are laid into CFG/, the acquisitions file among them.
    for (const char* file : {"CFG/QKINDEX.INI", "CFG/cf/cfCfg.ini"})
        EXPECT_TRUE(fs::is_regular_file(dir / file)) << file;
    std::ifstream acq(dir / "CFG/cf/cfCfg.ini");
    std::string first;
    std::getline(acq, first);
    EXPECT_EQ(first.rfind("; Acquisitions settings", 0), 0u) << first;
    ConnectParams p;
    p.driver = kSqlite;
    p.dsn = (dir / "DAT/serials.db").string();
    auto db = openSqliteBackend(p);
    RawResult root = db->query(
        "SELECT nvl(password,'-'), pwd_hash, pwd_change FROM lib_worker WHERE wkr_no='ROOT'");
    ASSERT_EQ(root.rows.size(), 1u);
    EXPECT_EQ(root.rows[0][0].str(), "-");
    EXPECT_EQ(root.rows[0][1].str().rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(root.rows[0][2].str(), "1");
    db->close();
    fs::remove_all(dir);
}

TEST(CtlPassword, EncodedFormIsWhatTheEnvironmentDecodes) {
    const char* ctl = std::getenv("SERIALSCTL");
    if (!ctl) GTEST_SKIP() << "SERIALSCTL is not set";
    FILE* p = popen((std::string(ctl) + " encode-password 'pa ss'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[256] = {};
    ASSERT_NE(fgets(buf, sizeof buf, p), nullptr);
    pclose(p);
    std::string stored(buf);
    stored.pop_back();
    EXPECT_EQ(LIB_DecodePassword(stored), "pa ss");
}

}  // namespace

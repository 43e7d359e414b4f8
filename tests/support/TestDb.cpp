#include "tests/support/TestDb.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "app/basQKLogin.h"
#include "app/basQKMain.h"
#include "app/basQKRegister.h"
#include "common/OperatorState.h"
#include "common/PasswordHash.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/basSysPara.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace fs = std::filesystem;

const char* const kSqlite = "SQLite";
const char* const kPostgres = "PostgreSQL";
const char* const kDemoComputer = "SERIALS-TEST";

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

ConnectParams pgParams(const std::string& db) {
    ConnectParams p;
    p.driver = kPostgres;
    p.dsn = db;
    p.server = env("SERIALS_TEST_PG");
    p.uid = env("SERIALS_TEST_PG_USER");
    p.pwd = env("PGPASSWORD");
    return p;
}

void pgAdmin(const std::string& sql) {
    auto admin = openPgBackend(pgParams("postgres"));
    admin->execute(sql);
}

std::string optionKey(const std::string& backend, const InstallOptions& o) {
    std::string key = backend + (o.unicodeMarc ? "-unicode" : "") + (o.demo ? "-demo" : "");
    for (const auto& [name, value] : o.variables)
        key += "-" + name + "=" + value;
    return key;
}

std::string uniqueSuffix() {
    static std::atomic<int> n{0};
    return std::to_string(getpid()) + "_" + std::to_string(++n);
}

fs::path scratchRoot() {
    static fs::path root = [] {
        fs::path p = fs::temp_directory_path() / ("serials-test-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return root;
}

// Templates made in this process, dropped when it ends.
struct Templates {
    std::map<std::string, std::string> made;  // option key -> SQLite file or PostgreSQL db
    ~Templates() {
        for (const auto& [key, name] : made) {
            if (key.rfind(kPostgres, 0) == 0) {
                try {
                    pgAdmin("DROP DATABASE IF EXISTS " + name);
                } catch (const DbError&) {
                }
            }
        }
        std::error_code ec;
        fs::remove_all(scratchRoot(), ec);
    }
};
Templates& templates() {
    static Templates t;
    return t;
}

std::string templateFor(const std::string& backend, const InstallOptions& options) {
    std::string key = optionKey(backend, options);
    auto it = templates().made.find(key);
    if (it != templates().made.end()) return it->second;
    std::unique_ptr<DbBackend> db;
    std::string name;
    if (backend == kSqlite) {
        name = (scratchRoot() / ("template-" + key + ".db")).string();
        ConnectParams p;
        p.driver = kSqlite;
        p.dsn = name;
        p.create = true;
        db = openSqliteBackend(p);
    } else {
        name = "serials_tpl_" + uniqueSuffix();
        pgAdmin("CREATE DATABASE " + name +
                " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
        db = openPgBackend(pgParams(name));
    }
    std::string message;
    InstallOptions o = options;
    o.force = false;
    // Hashes made in the tests cost the minimum; serialsctl checks them at the cost they name.
    setPasswordCost(PasswordCost::Minimum);
    o.finish = [](DbBackend& d) {
        hashPlainPasswords(d);
        // The tests log in as ROOT/ROOT throughout: ROOT is not asked to change it first.
        d.execute("UPDATE lib_worker SET pwd_change='0' WHERE wkr_no='ROOT'");
    };
    if (installDatabase(*db, o, message) < 0) throw std::runtime_error("template: " + message);
    if (backend == kSqlite) db->execute("PRAGMA wal_checkpoint(TRUNCATE)");
    db->close();
    templates().made[key] = name;
    return name;
}

}  // namespace

bool postgresAvailable() {
    return !env("SERIALS_TEST_PG").empty();
}

TestHome::TestHome(const std::string& backend, const InstallOptions& options) : backend_(backend) {
    dir_ = (scratchRoot() / ("home-" + uniqueSuffix())).string();
    for (const char* sub : {"LOG", "TMP", "DAT", "CFG", "BIN", "DOC"})
        fs::create_directories(fs::path(dir_) / sub);
    std::string tpl = templateFor(backend, options);
    if (backend == kSqlite) {
        dbName_ = dir_ + "/DAT/serials.db";
        fs::copy_file(tpl, dbName_);
        ini_ = "[LIB-DATA]\nLIB_SERVER=TEST\n[TEST]\nDRIVER=SQLite\nDSN=DAT/serials.db\n";
    } else {
        dbName_ = "serials_t_" + uniqueSuffix();
        pgAdmin("CREATE DATABASE " + dbName_ + " TEMPLATE " + tpl);
        ConnectParams p = pgParams(dbName_);
        ini_ = "[LIB-DATA]\nLIB_SERVER=TEST\n[TEST]\nDRIVER=PostgreSQL\nDSN=" + dbName_ +
               "\nSERVER=" + p.server + "\nUID=" + p.uid + "\n" +
               (p.pwd.empty() ? "" : "PWD=" + LIB_EncodePassword(p.pwd) + "\n");
    }
    writeIni(ini_);
}

TestHome::~TestHome() {
    if (backend_ == kPostgres) {
        try {
            pgAdmin("DROP DATABASE IF EXISTS " + dbName_ + " WITH (FORCE)");
        } catch (const DbError&) {
        }
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void TestHome::writeIni(const std::string& text) const {
    std::ofstream(dir_ + "/mavren.ini", std::ios::trunc) << text;
}

void openSession(const TestHome& home) {
    // The session is opened by the client's own start-up sequence, without a window.
    QuietStartup view;
    LIB_RegisterProcedures();
    LIB_SetProgramDir(home.dir());
    ASSERT_EQ(QK_Main(view), 0) << g_ErrInfo.strDesc;
}

void resetProcessState() {
    // Also ends whatever transaction a failed test left open.
    LIB_DB_Close();
    g_OraDatabase.reset();
    g_ErrInfo = ErrInfo{};
    g_RunErr = RunError{};
    g_strSQL.clear();
    g_arrMsg = LibArray();
    g_arrSysPara = LibArray();
    UnicodeMarcMode = WideMarcTable = false;
    LIB_DB_PinServerDate("");
    LIB_ResetOperator();
    LIB_ResetCodeTables();
    LIB_SetPresenter(nullptr);
    LIB_SetExitHandler(nullptr);
    LIB_SetComputerName("");
}

void installThrowingExit() {
    LIB_SetExitHandler([](int code) { throw ExitRequested{code}; });
}

void HomeTest::SetUp() {
    if (GetParam() == kPostgres && !postgresAvailable())
        GTEST_SKIP() << "SERIALS_TEST_PG is not set: no PostgreSQL server to test on";
    home = std::make_unique<TestHome>(GetParam(), installOptions());
    LIB_SetProgramDir(home->dir());
    LIB_SetPresenter(&presenter);
    installThrowingExit();
}

void DbTest::SetUp() {
    HomeTest::SetUp();
    if (!IsSkipped()) openSession(*home);
}

void HomeTest::TearDown() {
    resetProcessState();
    home.reset();
}

std::string backendName(const ::testing::TestParamInfo<std::string>& info) {
    return info.param;
}

std::string scalar(const std::string& sql) {
    RawResult r = g_OraDatabase->query(sql);
    return r.rows.empty() ? std::string("<no row>") : r.rows[0][0].str();
}

std::string tableSnapshot(std::initializer_list<const char*> tables) {
    std::string out;
    for (const char* t : tables) {
        RawResult r = g_OraDatabase->query(std::string("SELECT * FROM ") + t);
        std::vector<std::string> rows;
        for (auto& row : r.rows) {
            std::string line;
            for (auto& v : row)
                line += v.str() + "|";
            rows.push_back(line);
        }
        std::sort(rows.begin(), rows.end());
        out += t;
        for (auto& l : rows)
            out += "\n  " + l;
        out += "\n";
    }
    return out;
}

InstallOptions demoInstall() {
    InstallOptions o;
    o.demo = true;
    o.variables["COMPUTER_NAME"] = kDemoComputer;
    addDemoYearVariables(o);
    return o;
}

InstallOptions unicodeMarcInstall() {
    InstallOptions o;
    o.unicodeMarc = true;
    return o;
}

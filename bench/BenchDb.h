// The database a benchmark runs on, for each backend: made and filled once per process, opened
// as the session with the procedures registered and messages silenced, and dropped at exit.
// PostgreSQL runs when SERIALS_TEST_PG and SERIALS_TEST_PG_USER name a server where databases
// may be created.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/basQKRegister.h"
#include "common/OperatorState.h"
#include "db/SchemaInstaller.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace benchdb {

// Messages of a failed operation would only slow the loop down; failures end the run instead.
class SilentPresenter : public MsgPresenter {
public:
    int show(char, const std::string&, const std::string&) override { return kMsgOk; }
};

// The bench databases go when the program ends.
struct Cleanup {
    std::string file, pgName;
    ConnectParams admin;
    ~Cleanup() {
        g_OraDatabase.reset();
        if (!file.empty()) std::filesystem::remove(file);
        if (pgName.empty()) return;
        try {
            LIB_DB_OpenBackend(admin)->execute("DROP DATABASE IF EXISTS " + pgName);
        } catch (const DbError&) {
        }
    }
};
inline Cleanup& cleanup() {
    static Cleanup c;
    return c;
}

// Opens the session on the bench database of the backend, made and filled on first use.
inline bool useBackend(bool postgres, const std::string& tag,
                       const std::function<void(DbBackend&)>& fill) {
    static bool ready[2] = {false, false};
    static SilentPresenter quiet;
    ConnectParams p;
    p.driver = postgres ? "PostgreSQL" : "SQLite";
    if (postgres) {
        const char* server = std::getenv("SERIALS_TEST_PG");
        const char* user = std::getenv("SERIALS_TEST_PG_USER");
        if (!server) return false;
        p.server = server;
        p.uid = user ? user : "";
        p.dsn = "serials_bench_" + tag + "_" + std::to_string(getpid());
    } else {
        p.dsn = (std::filesystem::temp_directory_path() /
                 ("serials-bench-" + tag + "-" + std::to_string(getpid()) + ".db"))
                    .string();
    }
    if (!ready[postgres]) {
        ConnectParams make = p;
        if (postgres) {
            ConnectParams admin = p;
            admin.dsn = "postgres";
            LIB_DB_OpenBackend(admin)->execute("CREATE DATABASE " + p.dsn +
                                               " TEMPLATE template0 LC_COLLATE 'C' LC_CTYPE 'C'");
            cleanup().admin = admin;
            cleanup().pgName = p.dsn;
        } else {
            cleanup().file = p.dsn;
        }
        make.create = true;
        auto db = LIB_DB_OpenBackend(make);
        std::string message;
        if (installDatabase(*db, {}, message) < 0) return false;
        fill(*db);
        ready[postgres] = true;
    }
    LIB_RegisterProcedures();
    LIB_SetPresenter(&quiet);
    g_strWkrNo = "BENCH";
    LIB_DB_ConnectParams() = p;
    return LIB_DB_Connect() == 0;
}

}  // namespace benchdb

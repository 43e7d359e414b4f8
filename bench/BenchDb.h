// The database a benchmark program runs on, per backend: made and filled on first use, opened
// as the session, and dropped when the program ends. PostgreSQL runs when SERIALS_TEST_PG and
// SERIALS_TEST_PG_USER name a server where databases may be created.
//
// To study plans on the generated data, SERIALS_BENCH_KEEP=1 keeps the database when the program
// ends (its name goes to the standard error), and SERIALS_BENCH_REUSE_SQLITE (a file) or
// SERIALS_BENCH_REUSE_PG (a database name) runs on such a kept database instead of making one.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/basQKRegister.h"
#include "checkin/core/Generate.h"
#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "db/SchemaInstaller.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/basBMIndex.h"

// Messages of a failed save would only slow the loop down; failures end the run instead.
class SilentPresenter : public MsgPresenter {
public:
    int show(char, const std::string&, const std::string&) override { return kMsgOk; }
};

namespace benchdb {

struct Cleanup {
    std::string file, pgName;
    ConnectParams admin;
    ~Cleanup() {
        g_OraDatabase.reset();
        const char* keep = std::getenv("SERIALS_BENCH_KEEP");
        if (keep && *keep && *keep != '0') {
            if (!file.empty() || !pgName.empty())
                std::fprintf(stderr, "kept %s\n", (file + pgName).c_str());
            return;
        }
        if (!file.empty()) std::filesystem::remove(file);
        if (pgName.empty()) return;
        try {
            LIB_DB_OpenBackend(admin)->execute("DROP DATABASE IF EXISTS " + pgName);
        } catch (const DbError&) {
        }
    }
};

inline Cleanup& cleanup(bool postgres) {
    static Cleanup c[2];
    return c[postgres];
}

}  // namespace benchdb

// Opens the session on the program's database of the backend (`tag` names it), installing it
// and calling `fill` on first use; `fill` runs with the session already open on it.
inline bool useBenchDatabase(bool postgres, const std::string& tag,
                             const std::function<bool()>& fill) {
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
    LIB_RegisterProcedures();
    LIB_SetPresenter(&quiet);
    g_strWkrNo = "BENCH";
    const char* reuse =
        std::getenv(postgres ? "SERIALS_BENCH_REUSE_PG" : "SERIALS_BENCH_REUSE_SQLITE");
    if (reuse && *reuse) {
        p.dsn = reuse;
        ready[postgres] = true;
    }
    if (!ready[postgres]) {
        ConnectParams make = p;
        if (postgres) {
            ConnectParams admin = p;
            admin.dsn = "postgres";
            LIB_DB_OpenBackend(admin)->execute("CREATE DATABASE " + p.dsn +
                                               " TEMPLATE template0 LC_COLLATE 'C' LC_CTYPE 'C'");
            benchdb::cleanup(true).admin = admin;
            benchdb::cleanup(true).pgName = p.dsn;
        } else {
            benchdb::cleanup(false).file = p.dsn;
        }
        make.create = true;
        {
            auto db = LIB_DB_OpenBackend(make);
            std::string message;
            if (installDatabase(*db, {}, message) < 0) return false;
        }
        LIB_DB_ConnectParams() = p;
        if (LIB_DB_Connect() != 0 || !fill()) return false;
        ready[postgres] = true;
    }
    LIB_DB_ConnectParams() = p;
    return LIB_DB_Connect() == 0;
}

// Fills the open database with the library `serialsctl generate` makes: SERIALS_BENCH_TITLES
// titles over SERIALS_BENCH_YEARS years, the benchmark's own sizes unless given. What it made and
// how long it took go to the standard error. `made`, when given, receives the generator's context
// (its date, years and counts).
inline bool generateBenchLibrary(int titles = 7500, int years = 10,
                                 GenerateContext* made = nullptr) {
    auto number = [](const char* name, int fallback) {
        const char* v = std::getenv(name);
        return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
    };
    if (LIB_LoadCodeTables() < 0 || LIB_LoadMarcIndexParams() < 0 || LIB_LoadMarcFieldDefs() < 0 ||
        LIB_LoadSerialLists() < 0)
        return false;
    GenerateContext ctx;
    ctx.options.titles = number("SERIALS_BENCH_TITLES", titles);
    ctx.options.years = number("SERIALS_BENCH_YEARS", years);
    const auto start = std::chrono::steady_clock::now();
    if (GenerateLibrary(ctx) < 0) return false;
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long long rows = 0;
    for (const auto& [table, n] : ctx.written)
        rows += n;
    std::fprintf(stderr, "generated %d titles x %d years on %s: %lld rows in %.1f s\n",
                 ctx.options.titles, ctx.options.years, g_OraDatabase->name().c_str(), rows, s);
    if (made) *made = std::move(ctx);
    return true;
}

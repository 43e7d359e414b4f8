// How fast the session fetches a result into the result array, and how fast it runs single
// statements and procedure blocks, on each backend. PostgreSQL runs when SERIALS_TEST_PG
// (host:port) and SERIALS_TEST_PG_USER name a server where databases may be created.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "db/SchemaInstaller.h"
#include "db/basLibDB.h"

namespace {

constexpr int kRows = 20000;

ConnectParams sqliteDatabase() {
    static ConnectParams p = [] {
        ConnectParams c;
        c.driver = "SQLite";
        c.dsn = (std::filesystem::temp_directory_path() /
                 ("serials-bench-" + std::to_string(getpid()) + ".db"))
                    .string();
        c.create = true;
        return c;
    }();
    return p;
}

ConnectParams pgDatabase(const std::string& name) {
    ConnectParams c;
    c.driver = "PostgreSQL";
    c.dsn = name;
    c.server = std::getenv("SERIALS_TEST_PG");
    const char* user = std::getenv("SERIALS_TEST_PG_USER");
    c.uid = user ? user : "";
    return c;
}

// Opens the session on a database of kRows property rows, created on first use.
bool openSession(bool postgres) {
    static bool made[2] = {false, false};
    ConnectParams p;
    if (postgres) {
        if (!std::getenv("SERIALS_TEST_PG")) return false;
        p = pgDatabase("serials_bench_" + std::to_string(getpid()));
        if (!made[1]) {
            openPgBackend(pgDatabase("postgres"))->execute("CREATE DATABASE " + p.dsn);
        }
    } else {
        p = sqliteDatabase();
    }
    if (!made[postgres]) {
        auto db = LIB_DB_OpenBackend(p);
        std::string message;
        if (installDatabase(*db, {}, message) < 0) return false;
        db->begin();
        for (int i = 0; i < kRows; ++i)
            db->execute(
                "INSERT INTO indi_acct (prop_no, bar_code, call_no, price, remark) VALUES ('P" +
                std::to_string(i) + "', 'B" + std::to_string(i) + "', 'G255.1/" +
                std::to_string(i % 97) + "', " + std::to_string(i % 500) + ".5, '期刊合订本 第" +
                std::to_string(i) + "册')");
        db->commit();
        made[postgres] = true;
    }
    p.create = false;
    LIB_DB_ConnectParams() = p;
    return LIB_DB_Connect() == 0;
}

void BM_SelectIntoArray(benchmark::State& state) {
    if (!openSession(state.range(0) == 1)) return state.SkipWithError("database not available");
    for (auto _ : state) {
        LibArray a;
        LIB_DB_Select("SELECT prop_no, bar_code, call_no, price, remark FROM indi_acct", a);
        benchmark::DoNotOptimize(a);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SelectIntoArray)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);

void BM_UpdateInTransaction(benchmark::State& state) {
    if (!openSession(state.range(0) == 1)) return state.SkipWithError("database not available");
    int i = 0;
    LIB_DB_BeginTrans();
    for (auto _ : state)
        LIB_DB_Execute("UPDATE indi_acct SET remark='x' WHERE prop_no='P" +
                       std::to_string(i++ % kRows) + "'");
    LIB_DB_Rollback();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UpdateInTransaction)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMicrosecond);

void BM_ServerDateBlock(benchmark::State& state) {
    if (!openSession(state.range(0) == 1)) return state.SkipWithError("database not available");
    for (auto _ : state)
        benchmark::DoNotOptimize(LIB_DB_GetServerDate());
}
BENCHMARK(BM_ServerDateBlock)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_OraDatabase.reset();
    std::filesystem::remove(sqliteDatabase().dsn);
    if (std::getenv("SERIALS_TEST_PG"))
        openPgBackend(pgDatabase("postgres"))
            ->execute("DROP DATABASE IF EXISTS serials_bench_" + std::to_string(getpid()) +
                      " WITH (FORCE)");
    return 0;
}

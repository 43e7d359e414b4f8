// Every statistical report over the generated library (SERIALS_BENCH_TITLES titles, 7,500, ×
// SERIALS_BENCH_YEARS years, 10) on each backend, for last year with no other filter:
// the widest run a librarian can ask for. Each must finish within two seconds.
// PostgreSQL runs when SERIALS_TEST_PG and SERIALS_TEST_PG_USER name a server.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench/BenchDb.h"
#include "checkin/core/Generate.h"
#include "common/basCodeFunc.h"
#include "reports/core/StatReports.h"

namespace {

std::string g_year;

bool fill() {
    GenerateContext ctx;
    if (!generateBenchLibrary(7500, 10, &ctx)) return false;
    g_year = std::to_string(ctx.lastYear - 1);  // the last whole year of arrivals
    // Workload counters of one operator, a day for each job over the ten years.
    g_OraDatabase->begin();
    g_OraDatabase->execute(
        "INSERT INTO wkr_job_qty (wkr_no_f, oper_date, job_type, kind, volume, amount) SELECT "
        "'BENCH', oper_date, '502', 1, 2, 3 FROM (SELECT DISTINCT substr(chk_date,1,10) AS "
        "oper_date FROM m_peri_item) d");
    g_OraDatabase->commit();
    // A PostgreSQL server in use has its planner statistics gathered by autovacuum within a
    // minute of a load; measured before that, the planner takes the fresh tables for empty and
    // a report can run for minutes. SQLite gathers none unless told, so it runs as it is.
    if (g_OraDatabase->name() == "PostgreSQL") g_OraDatabase->execute("ANALYZE");
    return LIB_LoadPublishers() == 0;
}

void run(benchmark::State& state,
         const std::function<StatResult(const StatFilter&, StatTable&)>& report) {
    if (!useBenchDatabase(state.range(0) == 1, "reports", fill))
        return state.SkipWithError("database not available");
    StatFilter f;
    f.year = g_year;
    StatTable t;
    for (auto _ : state) {
        if (report(f, t) == StatResult::Failed)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        benchmark::DoNotOptimize(t);
    }
    state.counters["rows"] = t.rowCount();
}

void BM_LocaAll(benchmark::State& s) {
    run(s,
        [](const StatFilter& f, StatTable& t) { return statLocaAll(f, StatBasis::Subscriber, t); });
}
void BM_Loca(benchmark::State& s) {
    run(s, [](const StatFilter& f, StatTable& t) {
        return statLoca(f, StatBasis::Distribution, "", t);
    });
}
void BM_OtherByPublisher(benchmark::State& s) {
    run(s, [](const StatFilter& f, StatTable& t) { return statOther(f, StatAttr::Publisher, t); });
}
void BM_Arrival(benchmark::State& s) {
    run(s, [](const StatFilter& f, StatTable& t) { return statArrival(f, true, t); });
}
void BM_Job(benchmark::State& s) {
    run(s, [](const StatFilter& f, StatTable& t) {
        return statJob("BENCH", StatPeriod::Interval, f.year.substr(0, 4) + "-01-01",
                       std::to_string(std::stoi(f.year) + 1) + "-01-01", t);
    });
}
void BM_IndiAcct(benchmark::State& s) {
    run(s, [](const StatFilter&, StatTable& t) { return statIndiAcct("0", "Z", "", t); });
}
void BM_Sort(benchmark::State& s) {
    run(s, [](const StatFilter& f, StatTable& t) {
        return statSort(f, StatClassBy::ClassNumber, "01", t);
    });
}

#define REPORT_BENCH(fn) \
    BENCHMARK(fn)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond)
REPORT_BENCH(BM_LocaAll);
REPORT_BENCH(BM_Loca);
REPORT_BENCH(BM_OtherByPublisher);
REPORT_BENCH(BM_Arrival);
REPORT_BENCH(BM_Job);
REPORT_BENCH(BM_IndiAcct);
REPORT_BENCH(BM_Sort);

}  // namespace

BENCHMARK_MAIN();

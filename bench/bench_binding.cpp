// Binding speed on each backend, on the library `serialsctl generate` makes
// (SERIALS_BENCH_TITLES titles, 7,500 by default, over SERIALS_BENCH_YEARS years, 10 by
// default; last year's issues have all arrived): finding every title with last year's issues to
// bind, distributor by distributor, and creating their binding records in one operation. The
// records are deleted again between iterations, outside the measured time.
#include <benchmark/benchmark.h>

#include "bench/BenchDb.h"
#include "binding/core/basBindFunc.h"
#include "common/basQKEnv.h"

namespace {

std::string g_lastYear;  // the year whose issues are bound

bool fill() {
    if (!generateBenchLibrary()) return false;
    g_OraDatabase->execute(
        "INSERT INTO m_bind_batch_lst (bookbinder_code,bind_batch_no) VALUES ('ZD01','B1')");
    // Statistics, as a library's database has them once it has been in use: without them the
    // planner joins the freshly filled tables blindly.
    g_OraDatabase->execute("ANALYZE");
    return true;
}

bool useBackend(bool postgres) {
    if (!useBenchDatabase(postgres, "bind", fill)) return false;
    g_lastYear = std::to_string(std::stoi(LIB_GetSysInfo(1).str().substr(0, 4)) - 1);
    return true;
}

// Every title with last year's issues to bind: one search per distributor.
int findWholeYear(std::vector<BindTitle>& titles) {
    LibArray codes;
    if (LIB_DB_Select("SELECT DISTINCT publ_code FROM m_peri_ord_detl ORDER BY publ_code", codes) <
        0)
        return -1;
    titles.clear();
    for (int r = 2; r < codes.rows(); ++r) {
        BindSearch s;
        s.field = BindSearchField::PublCode;
        s.text = codes(0, r).str();
        s.year = g_lastYear;
        std::vector<BindTitle> found;
        if (intFindBindTitles(s, found) < 0) continue;
        for (const BindTitle& t : found)  // the search takes the code as a prefix
            if (t.publCode == s.text) titles.push_back(t);
    }
    return titles.empty() ? -1 : 0;
}

void BM_FindTitlesOfAYear(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::size_t found = 0;
    for (auto _ : state) {
        std::vector<BindTitle> titles;
        if (findWholeYear(titles) < 0) return state.SkipWithError("search failed");
        found = titles.size();
        benchmark::DoNotOptimize(titles);
    }
    state.counters["titles"] = static_cast<double>(found);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(found));
}

void BM_CreateRecordsOfAYear(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::vector<BindTitle> titles;
    if (findWholeYear(titles) < 0) return state.SkipWithError("search failed");
    const BindCreate r{"ZD01", "B1", false, g_lastYear, 1};
    std::size_t made = 0;
    for (auto _ : state) {
        std::vector<std::string> nos;
        if (intCreateBindRecords(r, titles, nos) < 0 || nos.empty())
            return state.SkipWithError("create failed");
        made = nos.size();
        state.PauseTiming();
        if (intDeleteBindRecords(nos) != 0) return state.SkipWithError("delete failed");
        state.ResumeTiming();
    }
    state.counters["titles"] = static_cast<double>(titles.size());
    state.counters["records"] = static_cast<double>(made);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(titles.size()));
}

BENCHMARK(BM_FindTitlesOfAYear)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateRecordsOfAYear)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

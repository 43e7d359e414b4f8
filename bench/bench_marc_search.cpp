// Searching a catalogue of 100,000 records as the record search dialog does: a page of at most
// 201 rows by title prefix and by words inside titles, narrow and broad, on both backends.
#include <benchmark/benchmark.h>

#include "bench/BenchDb.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMIndex.h"
#include "tests/marc/LargeCatalogue.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kPage = 201;

struct Search {
    const char* group;
    const char* text;
    int expected;  // rows of the page
};
// Narrow and broad, prefix and title words: the broad ones sort a whole catalogue's matches.
const Search kSearches[] = {
    {"01", "journal number 4321", 11},  // 4321 and 43210 to 43219
    {"01", "journal", kPage},
    {kMarcTitleWordsGroup, "4321", 11},  // a word typed in part: 4321 and 43210 to 43219
    {kMarcTitleWordsGroup, "历史", 1},
    {kMarcTitleWordsGroup, "number", kPage},
};

void BM_RecordSearch(benchmark::State& state) {
    const bool postgres = state.range(0) == 1;
    const Search& s = kSearches[state.range(1)];
    if (!useBenchDatabase(postgres, "search",
                          [] { return makeLargeCatalogue(kRecords) == kRecords; }))
        return state.SkipWithError("database not available");
    if (LIB_LoadMarcIndexParams() < 0) return state.SkipWithError("index settings");
    LibArray rows;
    for (auto _ : state) {
        if (MarcFindRecords(s.group, s.text, rows, kPage) < 0)
            return state.SkipWithError("search failed");
        benchmark::DoNotOptimize(rows);
    }
    if (rows.recordCount() != s.expected) return state.SkipWithError("unexpected result");
    state.SetLabel(std::string(s.group) + " " + s.text);
}
BENCHMARK(BM_RecordSearch)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4}})
    ->ArgNames({"postgres", "search"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Binding speed on each backend, on a library of 1,000 titles whose twelve monthly issues of
// one year were checked in at one location: finding the titles to bind for the whole year, and
// creating their binding records (two volumes of six issues each per title) in one operation.
// The records are deleted again between iterations, outside the measured time.
#include <benchmark/benchmark.h>

#include "bench/BenchDb.h"
#include "binding/core/basBindFunc.h"

namespace {

constexpr int kTitles = 1000;

void fillLibrary(DbBackend& db) {
    db.begin();
    db.execute(
        "INSERT INTO m_bind_batch_lst (bookbinder_code,bind_batch_no) VALUES "
        "('ZD01','B1')");
    int peri = 0;
    for (int t = 0; t < kTitles; ++t) {
        char rec[16];
        std::snprintf(rec, sizeof rec, "%010d", t + 1);
        std::string key = "'YZFX','202501','" + std::to_string(t) + "'";
        db.execute("INSERT INTO marc (marc_rec_no,marc_type,m_title) VALUES ('" + std::string(rec) +
                   "','C','期刊" + std::to_string(t) + "')");
        db.execute(
            "INSERT INTO m_peri_ord_detl (publ_code,peri_ord_year,asord_no,carrier_code,"
            "get_mode_code,marc_rec_no,book_size_code,peri_price,bind_item_qty,ord_flag) "
            "VALUES (" +
            key + ",'01','01','" + rec + "','01',12,6,'2')");
        db.execute(
            "INSERT INTO m_peri_chk_cfg (publ_code,peri_ord_year,asord_no,location,"
            "bind_copy_qty,issue_keep_qty) VALUES (" +
            key + ",'QK01',1,0)");
        for (int i = 1; i <= 12; ++i) {
            char id[16];
            std::snprintf(id, sizeof id, "%010d", ++peri);
            db.execute(
                "INSERT INTO m_peri_chk_vol (peri_id,publ_code,peri_ord_year,asord_no,"
                "cover_vol,cover_issue,publ_year,peri_no,peri_type) VALUES ('" +
                std::string(id) + "'," + key + ",'30','" + std::to_string(i) + "','2025'," +
                std::to_string(i) + ",'0')");
            db.execute(
                "INSERT INTO m_peri_item (peri_id,location,dis_location,item_no,item_stat) "
                "VALUES ('" +
                std::string(id) + "','QK01','QK01',1,'0')");
        }
    }
    db.commit();
    // Statistics, as a library's database has them, so that the planner sees the table sizes.
    db.execute("ANALYZE");
}

bool useBackend(bool postgres) {
    return useBenchDatabase(postgres, "bind", [] {
        fillLibrary(*g_OraDatabase);
        return true;
    });
}

BindSearch wholeYear() {
    BindSearch s;
    s.field = BindSearchField::PublCode;
    s.text = "YZFX";
    s.year = "2025";
    return s;
}

void BM_FindTitlesOfAYear(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    for (auto _ : state) {
        std::vector<BindTitle> titles;
        if (intFindBindTitles(wholeYear(), titles) < 0 || titles.size() != kTitles)
            return state.SkipWithError("search failed");
        benchmark::DoNotOptimize(titles);
    }
    state.SetItemsProcessed(state.iterations() * kTitles);
}

void BM_CreateRecordsOfAYear(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::vector<BindTitle> titles;
    if (intFindBindTitles(wholeYear(), titles) < 0) return state.SkipWithError("search failed");
    const BindCreate r{"ZD01", "B1", false, "2025", 1};
    for (auto _ : state) {
        std::vector<std::string> nos;
        if (intCreateBindRecords(r, titles, nos) < 0 || nos.size() != 2 * kTitles)
            return state.SkipWithError("create failed");
        state.PauseTiming();
        if (intDeleteBindRecords(nos) != 0) return state.SkipWithError("delete failed");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kTitles);
}

BENCHMARK(BM_FindTitlesOfAYear)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateRecordsOfAYear)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

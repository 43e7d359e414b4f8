// Order list speed on each backend: loading a catalogue of 2,000 details with three
// subscribers each (with their fund and distribution lines), and saving one detail (its old
// rows replaced, workload and log written) in its transaction. PostgreSQL runs when
// SERIALS_TEST_PG and SERIALS_TEST_PG_USER name a server where databases may be created.
#include <benchmark/benchmark.h>

#include "bench/BenchDb.h"
#include "ordering/core/basOrdList.h"

namespace {

constexpr int kDetails = 2000;
const char* const kLocations[] = {"QK01", "QKYL", "WWQK"};

void fillCatalogue(DbBackend& db) {
    db.begin();
    db.execute("INSERT INTO m_peri_ord_lst VALUES ('YZFX','202601','2026-01-05','BENCH','0')");
    for (int i = 0; i < kDetails; ++i) {
        std::string no = "'" + std::to_string(1 + i / 100) + "-" + std::to_string(i % 100) + "'";
        std::string key = "'YZFX','202601'," + no;
        db.execute(
            "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, "
            "carrier_code, get_mode_code, money_code, peri_price, peri_total_price, "
            "peri_ord_qty, ord_flag, new_ord_flag, publ_freq, peri_type, fmt_asord_no) "
            "VALUES (" +
            key + ",'01','01','CNY',10,120,3,'0','0','月刊','0'," + no + ")");
        for (const char* loc : kLocations) {
            std::string line = key + ",'" + loc + "'";
            db.execute("INSERT INTO m_sub_ord_lst VALUES (" + line + ",'全年',1,'1',NULL)");
            db.execute("INSERT INTO m_peri_sub_fund_out VALUES (" + line + ",'01',1,120,NULL,'0')");
            db.execute("INSERT INTO m_peri_ord_dist_lst VALUES (" + line + ",'" + loc +
                       "',1,NULL)");
        }
    }
    db.commit();
}

bool useBackend(bool postgres) {
    return useBenchDatabase(postgres, "ord", [] {
        fillCatalogue(*g_OraDatabase);
        return true;
    });
}

void BM_LoadCatalogue(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    for (auto _ : state) {
        std::vector<OrdDetail> details;
        if (intLoadOrdDetails("YZFX", "202601", details) < 0 || details.size() != kDetails)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        benchmark::DoNotOptimize(details);
    }
    state.SetItemsProcessed(state.iterations() * kDetails);
}

void BM_SaveDetail(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::vector<OrdDetail> details;
    if (intLoadOrdDetails("YZFX", "202601", details) < 0)
        return state.SkipWithError(g_ErrInfo.strDesc.c_str());
    OrdDetail d = details[kDetails / 2];
    d.getMode = "01";
    for (auto _ : state) {
        d.state = RowState::Modified;
        if (intSaveOrdDetail(d, false) < 0) return state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_LoadCatalogue)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDetail)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Prediction speed: a daily title for ten years (about 3,650 expected issues) predicted in
// memory, and predicted and saved with its configuration in one transaction, on a generated
// library of SERIALS_BENCH_TITLES titles (7,500 unless given) over SERIALS_BENCH_YEARS years
// (10). Each saved iteration configures a fresh daily order line.
#include <benchmark/benchmark.h>

#include <iostream>

#include "bench/BenchDb.h"
#include "checkin/core/basChkConfig.h"
#include "common/basCodeFunc.h"

namespace {

constexpr int kFreshLines = 200;

ChkPredictInput dailyTenYears() {
    ChkPredictInput in;
    in.code = 'a';
    in.beginDate = "2017-01-01";
    in.endDate = "2026-12-31";
    in.startDay = 1;
    in.begVol = 30;
    in.begIssue = 1;
    in.perVol = 365;
    in.begTotal = 9001;
    in.aslackDays = 7;
    return in;
}

// The generated library, then daily order lines not yet configured.
bool fill() {
    if (!generateBenchLibrary()) return false;
    g_OraDatabase->begin();
    g_OraDatabase->execute(
        "INSERT INTO m_peri_ord_lst VALUES ('YZFX','201799','2016-10-15','BENCH','1')");
    for (int i = 0; i < kFreshLines; ++i) {
        const std::string key = "'YZFX','201799','D-" + std::to_string(i) + "'";
        g_OraDatabase->execute(
            "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, carrier_code, "
            "ord_flag, publ_freq, qty_of_vol, days_of_aslack) VALUES (" +
            key + ",'01','1','日刊',365,7)");
        g_OraDatabase->execute("INSERT INTO m_sub_ord_lst VALUES (" + key +
                               ",'QK01','全年',1,'1',NULL)");
    }
    g_OraDatabase->commit();
    return true;
}

void BM_PredictDailyTenYears(benchmark::State& state) {
    const ChkPredictInput in = dailyTenYears();
    for (auto _ : state) {
        auto rows = chkPredict(in, "0001234567");
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * chkIssueCount(in));
}

void BM_SaveDailyTenYears(benchmark::State& state) {
    if (!useBenchDatabase(state.range(0) == 1, "chk", fill))
        return state.SkipWithError("database not available");
    static int next[2] = {0, 0};
    int& n = next[state.range(0)];
    for (auto _ : state) {
        if (n >= kFreshLines) return state.SkipWithError("no fresh order line left");
        state.PauseTiming();
        ChkConfigForm f;
        if (intLoadChkConfig({"YZFX", "201799", "D-" + std::to_string(n++)}, "QK01", f) != 0)
            return state.SkipWithError("order line not found");
        const ChkPredictInput in = dailyTenYears();
        f.cfg.beginDate = in.beginDate;
        f.cfg.endDate = in.endDate;
        f.line.fstReceDate = 1;
        f.cfg.begVol = in.begVol;
        f.cfg.begIssue = in.begIssue;
        f.cfg.begTotalIssue = in.begTotal;
        state.ResumeTiming();
        if (intSaveChkConfig(f) < 0) return state.SkipWithError(g_ErrInfo.strDesc.c_str());
    }
    state.SetItemsProcessed(state.iterations() * chkIssueCount(dailyTenYears()));
}

BENCHMARK(BM_PredictDailyTenYears)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDailyTenYears)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

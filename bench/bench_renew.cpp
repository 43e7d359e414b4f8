// Renewal speed on each backend: a year of 7,500 order details (five distributors, two batches
// each; three subscribers per detail with a fund and a distribution line each) renewed into
// the next year with progress reported, the target replaced on every run. The goal is the
// whole run within a minute. PostgreSQL runs when SERIALS_TEST_PG and SERIALS_TEST_PG_USER
// name a server where databases may be created.
#include <benchmark/benchmark.h>

#include "bench/BenchDb.h"
#include "ordering/core/OrdRenew.h"

namespace {

constexpr int kDetails = 7500;
const char* const kPubls[] = {"YZFX", "SYZF", "TSJK", "JYJK", "GTDL"};
const char* const kLocations[] = {"QK01", "QKYL", "WWQK"};

void fillYear(DbBackend& db) {
    db.begin();
    // The seeded distributors, every one a serials distributor, own the catalogues.
    for (const char* publ : kPubls)
        for (const char* batch : {"202501", "202502"})
            db.execute("INSERT INTO m_peri_ord_lst VALUES ('" + std::string(publ) + "','" + batch +
                       "','2025-01-05','BENCH','1')");
    for (int i = 0; i < kDetails; ++i) {
        const std::string key = "'" + std::string(kPubls[i % 5]) + "','" +
                                (i % 10 < 5 ? "202501" : "202502") + "','" +
                                std::to_string(1 + i / 100) + "-" + std::to_string(i % 100) + "'";
        db.execute(
            "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, carrier_code, "
            "get_mode_code, money_code, peri_price, peri_total_price, peri_ord_qty, "
            "ord_flag, new_ord_flag, publ_freq, peri_type, fmt_asord_no) VALUES (" +
            key + ",'01','01','CNY',10,120,3,'1','0','月刊','" +
            std::to_string(i % 7 == 0 ? 2 : 0) + "','x')");
        std::string subs, funds, dists;
        for (const char* loc : kLocations) {
            const std::string line = "(" + key + ",'" + loc + "'";
            subs += (subs.empty() ? "" : ",") + line + ",'全年',1,'1',NULL)";
            funds += (funds.empty() ? "" : ",") + line + ",'01',1,120,NULL,'0')";
            dists += (dists.empty() ? "" : ",") + line + ",'" + loc + "',1,NULL)";
        }
        db.execute("INSERT INTO m_sub_ord_lst VALUES " + subs);
        db.execute("INSERT INTO m_peri_sub_fund_out VALUES " + funds);
        db.execute("INSERT INTO m_peri_ord_dist_lst VALUES " + dists);
    }
    db.commit();
}

void BM_RenewYear(benchmark::State& state) {
    const bool postgres = state.range(0) == 1;
    if (!useBenchDatabase(postgres, "renew", [] {
            fillYear(*g_OraDatabase);
            return true;
        }))
        return state.SkipWithError("database not available");
    RenewOptions o;
    o.sourceYear = "2025";
    o.publs.assign(std::begin(kPubls), std::end(kPubls));
    o.newYear = "2026";
    o.existing = RenewAnswer::Replace;
    // Every order state is carried over, the ceased titles (every seventh) included.
    o.ceased = o.stopped = true;
    int reports = 0, copied = 0;
    for (auto _ : state) {
        RenewResult result;
        reports = 0;
        if (intRenewOrders(o, result, [&](const RenewProgress&) { return ++reports > 0; }) != 0)
            return state.SkipWithError("renewal failed");
        copied = result.copied;
    }
    if (copied != kDetails) return state.SkipWithError("wrong detail count");
    state.counters["details"] = copied;
    state.counters["progress_reports"] = reports;
    state.SetItemsProcessed(state.iterations() * copied);
}

BENCHMARK(BM_RenewYear)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

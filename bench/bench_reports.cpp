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
#include "db/DbTransaction.h"
#include "reports/core/StatReports.h"

namespace {

std::string g_year;
// The property numbers taken in g_year: a year's accessions, the range a librarian lists.
std::string g_propFrom, g_propTo;

std::string numbered(const char* prefix, long long n, int width) {
    std::string digits = std::to_string(n);
    return prefix + std::string(width - std::min<int>(width, digits.size()), '0') + digits;
}

// The generator binds nothing. A library's property account holds a bound volume for each
// title, year and place the copies went to, accessioned at the start of the next year, so the
// numbers run year by year. Every year but the running one has been bound. The year is compared
// through substr(): SQLite would carry a bare comparison over to the issues' order key and read
// every earlier issue of the distributor for each order line.
bool addPropertyAccount(int lastYear) {
    g_propFrom.clear();
    g_propTo.clear();
    LibArray v;
    if (LIB_DB_Select(
            "SELECT p.marc_rec_no,substr(p.peri_ord_year,1,4) AS y,c.location,c.dis_location,"
            "min(b.cover_vol),count(DISTINCT b.peri_id),max(p.peri_total_price),"
            "max(p.carrier_code),max(p.get_mode_code) FROM m_peri_ord_detl p JOIN m_peri_chk_vol "
            "b ON b.publ_code=p.publ_code AND b.peri_ord_year=p.peri_ord_year AND "
            "b.asord_no=p.asord_no JOIN m_peri_item c ON c.peri_id=b.peri_id WHERE "
            "substr(p.peri_ord_year,1,4)<" +
                LIB_SqlStr(std::to_string(lastYear)) +
                " GROUP BY p.marc_rec_no,substr(p.peri_ord_year,1,4),c.location,c.dis_location "
                "ORDER BY 2,1,4",
            v) < 0)
        return false;
    DbTransaction tx;
    if (!tx.ok()) return false;
    BulkInsert rows("indi_acct",
                    "prop_no,bar_code,call_no,book_stat_code,location,dis_location,marc_rec_no,"
                    "year,vol_peri,price,carrier_code,get_mode_code,asord_no,chk_batch_no,in_date,"
                    "rec_flag_upt_date,resp_wkr");
    auto q = [&](int col, int row) { return LIB_SqlStr(v(col, row).str()); };
    std::string year;
    long long bound = 0;
    for (int r = 2; r < v.rows(); ++r) {
        const std::string y = v(1, r).str();
        const std::string in = std::to_string(std::stoi(y) + 1);
        if (y != year) bound = 0;
        year = y;
        const std::string prop = numbered("Q", r - 1, 7);
        if (in == g_year) {
            if (g_propFrom.empty()) g_propFrom = prop;
            g_propTo = prop;
        }
        const std::string vol = v(4, r).str();
        if (rows.add(LIB_SqlStr(prop) + "," + LIB_SqlStr(numbered("3", r - 1, 7)) +
                     ",NULL,'可借'," + q(2, r) + "," + q(3, r) + "," + q(0, r) + "," +
                     LIB_SqlStr(y) + "," +
                     LIB_SqlStr(vol + "(1)-" + vol + "(" + v(5, r).str() + ")") + "," +
                     statMoney(v(6, r).num()) + "," + q(7, r) + "," + q(8, r) + "," +
                     LIB_SqlStr(numbered(in.c_str(), ++bound, 6)) + "," +
                     LIB_SqlStr("QH" + in + "01") + "," + LIB_SqlStr(in + "-01-20") + "," +
                     LIB_SqlStr(in + "-01-20 10:00:00") + ",'BENCH'") < 0)
            return false;
    }
    if (rows.flush() < 0 || tx.commit() < 0) return false;
    std::fprintf(stderr, "property account: %lld bound volumes, %s to %s accessioned in %s\n",
                 rows.rows(), g_propFrom.c_str(), g_propTo.c_str(), g_year.c_str());
    return !g_propFrom.empty();
}

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
    if (!addPropertyAccount(ctx.lastYear)) return false;
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
// A year's accessions, the list a librarian prints, and the whole account.
void BM_IndiAcctYear(benchmark::State& s) {
    run(s,
        [](const StatFilter&, StatTable& t) { return statIndiAcct(g_propFrom, g_propTo, "", t); });
}
void BM_IndiAcctAll(benchmark::State& s) {
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
REPORT_BENCH(BM_IndiAcctYear);
REPORT_BENCH(BM_IndiAcctAll);
REPORT_BENCH(BM_Sort);

}  // namespace

BENCHMARK_MAIN();

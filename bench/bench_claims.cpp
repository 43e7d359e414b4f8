// The claim candidate search over a whole library on each backend: the one statement the claim
// screen runs, against the per-row strategy (a base query, then per row a count of received
// copies and a query of its claims). The library is the generated one (SERIALS_BENCH_TITLES
// titles, 7,500, over SERIALS_BENCH_YEARS years, 10: about 2 million expected issues) with a
// claims history added: most missing issues claimed once, twice or three times at spread dates
// that follow their line's intervals, and some late arrivals claimed once before they came.
// The per-row strategy runs on every SERIALS_BENCH_PERROW_EVERY-th base row (19) and its time
// is scaled to the whole library; the output says so. PostgreSQL runs when SERIALS_TEST_PG and
// SERIALS_TEST_PG_USER name a server.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "bench/BenchDb.h"
#include "checkin/core/basChkClaim.h"
#include "db/DbTransaction.h"
#include "ordering/core/basOrdFunc.h"

namespace {

int envNumber(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

std::string g_today;  // the server date the library was generated on

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Claims for the issues the generator left missing or let arrive after their claim date, read in
// one statement and written in bulk. The dates keep the claim rules: a second claim no earlier
// than aslack_second days after the first, a third no earlier than aslack_third after that.
int addClaimsHistory(const std::string& today) {
    LibArray a;
    if (LIB_DB_Select("SELECT a.peri_id,c.location,a.aslack_date,b.aslack_second,b.aslack_third,"
                      "c.sub_peri_qty,i.n,i.last_chk FROM m_peri_chk_vol a"
                      " JOIN m_peri_ord_detl b ON a.publ_code=b.publ_code"
                      " AND a.peri_ord_year=b.peri_ord_year AND a.asord_no=b.asord_no"
                      " JOIN m_sub_ord_lst c ON c.publ_code=a.publ_code"
                      " AND c.peri_ord_year=a.peri_ord_year AND c.asord_no=a.asord_no"
                      " LEFT JOIN (SELECT peri_id,location,COUNT(*) AS n,MAX(chk_date) AS last_chk"
                      " FROM m_peri_item GROUP BY peri_id,location) i"
                      " ON i.peri_id=a.peri_id AND i.location=c.location"
                      " WHERE a.aslack_date<" +
                          LIB_SqlStr(today) +
                          " AND (i.n IS NULL OR c.sub_peri_qty>i.n OR i.last_chk>a.aslack_date)"
                          " ORDER BY a.peri_id,c.location",
                      a) < 0)
        return -1;
    std::mt19937 rng(7);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    DbTransaction tx;
    if (!tx.ok()) return -1;
    BulkInsert claims("m_aslack_rec",
                      "peri_id,location,aslack_detl_date,aslack_wkr,aslack_detl_qty,remark");
    for (int r = 2; r < a.rows(); ++r) {
        const std::string key = LIB_SqlStr(a(0, r).str()) + "," + LIB_SqlStr(a(1, r).str()) + ",";
        const int received = a(6, r).str().empty() ? 0 : static_cast<int>(a(6, r).num());
        const int missing = static_cast<int>(a(5, r).num()) - received;
        const std::string arrived = a(7, r).str().substr(0, 10);
        // Missing: none 20 %, once 35 %, twice 25 %, three times 20 %; late arrivals once.
        const int roll = pick(100);
        const int times = missing <= 0 ? 1 : roll < 20 ? 0 : roll < 55 ? 1 : roll < 80 ? 2 : 3;
        std::string day = claimDateAdd(a(2, r).str().substr(0, 10), 1 + pick(20));
        for (int n = 0; n < times; ++n) {
            if (day.empty() || day > today || (missing <= 0 && day >= arrived)) break;
            if (claims.add(key + LIB_SqlStr(day) + ",'BENCH'," +
                           std::to_string(missing > 0 ? missing : 1) + ",''") < 0)
                return -1;
            day = claimDateAdd(day, static_cast<int>(a(n == 0 ? 3 : 4, r).num()) + pick(15));
        }
    }
    // The claims reach the copies still owed as recording them would have brought them.
    if (claims.flush() < 0 || intRefreshIssueLack("") < 0) return -1;
    return tx.commit();
}

bool fill() {
    GenerateContext made;
    if (!generateBenchLibrary(7500, 10, &made)) return false;
    g_today = made.today;
    const auto start = std::chrono::steady_clock::now();
    if (addClaimsHistory(g_today) < 0) return false;
    // Statistics as the program has them: `serialsctl generate` gathers them on PostgreSQL, and
    // a SQLite library has none, so the search is measured on the plan a library really gets.
    if (g_OraDatabase->name() == "PostgreSQL") g_OraDatabase->execute("ANALYZE");
    auto count = [](const char* table) {
        return g_OraDatabase->query(std::string("SELECT COUNT(*) FROM ") + table)
            .rows.at(0)
            .at(0)
            .str();
    };
    std::fprintf(stderr,
                 "claims history in %.1f s; %s expected issues, %s copies, %s claims, today %s\n",
                 secondsSince(start), count("m_peri_chk_vol").c_str(), count("m_peri_item").c_str(),
                 count("m_aslack_rec").c_str(), g_today.c_str());
    return true;
}

// A reused database was generated on the day the benchmark runs, as the generator dates it.
bool useBackend(bool postgres) {
    if (!useBenchDatabase(postgres, "claims", fill)) return false;
    if (g_today.empty()) g_today = LIB_DB_GetServerDate().substr(0, 10);
    return !g_today.empty();
}

ClaimFilter wholeLibrary() {
    ClaimFilter f;
    f.anyOrder = true;
    return f;
}

void BM_ClaimSearchOneStatement(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::size_t found = 0;
    for (auto _ : state) {
        std::vector<ClaimCandidate> rows;
        if (claimSearch(wholeLibrary(), ClaimList::ToClaim, g_today, rows) ==
            ClaimSearchResult::DbError)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        found = rows.size();
    }
    state.counters["candidates"] = static_cast<double>(found);
}

// The literal per-row way: the base query with the candidate's columns into a result array,
// then per row two more queries, the rules, and the candidate the screen shows. The base query
// runs whole; the per-row steps run on every `every`-th base row, and the time reported is the
// base query's plus the sampled rows' time multiplied by `every`. The step is odd by default: the
// rows of one issue's locations come together, and an even step would sample the same location
// of every line.
void BM_ClaimSearchPerRow(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    const int every = std::max(1, envNumber("SERIALS_BENCH_PERROW_EVERY", 19));
    std::size_t found = 0, queries = 0, baseRows = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        LibArray base;
        if (LIB_DB_Select(
                "SELECT a.peri_id,a.publ_code,c.location,a.peri_ord_year,a.asord_no,m.m_title,"
                "m.m_isbn,a.publ_year,a.cover_vol||'卷'||a.cover_issue||'期' as cover,"
                "a.expect_date,c.sub_peri_qty,b.aslack_second,b.aslack_third,m.marc_rec_no,"
                "b.publ_freq,a.peri_no"
                " FROM m_peri_chk_vol a,m_peri_ord_detl b,marc m,m_sub_ord_lst c"
                " WHERE a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year"
                " AND a.asord_no=b.asord_no AND m.marc_rec_no=b.marc_rec_no"
                " AND c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
                " AND c.asord_no=a.asord_no AND a.finish_flag='0' AND b.aslack_ysno='1'"
                " AND a.aslack_date<" +
                    LIB_SqlStr(g_today) + " ORDER BY a.peri_no ASC ",
                base) < 0)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        const double baseSeconds = secondsSince(start);
        const auto rowsStart = std::chrono::steady_clock::now();
        std::vector<ClaimCandidate> rows;
        queries = 0;
        baseRows = static_cast<std::size_t>(base.recordCount());
        for (int r = 2; r < base.rows(); r += every) {
            std::string id = LIB_SqlStr(base(0, r)), loc = LIB_SqlStr(base(2, r));
            LibArray n, claims;
            if (LIB_DB_Select(" SELECT COUNT(peri_id) FROM m_peri_item  WHERE peri_id=" + id +
                                  " AND location=" + loc,
                              n) < 0 ||
                LIB_DB_Select(" SELECT peri_id,aslack_detl_date FROM m_aslack_rec  WHERE peri_id=" +
                                  id + " AND location=" + loc + " ORDER BY aslack_detl_date DESC ",
                              claims) < 0)
                return state.SkipWithError(g_ErrInfo.strDesc.c_str());
            queries += 2;
            ClaimCandidate c;
            c.subQty = static_cast<int>(base(10, r).num());
            c.received = static_cast<int>(n(0, 2).num());
            c.claimCount = claims.recordCount();
            c.lastClaimDate = c.claimCount ? claims(1, 2).str() : "";
            c.aslackSecond = static_cast<int>(base(11, r).num());
            c.aslackThird = static_cast<int>(base(12, r).num());
            if (!claimIsDue(c.missing(), c.claimCount, c.lastClaimDate, c.aslackSecond,
                            c.aslackThird, g_today))
                continue;
            c.periId = base(0, r).str();
            c.publCode = base(1, r).str();
            c.location = base(2, r).str();
            c.periOrdYear = base(3, r).str();
            c.asordNo = base(4, r).str();
            c.title = base(5, r).str();
            c.issn = base(6, r).str();
            c.publYear = base(7, r).str();
            c.cover = base(8, r).str();
            c.expectDate = base(9, r).str();
            c.marcRecNo = base(13, r).str();
            c.publFreq = base(14, r).str();
            c.periNo = static_cast<int>(base(15, r).num());
            c.qty = c.missing();
            rows.push_back(std::move(c));
        }
        found = rows.size();
        state.SetIterationTime(baseSeconds + secondsSince(rowsStart) * every);
    }
    state.counters["base_rows"] = static_cast<double>(baseRows);
    state.counters["sampled_every"] = every;
    state.counters["candidates_in_sample"] = static_cast<double>(found);
    state.counters["candidates_scaled"] = static_cast<double>(found * every);
    state.counters["queries_in_sample"] = static_cast<double>(queries + 1);
    state.SetLabel(every > 1 ? "per-row queries on every " + std::to_string(every) +
                                   "th base row, time scaled to the whole library"
                             : "whole library");
}

BENCHMARK(BM_ClaimSearchOneStatement)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ClaimSearchPerRow)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

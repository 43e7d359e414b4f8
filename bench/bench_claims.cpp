// The claim candidate search over a whole library on each backend: the one statement the claim
// screen runs, against the per-row strategy (a base query, then per row a count of received
// copies and a query of its claims). The library is made in bulk by INSERT ... SELECT over a
// table of numbers: SERIALS_BENCH_TITLES titles (7,500) × SERIALS_BENCH_YEARS years (10) of
// monthly, fortnightly and weekly titles, about 2 million expected issues, 3% of past issues
// missing or short, up to three claims each, the current year's later issues not yet due.
// PostgreSQL runs when SERIALS_TEST_PG and SERIALS_TEST_PG_USER name a server.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/basQKRegister.h"
#include "bench/BenchDb.h"
#include "checkin/core/basChkClaim.h"
#include "common/OperatorState.h"
#include "db/SchemaInstaller.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

const char* const kToday = "2026-07-01";

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}
const int kTitles = envInt("SERIALS_BENCH_TITLES", 7500);
const int kYears = envInt("SERIALS_BENCH_YEARS", 10);

std::string num(int n) {
    return std::to_string(n);
}

// Text of an integer expression, for building keys and dates in SQL.
std::string text(const std::string& expr, int width) {
    return "CAST(" + expr + " AS VARCHAR(" + num(width) + "))";
}

std::string twoDigits(const std::string& expr) {
    return "CASE WHEN " + expr + "<10 THEN '0'||" + text(expr, 2) + " ELSE " + text(expr, 2) +
           " END";
}

void fillLibrary(DbBackend& db) {
    auto t0 = std::chrono::steady_clock::now();
    const std::string T = num(kTitles), Y = num(kYears);
    const std::string year = "(" + num(2027 - kYears) + "+y.n)";
    const std::string issues = "(CASE t.n%3 WHEN 0 THEN 12 WHEN 1 THEN 24 ELSE 44 END)";
    const std::string month = "(1+k.n*12/" + issues + ")";
    const std::string datePart = text(year, 4) + "||'-'||" + twoDigits(month) + "||'-'";
    db.begin();
    db.execute("CREATE TABLE bench_d (n INTEGER)");
    db.execute("INSERT INTO bench_d VALUES (0),(1),(2),(3),(4),(5),(6),(7),(8),(9)");
    db.execute("CREATE TABLE bench_n (n INTEGER PRIMARY KEY)");
    db.execute(
        "INSERT INTO bench_n SELECT a.n+10*b.n+100*c.n+1000*d.n FROM bench_d a,bench_d b,"
        "bench_d c,bench_d d");
    db.execute("INSERT INTO marc (marc_rec_no,doc_type_code,m_title,m_isbn) SELECT " +
               text("1000000000+n", 10) + ",'j','Title '||" + text("n", 6) + ",'0000-'||" +
               text("1000+n%9000", 4) + " FROM bench_n WHERE n<" + T);
    const std::string lineKey =
        "'P'||" + text("t.n%25", 2) + "," + text(year, 4) + "||'01','A'||" + text("t.n", 6);
    db.execute(
        "INSERT INTO m_peri_ord_detl (publ_code,peri_ord_year,asord_no,marc_rec_no,"
        "get_mode_code,publ_freq,aslack_ysno,aslack_second,aslack_third) SELECT " +
        lineKey + "," + text("1000000000+t.n", 10) +
        ",'01','m','1',30,30 FROM bench_n t,bench_n y WHERE t.n<" + T + " AND y.n<" + Y);
    db.execute(
        "INSERT INTO m_sub_ord_lst (publ_code,peri_ord_year,asord_no,location,sub_peri_qty,"
        "chk_stat) SELECT " +
        lineKey +
        ",'QK01',CASE WHEN t.n%4=0 THEN 2 ELSE 1 END,'1' FROM bench_n t,bench_n y "
        "WHERE t.n<" +
        T + " AND y.n<" + Y);
    db.execute(
        "INSERT INTO m_sub_ord_lst (publ_code,peri_ord_year,asord_no,location,sub_peri_qty,"
        "chk_stat) SELECT " +
        lineKey + ",'QKYL',1,'1' FROM bench_n t,bench_n y WHERE t.n%3=0 AND t.n<" + T +
        " AND y.n<" + Y);
    // One row per expected issue with what became of it: 0 received, 1 missing, 2 not yet due.
    db.execute(
        "CREATE TABLE bench_vol (peri_id VARCHAR(10),t INTEGER,y INTEGER,k INTEGER,"
        "expect VARCHAR(10),aslack VARCHAR(10),state INTEGER)");
    db.execute("INSERT INTO bench_vol SELECT " + text("1000000000+(t.n*" + Y + "+y.n)*50+k.n", 10) +
               ",t.n,y.n,k.n," + datePart + "||" + twoDigits("1+(k.n%3)*9") + "," + datePart +
               "||'28',0 FROM bench_n t,bench_n y,bench_n k WHERE t.n<" + T + " AND y.n<" + Y +
               " AND k.n<" + issues);
    db.execute(std::string("UPDATE bench_vol SET state=2 WHERE aslack>='") + kToday + "'");
    db.execute("UPDATE bench_vol SET state=1 WHERE state=0 AND (t*7+y*13+k*31)%100<3");
    db.execute(
        "INSERT INTO m_peri_chk_vol (peri_id,publ_code,peri_ord_year,asord_no,cover_vol,"
        "cover_issue,expect_date,aslack_date,publ_year,peri_no,finish_flag,peri_type) SELECT "
        "v.peri_id,'P'||" +
        text("v.t%25", 2) + "," + text(num(2027 - kYears) + "+v.y", 4) + "||'01','A'||" +
        text("v.t", 6) + ",'45'," + text("v.k+1", 3) + ",v.expect,v.aslack," +
        text(num(2027 - kYears) + "+v.y", 4) +
        ",v.k+1,CASE WHEN v.state=0 THEN '1' ELSE '0' END,'0' FROM bench_vol v");
    // Received issues have all their copies; some missing issues of two-copy lines have one.
    db.execute(
        "INSERT INTO m_peri_item (peri_id,location,dis_location,item_no,item_stat,chk_date,"
        "wkr_no) SELECT v.peri_id,'QK01','QK01',c.n+1,'0',v.expect||' 09:00:00','BENCH' "
        "FROM bench_vol v,bench_n c WHERE c.n<(CASE WHEN v.t%4=0 THEN 2 ELSE 1 END) AND "
        "(v.state=0 OR (v.state=1 AND v.k%2=1 AND v.t%4=0 AND c.n=0))");
    db.execute(
        "INSERT INTO m_peri_item (peri_id,location,dis_location,item_no,item_stat,chk_date,"
        "wkr_no) SELECT v.peri_id,'QKYL','QKYL',1,'0',v.expect||' 09:00:00','BENCH' "
        "FROM bench_vol v WHERE v.state=0 AND v.t%3=0");
    db.execute(
        "INSERT INTO m_aslack_rec (peri_id,location,aslack_detl_date,aslack_wkr,"
        "aslack_detl_qty) SELECT v.peri_id,'QK01',v.aslack,'BENCH',1 FROM bench_vol v,"
        "bench_n c WHERE v.state=1 AND c.n<(v.t+v.k)%4");
    for (const char* t : {"bench_vol", "bench_n", "bench_d"})
        db.execute(std::string("DROP TABLE ") + t);
    db.commit();
    db.execute("ANALYZE");
    std::cerr << db.name() << ": library made in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count()
              << " s, " << db.query("SELECT COUNT(*) FROM m_peri_chk_vol").rows.at(0).at(0).str()
              << " expected issues, "
              << db.query("SELECT COUNT(*) FROM m_peri_item").rows.at(0).at(0).str() << " copies, "
              << db.query("SELECT COUNT(*) FROM m_aslack_rec").rows.at(0).at(0).str()
              << " claims\n";
}

bool useBackend(bool postgres) {
    return useBenchDatabase(postgres, "claims", [] {
        fillLibrary(*g_OraDatabase);
        return true;
    });
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
        if (claimSearch(wholeLibrary(), ClaimList::ToClaim, kToday, rows) ==
            ClaimSearchResult::DbError)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        found = rows.size();
    }
    state.counters["candidates"] = static_cast<double>(found);
}

// The literal per-row way: the base rows, then per row two more queries, then the rules.
void BM_ClaimSearchPerRow(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    std::size_t found = 0, queries = 0;
    for (auto _ : state) {
        LibArray base;
        if (LIB_DB_Select(
                "SELECT a.peri_id,c.location,c.sub_peri_qty,b.aslack_second,b.aslack_third"
                " FROM m_peri_chk_vol a,m_peri_ord_detl b,marc m,m_sub_ord_lst c"
                " WHERE a.publ_code=b.publ_code AND a.peri_ord_year=b.peri_ord_year"
                " AND a.asord_no=b.asord_no AND m.marc_rec_no=b.marc_rec_no"
                " AND c.publ_code=a.publ_code AND c.peri_ord_year=a.peri_ord_year"
                " AND c.asord_no=a.asord_no AND a.finish_flag='0' AND b.aslack_ysno='1'"
                " AND a.aslack_date<'" +
                    std::string(kToday) + "' ORDER BY a.peri_no ASC ",
                base) < 0)
            return state.SkipWithError(g_ErrInfo.strDesc.c_str());
        found = 0;
        queries = 1;
        for (int r = 2; r < base.rows(); ++r) {
            std::string id = LIB_SqlStr(base(0, r)), loc = LIB_SqlStr(base(1, r));
            LibArray n, claims;
            if (LIB_DB_Select(" SELECT COUNT(peri_id) FROM m_peri_item  WHERE peri_id=" + id +
                                  " AND location=" + loc,
                              n) < 0 ||
                LIB_DB_Select(" SELECT peri_id,aslack_detl_date FROM m_aslack_rec  WHERE peri_id=" +
                                  id + " AND location=" + loc + " ORDER BY aslack_detl_date DESC ",
                              claims) < 0)
                return state.SkipWithError(g_ErrInfo.strDesc.c_str());
            queries += 2;
            int count = claims.recordCount();
            if (claimIsDue(static_cast<int>(base(2, r).num() - n(0, 2).num()), count,
                           count ? claims(1, 2).str() : "", static_cast<int>(base(3, r).num()),
                           static_cast<int>(base(4, r).num()), kToday))
                ++found;
        }
    }
    state.counters["candidates"] = static_cast<double>(found);
    state.counters["queries"] = static_cast<double>(queries);
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
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

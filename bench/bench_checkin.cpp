// Check-in speed on each backend, on a generated library (7,500 titles with ten years of orders,
// check-in and arrivals, as `serialsctl generate` makes it; SERIALS_BENCH_TITLES and
// SERIALS_BENCH_YEARS make it smaller for a quick run) plus the title measured: a daily title
// with ten years of issues in one order line (3,650 rows) whose receiving location distributes
// 2 + 1 copies. Measured: checking in one issue (its transaction, three copies, workload and
// log) and loading the expected-issue grid of the daily title with its copy counts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <vector>

#include "bench/BenchDb.h"
#include "checkin/core/basChkIn.h"

namespace {

constexpr int kDays = 3650;
const ChkOrderKey kDaily{"BENCH", "202601", "D-1"};

// Apart from the generated issues' numbers, which are all digits.
std::string dailyId(long long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "B%09lld", n);
    return buf;
}

std::string day(int i) {
    // Ten years of days, counted on a 365-day calendar: the dates only need to sort.
    int year = 2016 + i / 365, doy = i % 365;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, 1 + doy / 31 % 12, 1 + doy % 28);
    return buf;
}

// Rows go in batches of several hundred per statement, to keep the set-up short on PostgreSQL.
class Batch {
public:
    Batch(DbBackend& db, std::string head) : db_(db), head_(std::move(head)) {}
    ~Batch() { flush(); }
    void add(const std::string& values) {
        sql_ += (sql_.empty() ? head_ : ",") + "(" + values + ")";
        if (++n_ == 500) flush();
    }
    void flush() {
        if (!sql_.empty()) db_.execute(sql_);
        sql_.clear();
        n_ = 0;
    }

private:
    DbBackend& db_;
    std::string head_, sql_;
    int n_ = 0;
};

void addLine(DbBackend& db, const std::string& no, const std::string& freq) {
    const std::string key = "'BENCH','202601','" + no + "'";
    db.execute(
        "INSERT INTO m_peri_ord_detl (publ_code, peri_ord_year, asord_no, marc_rec_no, "
        "peri_ord_qty, ord_flag, publ_freq, peri_type) VALUES (" +
        key + ",NULL,3,'2','" + freq + "','0')");
    db.execute(
        "INSERT INTO m_sub_ord_lst (publ_code, peri_ord_year, asord_no, location, "
        "sub_peri_qty, chk_stat) VALUES (" +
        key + ",'QK01',3,'1')");
    db.execute(
        "INSERT INTO m_peri_ord_dist_lst (publ_code, peri_ord_year, asord_no, location, "
        "dist_loca, dist_qty) VALUES (" +
        key + ",'QK01','QK01',2),(" + key + ",'QK01','QKYL',1)");
}

void addDailyTitle(DbBackend& db) {
    db.begin();
    db.execute("INSERT INTO m_peri_ord_lst (publ_code, peri_ord_year) VALUES ('BENCH','202601')");
    addLine(db, kDaily.asordNo, "日刊");
    {
        Batch vols(db,
                   "INSERT INTO m_peri_chk_vol (peri_id, publ_code, peri_ord_year, asord_no, "
                   "cover_vol, cover_issue, expect_date, aslack_date, publ_year, peri_no, "
                   "finish_flag, peri_type) VALUES ");
        for (int d = 0; d < kDays; ++d)
            vols.add("'" + dailyId(d + 1) + "','BENCH','202601','D-1','" +
                     std::to_string(1 + d / 365) + "','" + std::to_string(1 + d % 365) + "','" +
                     day(d) + "','" + day(d) + "','" + day(d).substr(0, 4) + "'," +
                     std::to_string(d + 1) + ",'0','0'");
    }
    db.commit();
}

bool fill() {
    DbBackend& db = *g_OraDatabase;
    if (!generateBenchLibrary()) return false;
    addDailyTitle(db);
    db.execute("ANALYZE");
    std::cerr << db.name() << ": "
              << db.query("SELECT COUNT(*) FROM m_peri_chk_vol").rows.at(0).at(0).str()
              << " expected issues, "
              << db.query("SELECT COUNT(*) FROM m_peri_item").rows.at(0).at(0).str() << " copies\n";
    return true;
}

bool useBackend(bool postgres) {
    if (!useBenchDatabase(postgres, "chk", fill)) return false;
    g_blnSpecialRight = true;
    return true;
}

struct DailyTitle {
    ChkInOrderLine line;
    ChkInLocation location;
    std::vector<ChkInIssue> issues;
};

bool loadDaily(DailyTitle& t) {
    std::vector<ChkInLocation> all;
    if (intLoadChkOrderLine(kDaily, t.line) != 0 || intLoadChkLocations(kDaily, all) < 0 ||
        all.empty() || intLoadChkIssues(kDaily, "QK01", t.issues) < 0)
        return false;
    t.location = all[0];
    return true;
}

void BM_CheckInOneIssue(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    DailyTitle t;
    if (!loadDaily(t)) return state.SkipWithError("daily title not loaded");
    // The framework calls this again for each trial: every trial starts with no copies.
    const std::string clear =
        "DELETE FROM m_peri_item WHERE peri_id IN (SELECT peri_id FROM m_peri_chk_vol WHERE "
        "asord_no='D-1')";
    g_OraDatabase->execute(clear);
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == t.issues.size()) {
            state.PauseTiming();
            g_OraDatabase->execute(clear);
            next = 0;
            state.ResumeTiming();
        }
        if (intCheckInIssues(t.line, t.location, {t.issues[next++].periId}) != 3)
            return state.SkipWithError("check-in failed");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_LoadTenYearGrid(benchmark::State& state) {
    if (!useBackend(state.range(0) == 1)) return state.SkipWithError("database not available");
    for (auto _ : state) {
        std::vector<ChkInIssue> issues;
        if (intLoadChkIssues(kDaily, "QK01", issues) < 0 || issues.size() != kDays)
            return state.SkipWithError("grid not loaded");
        benchmark::DoNotOptimize(issues);
    }
    state.SetItemsProcessed(state.iterations() * kDays);
}

BENCHMARK(BM_CheckInOneIssue)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTenYearGrid)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

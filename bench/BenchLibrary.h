// The library `serialsctl generate` makes, as benchmarks fill their database with it:
// SERIALS_BENCH_TITLES titles over SERIALS_BENCH_YEARS years (each benchmark gives its own
// defaults), with the time it took on stderr.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "checkin/core/Generate.h"
#include "common/basCodeFunc.h"
#include "db/basLibDB.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/basBMIndex.h"

inline int benchEnvNumber(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : fallback;
}

// Runs with the session open on the benchmark's database; false when anything failed.
inline bool generateBenchLibrary(int titles, int years) {
    if (LIB_LoadCodeTables() < 0 || LIB_LoadMarcIndexParams() < 0 || LIB_LoadMarcFieldDefs() < 0 ||
        LIB_LoadSerialLists() < 0)
        return false;
    GenerateContext ctx;
    ctx.options.titles = benchEnvNumber("SERIALS_BENCH_TITLES", titles);
    ctx.options.years = benchEnvNumber("SERIALS_BENCH_YEARS", years);
    const auto start = std::chrono::steady_clock::now();
    if (GenerateLibrary(ctx) < 0) return false;
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long long rows = 0;
    for (const auto& [table, n] : ctx.written)
        rows += n;
    std::fprintf(stderr, "generated %d titles x %d years on %s: %lld rows in %.1f s\n",
                 ctx.options.titles, ctx.options.years, g_OraDatabase->name().c_str(), rows, s);
    return true;
}

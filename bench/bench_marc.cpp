// Catalogue record throughput: parsing and writing ISO 2709 files of generated serial records
// (100,000 by default), and saving a record with its index rows on each backend. PostgreSQL
// runs when SERIALS_TEST_PG and SERIALS_TEST_PG_USER name a server where databases may be made.
//
//   bench_marc --generate FILE [COUNT]   writes the generated CNMARC file and stops (for
//                                        comparing with other MARC tools on the same bytes)
//   bench_marc --generate-usmarc FILE [MB]  the same with MARC 21 serial records in UTF-8,
//                                        until the file is MB megabytes (100 by default)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/basQKRegister.h"
#include "db/SchemaInstaller.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "marc/core/MarcIso.h"
#include "marc/core/basBMDefault.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"

namespace {

constexpr int kFileRecords = 100000;
const char* const kWords[] = {"中国", "图书馆", "学报", "研究", "现代", "科学", "技术", "管理",
                              "信息", "通讯",   "期刊", "工程", "教育", "经济", "文化", "评论"};

// One CNMARC serial record of about 320 bytes, varied by `n`.
MarcRec generated(int n) {
    auto word = [n](int k) { return std::string(kWords[(n * 7 + k * 3) % 16]); };
    std::vector<MarcItem> items = {
        {"011a", std::to_string(1000 + n % 9000) + "-" + std::to_string(1000 + n % 8999)},
        {"101a", "chi"},
        {"200a", word(0) + word(1) + word(2)},
        {"200f", word(3) + "编辑部编"},
        {"210a", "北京"},
        {"210c", word(4) + "出版社"},
        {"210d", std::to_string(1950 + n % 70)},
        {"215a", "册"},
        {"326a", "月刊"},
        {"606a", word(5) + word(6)},
        {"690a", "G" + std::to_string(n % 999)},
        {"701a", word(7) + "主编"},
        {"801a", "CN"},
        {"801b", "BENCH"},
    };
    MarcRec rec;
    rec.MarcType = "C";
    rec.DocTypeCode = "11";
    rec.LangCode = "CHI";
    rec.CountryCode = "CN";
    MarcBuildFromItems(items, rec, "2024-03-15");
    return rec;
}

const char* const kLatin[] = {"Revue",  "d'études",         "française", "Journal",
                              "of",     "applied",          "Société",   "Zeitschrift",
                              "für",    "Bibliothekswesen", "Ærø",       "Dvořák",
                              "review", "quarterly",        "science",   "Montréal"};

// One MARC 21 serial record in UTF-8 of about 900 bytes, varied by `n`: the fields and the mix
// of plain and accented Latin text of a union catalogue's serial records.
MarcRec generatedUs(int n) {
    auto word = [n](int k) { return std::string(kLatin[(n * 5 + k * 7) % 16]); };
    std::string year = std::to_string(1950 + n % 70);
    std::vector<MarcItem> items = {
        {"022a", std::to_string(1000 + n % 9000) + "-" + std::to_string(1000 + n % 8999)},
        {"041a", "engfre"},
        {"050a", "Z" + std::to_string(671 + n % 300)},
        {"050b", ".J" + std::to_string(n % 97)},
        {"082a", "020." + std::to_string(n % 1000)},
        {"110a", word(0) + " " + word(1) + " Association."},
        {"245a", word(2) + " " + word(3) + " " + word(4) + " " + word(5)},
        {"245b", "bulletin of the " + word(6) + " " + word(7) + " /"},
        {"245c", word(8) + " " + word(9) + " Society."},
        {"246a", word(10) + " " + word(11)},
        {"260a", "New York :"},
        {"260b", word(12) + " Press,"},
        {"260c", year + "-"},
        {"300a", "v. :"},
        {"300b", "ill. ;"},
        {"300c", "28 cm."},
        {"310a", "Quarterly"},
        {"362a", "Vol. 1, no. 1 (Jan. " + year + ")-"},
        {"500a", "Title from cover. Published by the " + word(13) + " " + word(14) + "."},
        {"650a", word(15) + " science"},
        {"650x", "Periodicals."},
        {"700a", word(1) + ", " + word(2) + "."},
        {"780t", word(3) + " " + word(4) + " newsletter"},
        {"785t", word(5) + " " + word(6) + " review"},
    };
    MarcRec rec;
    rec.MarcType = "U";
    rec.DocTypeCode = "11";
    MarcBuildFromItems(items, rec, "2024-03-15");
    rec.Leader[9] = 'a';
    return rec;
}

std::string generatedFile(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += MarcIsoWrite(generated(i), MarcEncoding::Gbk);
    return out;
}

const std::string& benchFile() {
    static const std::string file = generatedFile(kFileRecords);
    return file;
}

void BM_IsoParse(benchmark::State& state) {
    UnicodeMarcMode = state.range(0) == 1;
    const std::string& file = benchFile();
    for (auto _ : state) {
        MarcIsoReader reader(file, MarcEncoding::Gbk);
        MarcRec rec;
        std::string problem;
        int n = 0;
        while (reader.next(rec, problem) == MarcIsoReader::Result::Record)
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * kFileRecords);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(file.size()));
    UnicodeMarcMode = false;
}
BENCHMARK(BM_IsoParse)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);

void BM_IsoWrite(benchmark::State& state) {
    std::vector<MarcRec> records;
    MarcIsoReader reader(benchFile(), MarcEncoding::Gbk);
    MarcRec rec;
    std::string problem;
    while (reader.next(rec, problem) == MarcIsoReader::Result::Record)
        records.push_back(rec);
    MarcEncoding enc = state.range(0) == 1 ? MarcEncoding::Utf8 : MarcEncoding::Gbk;
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& r : records)
            bytes += MarcIsoWrite(r, enc).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(records.size()));
}
BENCHMARK(BM_IsoWrite)->Arg(0)->Arg(1)->ArgName("utf8")->Unit(benchmark::kMillisecond);

std::string pgBenchName() {
    return "serials_bench_marc_" + std::to_string(getpid());
}

std::string sqliteBenchFile() {
    return (std::filesystem::temp_directory_path() /
            ("serials-bench-marc-" + std::to_string(getpid()) + ".db"))
        .string();
}

ConnectParams pgAdmin() {
    const char* server = std::getenv("SERIALS_TEST_PG");
    const char* user = std::getenv("SERIALS_TEST_PG_USER");
    return ConnectParams{"PostgreSQL",     "postgres", server ? server : "",
                         user ? user : "", "",         false};
}

// Drops what the save benchmark made.
void dropBenchDatabases() {
    g_OraDatabase.reset();
    std::filesystem::remove(sqliteBenchFile());
    if (std::getenv("SERIALS_TEST_PG"))
        openPgBackend(pgAdmin())->execute("DROP DATABASE IF EXISTS " + pgBenchName() +
                                          " WITH (FORCE)");
}

// A fresh database of the backend with the session open on it and the index parameters read.
bool openFreshDatabase(bool postgres) {
    g_OraDatabase.reset();  // the database of an earlier run is dropped below
    ConnectParams p;
    if (postgres) {
        const char* server = std::getenv("SERIALS_TEST_PG");
        const char* user = std::getenv("SERIALS_TEST_PG_USER");
        if (!server || !user) return false;
        p = ConnectParams{"PostgreSQL", "serials_bench_marc_" + std::to_string(getpid()),
                          server,       user,
                          "",           false};
        ConnectParams admin = p;
        admin.dsn = "postgres";
        auto db = openPgBackend(admin);
        db->execute("DROP DATABASE IF EXISTS " + p.dsn);
        db->execute("CREATE DATABASE " + p.dsn +
                    " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
    } else {
        p.driver = "SQLite";
        p.dsn = (std::filesystem::temp_directory_path() /
                 ("serials-bench-marc-" + std::to_string(getpid()) + ".db"))
                    .string();
        std::filesystem::remove(p.dsn);
        p.create = true;
    }
    std::string message;
    if (installDatabase(*LIB_DB_OpenBackend(p), {}, message) < 0) {
        std::cerr << message << "\n";
        return false;
    }
    p.create = false;
    LIB_DB_ConnectParams() = p;
    if (LIB_DB_Connect() == 0 && LIB_LoadMarcIndexParams() == 0) return true;
    std::cerr << g_ErrInfo.strDesc << "\n";
    return false;
}

// Records per second of an import with the index: files of 2,000 generated CNMARC records
// imported one after another into the same database.
void BM_MarcImport(benchmark::State& state) {
    LIB_RegisterProcedures();
    if (!openFreshDatabase(state.range(0) == 1))
        return state.SkipWithError("database not available");
    LIB_DB_PinServerDate("2024-03-15 10:00:00");
    constexpr int kRecords = 2000;
    const std::string file = generatedFile(kRecords);
    for (auto _ : state) {
        std::istringstream in(file);
        MarcImportReport r = MarcImportStream(in, MarcFormat::Cnmarc, MarcEncoding::Gbk, {});
        if (r.saved != kRecords) return state.SkipWithError("records were not saved");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_MarcImport)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("postgres")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_MarcSaveWithIndex(benchmark::State& state) {
    LIB_RegisterProcedures();
    if (!openFreshDatabase(state.range(0) == 1))
        return state.SkipWithError("database not available");
    LIB_DB_PinServerDate("2024-03-15 10:00:00");
    int n = 0;
    for (auto _ : state) {
        MarcRec rec = generated(n++);
        if (!MarcSave(rec, 0, 0, "")) return state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MarcSaveWithIndex)->Arg(0)->Arg(1)->ArgName("postgres")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--generate-usmarc") {
        // Written as generated, so that a file of any size takes no memory.
        UnicodeMarcMode = true;
        std::ofstream out(argv[2], std::ios::binary);
        long long want = (argc >= 4 ? std::atoll(argv[3]) : 100) * 1000 * 1000;
        for (int n = 0; out.tellp() < want; ++n)
            out << MarcIsoWrite(generatedUs(n), MarcEncoding::Utf8);
        return 0;
    }
    if (argc >= 3 && std::string(argv[1]) == "--generate") {
        std::ofstream(argv[2], std::ios::binary)
            << generatedFile(argc >= 4 ? std::atoi(argv[3]) : kFileRecords);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    dropBenchDatabases();
    return 0;
}

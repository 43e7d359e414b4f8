// A library-sized database for benchmarks and for trying the program at scale: titles with
// their catalogue records, order catalogues of several distributors, subscribers with funds and
// distribution, check-in configured and predicted, and the issues that have arrived. The work
// is a list of steps; a later area appends its own (claims, binding, reports) and reads what
// the earlier steps wrote from the context or the database.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

struct GenerateOptions {
    int titles = 100;
    int years = 1;  // subscription years, ending with the current one
    unsigned seed = 1;
};

// Rows written a statement and rows a transaction. Many rows a statement and many statements a
// transaction are what make millions of rows take minutes rather than hours.
class BulkInsert {
public:
    // `parent`: the insert whose rows these refer to; its pending rows are written first.
    BulkInsert(std::string table, std::string columns, BulkInsert* parent = nullptr,
               std::size_t rowsPerStatement = 500)
        : head_(" INSERT INTO " + table + "(" + columns + ") VALUES "),
          parent_(parent),
          per_(rowsPerStatement) {}
    // One row of SQL values, already quoted ("'a',1,'b'"). 0, or -1 (g_ErrInfo).
    int add(const std::string& values);
    // Writes what is pending. 0, or -1 (g_ErrInfo).
    int flush();
    long long rows() const { return rows_; }

private:
    std::string head_;
    std::string sql_;
    BulkInsert* parent_;
    std::size_t per_;
    std::size_t pending_ = 0;
    long long rows_ = 0;
};

// A generated title and its place in the order tables.
struct GenTitle {
    std::string marcRecNo;
    bool chinese = true;
    char freqCode = 'f';
    std::string publCode;  // its distributor
    std::string asordNo;
    int firstVolumeYear = 2000;  // volume 1 appeared this year
    bool roman = false;
};

struct GenerateContext {
    GenerateOptions options;
    std::mt19937 rng;
    std::string today;  // server date "yyyy-mm-dd"
    int firstYear = 0;
    int lastYear = 0;
    std::vector<GenTitle> titles;
    // Progress: the step's name, units done and units in all.
    std::function<void(const std::string&, long long, long long)> progress;
    // Rows written by table, for the summary.
    std::vector<std::pair<std::string, long long>> written;
    // Every table written to, counted in the summary or not, each once: their planner
    // statistics are out of date once the steps are done.
    std::vector<std::string> tablesWritten;
    // Adds to the summary and to tablesWritten.
    void count(const std::string& table, long long n);
    void wrote(const std::vector<std::string>& tables);
};

struct GenerateStep {
    std::string name;
    std::function<int(GenerateContext&)> run;  // 0, or -1 with the failure in g_ErrInfo
};
// The steps in order; areas append theirs at registration.
std::vector<GenerateStep>& generateSteps();

// Runs every step, each in its own transactions. 0, or -1 after reporting the failure.
int GenerateLibrary(GenerateContext& ctx);

// The frequency code of the n-th of a thousand titles in the mix of a research library's print
// subscriptions (mostly monthly, bimonthly and quarterly, a few weekly and daily).
char GenFrequencyMix(int perMille);

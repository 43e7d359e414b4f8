// The fault test of a multi-row operation: fail each of its steps in turn (its begin, every
// statement and query, every savepoint, its commit), and after each failure find the tables as
// they were, no transaction left open and every message shown only after the rollback.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ProbeBackend.h"
#include "tests/support/ScriptedPresenter.h"

// Runs `op` (true when it reports success) failing step 1, 2, ... until a run passes every
// step; `snapshot` gives the rows the operation must leave alone when it fails. Returns what
// the failed steps were, so that a test can see its begin and commit among them.
inline std::vector<std::string> failEachStep(ProbeBackend& probe, ScriptedPresenter& presenter,
                                             const std::function<bool()>& op,
                                             const std::function<std::string()>& snapshot) {
    const std::string reference = snapshot();
    std::vector<std::string> failedSteps;
    for (int step = 1; step < 10000; ++step) {
        probe.reset();
        probe.failAt = step;
        presenter.shown.clear();
        const bool ok = op();
        probe.failAt = 0;
        if (probe.failed.empty()) {
            EXPECT_TRUE(ok) << "the run past the last step failed";
            break;
        }
        failedSteps.push_back(probe.failed);
        EXPECT_FALSE(ok) << "step " << step << " (" << probe.failed << ") failed unnoticed";
        EXPECT_EQ(snapshot(), reference) << "step " << step << " (" << probe.failed << ")";
        EXPECT_FALSE(g_blnInTrans) << "step " << step;
        EXPECT_FALSE(g_OraDatabase->inTransaction()) << "step " << step;
        for (const ShownMessage& m : presenter.shown)
            EXPECT_FALSE(m.inTransaction)
                << "step " << step << ": \"" << m.body << "\" shown while the transaction was open";
    }
    return failedSteps;
}

inline bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

// Every row of the tables, sorted, as text.
inline std::string tableRows(std::initializer_list<const char*> tables) {
    std::string out;
    for (const char* t : tables) {
        std::vector<std::string> rows;
        for (const auto& row : g_OraDatabase->query(std::string("SELECT * FROM ") + t).rows) {
            std::string line;
            for (const auto& v : row)
                line += v.str() + "|";
            rows.push_back(line);
        }
        std::sort(rows.begin(), rows.end());
        out += t;
        for (const auto& l : rows)
            out += "\n  " + l;
        out += "\n";
    }
    return out;
}

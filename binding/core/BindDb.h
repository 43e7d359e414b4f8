// Small pieces the binding core shares: reading result cells, quoting lists, today's date, and
// running one operation in one transaction with its failure shown after the rollback.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/LibArray.h"

namespace binddb {

// What an operation's work returns besides 0: a database failure (in g_ErrInfo, shown after
// the rollback) or a refusal whose message the work has already shown.
constexpr int kDbFailed = -1;
constexpr int kRefused = -2;

// Data row i (from 0), column c.
inline std::string cell(const LibArray& a, int c, int i) {
    return a(c, i + 2).str();
}
inline long long number(const LibArray& a, int c, int i) {
    return a(c, i + 2).integer();
}
// "('a','b')" for an IN list; the values are quoted.
std::string inList(const std::vector<std::string>& values);
// The server's date "yyyy-mm-dd" and date and time; only inside inTransaction, which turns
// a failure to read them into the operation's failure.
std::string today();
std::string now();
// Runs `work` in one transaction: 0 when it and the commit succeeded, else -1 after the
// rollback and the message.
int inTransaction(const std::function<int()>& work);
// Shows a message and gives kRefused, for refusals inside a work.
int refuse(const std::string& message);

}  // namespace binddb

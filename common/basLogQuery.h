// Reading the operation log: who did what, when and where, for the log viewer and serialsctl.
#pragma once

#include <string>
#include <vector>

#include "db/LibArray.h"

struct LogFilter {
    std::string from;     // "yyyy-mm-dd", inclusive; empty: no lower bound
    std::string to;       // "yyyy-mm-dd", inclusive; empty: no upper bound
    std::string wkrNo;    // operator; empty: all
    std::string logType;  // operation code; empty: all
};

// Columns of the result, in order.
inline constexpr const char* kLogColumns[] = {"日期",   "时间",  "操作代码", "操作",    "操作员",
                                              "工作站", "地点",  "关键字1",  "关键字2", "关键字3",
                                              "说明1",  "说明2", "说明3"};

// What the three keys and three notes (columns 关键字1-3, 说明1-3) hold for an operation code;
// the plain column names for an operation whose keys are not described.
std::vector<std::string> LIB_LogKeyCaptions(const std::string& logType);

// Log rows matching the filter, newest first, with the operation's name. 0, or -1 after the
// failure was shown (a start date after the end date: EQK112).
int LIB_QueryOpLog(const LogFilter& filter, LibArray& rows);

// Operation codes with their names, for the viewer's choice list. 0 or -1 (shown).
int LIB_LoadLogTypes(LibArray& types);

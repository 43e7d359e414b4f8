// Planner statistics after a large load: a capability of the backends beside DbBackend, for the
// few callers that fill tables in bulk.
#pragma once

#include <string>
#include <vector>

class DbStatistics {
public:
    virtual ~DbStatistics() = default;
    // Brings the planner's statistics of these tables up to date. Throws DbError.
    virtual void analyze(const std::vector<std::string>& tables) = 0;
};

// The tables' statistics brought up to date on the session's database, where its backend keeps
// any. 0, or -1 with the failure in g_ErrInfo.
int LIB_DB_Analyze(const std::vector<std::string>& tables);

// The operation log and the workload counters. Screens write both after their own changes and
// before they commit, so that a rolled-back change leaves neither.
#pragma once

#include <string>

// Logs one business operation through the database procedure xt_log_detl. key2 and key3 are
// "0" for an operation without them. 0, or -1 with the failure in g_ErrInfo.
int LIB_WriteOpLog(const std::string& code, const std::string& key1, const std::string& key2 = "0",
                   const std::string& key3 = "0", const std::string& text1 = "",
                   const std::string& text2 = "", const std::string& text3 = "");
// The same for an operation of someone not logged in (a failed login): operator number,
// workstation and location as given.
struct OpLogActor {
    std::string wkrNo;
    std::string computer;
    std::string location;
};
int writeOpLogAs(const OpLogActor& actor, const std::string& code, const std::string& key1,
                 const std::string& key2 = "0", const std::string& key3 = "0",
                 const std::string& text1 = "", const std::string& text2 = "",
                 const std::string& text3 = "");
// Adds titles, volumes and an amount to the operator's counter for the job type and the day.
int LIB_AddJobQty(const std::string& jobType, long long kind, long long volume, double amount);

// xt_log_detl and XT_wkr_job_qty in the procedure registry.
void registerOpLogProcedures();

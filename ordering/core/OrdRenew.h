// Subscription renewal: the order catalogues of a source year, for the distributors chosen, are
// copied with their details, subscriber, fund and distribution lines into a new year batch as
// unsent orders. Questions about orders already in the target are asked before each
// catalogue's transaction (or answered in advance), so no box is ever up while it is open.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/LibArray.h"

// The answer to "keep what is already in the target?", asked or decided before the run.
enum class RenewAnswer { Ask, Keep, Replace };
// What a failed catalogue means for the rest of the run.
enum class RenewOnError { NextDistributor, StopRun };

struct RenewOptions {
    std::string sourceYear;          // four digits
    std::vector<std::string> publs;  // distributors ticked
    bool byYear = true;              // else into the one named catalogue
    std::string newYear;             // by year: four digits
    std::string newCata;             // named: six characters
    // Title order states carried over: normal (any code but 1-3), 改名刊, 停刊, 停订刊.
    bool normal = true, renamed = true, ceased = true, stopped = true;
    // Only titles the distributor's pre-order catalogue of the new year offers.
    bool onlyOffered = false;
    RenewAnswer existing = RenewAnswer::Ask;
    RenewOnError onError = RenewOnError::NextDistributor;
    // Details written per statement; progress is reported, and an abort honoured, between
    // these groups, so an abort always leaves whole details.
    int detailsPerStep = 50;
};

struct RenewProgress {
    int done = 0;   // details handled (copied or kept)
    int total = 0;  // details the run will handle
    std::string text;
};
// Called between groups of details; returning false stops the run after what is written.
using RenewProgressFn = std::function<bool(const RenewProgress&)>;

struct RenewResult {
    int catalogues = 0;  // catalogues committed
    int copied = 0;      // details copied
    int kept = 0;        // details left as they were in the target
    int failed = 0;      // catalogues rolled back
    bool aborted = false;
};

// Source years: the distinct years of the order catalogues, newest first. 0, or -1 (g_ErrInfo).
int intRenewSourceYears(std::vector<std::string>& years);
// Distributors of serials with catalogues in the year: publ_code, publ_name. 0, or -1.
int intRenewPublishers(const std::string& year, LibArray& rows);

// Runs a renewal: the conditions and the confirmation, clearing the target, then one
// transaction per source catalogue. 0 finished without a failure, 1 refused or not confirmed
// (nothing written), -1 a catalogue failed (reported; the others stand as the log says).
int intRenewOrders(const RenewOptions& o, RenewResult& result,
                   const RenewProgressFn& progress = {});
bool IsRenewRunning();
// The run log of the last renewal, rewritten by each run.
std::string strRenewLogPath();

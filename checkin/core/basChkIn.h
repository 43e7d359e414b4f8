// Receiving the issues of a subscribed title: an order line with its receiving locations and
// their distribution, the expected issues of a location with the copies received there, and
// every change the check-in screen makes (check-in and its removal copy by copy, combining,
// deleting issues or a whole location, holdings statements, the order line itself). Each change
// is one transaction, logged and counted inside it; a refusal or a failure is shown to the
// operator and leaves the tables as they were.
#pragma once

#include <string>
#include <vector>

#include "checkin/core/ChkTypes.h"
#include "db/LibArray.h"

// A distribution line of a receiving location: copies sent on to a sub-location.
struct ChkInDist {
    std::string distLoca;
    int qty = 0;
    std::string label;
};

// A receiving location of an order line.
struct ChkInLocation {
    std::string location;
    int subQty = 0;           // copies subscribed for the location
    bool configured = false;  // a check-in configuration row exists
    std::vector<ChkInDist> dists;
    int distributedQty() const;
};

// The order line as the check-in screen shows and edits it.
struct ChkInOrderLine {
    ChkOrderKey key;
    std::string marcRecNo, title, issn, getMode, carrier, publFreq, moneyCode, kindNo, periType,
        periPrice, periTotalPrice, forePrice, foreTotalPrice, remark, ordFlag;
    int periOrdQty = 0;
};

// An expected issue with the copies received at the location the grid shows.
struct ChkInIssue {
    std::string periId, coverVol, coverIssue, coverIssueTotal, carrierCode, expectDate, aslackDate,
        publYear, remark, attachment, issueTitle, finishFlag, periType, beginVol, endVol,
        beginIssue, endIssue;
    int periNo = 0;
    int received = 0;
};

enum class ArrivalState { Expected, Late, Partial, Arrived };

// Arrived with as many copies as subscribed, partly arrived with some; without copies an issue
// is late once its claim date (or, without one, its expected date) is before today.
ArrivalState IssueArrival(const ChkInIssue& issue, int subscribed, const std::string& today);
// "已到", "部分到", "逾期未到", "未到".
std::string ArrivalText(ArrivalState state);
// The tip of a grid row: "复本：3  已签：1  未签：2".
std::string ArrivalTip(const ChkInIssue& issue, int subscribed);
// The label of an issue type ("普通刊", "增刊", ... "合刊"); the code itself when unknown.
std::string PeriTypeLabel(const std::string& periType);

// The issue a scan checks in: the first (by peri_no) not fully arrived issue, and with an
// add-on the first such issue whose issue number is the add-on's. -1 when there is none.
int PickScannedIssue(const std::vector<ChkInIssue>& issues, int subscribed,
                     const std::string& addOn);

// Loading. 0, or -1 with the failure in g_ErrInfo; the order line 1 when there is none.
int intLoadChkOrderLine(const ChkOrderKey& key, ChkInOrderLine& line);
int intLoadChkLocations(const ChkOrderKey& key, std::vector<ChkInLocation>& locations);
int intLoadChkIssues(const ChkOrderKey& key, const std::string& location,
                     std::vector<ChkInIssue>& issues);
// The years of the order line's expected issues, ascending.
int intLoadChkYears(const ChkOrderKey& key, std::vector<std::string>& years);

// True when the operator may work on the location (one of the operator's locations, or an
// operator with the special right). The guarded form shows "你没有操作该订户的权限。".
bool LocationAllowed(const std::string& location);
bool CheckLocationRight(const std::string& location);

// Checks in the issues at the location: each distribution line gets its copies up to its
// quantity, numbered on from the copies already there. Logged as 50023 and counted as job 505.
// With maxCopies >= 0 at most that many copies of each issue arrive now (a partial delivery),
// filling the distribution lines in order. The number of copies added (0 when all had arrived
// already), or -1 (refused or failed; shown).
int intCheckInIssues(const ChkInOrderLine& line, const ChkInLocation& location,
                     const std::vector<std::string>& periIds, int maxCopies = -1);
// Removes the copies at the desk ('0') above the copies already processed further, per
// sub-location; processed copies stay. Logged as 50024. The number removed, or -1.
int intUndoCheckIn(const ChkInOrderLine& line, const ChkInLocation& location,
                   const std::vector<std::string>& periIds);

// Merges the selected issues (in peri_no order) into the first after "是否确认合并选择卷期。".
// The claims of every merged issue are removed with them. 0 done, 1 not confirmed, -1 refused
// or failed (shown).
int intCombineIssues(const ChkInOrderLine& line, const std::string& location,
                     const std::vector<std::string>& periIds);
// Deletes the selected issues that have no copies, with their notices and claims, after
// "是否确认删除选择卷期。", and renumbers the rest. The number deleted, 0 also when not
// confirmed, or -1.
int intDeleteIssues(const ChkInOrderLine& line, const std::string& location,
                    const std::vector<std::string>& periIds);
// Deletes every expected issue of the order line with its copies, notices and claims after
// "是否确认删除所有卷期信息。", so that the line is predicted again. 0, 1 not confirmed, -1.
int intDeleteAllIssues(const ChkInOrderLine& line, const std::string& location);
// Deletes a receiving location without check-ins after "是否确认删除选择订户。". 0, 1, -1.
int intDeleteSubLocation(const ChkInOrderLine& line, const ChkInLocation& location);

// Numbers the order line's issues 1, 2, ... in their old order, writing only the numbers that
// change, inside the caller's transaction. 0, or -1 at the first failing statement.
int renumberChkIssues(const ChkOrderKey& key);

// Holdings statements of a title: one per year and location.
struct LocaRec {
    std::string publYear, statement, location;
};
int intLoadLocaRecs(const std::string& marcRecNo, std::vector<LocaRec>& recs);
// Replaces the statements of the rows given; an empty statement removes the year's row.
// 0, or -1 (refused or failed; shown).
int intSaveLocaRecs(const std::string& marcRecNo, const std::vector<LocaRec>& recs);
// The order line and location of an expected issue (for a check-in by its key). 0, 1 when there
// is no such issue, -1 (g_ErrInfo).
int intFindIssueLine(const std::string& periId, ChkOrderKey& key);

// The title's accessioned bound volumes: call_no, prop_no, bar_code, dis_location, year-volume,
// book_stat_code, price, carrier_code, in_date, rec_flag_upt_date, attachment, resp_wkr, remark.
int intLoadBoundVolumes(const std::string& marcRecNo, LibArray& rows);

// Writes the editable columns of the order line. 0, or -1 (shown).
int intSaveChkOrderLine(const ChkInOrderLine& line, const std::string& location);

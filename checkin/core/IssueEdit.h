// Expected issues edited by hand: one issue with its copies at a receiving location (the issue
// detail screen), and a run of further issues appended to an order line (batch issues). Each
// change is one transaction with its log row; a refusal or a failure is shown and leaves the
// tables as they were.
#pragma once

#include <string>
#include <vector>

#include "checkin/core/basChkIn.h"

// An expected issue as the detail screen edits it; periId is empty for an issue added by hand.
struct IssueDraft {
    std::string periId, coverVol, coverIssue, coverIssueTotal, expectDate, aslackDate, publYear,
        attachment, issueTitle, remark;
    std::string periType = "0";
    int periNo = 0;
};

struct IssueCopy {
    std::string disLocation, itemStat, chkDate, connDate;
    int itemNo = 0;
};
struct IssueClaim {
    std::string date, worker, remark;
    int qty = 0;
};
struct IssueNotice {
    std::string readerCode, readerName, date;
};

// What the detail screen shows of one issue at one location.
struct IssueDetail {
    IssueDraft issue;
    std::vector<IssueCopy> copies;   // by sub-location and copy number
    std::vector<IssueClaim> claims;  // oldest first
    std::vector<IssueNotice> notices;
};

// Reads the issue and its copies, claims and notices at the location in four queries.
// 0; 1 when there is no such issue; -1 with the failure in g_ErrInfo.
int loadIssueDetail(const std::string& periId, const std::string& location, IssueDetail& detail);

// The copies wanted of the issue at one sub-location of the location.
struct IssueCopyCount {
    std::string disLocation;
    int copies = 0;
};

// "卷，期，总期不能全部为空。" when the issue has no number at all; empty when it may be saved.
std::string issueDraftProblem(const IssueDraft& issue);

// Saves the issue: a new one gets the next key, comes after the order line's last issue and
// takes its claim date from the line's claim days when none is given; an existing one is
// updated. Then the copies at the location are brought to the counts given per sub-location:
// missing copies are checked in numbered on, copies above the count leave, which is refused
// ("已交接的复本不能删除。") for a copy no longer at the check-in desk. Logged as 50026.
// 0 (issue.periId then holds the key), or -1 (refused or failed; shown).
int saveIssue(const ChkInOrderLine& line, const std::string& location, IssueDraft& issue,
              const std::vector<IssueCopyCount>& counts);

// A run of further issues: the numbering of check-in prediction from the first volume, issue
// and running issue, and expected dates on the title's frequency from `firstDate` on.
struct IssueBatch {
    int begVol = 0, begIssue = 0, begTotal = 0, perVol = 0, volBegIssue = 0, count = 0;
    bool issueContinue = false;
    std::string firstDate;  // "yyyy-mm-dd"
};

// The first check the batch fails, as the message shown; empty when it passes them all.
std::string issueBatchProblem(const IssueBatch& batch);
// Proposes the run that follows the line's last issue: numbers one on, the issues per volume of
// the line, and the first slot of the frequency after the last expected date. 0 or -1.
int issueBatchDefaults(const ChkInOrderLine& line, IssueBatch& batch);
// Appends the run to the order line (ordinary issues, peri_type '0'), writes the issues per
// volume to the line and renumbers its issues, logged as 50025. The number of issues added, or
// -1 (refused or failed; shown).
int addIssueBatch(const ChkInOrderLine& line, const std::string& location, const IssueBatch& batch);

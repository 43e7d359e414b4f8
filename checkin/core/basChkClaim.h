// Claims for missing issues: the search for issues to claim (one statement over the copies still
// owed), the claim rules, recording claims, the claim list and the claim mail to one supplier.
#pragma once

#include <string>
#include <vector>

#include "common/Mailer.h"

// The filters of the claim screen; an empty value stands for "<不定>" (any).
struct ClaimFilter {
    std::string year;  // subscription year, four digits
    std::string location;
    std::string asordNo;
    std::string getMode;
    std::string docType;
    std::vector<std::string> publCodes;  // suppliers chosen in lstPubl; empty: every supplier
    std::string idxGroup;                // MARC index group of the search text
    std::string searchText;
    // Every order line on purpose (a run from cron names no year); otherwise at least one of
    // year, location, order number, acquisition mode or search text is required.
    bool anyOrder = false;
};

// The three lists of optShowType, in the order of its buttons.
enum class ClaimList {
    ToClaim = 0,            // issues due for a claim now
    ToClaimAfterLater = 1,  // the same, only where a later issue of the line has arrived
    Claimed = 2,            // issues claimed before, with their count and latest claim date
};

struct ClaimCandidate {
    std::string periId, publCode, location, periOrdYear, asordNo, title, issn, publYear, cover,
        expectDate, marcRecNo, publFreq, label;
    int subQty = 0;
    int aslackSecond = 0;
    int aslackThird = 0;
    int periNo = 0;
    int received = 0;
    int claimCount = 0;
    std::string lastClaimDate;  // empty when never claimed
    int missing() const { return subQty - received; }
    // Proposed as the copies missing; the operator may change it before recording.
    int qty = 0;
    std::string remark;
};

// "yyyy-mm-dd" moved by `days`; empty when the text is not a date.
std::string claimDateAdd(const std::string& date, int days);

// The claim rules for one issue at one location on `today`: copies missing, and a first claim,
// or a second `aslack_second` days after the latest claim, or a third `aslack_third` days after
// it; never a fourth.
bool claimIsDue(int missing, int claimCount, const std::string& lastClaimDate, int aslackSecond,
                int aslackThird, const std::string& today);

enum class ClaimSearchResult { Found, Nothing, NoCondition, BadSearchText, DbError };

// The choices of the claim screen's filters: subscription years (newest first), subscriber
// locations, and the MARC index groups (group, name). 0, or -1 with g_ErrInfo set.
int claimLoadChoices(std::vector<std::string>& years, std::vector<std::string>& locations,
                     std::vector<std::pair<std::string, std::string>>& groups);

// The statement claimSearch runs for a filter without search text, for a look at its plan.
std::string claimSearchStatement(const ClaimFilter& filter, ClaimList list,
                                 const std::string& today);

// Fills `rows` with the chosen list on the server's `today` ("yyyy-mm-dd"). The list to claim is
// ordered by running issue number, the claimed list by latest claim date, newest first.
// NoCondition: no year, location, order number, acquisition mode or search text was given.
// BadSearchText: the text makes no key of its index group. DbError: g_ErrInfo holds the failure.
ClaimSearchResult claimSearch(const ClaimFilter& filter, ClaimList list, const std::string& today,
                              std::vector<ClaimCandidate>& rows);

// The same search for a screen or a command: shows EQK001, EBM003, the database error or the
// empty-list message of its own. 0 with rows, 1 when nothing was found, -1 on failure.
int intFindClaims(const ClaimFilter& filter, ClaimList list, std::vector<ClaimCandidate>& rows);

// Records one claim per row (its quantity and remark) with today's server date and the
// logged-in operator, and writes the operation log, in one transaction. 0, or -1 after the
// rollback with the failure in g_ErrInfo (not shown).
int claimRecord(const std::vector<ClaimCandidate>& rows);
// claimRecord with the messages of the claim screen: "I催缺完成！" or the database error.
int intRecordClaims(const std::vector<ClaimCandidate>& rows);

// The columns of the printed and mailed claim list.
const std::vector<std::string>& claimListHeaders();
// One row of the claim list, in the order of claimListHeaders(), for a claim dated `claimDate`
// by `operatorNo`. The claim count is that of the claim being made (one more than before) when
// `newClaim`, else the claims already recorded.
std::vector<std::string> claimListRow(const ClaimCandidate& c, const std::string& claimDate,
                                      const std::string& operatorNo, bool newClaim);
// Writes the claim list as a spreadsheet; 0, or -1 with the reason in `error`.
int claimWriteXlsx(const std::string& path, const std::vector<ClaimCandidate>& rows,
                   const std::string& claimDate, bool newClaim, std::string& error);
// Writes the claim list as comma-separated text (UTF-8); 0, or -1 with the reason in `error`.
int claimWriteCsv(const std::string& path, const std::vector<ClaimCandidate>& rows,
                  const std::string& claimDate, bool newClaim, std::string& error);

// A claim mail ready to send: the sender, recipient, subject and body of the claim letter.
// The claim mail is a mail to a supplier like any other.
using ClaimMail = SupplierMail;
// The mail to `publCode` on `claimDate`: its address from publish_busi, the sender and telephone
// of the logged-in operator (or the mail settings). -1 with g_ErrInfo on a database failure.
int claimPrepareMail(const std::string& publCode, const std::string& claimDate, ClaimMail& mail);
// The checks of the mail screen, in order; empty when the mail may go, else the message.
std::string claimMailProblem(const ClaimMail& mail);
// Records the claims of `rows` and sends the mail with the claim list attached, as one piece of
// work: when the mail cannot be sent nothing is recorded. 0, or -1 with the reason in `error`
// (the transport's text, or the database error in g_ErrInfo when `dbFailed`).
int claimSendMail(const ClaimMail& mail, const std::vector<ClaimCandidate>& rows,
                  std::string& error, bool& dbFailed);

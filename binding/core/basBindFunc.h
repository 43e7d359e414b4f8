// Binding checked-in copies into volumes: finding titles with copies to bind, cutting their
// issues into binding records, editing and deleting records, the binder's batches, and
// receiving the bound volumes back. Every change is one transaction; a routine returns 0 on
// success and -1 after it has shown the refusal or the database error.
#pragma once

#include <optional>
#include <string>
#include <vector>

// How titles to bind are found: a MARC index group (its code, "01" title ...), or the order
// line's title code or order number.
enum class BindSearchField { IndexGroup, PublCode, AsordNo };

struct BindSearch {
    BindSearchField field = BindSearchField::IndexGroup;
    std::string group = "01";
    std::string text;
    std::string year;   // publication year of the issues; empty: any
    bool keep = false;  // leave out the kept issues (needs a year)
};

// One title at one receiving location and sub-location with copies available for binding.
struct BindTitle {
    std::string marcRecNo, title, publCode, periOrdYear, asordNo, location, disLocation;
    int issues = 0;  // issues with at least one available copy
    int copies = 0;  // available copies of those issues
};

// One issue of a title with its available copies at the title's location and sub-location.
struct BindIssue {
    std::string periId, coverVol, coverIssue, publYear, periType, beginIssue, endIssue;
    int copies = 0;
    double price = 0;  // the order line's price of one issue
};
// The volume and issue of an issue as a binding record's range shows them ("12(3)").
std::string strIssueLabel(const BindIssue& issue);

// Titles matching the search, by record, location and sub-location.
int intFindBindTitles(const BindSearch& search, std::vector<BindTitle>& titles);
// The title's issues with available copies in the year (empty: any), volume then issue in
// numeric order ("2" before "10"); with `keep`, the title's kept issues are left out.
int intLoadBindIssues(const BindTitle& title, const std::string& year, bool keep,
                      std::vector<BindIssue>& issues);

struct BindCreate {
    std::string binder, batchNo;
    std::optional<bool> keep;  // the kept-issue choice, which the operator must make
    std::string year;
    int copies = 1;  // copies to bind: one binding record per copy of each run
};

// Cuts each title's issues into runs of its `bind_item_qty` and writes one binding record per
// run and copy, each taking the highest-numbered available copy of its issues; a last,
// shorter run becomes a record too. The new binding numbers are added to `bindNos`.
int intCreateBindRecords(const BindCreate& request, const std::vector<BindTitle>& titles,
                         std::vector<std::string>& bindNos);

// The call number of a record: the one given out in call_no_lst, else 905$d of the record.
// Inside the caller's work: 0, or -1 with the failure in g_ErrInfo.
int intRecordCallNo(const std::string& marcRecNo, std::string& callNo);

// The next binding number of the year, read inside the caller's transaction.
std::string strNextBindNo(const std::string& year);

// A binding record as the lists and the receiving screen show it.
struct BindRecord {
    std::string bindNo, marcRecNo, getModeCode, carrierCode, binder, batchNo;
    int boundFlag = 0;
    std::string title, bgnEndYear, bgnEndVol, callNo, isbn, bookSize, color, frame, remark;
    int qtyOfBind = 0;
    double boundEditPrice = 0, boundPrice = 0;
    std::string bindName;  // the catalogue title (read only)
    std::string propNo;    // the volume's property number once accessioned (read only)
};
int intLoadBindRecord(const std::string& bindNo, BindRecord& record);
// Records of a batch (both empty: every record), by binding number.
int intListBindRecords(const std::string& binder, const std::string& batchNo,
                       std::vector<BindRecord>& records);
// Records in one state (0 at the binder, 1 checked, 2 accessioned), by binding number.
int intListBindRecordsByFlag(int boundFlag, std::vector<BindRecord>& records);
// The copies bound in a record: peri_id, location, dis_location, item_no, in issue order.
struct BoundCopy {
    std::string periId, location, disLocation, coverVol, coverIssue, publYear;
    int itemNo = 0;
};
int intLoadBoundCopies(const std::string& bindNo, std::vector<BoundCopy>& copies);

// Adds the highest available copy of an issue at a location and sub-location to a record.
int intAddBindIssue(const std::string& bindNo, const std::string& periId,
                    const std::string& location, const std::string& disLocation);
// Takes a copy out of its record; it goes back to the desk ('0'), or to '1' when it had been
// handed over.
int intRemoveBindIssue(const std::string& bindNo, const BoundCopy& copy);
// Cut and paste: moves a copy to another record. A copy of another title asks first; 1 when
// the operator declines.
int intMoveBindIssue(const std::string& fromBindNo, const BoundCopy& copy,
                     const std::string& toBindNo);
// Rewrites the record's spine title, ranges, call number, size, colour, frame and remark.
int intSaveBindRecord(const BindRecord& record);
// Deletes the records after "Q是否确认删除选择合订本。": their copies go back, any volume
// accessioned from them leaves item and indi_acct. 0 deleted, 1 not confirmed, -1 failed.
int intDeleteBindRecords(const std::vector<std::string>& bindNos);

struct BindBatch {
    std::string binder, batchNo, remark, sendDate, respWkr;
    int records = 0;  // binding records in the batch (read only)
};
// Inserts or rewrites the batch of the binder.
int intSaveBindBatch(const BindBatch& batch);
// Batches of a binder sent in the date range (empty bounds: open), `used` filters on whether
// binding records use them.
int intListBindBatches(const std::string& binder, const std::string& from, const std::string& to,
                       std::optional<bool> used, std::vector<BindBatch>& batches);
// Deletes a batch after asking; refused while a binding record uses it.
int intDeleteBindBatch(const std::string& binder, const std::string& batchNo);
// The batch goes to the binder today, under the operator.
int intSendBindBatch(const std::string& binder, const std::string& batchNo);
// The binder's price of a volume of the book size (by code), and the size's name.
int intBindPrice(const std::string& binder, const std::string& sizeCode, double& price,
                 std::string& sizeName);

struct CodeName {
    std::string code, name;
};
// What the binding screen offers in its lists: sub-locations and publication years of the
// checked-in issues, binders, MARC index groups and the book sizes in use.
struct BindChoices {
    std::vector<std::string> disLocations, years;
    std::vector<CodeName> binders, groups, bookSizes;
};
int intLoadBindChoices(BindChoices& choices);
int intListBinders(std::vector<CodeName>& binders);

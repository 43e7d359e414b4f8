// Order number forms, row keys, the look-back to a title's previous batch, order catalogues
// (create, re-key, delete, list) and the price arithmetic shared by the ordering screens.
#pragma once

#include <string>
#include <vector>

#include "db/LibArray.h"

// The normalised order number: "2-15" gives "0002-0015"; numbers without a hyphen at
// positions 2 to 5 stay as they are.
std::string strFormatAsordNo(const std::string& asordNo);

// Grid and tree key of an order detail: publ_code|peri_ord_year|asord_no|marc_rec_no.
std::string strOrdRowKey(const std::string& publ, const std::string& year,
                         const std::string& asordNo, const std::string& marcNo);
// The same key as an SQL expression over the order detail columns of table alias `a`.
std::string strOrdRowKeySql(const std::string& a);
std::string strAsordRowKeySql(const std::string& a);
// The key's four parts (missing parts empty).
struct OrdRowKey {
    std::string publ, year, asordNo, marcNo;
};
OrdRowKey SplitOrdRowKey(const std::string& key);

// The latest earlier batch of the same order number that was sent (any distributor): one row
// with publ_code, peri_ord_year and the check-in settings a send carries over, or none.
// 0, or -1 with the failure in g_ErrInfo.
int intLookBackDetl(const std::string& year, const std::string& asordNo, LibArray& row);

// Added to the SET list of every UPDATE of m_peri_ord_detl, so that an order list that read the
// detail before the change refuses to save over it.
std::string strOrdVersionBump();
// The refusal of a write to a detail another workstation changed or deleted since it was read.
std::string strOrdChangedElsewhere(const std::string& asordNo);

// Check-in predicted a detail's expected issues from its frequency, so once check-in has begun
// (the detail is marked checking in or finished, or issues are registered for it) the order side
// no longer changes the frequency. The condition as an SQL expression giving 1 or 0 over the
// order detail columns of table alias `a`.
std::string strOrdCheckInBegunSql(const std::string& a);
// A frequency an order-side writer is about to give a saved detail of the catalogue.
struct OrdFreqChange {
    std::string asordNo;
    std::string freq;
};
// Inside the writer's transaction, one statement for all the changes: `refusal` names the begun
// details whose frequency would differ ("订购号为：…的记录已经开始签收，不能修改出版频率！"),
// empty when every change may be written; `held`, when given, gets those details' numbers.
// 0, or -1 (g_ErrInfo).
int intCheckInFreqRefusal(const std::string& publ, const std::string& year,
                          const std::vector<OrdFreqChange>& changes, std::string& refusal,
                          std::vector<std::string>* held = nullptr);

// finish_flag of an expected issue: '1' once every receiving subscriber location of its order
// line (chk_stat '1') has all the copies it subscribes, else '0' (also for a line with no
// receiving location); then the issues' owed copies (below). The claim search reads only these,
// so every change to copies or subscribers refreshes the issues it touches, in its own
// transaction. `issueWhere` is a condition on m_peri_chk_vol's own columns (no "WHERE").
// Inside the caller's transaction: 0, or -1 (g_ErrInfo).
int intRefreshIssueFinish(const std::string& issueWhere);
// The shelf label an order line's location gives its copies, as a scalar subquery: `line` is the
// alias of a row holding the line's keys, `location` the location's expression. MIN(label||'')
// rather than MIN(label): PostgreSQL would answer the bare MIN by walking the whole label index
// for each row until it met this line's distribution.
std::string strLocationLabelSql(const std::string& line, const std::string& location);
// The rows of m_peri_chk_lack for the issues: each open issue's subscriber locations short of
// copies, with their claim count, latest claim date, shelf label and the issue's own columns,
// written afresh. For issues made, changed or renumbered, or claims removed, without a change to
// copies; "" is every issue of the library. Inside the caller's transaction: 0, or -1
// (g_ErrInfo).
int intRefreshIssueLack(const std::string& issueWhere);
// The same for every issue of one order line.
int intRefreshLineFinish(const std::string& publ, const std::string& year,
                         const std::string& asordNo);

// Exact decimal text times a whole number ("1.1" x 12 = "13.2"); "" for text that is no number.
std::string strDecimalTimes(const std::string& value, long long n);
// The annual price for a unit price: price x issues a year of the frequency name in the batch's
// year; "" when the frequency gives no issue count or the price is empty.
std::string strAnnualPrice(const std::string& price, const std::string& freqName,
                           const std::string& ordYear);

// Order catalogues with peri_ord_flag '0' or '1', optionally within a range of year batches
// (empty bounds: no limit), by batch: publ_code, publ_name, peri_ord_year, peri_ord_date,
// peri_ord_flag, detail count. 0, or -1 with the failure in g_ErrInfo.
int intGetOrdCata(const std::string& fromYear, const std::string& toYear, LibArray& rows);
// A year batch is four digits of year and two of batch number.
bool IsValidOrdYear(const std::string& year);
// Creates an empty catalogue dated today for the operator. 0, or -1 after the message.
int intNewOrdCata(const std::string& publ, const std::string& year);
// The same for a catalogue that may exist already (or be created by another workstation at
// the same moment): created when missing, else left as it is. 0, or -1 after the message.
int intEnsureOrdCata(const std::string& publ, const std::string& year);
// Gives a catalogue another distributor or batch with all its rows. 0, or -1 after the message.
int intRenameOrdCata(const std::string& publ, const std::string& year, const std::string& newPubl,
                     const std::string& newYear);
// Deletes a catalogue after "Q是否删除订购目录" (unless `ask` is false): refused when it is
// sent and not empty. Its details' catalogue records go with it, except those another order
// detail still carries. 0 deleted, 1 not confirmed, -1 refused or failed (message shown).
int intDeleteOrdCata(const std::string& publ, const std::string& year, bool ask = true);

// The text a grid shows for a value of a grid key: state, kind and flag codes by their names,
// code-table codes by their names, anything else as it is.
std::string strOrdGridText(const std::string& key, const std::string& value);

// Inside the caller's transaction: deletes the catalogue records of the list that no order
// detail carries any more. 0, or -1 (g_ErrInfo).
int intDeleteUnorderedMarc(const std::vector<std::string>& recNos);

// Catalogue records for an order: an ISSN or an ISBN (typed in any of their forms) by its index
// (group 03 or 04); anything else by title prefix (01), then ISSN (03), then author (02): record
// number, title, author, publisher, ISSN. 0, or -1 (g_ErrInfo).
int intOrdMarcFind(const std::string& text, LibArray& rows);
// Duplicate check of a detail's title: other records with the same title key, and other
// details of the same year that carry the same record. Each finding is one line.
int intOrdCheckRepeat(const std::string& publ, const std::string& year, const std::string& asordNo,
                      const std::string& marcNo, const std::string& title,
                      std::vector<std::string>& findings);

// Fund sources a location may charge (sub_acct rows in use): location, fund_src_code,
// fund_src_name, for every location at once, ordered by location and fund source.
int intGetSubAcct(LibArray& rows);

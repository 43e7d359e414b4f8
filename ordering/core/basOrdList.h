// The order list's database work on order details (ordering/core/OrdDetail.h): loading a
// catalogue in a fixed number of queries, validation, saving one detail per transaction,
// deleting, the finishing mark, the integrity check and pre-order items taken over as new
// details.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "db/LibArray.h"
#include "ordering/core/OrdDetail.h"

// What a catalogue's details add up to: titles, copies, the annual price of all copies, and
// that amount by fund source (from the subscribers' fund lines).
struct OrdTotals {
    int titles = 0;
    long long copies = 0;
    double annual = 0;
    std::map<std::string, double> byFund;
};
OrdTotals OrdSumDetails(const std::vector<OrdDetail>& details);
// "12 种  34 册  年价 5678.00 元", with " | fund: amount" per fund when `byFund`.
std::string strOrdTotals(const OrdTotals& t, bool byFund);

// A new detail of the catalogue: not sent, new title, no order state until one is chosen.
OrdDetail NewOrdDetail(const std::string& publ, const std::string& year);

// Loads the catalogue's details ordered by order number, with their subscriber, fund and
// distribution lines: four queries whatever the size. 0, or -1 with the failure in g_ErrInfo.
int intLoadOrdDetails(const std::string& publ, const std::string& year,
                      std::vector<OrdDetail>& out);

// Validation messages in their fixed order; empty when the detail may be saved.
std::vector<std::string> OrdDetailErrors(const OrdDetail& d);
// The messages of one subscriber line; `paneCheck` words a copy mismatch the way the subscriber
// pane does before leaving a subscriber.
std::vector<std::string> OrdSubscriberErrors(const OrdSubscriber& s, bool paneCheck = false);
// The shown text: the messages and the closing line naming the order number.
std::string strOrdErrorText(const std::vector<std::string>& errors, const std::string& asordNo);

// Saves one detail in one transaction: validation, the duplicate-number check, the old rows
// replaced, workload 502 and operation log 50018. `report` shows "数据成功保存！".
// 0 saved (the detail becomes unchanged), -1 refused or failed (message shown, nothing written).
int intSaveOrdDetail(OrdDetail& d, bool report);

// Fund amounts from the annual price: each fund line's amount = TotalPrice x its copies.
void RecalcFundAmounts(OrdDetail& d);

// Deletes details by key after the questions of the order list; any detail that is sent stops
// it. With `withMarc` their catalogue records go too, except those another detail carries.
// 0 deleted, 1 not confirmed, -1 refused or failed (message shown).
int intDeleteOrdDetails(const std::vector<std::string>& keys, bool ask = true,
                        bool withMarc = false);
// Sets end_ord_flag of one detail in its own transaction. 0, or -1 after the error report.
int intSetEndFlag(const std::string& publ, const std::string& year, const std::string& asordNo,
                  const std::string& flag);
// Order numbers of the catalogue's details without a subscriber line. 0, or -1 (g_ErrInfo).
int intCheckOrdCata(const std::string& publ, const std::string& year,
                    std::vector<std::string>& missing);

// Pre-order items of a pre-order catalogue as new, temporary details of the batch `ordYear`
// (and the distributor `ordPubl`); `asordNos` empty takes every item. 0, or -1 (g_ErrInfo).
int intAsordToOrdDetails(const std::string& publ, const std::string& yearMonth,
                         const std::vector<std::string>& asordNos, const std::string& ordPubl,
                         const std::string& ordYear, std::vector<OrdDetail>& out);

// Price refresh of one detail in its own transaction: unit and annual price, and every fund
// line's amount = the annual price x its copies. 0, or -1 after the error report.
int intUpdateOrdPrice(const std::string& publ, const std::string& year, const std::string& asordNo,
                      const std::string& price, const std::string& totalPrice);
// Frequency refresh of one detail in its own transaction, refused (message shown) when check-in
// has begun for it and the frequency would change. 0, or -1 after the message.
int intUpdateOrdFreq(const std::string& publ, const std::string& year, const std::string& asordNo,
                     const std::string& freqName);
// The catalogue's order list for printing, by normalised number: asord_no, m_isbn, m_title,
// carrier_code, peri_price, peri_total_price, peri_ord_qty, new_ord_flag, remark, publ_freq.
int intGetOrdPrintData(const std::string& publ, const std::string& year, LibArray& rows);

// Pre-order catalogues by distributor and issue year-month: publ_code, publ_name,
// publ_year_month, asord_end_date, item count. 0, or -1 (g_ErrInfo).
int intGetAsordCata(LibArray& rows);
// The items of a pre-order catalogue by order number, as rows with the grid keys AsordNo, Title,
// ISSN, Publish, Price, TotalPrice, PublFreq, Carrier, MoneyType, KindNo, Remark, MarcNo (the
// pre-order record) and Key. 0, or -1 (g_ErrInfo).
int intLoadAsordItems(const std::string& publ, const std::string& yearMonth,
                      std::vector<OrdDetail>& out);

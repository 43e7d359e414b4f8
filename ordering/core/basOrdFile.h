// The order file: order details with their subscriber, fund and distribution lines as CSV text.
// The order list writes its unsaved details to it (the order breakpoint file) and reads it back;
// serialsctl imports it. One record per line, the first field its kind:
//
//   D,Pub,OrdYear,AsordNo,MarcNo,PeriType,GetMode,PublFreq,Carrier,MoneyType,Price,TotalPrice,
//     ForePrice,ForeTotalPrice,KindNo,NewFlag,Remark      an order detail
//   S,Location,ChkFlag,Count,Region,OrdRemark             a subscriber of the detail above
//   F,FundSrc,Copies,Amount,Remark                        a fund line of the subscriber above
//   T,DistLoca,Copies,Label                               a distribution line of the subscriber
//
// Codes are codes (PeriType 0-3, GetMode, Carrier, MoneyType, FundSrc, locations), PublFreq the
// frequency name. Fields are quoted with " when they hold a comma, a quote or a line break;
// empty lines and lines starting with # are ignored. Files are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "ordering/core/basOrdList.h"

// A CSV record: its fields, and the line it started on.
struct OrdCsvRecord {
    std::vector<std::string> fields;
    int line = 0;
    // The field at `i`, or "" past the end.
    std::string field(std::size_t i) const;
};
// Splits CSV text into records; a quoted field may span lines. Empty lines and lines starting
// with # are dropped. False with `error` naming the line of an unclosed quote.
bool SplitOrdCsv(const std::string& text, std::vector<OrdCsvRecord>& out, std::string& error);
// The text of a file as UTF-8: read as UTF-8 (a BOM dropped), or as GBK, as Chinese
// spreadsheets save it; anything else is refused. 0, or -1 with the reason in `error`.
int intReadOrdText(const std::string& path, std::string& text, std::string& error);

// A detail of the file, with the line it started on.
struct OrdFileDetail {
    OrdDetail detail;
    int line = 0;
};

std::string strOrdFileText(const std::vector<const OrdDetail*>& details);
// Parses the text; a malformed record stops with `error` naming its line. 0 or -1.
int intParseOrdFile(const std::string& text, std::vector<OrdFileDetail>& out, std::string& error);

// The file forms of the two above. 0, or -1 with the reason in `error`.
int intWriteOrdFile(const std::string& path, const std::vector<const OrdDetail*>& details,
                    std::string& error);
int intReadOrdFile(const std::string& path, std::vector<OrdFileDetail>& out, std::string& error);

// Values an operator's typing would have derived: the annual price from the unit price (when
// the file gives none) and each fund line's amount (when empty).
void FillDerivedValues(OrdDetail& d);

// Imports an order file: each detail is completed as typed, its catalogue created when missing,
// then validated and saved as the order list saves it; a detail that fails is reported (the
// validation or database message is shown) and skipped. `skipped` names each skipped detail by
// its line and number. 0, or -1 when the file cannot be read (`error`).
int intImportOrdFile(const std::string& path, int& saved, std::vector<std::string>& skipped,
                     std::string& error);

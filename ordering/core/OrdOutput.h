// What leaves the program about an order catalogue: the printed order list (for the whole
// catalogue, per subscriber location or per distribution location) and the spreadsheet of its
// details that is exported or mailed to the distributor.
#pragma once

#include <string>
#include <vector>

#include "common/Mailer.h"

enum class OrdPrintBy { Catalogue, Location, Distribution };

// One line of the printed list; `copies` is the catalogue's, the location's or the
// distribution location's number of copies.
struct OrdPrintRow {
    std::string asordNo, issn, title, carrier, price, totalPrice, copies, newFlag, remark, freq;
};
// The rows for one place (empty for the whole catalogue), in normalised-number order.
struct OrdPrintGroup {
    std::string place;
    std::vector<OrdPrintRow> rows;
};
// The catalogue's list grouped as asked, places in code order: one query. 0, or -1 (g_ErrInfo).
int intGetOrdPrintGroups(const std::string& publ, const std::string& year, OrdPrintBy by,
                         std::vector<OrdPrintGroup>& out);

// What a group adds up to: titles, renewals and new titles by new_ord_flag, copies, and the
// sum of annual price x copies.
struct OrdPrintTotals {
    int titles = 0, renewals = 0, newTitles = 0;
    long long copies = 0;
    double amount = 0;
};
OrdPrintTotals OrdPrintSum(const OrdPrintGroup& g);
// The list's columns, and one row's cells as printed (names for codes, 总价 computed).
std::vector<std::string> OrdPrintColumns();
std::vector<std::string> OrdPrintCells(const OrdPrintRow& r);
// "注：所订期刊合计 n 种 （重订刊 r 种，新订刊 w 种） 总价：x 总份数：c".
std::string strOrdPrintFooter(const OrdPrintTotals& t);
// "发行商：name    订购年月：yyyy-nn    制表日期：date", and the place for a grouped list.
std::string strOrdPrintHeading(const std::string& publName, const std::string& year, OrdPrintBy by,
                               const std::string& place);

// The columns of the spreadsheet sent to the distributor.
std::vector<std::string> OrdSheetColumns();
// Writes the catalogue's details (those of `only` when it names any) to an .xlsx file. 0, or -1
// with the reason in `error`.
int intWriteOrdSheet(const std::string& publ, const std::string& year, const std::string& path,
                     std::string& error, const std::vector<std::string>& only = {});

// The order mail to a distributor: recipient and sender, the subject
// " [name] 订单" and the body with today's date and the telephone. 0, or -1 (g_ErrInfo).
int intPrepareOrdMail(const std::string& publ, SupplierMail& mail);
// Sends the mail with the catalogue's sheet attached (named distributor_batch.xlsx). Nothing is
// written to the database. 0, or -1 with the reason in `error`.
int intSendOrdMail(const std::string& publ, const std::string& year, const SupplierMail& mail,
                   std::string& error);

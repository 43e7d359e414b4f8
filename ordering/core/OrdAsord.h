// Pre-order catalogues seen from the order side: the review file in which a distributor's offer
// list comes in, the publishing house of a title, and what a detail taken over from an offer
// gets where the offer says nothing (the usual codes) or where the order catalogue has the
// title already.
#pragma once

#include <string>
#include <vector>

#include "ordering/core/OrdDetail.h"

// The review file: one pre-order item per line, CSV in UTF-8 or GBK:
//
//   征订号,刊名,ISSN,出版社,单价,年价,出版频率,载体,币种,类号,备注
//
// Only the order number is required. A first line starting with 征订号 is a heading; empty
// lines and lines starting with # are ignored. 载体 and 币种 are codes, 出版频率 the frequency's
// name, 出版社 a publishing-house code or name. The items come back as details carrying the
// offer (asordNo, title, issn, publisher, price, totalPrice, publFreq, carrier, moneyType,
// kindNo, remark). A line with a bad number or code, or an order number given twice, refuses
// the whole file: 0, or -1 with `error` naming the line.
int intReadAsordFile(const std::string& path, std::vector<OrdDetail>& items, std::string& error);

// Adds the items to a pre-order catalogue in one transaction; an item with a title gets a
// pre-order record of its title, ISSN and publisher. An annual price left empty is computed
// from the unit price and the frequency in the catalogue's year. Numbers the catalogue holds
// already are left out and listed in `existing`. The number of items added, or -1 with the
// failure in g_ErrInfo and nothing written.
int intAddAsordItems(const std::string& publ, const std::string& yearMonth,
                     std::vector<OrdDetail> items, std::vector<std::string>& existing);

// What a review file brought into a pre-order catalogue.
struct AsordImportResult {
    int added = 0;
    std::vector<std::string> existing;  // numbers the catalogue held already, left as they were
};
// The review file into an existing pre-order catalogue, for the pre-order list and serialsctl
// alike: read and checked as intReadAsordFile does, then added as intAddAsordItems does, in one
// transaction. 0 imported; -1 after the message (the file's fault naming its line, a catalogue
// that does not exist, or the database failure after the rollback) with nothing written.
int intImportAsordFile(const std::string& publ, const std::string& yearMonth,
                       const std::string& path, AsordImportResult& out);
// "已导入 N 条征订信息。", then "下列征订号在该目录中已经存在：" with one number a line.
std::string strAsordImportReport(const AsordImportResult& r);

// A publishing house from the press table, found by its code or, failing that, its name.
struct OrdPress {
    std::string name, address, country, area;
};
// 1 found, 0 not found (or nothing to look for), -1 with the failure in g_ErrInfo.
int intGetOrdPress(const std::string& codeOrName, OrdPress& out);
// "出版社：name  地址：…  国别：…  地区：…", or the text and "（出版社代码表中没有）".
std::string strOrdPressLine(const std::string& codeOrName, int found, const OrdPress& press);

// 获得方式, 载体 and 币种 most used by saved details, and the most used currency other than CNY.
struct OrdUsualCodes {
    std::string getMode, carrier, moneyType, foreignMoney;
};
// The distributor's usual codes (its details of every batch) and the library's (all details);
// a tie goes to the smaller code. 0, or -1 with the failure in g_ErrInfo.
int intGetOrdUsualCodes(const std::string& publ, OrdUsualCodes& distributor,
                        OrdUsualCodes& library);
// A Chinese title: country CN, language chi, or, when the record says neither, CJK characters
// in the title.
bool IsChineseTitle(const OrdDetail& d);
// Fills what the detail leaves empty of 获得方式, 载体 and 币种: the distributor's usual code,
// else the library's; a Chinese title whose currency nothing tells gets CNY.
void FillUsualCodes(OrdDetail& d, const OrdUsualCodes& distributor, const OrdUsualCodes& library);

// The offers an order catalogue has already, each by its order number.
struct OrdOrderedAlready {
    std::vector<std::string> sameNumber;  // an order detail carries the offer's order number
    std::vector<std::string> sameTitle;   // one orders the title: same record, ISSN or title
};
// Whether two details order the same title: the same catalogue record, or the same ISSN, or
// (when either has no ISSN) the same title.
bool IsSameOrdTitle(const OrdDetail& a, const OrdDetail& b);
// Looks for each offer among the catalogue's saved details and the unsaved `listed` ones (the
// order list's rows). 0, or -1 with the failure in g_ErrInfo.
int intFindOrderedAlready(const std::string& publ, const std::string& year,
                          const std::vector<OrdDetail>& offers,
                          const std::vector<OrdDetail>& listed, OrdOrderedAlready& out);

// The order list's commands on the bibliographic record of one detail: its short display,
// taking the record away from the detail and out of the catalogue while nothing else uses it,
// making a new record for a detail that has none, and the templates of a new detail.
#pragma once

#include <string>

#include "marc/core/basBMFunc.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/OrdDetail.h"

// The record's short display: title, author, publisher, year, ISSN/ISBN and record number, one
// per line. 0, or -1 (g_ErrInfo); an empty text for a record that does not exist.
int intOrdMarcShort(const std::string& recNo, std::string& text);

// Deletes the detail's record after "Q是否确定删除该订购明细的书目记录？" (unless `ask` is false),
// in one transaction: the detail loses its record number (its row version counts up) and the
// record goes with its index. Refused while another order detail, an item or a bound volume
// uses the record, or when the detail changed since `version` was read. 0 deleted, 1 not
// confirmed, -1 refused or failed (message shown after the rollback).
int intDeleteOrdMarc(const std::string& publ, const std::string& year, const std::string& asordNo,
                     long long version, const std::string& recNo, bool ask = true);

// The templates of a new detail: a Chinese title or a foreign one.
enum class OrdTemple { CNPublish, USPublish };
// Fills a new detail from the template. CNPublish: a CNMARC record to make, language chi,
// country CN, currency CNY. USPublish: a USMARC record, language eng, country US, the
// distributor's usual foreign currency, else the library's, else USD. 获得方式 and 载体 are the
// usual ones (FillUsualCodes); what the detail has already is kept.
void ApplyOrdTemple(OrdDetail& d, OrdTemple temple, const OrdUsualCodes& distributor,
                    const OrdUsualCodes& library);

// Why the record cannot be made ("请输入刊名！", "请选择书目格式！"), or empty.
std::string strOrdNewMarcError(const OrdNewMarc& m);
// The record: a serial in its format with title, ISSN, place, publisher, language and country
// in their fields and in the header. `today` is the server date "yyyy-mm-dd".
MarcRec OrdNewMarcRecord(const OrdNewMarc& m, const std::string& today);
// Puts the record to make on the detail: kept for its save, and shown (title, ISSN, publisher,
// country, language) until then.
void SetOrdNewMarc(OrdDetail& d, const OrdNewMarc& m);
// The record a detail gets at its save, numbered: made from its OrdNewMarc, or copied from the
// pre-order record of a detail taken over. An empty record (no Dir) when there is none to make
// or the detail has one. Numbering commits on its own, so this runs before the save's
// transaction. 0, or -1 with the failure in g_ErrInfo.
int intOrdRecordToMake(const OrdDetail& d, MarcRec& rec);

// Makes the record and links it to the saved detail (marc_rec_no, its row version counts up), in
// one transaction. Refused when the detail has a record already, or changed since `version`.
// 0 with `recNo` set, or -1 (messages shown after the rollback).
int intAddOrdMarc(const std::string& publ, const std::string& year, const std::string& asordNo,
                  long long version, const OrdNewMarc& m, std::string& recNo);

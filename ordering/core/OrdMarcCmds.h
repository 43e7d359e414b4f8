// The order list's commands on the bibliographic record of one detail: its short display, and
// taking the record away from the detail and out of the catalogue while nothing else uses it.
#pragma once

#include <string>

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

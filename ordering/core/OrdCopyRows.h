// Whole order details copied with their subscriber, fund and distribution lines: one
// INSERT ... SELECT per table naming every column, the new values written as SQL in place of
// the columns they replace. Renewal, copying and moving between catalogues and the title change
// copy all go through here, so a column added to the order tables is copied everywhere.
#pragma once

#include <map>
#include <string>

// Column name -> the SQL that replaces it in the copy (a literal, or an expression over the
// source row).
using OrdCopyValues = std::map<std::string, std::string>;

// Copies the details the WHERE clause selects (over the key columns, which every table of an
// order carries) with their lines, in the caller's transaction. `detail` replaces columns of
// the detail, `lines` those of its lines. 0, or -1 with the failure in g_ErrInfo.
int intCopyOrdRows(const std::string& where, const OrdCopyValues& detail,
                   const OrdCopyValues& lines);
// Removes the details the WHERE clause selects with their lines, in the caller's transaction.
// 0, or -1 with the failure in g_ErrInfo.
int intDeleteOrdRows(const std::string& where);

// Reading rows without the result array: for reads of thousands of rows that go straight into
// structures, where the array's header rows and per-cell conversions would cost more than the
// statement.
#pragma once

#include <string>

#include "db/DbRowReader.h"

// The rows as the database gave them (NULL, number or text). 0, or -1 with the failure in
// g_ErrInfo as LIB_DB_Select leaves it.
int LIB_DB_SelectRaw(const std::string& sql, RawResult& result);
// A fetched cell as text, as the result array gives it: a text column's value without the
// blanks a CHAR column pads it with, a number written out, a cell of another type empty.
std::string LIB_DB_RawText(const LibVar& cell, int typeCode);
// The rows handed to `row` one by one, where the backend reads them so, else from a whole result;
// 0, or -1 as LIB_DB_SelectRaw.
int LIB_DB_SelectEach(const std::string& sql, const DbRowFn& row);

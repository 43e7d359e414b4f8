// Reading rows without the result array: for reads of thousands of rows that go straight into
// structures, where the array's header rows and per-cell conversions would cost more than the
// statement.
#pragma once

#include <string>

#include "db/DbBackend.h"

// The rows as the database gave them (NULL, number or text). 0, or -1 with the failure in
// g_ErrInfo as LIB_DB_Select leaves it.
int LIB_DB_SelectRaw(const std::string& sql, RawResult& result);

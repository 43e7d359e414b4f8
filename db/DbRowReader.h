// Reading a long result row by row: a capability of the backends beside DbBackend, for the few
// reads of hundreds of thousands of rows that go straight into the caller's own structures, so
// that the rows are never also held all at once as cells.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/DbBackend.h"

// One fetched row: the columns (a SQLite expression's type is known from its first value that is
// not NULL, and is 0 until then) and the cells as query() gives them. The cells are the caller's
// to take values from (LibVar::takeStr) until the next row reuses them.
using DbRowFn = std::function<void(const std::vector<RawColumn>&, std::vector<LibVar>&)>;

class DbRowReader {
public:
    virtual ~DbRowReader() = default;
    // Runs the statement and hands its rows to `row` in order. Throws DbError as query() does.
    virtual void queryEach(const std::string& sql, const DbRowFn& row) = 0;
};

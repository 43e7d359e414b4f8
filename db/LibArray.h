// The result array of LIB_DB_Select: indexed (column, row); row 0 holds the field names,
// row 1 the type codes, rows 2 .. record count + 1 the data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/LibVar.h"

class LibArray {
public:
    LibArray() = default;
    LibArray(int cols, int rows) { resize(cols, rows); }

    void resize(int cols, int rows) {
        cols_ = cols;
        rows_ = rows;
        cells_.assign(static_cast<std::size_t>(cols) * rows, LibVar());
    }
    int cols() const { return cols_; }
    int rows() const { return rows_; }
    // Data rows: the array's rows less the two header rows.
    int recordCount() const { return rows_ > 2 ? rows_ - 2 : 0; }

    const LibVar& operator()(int col, int row) const { return cells_.at(index(col, row)); }
    LibVar& operator()(int col, int row) { return cells_.at(index(col, row)); }

    // Column whose name (row 0) matches, ignoring case; -1 when there is none.
    int column(std::string_view name) const;

private:
    std::size_t index(int col, int row) const {
        if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return cells_.size();
        return static_cast<std::size_t>(row) * cols_ + col;
    }
    int cols_ = 0;
    int rows_ = 0;
    std::vector<LibVar> cells_;
};

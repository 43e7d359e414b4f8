#include "db/LibArray.h"

#include "db/SqlText.h"

int LibArray::column(std::string_view name) const {
    std::string want = sqltext::upper(name);
    for (int c = 0; c < cols_ && rows_ > 0; ++c)
        if (sqltext::upper((*this)(c, 0).str()) == want) return c;
    return -1;
}

#include "binding/core/BindDb.h"

#include "db/DbTransaction.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace binddb {

std::string inList(const std::vector<std::string>& values) {
    std::string out = "(";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + LIB_SqlStr(values[i]);
    return out + ")";
}

std::string now() {
    return LIB_DB_ServerNow();
}

std::string today() {
    return now().substr(0, 10);
}

int inTransaction(const std::function<int()>& work) {
    DbTransaction tx;
    if (!tx.ok()) {
        LIB_DB_ShowError();
        return -1;
    }
    int rc;
    try {
        rc = work();
    } catch (const DbError& e) {
        // The server clock read by now() throws like any statement.
        dbRecordFailure(kSrcSelect, "LIB_DB_Select", e.oraText());
        rc = kDbFailed;
    }
    if (rc == kRefused) return -1;
    if (rc < 0) {
        tx.rollback();
        LIB_DB_ShowError();
        return -1;
    }
    if (tx.commit() < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

int refuse(const std::string& message) {
    LIB_ShowMsg(message);
    return kRefused;
}

}  // namespace binddb

#include "db/LargeRead.h"

#include "db/basLibDB.h"

int LIB_DB_PrepareLargeRead() {
    try {
        if (!g_OraDatabase || !g_OraDatabase->isOpen())
            throw DbError("ORA-03114: not connected to ORACLE");
        if (auto* large = dynamic_cast<DbLargeRead*>(g_OraDatabase.get()))
            large->prepareLargeRead();
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_Execute", e.oraText(), "SET LOCAL");
        return -1;
    }
}

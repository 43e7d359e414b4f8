#include "db/DbStatistics.h"

#include "db/basLibDB.h"

int LIB_DB_Analyze(const std::vector<std::string>& tables) {
    std::string list;
    for (const std::string& t : tables)
        list += (list.empty() ? "" : ", ") + t;
    try {
        if (!g_OraDatabase || !g_OraDatabase->isOpen())
            throw DbError("ORA-03114: not connected to ORACLE");
        if (auto* stats = dynamic_cast<DbStatistics*>(g_OraDatabase.get())) stats->analyze(tables);
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_Execute", e.oraText(), "ANALYZE " + list);
        return -1;
    }
}

#include "db/DbTransaction.h"

#include "db/basLibDB.h"

namespace {
int g_depth = 0;
}

DbTransaction::DbTransaction() {
    try {
        if (!g_OraDatabase || !g_OraDatabase->isOpen())
            throw DbError("ORA-03114: not connected to ORACLE");
        if (g_OraDatabase->inTransaction()) {
            savepoint_ = "lib_tx" + std::to_string(g_depth + 1);
            g_OraDatabase->savepoint(savepoint_);
        } else {
            g_OraDatabase->begin();
            g_blnInTrans = true;
        }
        ++g_depth;
        begun_ = true;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_BeginTrans", e.oraText());
    }
}

DbTransaction::~DbTransaction() {
    rollback();
}

int DbTransaction::commit() {
    if (!begun_ || done_) return -1;
    done_ = true;
    --g_depth;
    try {
        if (savepoint_.empty()) {
            g_OraDatabase->commit();
            g_blnInTrans = false;
        } else {
            g_OraDatabase->releaseSavepoint(savepoint_);
        }
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_CommitTrans", e.oraText());
        try {
            if (g_OraDatabase && g_OraDatabase->isOpen() && savepoint_.empty() &&
                g_OraDatabase->inTransaction())
                g_OraDatabase->rollback();
        } catch (const DbError&) {
        }
        if (savepoint_.empty()) g_blnInTrans = false;
        return -1;
    }
}

void DbTransaction::rollback() {
    if (!begun_ || done_) return;
    done_ = true;
    --g_depth;
    try {
        if (!g_OraDatabase || !g_OraDatabase->isOpen()) return;
        if (savepoint_.empty()) {
            g_OraDatabase->rollback();
        } else {
            g_OraDatabase->rollbackToSavepoint(savepoint_);
            g_OraDatabase->releaseSavepoint(savepoint_);
        }
    } catch (const DbError&) {
        // The failure that led here is already in g_ErrInfo; a lost connection drops the
        // transaction on the server anyway.
    }
    if (savepoint_.empty()) g_blnInTrans = false;
}

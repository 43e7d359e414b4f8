#include "db/DbTransaction.h"

#include <vector>

#include "db/basLibDB.h"

namespace {
int g_depth = 0;
int g_failedBegins = 0;
std::string g_beginFailure;
long g_generation = 0;
long g_serial = 0;
std::vector<std::function<void()>> g_afterTransactions;

bool sameConnection(long generation) {
    return generation == g_generation && g_OraDatabase && g_OraDatabase->isOpen();
}

// An action may itself open and end a transaction, or leave more actions: each runs once.
void runAfterTransactions() {
    while (g_depth == 0 && !g_afterTransactions.empty()) {
        std::vector<std::function<void()>> due = std::move(g_afterTransactions);
        g_afterTransactions.clear();
        for (const auto& action : due)
            action();
    }
}
}  // namespace

const std::string& dbBeginFailure() {
    return g_beginFailure;
}

long dbConnectionGeneration() {
    return g_generation;
}

void dbNewConnection() {
    // Transactions of the old connection died with it.
    ++g_generation;
    g_depth = 0;
    g_blnInTrans = false;
    runAfterTransactions();
}

int DbTransaction::depth() {
    return g_depth;
}

long DbTransaction::serial() {
    return g_serial;
}

void DbTransaction::afterTransactions(std::function<void()> action) {
    g_afterTransactions.push_back(std::move(action));
    runAfterTransactions();
}

DbTransaction::DbTransaction() : connection_(g_generation) {
    try {
        if (!g_OraDatabase || !g_OraDatabase->isOpen())
            throw DbError("ORA-03114: not connected to ORACLE");
        if (g_OraDatabase->inTransaction()) {
            savepoint_ = "lib_tx" + std::to_string(g_depth + 1);
            g_OraDatabase->savepoint(savepoint_);
        } else {
            g_OraDatabase->begin();
            ++g_serial;
        }
        ++g_depth;
        g_blnInTrans = true;
        begun_ = true;
    } catch (const DbError& e) {
        if (g_failedBegins++ == 0) g_beginFailure = e.oraText();
        dbRecordFailure(kSrcExecute, "LIB_DB_BeginTrans", e.oraText());
    }
}

DbTransaction::~DbTransaction() {
    rollback();
}

void DbTransaction::finish() {
    done_ = true;
    if (!begun_) {
        if (--g_failedBegins == 0) g_beginFailure.clear();
        return;
    }
    if (connection_ != g_generation) return;
    --g_depth;
    g_blnInTrans = g_depth > 0;
}

int DbTransaction::commit() {
    const int result = commitWork();
    runAfterTransactions();
    return result;
}

void DbTransaction::rollback() {
    rollbackWork();
    runAfterTransactions();
}

int DbTransaction::commitWork() {
    if (done_) return -1;
    if (!begun_) {
        finish();
        return -1;
    }
    const bool live = sameConnection(connection_);
    finish();
    try {
        if (!live) throw DbError("ORA-03114: not connected to ORACLE");
        if (savepoint_.empty())
            g_OraDatabase->commit();
        else
            g_OraDatabase->releaseSavepoint(savepoint_);
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_CommitTrans", e.oraText());
        // A commit that failed may leave the transaction open (SQLite keeps it when busy).
        try {
            if (sameConnection(connection_)) {
                if (!savepoint_.empty()) {
                    g_OraDatabase->rollbackToSavepoint(savepoint_);
                    g_OraDatabase->releaseSavepoint(savepoint_);
                } else if (g_OraDatabase->inTransaction()) {
                    g_OraDatabase->rollback();
                }
            }
        } catch (const DbError&) {
        }
        return -1;
    }
}

void DbTransaction::rollbackWork() {
    if (done_) return;
    const bool live = begun_ && sameConnection(connection_);
    finish();
    if (!live) return;
    try {
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
}

// One operation's transaction. Constructing it begins a transaction, or a savepoint when one is
// already open, so that an operation can be called from inside another. Unless commit()
// succeeds, the destructor rolls the work back: an early return or an exception never leaves
// half an operation behind. A failed begin or commit is reported, not swallowed: the failure
// is in g_ErrInfo for LIB_DB_ShowError, which callers show after the guard has rolled back.
// Messages raised while a transaction is open wait for its end (see afterTransactions), so that
// no box holds its locks.
// While a guard whose begin failed is alive, the session refuses to write, so that a caller
// who does not look at ok() cannot autocommit its statements one by one.
#pragma once

#include <functional>
#include <string>

class DbTransaction {
public:
    DbTransaction();
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

    // False when the begin failed; nothing may be written then.
    bool ok() const { return begun_; }
    // 0 on success, -1 with g_ErrInfo set (the work is then rolled back).
    int commit();
    // Undoes the work now; later calls and the destructor do nothing.
    void rollback();
    // True for a savepoint inside an enclosing transaction.
    bool nested() const { return !savepoint_.empty(); }

    // Transactions and savepoints open now, over the whole session.
    static int depth();
    // Changes whenever an outermost transaction begins.
    static long serial();
    // Runs `action` now when no transaction is open, otherwise once the outermost one has
    // ended, after its commit or rollback (whichever it was), in the order they were given.
    static void afterTransactions(std::function<void()> action);

private:
    void finish();
    int commitWork();
    void rollbackWork();

    bool begun_ = false;
    bool done_ = false;
    long connection_ = 0;    // the connection it was begun on; a reconnect ends it
    std::string savepoint_;  // empty for the outermost transaction
};

// While the begin of a still open guard failed: that failure's server text, with which every
// write is refused. Empty otherwise.
const std::string& dbBeginFailure();
// The connection generation: changes whenever the session connects again.
long dbConnectionGeneration();
void dbNewConnection();

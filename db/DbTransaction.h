// One operation's transaction. Constructing it begins a transaction, or a savepoint when one is
// already open, so that an operation can be called from inside another. Unless commit()
// succeeds, the destructor rolls the work back: an early return or an exception never leaves
// half an operation behind. A failed begin or commit is reported, not swallowed: the failure
// is in g_ErrInfo for LIB_DB_ShowError, which callers show after the guard has rolled back.
#pragma once

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

private:
    bool begun_ = false;
    bool done_ = false;
    std::string savepoint_;  // empty for the outermost transaction
};

// Reads that go over a whole library in one statement (the claim candidates): a capability of
// the backends beside DbBackend, for the few searches that need settings of their own.
#pragma once

class DbLargeRead {
public:
    virtual ~DbLargeRead() = default;
    // Sets the open transaction up for one large read. Throws DbError.
    virtual void prepareLargeRead() = 0;
};

// The session's open transaction set up for a read over a whole library, where its backend
// needs anything for it (the settings end with the transaction). 0, or -1 with the failure in
// g_ErrInfo.
int LIB_DB_PrepareLargeRead();

// The one dialect interface: everything that differs between SQLite and PostgreSQL lives
// behind it, so the session and the areas above never ask which database they are on.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/LibVar.h"

// A failed statement. `oraText` is the server text in the Oracle form that the error reporter
// reads ("ORA-00001: unique constraint (PK_INDI_ACCT) violated"); each backend translates its
// native errors into it and nothing else parses native messages.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& oraText) : std::runtime_error(oraText) {}
    std::string oraText() const { return what(); }
};

struct ConnectParams {
    std::string driver;  // "SQLite" or "PostgreSQL"
    std::string dsn;     // database file (SQLite) or database name (PostgreSQL)
    std::string server;  // host[:port]; empty for the local socket
    std::string uid;
    std::string pwd;
    bool create = false;  // SQLite: create the file when missing (only when installing)
};

// Type codes of the result array's row 1.
enum DbTypeCode {
    kTypeInteger = 3,
    kTypeLong = 4,
    kTypeDouble = 7,
    kTypeDate = 8,
    kTypeText = 10,
    kTypeRaw = 11
};

struct RawColumn {
    std::string name;
    int typeCode = kTypeText;
};

// A fetched result, cells as the database returned them (NULL, number or text).
struct RawResult {
    std::vector<RawColumn> columns;
    std::vector<std::vector<LibVar>> rows;
};

// A statement with parameters $1..$n and their values.
struct BoundStatement {
    std::string sql;
    std::vector<LibVar> args;
};

class DbBackend {
public:
    virtual ~DbBackend() = default;

    virtual std::string name() const = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Run one statement; returns the number of rows it changed. Throws DbError.
    virtual long long execute(const std::string& sql) = 0;
    virtual RawResult query(const std::string& sql) = 0;
    // Runs one statement whose values are the parameters $1..$n, in `args` order (a NULL
    // LibVar binds NULL). A backend prepares each text once per connection and reuses it,
    // so a statement run for every row of a long load is parsed once; a failure is the same
    // as execute()'s. The default sends the values as quoted literals through execute().
    virtual long long executePrepared(const std::string& sql, const std::vector<LibVar>& args);
    // Runs the statements in order as executePrepared would, in as few round trips as the
    // backend allows (one on PostgreSQL, as a pipeline). A failure stops at the statement that
    // failed and is thrown; run the batch under a transaction or savepoint to keep all or none.
    virtual void executeBatch(const std::vector<BoundStatement>& batch);
    // How many prepared statements the connection holds for reuse.
    virtual std::size_t preparedCount() const { return 0; }

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    // Savepoints inside an open transaction, run as they are (not wrapped like statements).
    virtual void savepoint(const std::string& name) = 0;
    virtual void releaseSavepoint(const std::string& name) = 0;
    virtual void rollbackToSavepoint(const std::string& name) = 0;

    // An expression for the server's local date and time as "yyyy-mm-dd hh:mm:ss".
    virtual std::string nowExpression() const = 0;
    // Declared size of a text column; 0 when the column is not a sized text column.
    virtual int columnSize(const std::string& table, const std::string& column) = 0;
    virtual std::vector<std::string> tableNames() = 0;
    // Drops these tables in one step, whatever their references among themselves; an object of
    // another application that depends on one of them makes it fail, and nothing is dropped.
    virtual void dropTables(const std::vector<std::string>& tables) = 0;

    // Schema installation: what must exist before the DDL runs (functions the SQL relies on)
    // and what the backend must derive from it afterwards.
    virtual void beforeSchema() = 0;
    virtual void afterSchema() = 0;
};

// The statement with each $n replaced by args[n-1] as an SQL literal (quoted text, a number or
// NULL); parameters inside quoted text are left alone. Sessions run with standard strings, so
// doubling quotes is the whole of the quoting.
std::string sqlWithLiterals(const std::string& sql, const std::vector<LibVar>& args);

std::unique_ptr<DbBackend> openSqliteBackend(const ConnectParams& p);
std::unique_ptr<DbBackend> openPgBackend(const ConnectParams& p);

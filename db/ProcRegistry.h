// Database procedures. Each procedure the program calls as "Begin name(args); end;" is
// implemented once, in C++, and runs its SQL on the session's own connection so that it joins
// the caller's transaction. The session evaluates the argument list through the database, so
// quoting, numbers and unistr() mean what they mean in SQL, then dispatches by name.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "db/DbBackend.h"
#include "db/LibVar.h"

class ProcCall {
public:
    ProcCall(std::string name, std::vector<LibVar> args, DbBackend& db)
        : name_(std::move(name)), args_(std::move(args)), out_(args_.size()), db_(db) {}

    const std::string& name() const { return name_; }
    std::size_t argCount() const { return args_.size(); }
    // Argument i (from 0); a missing one is the database's "wrong number of arguments".
    const LibVar& arg(std::size_t i) const;
    std::string text(std::size_t i) const { return arg(i).str(); }
    double number(std::size_t i) const { return arg(i).num(); }
    // Fails the call unless it was given exactly n arguments.
    void expectArgs(std::size_t n) const;
    // Sets an output argument (a bind variable at that position).
    void setOut(std::size_t i, LibVar v);
    const std::optional<LibVar>& out(std::size_t i) const { return out_.at(i); }

    DbBackend& db() const { return db_; }
    // Date and time to stamp rows with: the server's, or the pinned one in tests.
    std::string now() const;

private:
    std::string name_;
    std::vector<LibVar> args_;
    std::vector<std::optional<LibVar>> out_;
    DbBackend& db_;
};

// A procedure throws DbError to fail; its changes are then undone, as a failed block's are.
using ProcFn = std::function<void(ProcCall&)>;

void LIB_DB_RegisterProc(const std::string& name, ProcFn fn);
// The procedure of that name, ignoring case; null when none is registered.
const ProcFn* LIB_DB_FindProc(const std::string& name);
// How a procedure argument goes into a statement: quoted text (NULL stays NULL), or a number
// (an empty or blank one becoming NULL, so that PostgreSQL accepts it).
enum class ProcCol { Text, Number };
struct ProcColumn {
    const char* name;
    ProcCol kind;
};
std::string procLiteral(const LibVar& v, ProcCol kind);
// INSERT INTO table (columns) VALUES (the call's arguments, in column order).
void procInsertRow(ProcCall& c, const char* table, const std::vector<ProcColumn>& cols);

// An application error raised by a procedure, in the database's numbering (20000-20999).
[[noreturn]] void raiseApplicationError(int number, const std::string& text);

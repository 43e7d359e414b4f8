#include "db/basLibDB.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>

#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/ProcRegistry.h"
#include "db/RawSelect.h"
#include "db/SqlText.h"

ErrInfo g_ErrInfo;
RunError g_RunErr;
bool g_blnInTrans = false;
std::string g_strSQL;
std::unique_ptr<DbBackend> g_OraDatabase;
bool UnicodeMarcMode = false;
bool WideMarcTable = false;

namespace {

std::string g_lastServerErrText;
std::string g_pinnedNow;

struct Param {
    LibVar value;
    int direction = kParamInput;
};
std::map<std::string, Param>& params() {
    static std::map<std::string, Param> p;
    return p;
}

bool onPostgres() {
    std::string driver =
        g_OraDatabase ? g_OraDatabase->name() : sqltext::upper(LIB_DB_ConnectParams().driver);
    return sqltext::upper(driver).rfind("POSTGRES", 0) == 0;
}

// The transactions opened through LIB_DB_BeginTrans, innermost last: the routines are the
// same guard, kept open between calls.
std::vector<std::unique_ptr<DbTransaction>>& openTransactions() {
    static std::vector<std::unique_ptr<DbTransaction>> open;
    return open;
}

DbBackend& database() {
    if (!g_OraDatabase || !g_OraDatabase->isOpen())
        throw DbError("ORA-03114: not connected to ORACLE");
    return *g_OraDatabase;
}

// Runs a procedure atomically: inside the caller's transaction under a savepoint, otherwise
// in a transaction of its own, so that a failing procedure leaves nothing behind.
void runProcedure(DbBackend& db, ProcCall& call, const ProcFn& fn) {
    if (db.inTransaction()) {
        db.savepoint("lib_proc");
        try {
            fn(call);
            db.releaseSavepoint("lib_proc");
        } catch (...) {
            if (db.isOpen()) {
                db.rollbackToSavepoint("lib_proc");
                db.releaseSavepoint("lib_proc");
            }
            throw;
        }
        return;
    }
    db.begin();
    try {
        fn(call);
        db.commit();
    } catch (...) {
        // A commit that failed may have left the transaction open.
        if (db.isOpen() && db.inTransaction()) db.rollback();
        throw;
    }
}

// A plain literal of a procedure argument: NULL, a quoted text or a decimal number.
std::optional<LibVar> parseLiteral(const std::string& a) {
    if (sqltext::upper(a) == "NULL") return LibVar::null();
    // E'...' is LIB_SqlStr's form of a text with backslashes on PostgreSQL: only doubled
    // backslashes and quotes are read here, any other escape by the database.
    bool escapes = a.size() >= 3 && (a[0] == 'E' || a[0] == 'e') && a[1] == '\'';
    std::size_t open = escapes ? 1 : 0;
    if (a.size() >= open + 2 && a[open] == '\'' && a.back() == '\'') {
        std::string inner = a.substr(open + 1, a.size() - open - 2), text;
        for (std::size_t i = 0; i < inner.size(); ++i) {
            char c = inner[i];
            if (c == '\'' || (escapes && c == '\\')) {
                if (i + 1 >= inner.size() || inner[i + 1] != c) return std::nullopt;  // 'a' || 'b'
                ++i;
            }
            text += c;
        }
        return LibVar(text);
    }
    std::size_t i = a.size() > 1 && a[0] == '-' ? 1 : 0;
    bool digits = false, point = false;
    for (; i < a.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(a[i])))
            digits = true;
        else if (a[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits) return std::nullopt;
    return LibVar(std::strtod(a.c_str(), nullptr));
}

// "Begin name(args); end;": evaluates the arguments through the database, dispatches the
// procedure and stores its output arguments in their bind variables.
void runBlock(DbBackend& db, const sqltext::Block& block) {
    const ProcFn* fn = LIB_DB_FindProc(block.name);
    if (!fn)
        throw DbError("ORA-06550: line 1, column 7: PLS-00201: identifier '" + block.name +
                      "' must be declared");
    std::vector<LibVar> args;
    std::vector<std::string> binds(block.args.size());
    // Literals and bind variables are read here; only real expressions (unistr, nvl, ...)
    // cost a round trip to the database.
    std::vector<std::string> exprs;
    bool needsDatabase = false;
    for (std::size_t i = 0; i < block.args.size(); ++i) {
        const std::string& a = block.args[i];
        std::optional<LibVar> value;
        std::string expr = a;
        if (a.size() > 1 && a[0] == ':') {
            binds[i] = sqltext::upper(a.substr(1));
            auto it = params().find(binds[i]);
            if (it == params().end())
                throw DbError("ORA-01008: not all variables bound (" + a + ")");
            const LibVar& v = it->second.value;
            value = it->second.direction == kParamOutput || v.isEmpty() ? LibVar::null() : v;
            expr = value->isNull() ? "NULL" : value->isNumber() ? value->str() : LIB_SqlStr(*value);
        } else {
            value = parseLiteral(a);
        }
        needsDatabase = needsDatabase || !value;
        args.push_back(value.value_or(LibVar()));
        exprs.push_back(expr);
    }
    if (needsDatabase) {
        std::string select = "SELECT ";
        for (std::size_t i = 0; i < exprs.size(); ++i)
            select += (i ? ", " : "") + exprs[i];
        args = db.query(select).rows.at(0);
    }
    ProcCall call(block.name, std::move(args), db);
    runProcedure(db, call, *fn);
    for (std::size_t i = 0; i < binds.size(); ++i) {
        if (binds[i].empty() || !call.out(i)) continue;
        auto it = params().find(binds[i]);
        if (it->second.direction != kParamInput) it->second.value = *call.out(i);
    }
}

// Runs a statement or a procedure block; the rows a plain statement changed.
long long runStatement(const std::string& sql) {
    DbBackend& db = database();
    if (auto block = sqltext::parseBlock(sql)) {
        runBlock(db, *block);
        return 0;
    }
    return db.execute(sql);
}

// Writes through the routines below; refused while a begun transaction failed, so that its
// statements cannot autocommit one by one.
long long runWrite(const std::string& sql) {
    if (!dbBeginFailure().empty()) throw DbError(dbBeginFailure());
    return runStatement(sql);
}

// The statements as they would read with their values written in, for the error log.
std::string shownStatements(const std::vector<BoundStatement>& batch) {
    constexpr std::size_t kShown = 4000;
    std::string shown;
    for (const BoundStatement& st : batch) {
        if (shown.size() > kShown) break;
        try {
            shown += (shown.empty() ? "" : ";\n") + sqlWithLiterals(st.sql, st.args);
        } catch (const DbError&) {
            shown += (shown.empty() ? "" : ";\n") + st.sql;
        }
    }
    return shown.size() > kShown ? shown.substr(0, kShown) + " ..." : shown;
}

// Runs one call of the routine `func`. A failure is left in the error record with the failed
// statement (`sql`, or the batch as it would read); a success clears the record, so that it
// always tells about the last call and never about one that failed earlier and was dealt with.
template <class Body>
int recordOutcome(long source, const char* func, Body body, const std::string& sql = {},
                  const std::vector<BoundStatement>* batch = nullptr) {
    try {
        body();
        g_ErrInfo = ErrInfo{};
        g_lastServerErrText.clear();
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(source, func, e.oraText(), batch ? shownStatements(*batch) : sql);
        return -1;
    }
}

std::string rtrimSpaces(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// Each row of the backend's result is freed as soon as it is copied, so that a long result is
// never held twice over.
void fillArray(RawResult&& r, LibArray& out) {
    int cols = static_cast<int>(r.columns.size());
    out.resize(cols, static_cast<int>(r.rows.size()) + 2);
    for (int c = 0; c < cols; ++c) {
        out(c, 0) = r.columns[c].name;
        out(c, 1) = r.columns[c].typeCode;
    }
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        int row = static_cast<int>(i) + 2;
        const std::vector<LibVar> raw = std::move(r.rows[i]);
        for (int c = 0; c < cols; ++c) {
            const LibVar& v = raw[c];
            switch (r.columns[c].typeCode) {
                case kTypeText:
                    out(c, row) = LIB_DB_RawText(v, kTypeText);
                    break;
                case kTypeInteger:
                case kTypeLong:
                case kTypeDouble:
                    out(c, row) = v.num();
                    break;
                default:
                    break;  // other types are not copied: the cell stays empty
            }
        }
    }
}

int selectInto(const std::string& sql, LibArray& result) {
    RawResult rows;
    if (LIB_DB_SelectRaw(sql, rows) < 0) return -1;
    fillArray(std::move(rows), result);
    return 0;
}

}  // namespace

std::string LIB_DB_RawText(const LibVar& cell, int typeCode) {
    switch (typeCode) {
        case kTypeText:
            return rtrimSpaces(cell.str());
        case kTypeInteger:
        case kTypeLong:
        case kTypeDouble:
            return formatNumber(cell.num());
        default:
            return {};
    }
}

int LIB_DB_SelectEach(const std::string& sql, const DbRowFn& row) {
    try {
        if (auto* reader = dynamic_cast<DbRowReader*>(&database())) {
            reader->queryEach(sql, row);
            return 0;
        }
        RawResult all = database().query(sql);
        for (std::vector<LibVar>& cells : all.rows)
            row(all.columns, cells);
        return 0;
    } catch (const DbError& e) {
        dbRecordFailure(kSrcSelect, "LIB_DB_Select", e.oraText(), sql);
        return -1;
    }
}

int LIB_DB_SelectRaw(const std::string& sql, RawResult& result) {
    return recordOutcome(
        kSrcSelect, "LIB_DB_Select", [&] { result = database().query(sql); }, sql);
}

void dbRecordFailure(long source, const std::string& func, const std::string& serverText,
                     const std::string& sql) {
    g_lastServerErrText = serverText;
    g_ErrInfo.strSQL = sql;
    g_ErrInfo.lngSource = source;
    g_ErrInfo.lngOraErr = LIB_GetOraErrNo();
    g_ErrInfo.strDesc = serverText;
    g_ErrInfo.strFunc = func;
}

ConnectParams& LIB_DB_ConnectParams() {
    static ConnectParams p;
    return p;
}

std::unique_ptr<DbBackend> LIB_DB_OpenBackend(const ConnectParams& p) {
    std::string driver = sqltext::upper(p.driver);
    if (p.dsn.empty()) throw DbError("ORA-12162: TNS:net service name is incorrectly specified");
    if (driver.empty() || driver == "SQLITE") return openSqliteBackend(p);
    if (driver == "POSTGRESQL" || driver == "POSTGRES") return openPgBackend(p);
    throw DbError("ORA-12154: TNS:could not resolve the connect identifier specified (" + p.driver +
                  ")");
}

int LIB_DB_Connect() {
    const int result = recordOutcome(kSrcConnect, "LIB_DB_Connect", [] {
        g_OraDatabase.reset();
        openTransactions().clear();
        dbNewConnection();
        g_OraDatabase = LIB_DB_OpenBackend(LIB_DB_ConnectParams());
        UnicodeMarcMode = g_OraDatabase->columnSize("marc_data", "marc03") > 2000;
        WideMarcTable = g_OraDatabase->query("SELECT * FROM marc WHERE 1=0").columns.size() > 10;
    });
    if (result < 0) g_OraDatabase.reset();
    return result;
}

int LIB_DB_Close() {
    dbRollbackOpenTransactions();
    if (!g_OraDatabase) return 0;
    try {
        if (g_OraDatabase->isOpen() && g_OraDatabase->inTransaction()) g_OraDatabase->rollback();
        g_OraDatabase->close();
        g_OraDatabase.reset();
        dbNewConnection();
        return 0;
    } catch (const DbError& e) {
        g_OraDatabase.reset();
        dbRecordFailure(kSrcClose, "LIB_DB_Close", e.oraText());
        return -1;
    }
}

int LIB_DB_BeginTrans() {
    auto tx = std::make_unique<DbTransaction>();
    // A failed begin stays on the stack too: until the caller's rollback, writes are refused.
    const bool ok = tx->ok();
    openTransactions().push_back(std::move(tx));
    return ok ? 0 : -1;
}

int LIB_DB_CommitTrans() {
    auto& open = openTransactions();
    if (open.empty()) return 0;
    std::unique_ptr<DbTransaction> tx = std::move(open.back());
    open.pop_back();
    return tx->commit();
}

int LIB_DB_Rollback() {
    auto& open = openTransactions();
    if (open.empty()) return 0;
    open.back()->rollback();
    open.pop_back();
    return 0;
}

void dbRollbackOpenTransactions() {
    auto& open = openTransactions();
    while (!open.empty()) {
        open.back()->rollback();
        open.pop_back();
    }
}

int LIB_DB_Execute(std::string sql, int flag) {
    sql = sqltext::trim(sql);
    // Callers that must store a blank rather than NULL ask for every empty literal to become
    // one blank; the replacement is textual, as the callers expect.
    if (flag == 1) sql = sqltext::replaceAll(sql, "''", "' '");
    return recordOutcome(
        kSrcExecute, "LIB_DB_Execute", [&] { runWrite(sql); }, sql);
}

int dbExecuteCounted(const std::string& sql, long long& changed) {
    changed = 0;
    return recordOutcome(
        kSrcExecute, "LIB_DB_Execute", [&] { changed = runWrite(sqltext::trim(sql)); }, sql);
}

int LIB_DB_CallProc(std::string call, int flag) {
    call = sqltext::trim(call);
    auto blank = call.find(' ');
    std::string name = call.substr(0, blank);
    std::string args = blank == std::string::npos ? "" : call.substr(blank + 1);
    std::string block = "Begin " + name + "(" + args + ")" + "; end;";
    if (flag == 1) block = sqltext::replaceAll(block, "''", "' '");
    return recordOutcome(
        kSrcExecute, "LIB_DB_CallProc", [&] { runWrite(block); }, block);
}

int LIB_DB_ExecutePrepared(const std::string& sql, const std::vector<LibVar>& args) {
    return LIB_DB_ExecuteBatch({{sql, args}});
}

int LIB_DB_ExecuteBatch(const std::vector<BoundStatement>& batch) {
    if (batch.empty()) return 0;
    return recordOutcome(
        kSrcExecute, "LIB_DB_Execute",
        [&] {
            if (!dbBeginFailure().empty()) throw DbError(dbBeginFailure());
            if (batch.size() == 1)
                database().executePrepared(batch[0].sql, batch[0].args);
            else
                database().executeBatch(batch);
        },
        {}, &batch);
}

int LIB_DB_AddInsertRows(std::vector<BoundStatement>& batch, const std::string& table,
                         const std::vector<std::string>& columns,
                         const std::vector<std::vector<LibVar>>& rows) {
    // Well under the oldest SQLite limit of 999 parameters; rows beyond one statement's share
    // go in the next statement.
    constexpr std::size_t kMaxParams = 900;
    const std::size_t width = columns.size();
    if (width == 0 || rows.empty()) return 0;
    const std::size_t perStatement = std::max<std::size_t>(1, kMaxParams / width);
    std::string head = "INSERT INTO " + table + " (";
    for (std::size_t c = 0; c < width; ++c)
        head += (c ? "," : "") + columns[c];
    head += ") VALUES ";
    for (std::size_t first = 0; first < rows.size(); first += perStatement) {
        const std::size_t count = std::min(perStatement, rows.size() - first);
        BoundStatement st{head, {}};
        st.args.reserve(count * width);
        for (std::size_t r = 0; r < count; ++r) {
            const auto& row = rows[first + r];
            if (row.size() != width) {
                dbRecordFailure(kSrcExecute, "LIB_DB_Execute",
                                "ORA-00913: too many values (row " + std::to_string(first + r + 1) +
                                    " of " + table + ")");
                return -1;
            }
            st.sql += r ? ",(" : "(";
            for (std::size_t c = 0; c < width; ++c) {
                st.sql += (c ? ",$" : "$") + std::to_string(st.args.size() + 1);
                st.args.push_back(row[c]);
            }
            st.sql += ")";
        }
        batch.push_back(std::move(st));
    }
    return 0;
}

int LIB_DB_InsertRows(const std::string& table, const std::vector<std::string>& columns,
                      const std::vector<std::vector<LibVar>>& rows) {
    std::vector<BoundStatement> batch;
    if (LIB_DB_AddInsertRows(batch, table, columns, rows) < 0) return -1;
    return LIB_DB_ExecuteBatch(batch);
}

int LIB_DB_Select(const std::string& sql, LibArray& result) {
    return selectInto(sql, result);
}

int LIB_DB_SelectWide(const std::string& sql, LibArray& result) {
    if (!UnicodeMarcMode) return selectInto(sql, result);
    sqltext::WideSelect wide = sqltext::rewriteWide(sql);
    if (selectInto(wide.sql, result) < 0) return -1;
    for (int c : wide.dumpedColumns)
        for (int row = 2; row < result.rows(); ++row)
            if (c < result.cols()) result(c, row) = DumpToText(result(c, row).str());
    return 0;
}

std::string LIB_DB_WideStatement(const std::string& sql) {
    return sqltext::rewriteWide(sql).sql;
}

std::string DumpToText(const std::string& cell) {
    if (cell.empty() || cell == "NULL") return "";
    auto colon = cell.find(':');
    std::string list = sqltext::trim(colon == std::string::npos ? cell : cell.substr(colon + 1));
    std::vector<unsigned> bytes;
    for (const std::string& piece : sqltext::split(list, ','))
        bytes.push_back(static_cast<unsigned>(std::stoul("0" + sqltext::trim(piece), nullptr, 16)));
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>((bytes[i] & 0xFF) << 8 | (bytes[i + 1] & 0xFF));
    return utf16ToUtf8(units);
}

std::string LIB_SqlStr(const LibVar& value) {
    if (value.isNull()) return "''";
    std::string text = sqltext::replaceAll(value.str(), "'", "''");
    // PostgreSQL reads a backslash in a plain literal as an escape when standard strings are
    // off. An escape-string literal with the backslash doubled means the same text whatever
    // the session's setting; SQLite has no escapes and no such literal.
    if (text.find('\\') != std::string::npos && onPostgres())
        return "E'" + sqltext::replaceAll(text, "\\", "\\\\") + "'";
    return "'" + text + "'";
}

std::string LIB_DB_GetServerDate() {
    // A read: asked directly rather than through the procedure, which would take a savepoint
    // around it inside a transaction. Asked in passing, even between a failure and its report,
    // so a success leaves the error record as it was.
    try {
        return LIB_DB_ServerNow();
    } catch (const DbError& e) {
        dbRecordFailure(kSrcExecute, "LIB_DB_Execute", e.oraText());
        return {};
    }
}

long LIB_GetOraErrNo() {
    auto p = g_lastServerErrText.find("ORA-");
    if (p == std::string::npos) return -1;
    std::string digits = g_lastServerErrText.substr(p + 4, 5);
    return static_cast<long>(LibVar(digits).num());
}

void LIB_DB_ParamAdd(const std::string& name, const LibVar& value, int direction) {
    params()[sqltext::upper(name)] = Param{value, direction};
}

LibVar LIB_DB_ParamValue(const std::string& name) {
    auto it = params().find(sqltext::upper(name));
    return it == params().end() ? LibVar() : it->second.value;
}

void LIB_DB_ParamRemove(const std::string& name) {
    params().erase(sqltext::upper(name));
}

void LIB_DB_PinServerDate(const std::string& dateTime) {
    g_pinnedNow = dateTime;
}

std::string LIB_DB_ServerNow() {
    if (!g_pinnedNow.empty()) return g_pinnedNow;
    // Read once per transaction: PostgreSQL's clock stands still within one anyway, so every
    // row an operation stamps carries one time on both backends, for one round trip.
    static struct {
        long generation = -1, serial = -1;
        std::string value;
    } seen;
    const bool inOne = DbTransaction::depth() > 0;
    if (inOne && seen.generation == dbConnectionGeneration() &&
        seen.serial == DbTransaction::serial())
        return seen.value;
    DbBackend& db = database();
    std::string now = db.query("SELECT " + db.nowExpression()).rows.at(0).at(0).str();
    if (inOne) seen = {dbConnectionGeneration(), DbTransaction::serial(), now};
    return now;
}

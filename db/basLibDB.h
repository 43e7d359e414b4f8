// The one database session the whole program shares, and the routines through which every
// area runs SQL, calls database procedures and opens transactions. Routines return 0 on success
// and -1 on failure; a failure is left in g_ErrInfo for the caller to report through
// LIB_DB_ShowError (usually after LIB_DB_Rollback when a transaction is open).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/DbBackend.h"
#include "db/LibArray.h"
#include "db/LibVar.h"

// Which routine failed, kept in ErrInfo::lngSource.
enum ErrSource : long {
    kSrcNone = 0,
    kSrcConnect = 1001,
    kSrcClose = 1002,
    kSrcSelect = 1003,
    kSrcExecute = 1005,
    kSrcFile = 1007,
};

struct ErrInfo {
    long lngSource = kSrcNone;
    long lngOraErr = 0;
    std::string strMsg;
    std::string strDesc;
    std::string strFunc;
    // The statement that failed, as the routine ran it (the log line shows it).
    std::string strSQL;
};

// A run-time error that did not come from a database routine (source 0): number and text.
struct RunError {
    long number = 0;
    std::string description;
};

extern ErrInfo g_ErrInfo;
extern RunError g_RunErr;
extern bool g_blnInTrans;
extern std::string g_strSQL;
// The open database; null before LIB_DB_Connect and after the connection is dropped.
extern std::unique_ptr<DbBackend> g_OraDatabase;

// MARC storage layout, probed when the database is opened.
extern bool UnicodeMarcMode;
extern bool WideMarcTable;

int LIB_DB_Connect();
int LIB_DB_Close();
int LIB_DB_BeginTrans();
int LIB_DB_CommitTrans();
int LIB_DB_Rollback();
// Rolls back every transaction opened through LIB_DB_BeginTrans and not yet ended.
void dbRollbackOpenTransactions();
int LIB_DB_Execute(std::string sql, int flag = 0);
int LIB_DB_CallProc(std::string call, int flag = 0);
// As LIB_DB_Execute (flag 0), also telling how many rows the statement changed.
int dbExecuteCounted(const std::string& sql, long long& changed);
// A statement with parameters $1..$n, prepared once per connection and reused; values are
// bound, never written into the text. 0, or -1 with the failure in g_ErrInfo.
int LIB_DB_ExecutePrepared(const std::string& sql, const std::vector<LibVar>& args);
// Statements run in order in as few round trips as the backend allows. A failure stops at the
// statement that failed: run them inside a transaction to keep all or none. 0, or -1
// (g_ErrInfo).
int LIB_DB_ExecuteBatch(const std::vector<BoundStatement>& batch);
// Adds to `batch` the inserts of the rows (each a value per column): as few multi-row
// statements as the parameter limits allow, of a few shapes that are prepared once and reused.
// Nothing for no rows; -1 (g_ErrInfo) for a row of the wrong width.
int LIB_DB_AddInsertRows(std::vector<BoundStatement>& batch, const std::string& table,
                         const std::vector<std::string>& columns,
                         const std::vector<std::vector<LibVar>>& rows);
// The same inserts, run at once.
int LIB_DB_InsertRows(const std::string& table, const std::vector<std::string>& columns,
                      const std::vector<std::vector<LibVar>>& rows);
int LIB_DB_Select(const std::string& sql, LibArray& result);
int LIB_DB_SelectWide(const std::string& sql, LibArray& result);
std::string LIB_SqlStr(const LibVar& value);
std::string LIB_DB_GetServerDate();
long LIB_GetOraErrNo();
// Leaves a failed database call in g_ErrInfo as the routine `func` would; `sql` is the
// statement that failed, if any.
void dbRecordFailure(long source, const std::string& func, const std::string& serverText,
                     const std::string& sql = {});
int LIB_DB_ShowError();
// Runs `body` and returns its result; a C++ exception escaping it (a bad index, a malformed
// number) is reported as the run-time error it is, ECM206 and its log line, after every
// transaction left open has been rolled back, and gives -1.
int runTrapped(const std::function<int()>& body);
// Where the reporter's log lines go. The local log file lives above this layer: start-up
// points the reporter at it. Without it nothing is logged.
void LIB_SetErrorLog(std::function<void(const std::string&)> write);

// The statement LIB_DB_SelectWide runs when the summary columns are national-character text.
std::string LIB_DB_WideStatement(const std::string& sql);
// A dumped value ("Typ=1 Len=4: 4e,2d,65,87") back to its text; "NULL" and "" give "".
std::string DumpToText(const std::string& cell);

// Bind variables of procedure calls (":SVRDATE"): added before the call, read after it.
enum ParamDirection { kParamInput = 1, kParamOutput = 2, kParamInOut = 3 };
void LIB_DB_ParamAdd(const std::string& name, const LibVar& value, int direction);
LibVar LIB_DB_ParamValue(const std::string& name);
void LIB_DB_ParamRemove(const std::string& name);

// Test support: pin the server's date and time ("yyyy-mm-dd hh:mm:ss"); empty unpins.
void LIB_DB_PinServerDate(const std::string& dateTime);
// The server's date and time for procedures that stamp rows, honouring the pin.
std::string LIB_DB_ServerNow();

// Connection data the session opens with; filled from mavren.ini at start-up.
ConnectParams& LIB_DB_ConnectParams();
// Opens a backend for the driver named in the parameters; throws DbError.
std::unique_ptr<DbBackend> LIB_DB_OpenBackend(const ConnectParams& p);

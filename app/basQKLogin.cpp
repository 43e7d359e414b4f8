#include "app/basQKLogin.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/OperatorState.h"
#include "common/PasswordHash.h"
#include "common/RightCodes.h"
#include "common/basCodeFunc.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

std::string g_computerOverride;
std::function<void(int)> g_loginWait;
constexpr const char* kLoginLogCode = "50000";
constexpr const char* kLoginFailedLogCode = "50060";
constexpr std::size_t kLogOperatorChars = 20, kLogKeyChars = 60;

bool selectOrReport(const std::string& sql, LibArray& out) {
    g_strSQL = sql;
    if (LIB_DB_Select(g_strSQL, out) < 0) {
        LIB_DB_ShowError();
        return false;
    }
    return true;
}

// The operator logged in before the login being tried: a refused login puts it back, so that the
// open screens keep their operator.
OperatorSnapshot g_previous;

LoginFailure fail(LoginFailure why, const char* message) {
    restoreOperatorState(g_previous);
    if (message) LIB_ShowMsg(message);
    return why;
}

std::string normalOperator(const std::string& user) {
    return sqltext::upper(sqltext::trim(user));
}

// Columns of the operator row read by the password check.
enum WorkerColumn {
    kPlain,
    kFlag,
    kCode2,
    kEmail,
    kTele,
    kHash,
    kMustChange,
    kFails,
};

// One statement's transaction: the guard rolls back unless it committed; a failure is shown.
bool runInTransaction(const std::function<bool()>& work) {
    DbTransaction t;
    if (!t.ok() || !work() || t.commit() < 0) {
        t.rollback();
        LIB_DB_ShowError();
        return false;
    }
    return true;
}

// A failed try is counted on the operator row (when there is one) and written to the
// operation log with the number tried and the workstation.
void recordFailure(const std::string& user, bool known, const char* reason) {
    runInTransaction([&] {
        if (known) {
            g_strSQL = "UPDATE lib_worker SET login_fails=nvl(login_fails,0)+1 WHERE wkr_no=" +
                       LIB_SqlStr(user);
            if (LIB_DB_Execute(g_strSQL) < 0) return false;
        }
        // Cut to the log's columns: a long number typed at the login is still logged.
        return writeOpLogAs({utf8Left(user, kLogOperatorChars), LIB_ComputerName(), ""},
                            kLoginFailedLogCode, utf8Left(user, kLogKeyChars), "0", "0",
                            reason) >= 0;
    });
}

// The password check shared by the login and the password change: the operator row (into
// `worker`), the slowdown after repeated failures, the comparison, and what a result leaves
// behind (a counted failure, or a plain-text password turned into its hash).
LoginFailure checkPassword(const std::string& user, const std::string& password, LibArray& worker) {
    g_strSQL =
        "SELECT password, wkr_flag, code2,wkr_email, wkr_tele, pwd_hash, pwd_change, login_fails "
        "FROM LIB_WORKER WHERE wkr_no=" +
        LIB_SqlStr(user);
    if (LIB_DB_Select(g_strSQL, worker) < 0) {
        LIB_DB_ShowError();
        return LoginFailure::DatabaseError;
    }
    if (worker.recordCount() == 0) {
        recordFailure(user, false, "无此操作员");
        return LoginFailure::NoSuchOperator;
    }
    if (worker(kFlag, 2).str() == "0") {
        recordFailure(user, true, "操作员已停用");
        return LoginFailure::NotInUse;
    }
    if (worker(kFails, 2).num() >= kFreeLoginTries) {
        if (g_loginWait)
            g_loginWait(kLoginDelaySeconds);
        else
            std::this_thread::sleep_for(std::chrono::seconds(kLoginDelaySeconds));
    }
    const std::string hash = worker(kHash, 2).str(), plain = worker(kPlain, 2).str();
    bool matches = hash.empty() ? sqltext::upper(plain) == sqltext::upper(password)
                                : verifyPassword(hash, password);
    if (!matches) {
        recordFailure(user, true, "口令错误");
        return LoginFailure::WrongPassword;
    }
    bool convert = hash.empty() && !plain.empty();
    if (convert || worker(kFails, 2).num() > 0) {
        std::string set = "login_fails=0";
        if (convert) set += ", pwd_hash=" + LIB_SqlStr(hashPassword(password)) + ", password=NULL";
        if (!runInTransaction([&] {
                g_strSQL = "UPDATE lib_worker SET " + set + " WHERE wkr_no=" + LIB_SqlStr(user);
                return LIB_DB_Execute(g_strSQL) >= 0;
            }))
            return LoginFailure::DatabaseError;
    }
    return LoginFailure::None;
}

}  // namespace

std::string LIB_ComputerName() {
    if (!g_computerOverride.empty()) return sqltext::upper(g_computerOverride);
    // Terminals that share one host can each be given the name of their workstation group.
    if (const char* env = std::getenv("SERIALS_COMPUTER_NAME"); env && *env)
        return sqltext::upper(env);
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return sqltext::upper(name);
}

void LIB_SetComputerName(const std::string& name) {
    g_computerOverride = name;
}

LoginFailure LIB_LoginCheck(const std::string& userText, const std::string& password) {
    const std::string user = normalOperator(userText);
    g_previous = saveOperatorState();
    LibArray worker;
    switch (checkPassword(user, password, worker)) {
        case LoginFailure::None:
            break;
        case LoginFailure::NoSuchOperator:
            return fail(LoginFailure::NoSuchOperator, "ECM500");
        case LoginFailure::NotInUse:
            return fail(LoginFailure::NotInUse, "ECM501");
        case LoginFailure::WrongPassword:
            return fail(LoginFailure::WrongPassword, "ECM502");
        default:
            return fail(LoginFailure::DatabaseError, nullptr);
    }
    if (worker(kMustChange, 2).str() == "1")
        return fail(LoginFailure::MustChangePassword, "I请先修改登录口令，再用新口令登录。");

    LIB_ResetOperator();
    g_strWkrNo = user;
    // The further columns, e-mail and telephone, separated by ";".
    g_strWkrInfo = worker(kEmail, 2).str() + ";" + worker(kTele, 2).str();
    g_blnSpecialRight = worker(kCode2, 2).str() == "1";
    g_strComputer = LIB_ComputerName();

    LibArray stations;
    if (!selectOrReport(" SELECT loca_comp_lst.comp_name, loca_comp_lst.location FROM "
                        "USER_COMP_LST,LOCA_COMP_LST "
                        " WHERE user_comp_lst.wkr_no=" +
                            LIB_SqlStr(user) +
                            " AND user_comp_lst.comp_name=loca_comp_lst.comp_name",
                        stations))
        return fail(LoginFailure::DatabaseError, nullptr);
    // A group whose location is not filled in still admits its workstation.
    bool admitted = false;
    for (int row = 2; row < stations.rows() && !admitted; ++row) {
        admitted = sqltext::upper(stations(0, row).str()) == g_strComputer;
        if (admitted) g_strLocation = stations(1, row).str();
    }
    if (!admitted && user != "ROOT") return fail(LoginFailure::WrongWorkstation, "ECM503");

    if (!selectOrReport(
            "SELECT user_auth_lst.modu_code FROM user_auth_lst WHERE user_auth_lst.wkr_no = " +
                LIB_SqlStr(user),
            g_arrAuth) ||
        !selectOrReport("SELECT location FROM user_location WHERE wkr_no = " + LIB_SqlStr(user),
                        g_arrUserLoca))
        return fail(LoginFailure::DatabaseError, nullptr);
    return LoginFailure::None;
}

bool LIB_CheckRight(const std::string& code, int kind, bool showMsg) {
    if (g_strWkrNo == "ROOT") return true;
    bool granted = false;
    switch (kind) {
        case 0:
            for (int row = 2; row < g_arrAuth.rows() && !granted; ++row)
                granted = g_arrAuth(0, row).str() == code;
            break;
        case 4:
            return true;
        case 5:
            return g_blnSpecialRight;
        default:
            break;
    }
    if (!granted && showMsg) LIB_ShowMsg("ECM504");
    return granted;
}

bool LIB_Login(const std::string& user, const std::string& password) {
    return LIB_LoginCheck(user, password) == LoginFailure::None && LIB_LoginGranted();
}

bool LIB_PasswordMatches(const std::string& user, const std::string& password) {
    LibArray worker;
    return checkPassword(normalOperator(user), password, worker) == LoginFailure::None;
}

void setLoginWait(std::function<void(int)> wait) {
    g_loginWait = std::move(wait);
}

bool LIB_LoginGranted() {
    if (!LIB_CheckRight(rights::kSerials, 0, true)) {
        restoreOperatorState(g_previous);
        return false;
    }
    g_blnLogin = true;
    // The login itself is logged with its environment; a failure to log is shown but does not
    // undo the login.
    bool logged;
    {
        DbTransaction tx;
        logged = tx.ok() &&
                 LIB_WriteOpLog(kLoginLogCode, g_strWkrNo, "0", "0", g_strComputer,
                                LIB_LocationName(g_strLocation) + ":" + g_strLocation) == 0 &&
                 tx.commit() == 0;
    }
    if (!logged) LIB_DB_ShowError();
    return true;
}

int LIB_ChangePassword(const std::string& user, const std::string& newPassword,
                       const std::string& confirmation) {
    if (newPassword != confirmation) {
        LIB_ShowMsg("ECM510");
        return -1;
    }
    if (newPassword.empty()) {
        LIB_ShowMsg("E口令不能为空！");
        return -1;
    }
    // g_strSQL holds the hash: the error reporter masks it before it logs the statement.
    const std::string hash = hashPassword(newPassword);
    if (!runInTransaction([&] {
            g_strSQL =
                "UPDATE lib_worker SET password=NULL, pwd_hash=" + LIB_SqlStr(hash) +
                ", pwd_change='0', login_fails=0 WHERE wkr_no=" + LIB_SqlStr(normalOperator(user));
            return LIB_DB_Execute(g_strSQL) >= 0;
        }))
        return -1;
    LIB_ShowMsg("I成功修改登录口令！");
    return 0;
}

#include "app/basQKLogin.h"

#include <unistd.h>

#include <cstdlib>

#include "common/OperatorState.h"
#include "common/RightCodes.h"
#include "common/basCodeFunc.h"
#include "common/basLibOpLog.h"
#include "db/DbTransaction.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

std::string g_computerOverride;
constexpr const char* kLoginLogCode = "50000";

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
    const std::string user = sqltext::upper(sqltext::trim(userText));
    g_previous = saveOperatorState();
    LibArray worker;
    if (!selectOrReport(
            "SELECT password, wkr_flag, code2,wkr_email, wkr_tele FROM LIB_WORKER WHERE wkr_no=" +
                LIB_SqlStr(user),
            worker))
        return fail(LoginFailure::DatabaseError, nullptr);
    if (worker.recordCount() == 0) return fail(LoginFailure::NoSuchOperator, "ECM500");
    if (worker(1, 2).str() == "0") return fail(LoginFailure::NotInUse, "ECM501");
    if (sqltext::upper(worker(0, 2).str()) != sqltext::upper(password))
        return fail(LoginFailure::WrongPassword, "ECM502");

    LIB_ResetOperator();
    g_strWkrNo = user;
    // The further columns, e-mail and telephone, separated by ";".
    g_strWkrInfo = worker(3, 2).str() + ";" + worker(4, 2).str();
    g_blnSpecialRight = worker(2, 2).str() == "1";
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
    g_strSQL = "SELECT password, wkr_flag FROM lib_worker WHERE wkr_no=" +
               LIB_SqlStr(sqltext::upper(sqltext::trim(user)));
    if (LIB_DB_Select(g_strSQL, worker) < 0) {
        LIB_DB_ShowError();
        return false;
    }
    return worker.recordCount() == 1 && worker(1, 2).str() != "0" &&
           sqltext::upper(worker(0, 2).str()) == sqltext::upper(password);
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
    LIB_DB_BeginTrans();
    g_strSQL = "UPDATE lib_worker SET password=" + LIB_SqlStr(newPassword) +
               " WHERE wkr_no=" + LIB_SqlStr(sqltext::upper(sqltext::trim(user)));
    if (LIB_DB_Execute(g_strSQL) < 0) {
        LIB_DB_Rollback();
        LIB_DB_ShowError();
        return -1;
    }
    LIB_DB_CommitTrans();
    LIB_ShowMsg("I成功修改登录口令！");
    return 0;
}

#include "common/OperatorState.h"

std::string g_strWkrNo;
std::string g_strLocation;
std::string g_strWkrInfo;
std::string g_strComputer;
bool g_blnSpecialRight = false;
bool g_blnLogin = false;
LibArray g_arrAuth;
LibArray g_arrUserLoca;

void LIB_ResetOperator() {
    g_strWkrNo.clear();
    g_strLocation.clear();
    g_strWkrInfo.clear();
    g_strComputer.clear();
    g_blnSpecialRight = false;
    g_blnLogin = false;
    g_arrAuth = LibArray();
    g_arrUserLoca = LibArray();
}

OperatorSnapshot saveOperatorState() {
    return {g_strWkrNo,        g_strLocation, g_strWkrInfo, g_strComputer,
            g_blnSpecialRight, g_blnLogin,    g_arrAuth,    g_arrUserLoca};
}

void restoreOperatorState(const OperatorSnapshot& s) {
    g_strWkrNo = s.wkrNo;
    g_strLocation = s.location;
    g_strWkrInfo = s.wkrInfo;
    g_strComputer = s.computer;
    g_blnSpecialRight = s.specialRight;
    g_blnLogin = s.login;
    g_arrAuth = s.auth;
    g_arrUserLoca = s.userLoca;
}

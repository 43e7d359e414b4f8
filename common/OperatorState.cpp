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

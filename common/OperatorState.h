// The logged-in operator, kept for the rest of the run and read by every area.
#pragma once

#include <string>

#include "db/LibArray.h"

extern std::string g_strWkrNo;     // operator number, trimmed, upper case
extern std::string g_strLocation;  // location of the workstation logged in from
extern std::string g_strWkrInfo;   // further operator columns
extern std::string g_strComputer;  // the workstation's computer name, kept at login
extern bool g_blnSpecialRight;
extern bool g_blnLogin;
extern LibArray g_arrAuth;
extern LibArray g_arrUserLoca;

// Forget the operator (between tests).
void LIB_ResetOperator();

// The whole operator state, kept while a new login is tried so that a refused one leaves the
// operator who is logged in as they were.
struct OperatorSnapshot {
    std::string wkrNo, location, wkrInfo, computer;
    bool specialRight = false;
    bool login = false;
    LibArray auth, userLoca;
};
OperatorSnapshot saveOperatorState();
void restoreOperatorState(const OperatorSnapshot& s);

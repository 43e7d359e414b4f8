// System parameters: sys_comm_para, read once at start-up and answered from memory.
#pragma once

#include "db/LibArray.h"
#include "db/LibVar.h"

#include <string>
#include <vector>

extern LibArray g_arrSysPara;

// Reads sys_comm_para into g_arrSysPara; 0 or -1 (the failure is in g_ErrInfo).
int LIB_LoadSysPara();
// The value of parameter `code`, converted by the rule of that code: text, flag ("1" true),
// number, list (split at ","), or one of the special forms of codes 20, 22, 28 and 142.
LibVar LIB_GetSysPara(int code);
// Codes whose value is a list: 14, and 142 (the value stored under 14).
std::vector<std::string> LIB_GetSysParaList(int code);
// Messages and parameters, start-up's basic data; 0 or -1.
int LIB_InitBaseData();

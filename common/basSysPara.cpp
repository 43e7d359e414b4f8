#include "common/basSysPara.h"

#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

LibArray g_arrSysPara;

namespace {

std::string rawValue(int code) {
    for (int row = 2; row < g_arrSysPara.rows(); ++row)
        if (g_arrSysPara(0, row).num() == code) return g_arrSysPara(1, row).str();
    return {};
}

bool isFlag(int code) {
    return code == 4 || code == 7 || code == 11 || code == 29 || code == 39 || code == 40;
}

bool isNumber(int code) {
    return code == 5 || code == 6 || code == 8 || code == 9 || code == 10 || code == 12;
}

}  // namespace

int LIB_LoadSysPara() {
    g_strSQL = "SELECT sys_para_code,sys_para_value FROM sys_comm_para ORDER BY sys_para_code";
    return LIB_DB_Select(g_strSQL, g_arrSysPara);
}

LibVar LIB_GetSysPara(int code) {
    std::string v = rawValue(code == 142 ? 14 : code);
    if (code == 29) v = sqltext::trim(v);
    if (isFlag(code)) return LibVar(v == "1" ? 1 : 0);
    if (isNumber(code)) return LibVar(LibVar(v).num());
    switch (code) {
        case 20: {
            std::string s = sqltext::replaceAll(v, "_", " ");
            return LibVar(s.empty() ? std::string(" ") : s);
        }
        case 22:
            return LibVar(sqltext::trim(v));
        case 28: {
            std::string s = sqltext::trim(v);
            return s.empty() ? LibVar(-1) : LibVar(s);
        }
        default:
            return LibVar(v);
    }
}

std::vector<std::string> LIB_GetSysParaList(int code) {
    return LIB_Split(rawValue(code == 142 ? 14 : code), ",");
}

int LIB_InitBaseData() {
    if (LIB_LoadMsg() < 0) return -1;
    return LIB_LoadSysPara();
}

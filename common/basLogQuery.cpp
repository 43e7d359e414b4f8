#include "common/basLogQuery.h"

#include <map>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {
int select(const std::string& sql, LibArray& out) {
    g_strSQL = sql;
    if (LIB_DB_Select(g_strSQL, out) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}
}  // namespace

int LIB_LoadLogTypes(LibArray& types) {
    return select("SELECT log_type, log_name FROM log_type ORDER BY log_type", types);
}

int LIB_QueryOpLog(const LogFilter& f, LibArray& rows) {
    if (!f.from.empty() && !f.to.empty() && f.from > f.to) {
        LIB_ShowMsg("EQK112");
        return -1;
    }
    std::string where = " WHERE 1=1";
    if (!f.from.empty()) where += " AND d.log_date>=" + LIB_SqlStr(f.from);
    if (!f.to.empty()) where += " AND d.log_date<=" + LIB_SqlStr(f.to);
    if (!f.wkrNo.empty()) where += " AND d.wkr_no=" + LIB_SqlStr(f.wkrNo);
    if (!f.logType.empty()) where += " AND d.log_type=" + LIB_SqlStr(f.logType);
    return select(
        "SELECT d.log_date, d.log_time, d.log_type, nvl(t.log_name,''), d.wkr_no, d.comp_name, "
        "d.location, "
        "d.obj_key1, d.obj_key2, d.obj_key3, d.obj_desc1, d.obj_desc2, d.obj_desc3 "
        "FROM log_detl d LEFT JOIN log_type t ON t.log_type=d.log_type" +
            where + " ORDER BY d.log_date DESC, d.log_time DESC",
        rows);
}

std::vector<std::string> LIB_LogKeyCaptions(const std::string& logType) {
    static const std::map<std::string, std::vector<std::string>> known{
        {"50000", {"操作员", "", "", "工作站", "地点", ""}},
        {"50016", {"发行商|年度批次", "", "", "", "", ""}},
        {"50018", {"书目记录号", "发行商", "年度批次", "刊名:征订号", "", ""}},
        {"50019", {"书目记录号", "发行商", "年度批次", "操作:征订号", "", ""}}};
    std::vector<std::string> out{"关键字1", "关键字2", "关键字3", "说明1", "说明2", "说明3"};
    if (auto it = known.find(logType); it != known.end())
        for (std::size_t i = 0; i < out.size(); ++i)
            if (!it->second[i].empty()) out[i] = it->second[i];
    return out;
}

#include "common/basLibOpLog.h"

#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "db/ProcRegistry.h"
#include "db/basLibDB.h"

namespace {

std::string quote(const std::string& v) {
    return LIB_SqlStr(v);
}

void xtLogDetl(ProcCall& c) {
    c.expectArgs(10);
    std::string now = c.now();
    std::string sql =
        "INSERT INTO log_detl (log_type, obj_key1, wkr_no, comp_name, location, obj_key2, "
        "obj_key3, "
        "obj_desc1, obj_desc2, obj_desc3, log_date, log_time) VALUES (";
    for (std::size_t i = 0; i < 10; ++i)
        sql += quote(c.text(i)) + ",";
    sql += quote(now.substr(0, 10)) + "," + quote(now.substr(11, 8)) + ")";
    c.db().execute(sql);
}

void xtWkrJobQty(ProcCall& c) {
    c.expectArgs(5);
    std::string day = c.now().substr(0, 10);
    std::string kind = formatNumber(c.number(2)), volume = formatNumber(c.number(3)),
                amount = formatNumber(c.number(4));
    // One statement, so that two workstations counting the day's first job cannot both insert.
    c.db().execute(
        "INSERT INTO wkr_job_qty (wkr_no_f, oper_date, job_type, kind, volume, amount) VALUES (" +
        quote(c.text(1)) + "," + quote(day) + "," + quote(c.text(0)) + "," + kind + "," + volume +
        "," + amount +
        ") ON CONFLICT (wkr_no_f, oper_date, job_type) DO UPDATE SET "
        "kind=nvl(wkr_job_qty.kind,0)+excluded.kind, "
        "volume=nvl(wkr_job_qty.volume,0)+excluded.volume, "
        "amount=nvl(wkr_job_qty.amount,0)+excluded.amount");
}

}  // namespace

int LIB_WriteOpLog(const std::string& code, const std::string& key1, const std::string& key2,
                   const std::string& key3, const std::string& text1, const std::string& text2,
                   const std::string& text3) {
    return writeOpLogAs({g_strWkrNo, g_strComputer, g_strLocation}, code, key1, key2, key3, text1,
                        text2, text3);
}

int writeOpLogAs(const OpLogActor& actor, const std::string& code, const std::string& key1,
                 const std::string& key2, const std::string& key3, const std::string& text1,
                 const std::string& text2, const std::string& text3) {
    const std::string args[] = {
        code, key1, actor.wkrNo, actor.computer, LIB_LocationName(actor.location),
        key2, key3, text1,       text2,          text3};
    std::string list;
    for (const auto& a : args)
        list += (list.empty() ? "" : ",") + LIB_SqlStr(a);
    return LIB_DB_CallProc(" xt_log_detl " + list);
}

int LIB_AddJobQty(const std::string& jobType, long long kind, long long volume, double amount) {
    return LIB_DB_CallProc("XT_wkr_job_qty " + LIB_SqlStr(jobType) + "," +
                           LIB_SqlStr(LIB_GetSysInfo(4)) + "," + std::to_string(kind) + "," +
                           std::to_string(volume) + "," + formatNumber(amount));
}

void registerOpLogProcedures() {
    LIB_DB_RegisterProc("xt_log_detl", xtLogDetl);
    LIB_DB_RegisterProc("XT_wkr_job_qty", xtWkrJobQty);
}

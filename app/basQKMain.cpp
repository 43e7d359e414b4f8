#include "app/basQKMain.h"

#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/basSysPara.h"
#include "db/SchemaUpgrade.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/basBMIndex.h"

namespace {
constexpr int kStartupFailed = 1;
// The serials screens list locations in the order kept for operation type 4.
constexpr int kSerialsOperType = 4;

[[noreturn]] void failStep(StartupView& view, const std::string& message) {
    view.setBusy(false);
    LIB_ShowMsg(message);
    LIB_ExitSystem(kStartupFailed);
}
// The loaders fill no message into the error record (they have reported their database error
// already), so the box says which data failed.
[[noreturn]] void failLoader(StartupView& view) {
    failStep(view, "E初始化代码基本数据出错，启动失败！\n请检查数据库中的代码表。");
}

// A database of another layout would be read and written wrongly: the program stops and says
// what to run.
std::string schemaProblem() {
    try {
        return schemaVersionProblem(databaseSchemaVersion(*g_OraDatabase), programSchemaVersion());
    } catch (const DbError& e) {
        return "无法读取数据库结构版本：" + e.oraText();
    }
}
}  // namespace

int QK_Main(StartupView& view) {
    view.setBusy(true);

    view.setStatus("取系统环境变量...");
    g_intRet = LIB_ReadEnvironment();
    if (g_intRet < 0) failStep(view, "E系统环境出错，启动失败！");

    view.setStatus("连接数据库...");
    g_intRet = LIB_DB_Connect();
    if (g_intRet < 0) {
        view.setBusy(false);
        LIB_DB_ShowError();
        LIB_ExitSystem(kStartupFailed);
    }
    if (std::string problem = schemaProblem(); !problem.empty()) failStep(view, "E" + problem);

    view.setStatus("初始化系统使用的基本数据...");
    g_intRet = LIB_InitBaseData();
    if (g_intRet < 0) {
        view.setBusy(false);
        LIB_DB_ShowError();
        failStep(view, "E系统初始化出错，启动失败！");
    }

    // Code tables and settings; a failing loader has reported its database error already.
    g_intRet = LIB_LoadCodeTables();
    view.setStatus("初始化代码基本数据...");
    if (g_intRet < 0) failLoader(view);
    LIB_LoadLocationOrder(kSerialsOperType);
    if (LIB_LoadAcqCodes() < 0) failLoader(view);
    if (LIB_LoadMarcIndexParams() < 0) failLoader(view);
    if (LIB_LoadMarcFieldDefs() < 0) failLoader(view);
    if (LIB_LoadSerialLists() < 0) failLoader(view);

    view.setStatus("用户登录");
    view.enterLoginMode();
    view.setBusy(false);
    return 0;
}

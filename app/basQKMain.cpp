#include "app/basQKMain.h"

#include "app/basQKEnv.h"
#include "common/basSysPara.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {
constexpr int kStartupFailed = 1;

[[noreturn]] void failStep(StartupView& view, const std::string& message) {
    view.setBusy(false);
    LIB_ShowMsg(message);
    LIB_ExitSystem(kStartupFailed);
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

    view.setStatus("初始化系统使用的基本数据...");
    g_intRet = LIB_InitBaseData();
    if (g_intRet < 0) {
        view.setBusy(false);
        LIB_DB_ShowError();
        failStep(view, "E系统初始化出错，启动失败！");
    }

    view.setStatus("用户登录");
    view.enterLoginMode();
    view.setBusy(false);
    return 0;
}

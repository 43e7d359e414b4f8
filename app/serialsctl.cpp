// serialsctl: global options, then a verb and its arguments.
#include <cstdlib>
#include <iostream>

#include "app/basQKLogin.h"
#include "app/basQKMain.h"
#include "app/basQKRegister.h"
#include "app/ctl/Ctl.h"
#include "common/basQKEnv.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

void printHelp() {
    std::cout << "用法: serialsctl [--home DIR] [--yes|--no] VERB [参数...]\n\n"
                 "全局选项:\n"
                 "  --home DIR   程序目录（含 mavren.ini），缺省为程序所在目录\n"
                 "  --user NO, --password PWD\n"
                 "               以该操作员登录（也可用环境变量 SERIALS_USER、SERIALS_PASSWORD）\n"
                 "  --yes, --no  对询问一律回答“确定”或“取消”\n\n"
                 "命令:\n";
    for (const auto& v : ctlVerbs())
        std::cout << "  " << v.usage << "\n      " << v.summary << "\n";
}

}  // namespace

bool ctlStartSession(const char* right) {
    QuietStartup startup;
    QK_Main(startup);
    if (!right) return true;
    // The same checks and messages as the login form, then the verb's own right.
    if (ctlLogin().user.empty()) {
        std::cerr << "该命令需要以操作员身份执行：请给出 --user 和 --password。\n";
        return false;
    }
    LoginFailure why = LIB_LoginCheck(ctlLogin().user, ctlLogin().password);
    if (why == LoginFailure::MustChangePassword)
        std::cerr << "请先修改口令：serialsctl --user " << ctlLogin().user
                  << " --password 原口令 passwd 新口令 新口令\n";
    return why == LoginFailure::None && LIB_LoginGranted() && LIB_CheckRight(right, 0, true);
}

int main(int argc, char** argv) {
    LIB_RegisterProcedures();
    registerBaseVerbs();
    registerUpgradeVerbs();
    registerOperatorVerbs();
    registerOrderVerbs();
    registerMarcVerbs();
    registerCheckinVerbs();
    registerCheckinConfigVerbs();
    registerBindingVerbs();
    registerClaimVerbs();
    registerReportVerbs();
    if (const char* u = std::getenv("SERIALS_USER")) ctlLogin().user = u;
    if (const char* p = std::getenv("SERIALS_PASSWORD")) ctlLogin().password = p;
    ConsolePresenter::Answer answer = ConsolePresenter::Answer::Ask;
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--home" && i + 1 < argc) {
            LIB_SetProgramDir(argv[++i]);
        } else if (a == "--user" && i + 1 < argc) {
            ctlLogin().user = argv[++i];
        } else if (a == "--password" && i + 1 < argc) {
            ctlLogin().password = argv[++i];
        } else if (a == "--yes") {
            answer = ConsolePresenter::Answer::Ok;
        } else if (a == "--no") {
            answer = ConsolePresenter::Answer::Cancel;
        } else if (a == "--help" || a == "-h" || a == "help") {
            printHelp();
            return 0;
        } else {
            break;
        }
    }
    if (i >= argc) {
        printHelp();
        return 2;
    }
    ConsolePresenter presenter(answer);
    LIB_SetPresenter(&presenter);
    std::string verb = argv[i];
    // A verb of two words ("checkin predict") lets one area's commands differ in session and
    // right; it takes precedence over a one-word verb of the same first word.
    const std::string twoWords = i + 1 < argc ? verb + " " + argv[i + 1] : std::string();
    const CtlVerb* chosen = nullptr;
    for (const auto& v : ctlVerbs()) {
        if (!twoWords.empty() && v.name == twoWords) {
            chosen = &v;
            break;
        }
        if (v.name == verb && !chosen) chosen = &v;
    }
    if (chosen) {
        const CtlVerb& v = *chosen;
        const int skip = v.name == twoWords ? 2 : 1;
        std::vector<std::string> args(argv + i + skip, argv + argc);
        if (v.needsSession && !ctlStartSession(v.right)) return 1;
        // An exception escaping the verb is reported as the client reports it, and fails it.
        int rc = runTrapped([&] { return v.run(args); });
        std::cout.flush();
        return rc < 0 ? 1 : rc;
    }
    std::cerr << "未知命令: " << verb << "（serialsctl --help 列出全部命令）\n";
    return 2;
}

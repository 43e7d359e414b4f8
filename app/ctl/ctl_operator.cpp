// serialsctl verbs about the operator: who is logged in, changing the password, and the
// operation log.
#include <iostream>

#include "app/basQKLogin.h"
#include "app/ctl/Ctl.h"
#include "common/OperatorState.h"
#include "common/RightCodes.h"
#include "common/basCodeFunc.h"
#include "common/basLogQuery.h"
#include "db/LibArray.h"
#include "db/basLibMsg.h"

namespace {

int usageError(const std::string& usage) {
    std::cerr << "用法: serialsctl " << usage << "\n";
    return 2;
}

std::string column(const LibArray& a, int col) {
    std::string out;
    for (int row = 2; row < a.rows(); ++row)
        out += (out.empty() ? "" : " ") + a(col, row).str();
    return out.empty() ? "（无）" : out;
}

int whoami(const std::vector<std::string>& args) {
    if (!args.empty()) return usageError("whoami");
    std::string name = LIB_CodeName(g_arrWorker, g_strWkrNo);
    std::cout << "操作员：" << g_strWkrNo << (name.empty() ? "" : " " + name) << "\n"
              << "工作站：" << g_strComputer << "\n"
              << "地点："
              << (g_strLocation.empty()
                      ? "（不限）"
                      : LIB_LocationName(g_strLocation) + " (" + g_strLocation + ")")
              << "\n"
              << "权限：" << (g_strWkrNo == "ROOT" ? "（全部）" : column(g_arrAuth, 0)) << "\n"
              << "可操作地点：" << column(g_arrUserLoca, 0) << "\n";
    return 0;
}

// As on the login form, only the operator number and the present password are checked: an
// operator who must change the password before logging in does it here.
int passwd(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageError("passwd NEW CONFIRM");
    const CtlLogin& login = ctlLogin();
    if (login.user.empty()) {
        std::cerr << "请给出 --user 和 --password（原口令）。\n";
        return 1;
    }
    if (!LIB_PasswordMatches(login.user, login.password)) {
        LIB_ShowMsg("E请输入正确的名称以及口令！");
        return 1;
    }
    return LIB_ChangePassword(login.user, args[0], args[1]) < 0 ? 1 : 0;
}

int log(const std::vector<std::string>& args) {
    const char* usage = "log [--from yyyy-mm-dd] [--to yyyy-mm-dd] [--user WKRNO] [--type CODE]";
    LogFilter f;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return usageError(usage);
        const std::string& v = args[++i];
        if (args[i - 1] == "--from")
            f.from = v;
        else if (args[i - 1] == "--to")
            f.to = v;
        else if (args[i - 1] == "--user")
            f.wkrNo = v;
        else if (args[i - 1] == "--type")
            f.logType = v;
        else
            return usageError(usage);
    }
    LibArray rows;
    if (LIB_QueryOpLog(f, rows) < 0) return 1;
    for (int c = 0; c < rows.cols(); ++c)
        rows(c, 0) = kLogColumns[c];
    std::cout << LibArrayPrinter::format(rows);
    return 0;
}

}  // namespace

void registerOperatorVerbs() {
    auto& v = ctlVerbs();
    v.push_back({"whoami", "whoami", "登录后列出操作员、地点、权限和可操作地点", true,
                 rights::kSerials, whoami});
    v.push_back(
        {"passwd", "passwd NEW CONFIRM", "修改当前操作员的登录口令", true, nullptr, passwd});
    v.push_back({"log", "log [--from D] [--to D] [--user WKRNO] [--type CODE]", "查询操作日志",
                 true, rights::kOperationLog, log});
}

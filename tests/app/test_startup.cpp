// The start-up sequence: its status lines in order, the login mode at the end, and each way
// it fails: the message the operator sees, the exit code, the log line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/basQKEnv.h"
#include "app/basQKMain.h"
#include "common/basLibLog.h"
#include "db/basLibDB.h"
#include "tests/support/TestDb.h"

namespace {

class RecordingView : public StartupView {
public:
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setBusy(bool b) override { busy = b; }
    void enterLoginMode() override { loginMode = true; }
    std::vector<std::string> statuses;
    bool busy = false;
    bool loginMode = false;
};

class Startup : public HomeTest {
protected:
    // Runs start-up; returns the exit code it ended with, or -1 when it reached the login.
    int run() {
        try {
            QK_Main(view);
            return -1;
        } catch (const ExitRequested& e) {
            return e.code;
        }
    }
    std::string logText() {
        std::ifstream in(LIB_LogFilePath());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    RecordingView view;
};
SERIALS_ON_BOTH_BACKENDS(Startup);

TEST_P(Startup, EndsInLoginModeAfterItsStatusLines) {
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"取系统环境变量...", "连接数据库...",
                                                       "初始化系统使用的基本数据...",
                                                       "初始化代码基本数据...", "用户登录"}));
    EXPECT_TRUE(view.loginMode);
    EXPECT_FALSE(view.busy);
    EXPECT_TRUE(presenter.shown.empty());
    // The message table is loaded: codes have their texts.
    EXPECT_NE(LIB_GetMsgText("ECM012"), "ECM012");
}

TEST_P(Startup, MissingSettingsFileEndsWithTheConnectionMessage) {
    std::filesystem::remove(home->dir() + "/mavren.ini");
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(presenter.bodies(), (std::vector<std::string>{"与数据库连接失败，启动失败！"}));
    EXPECT_FALSE(view.loginMode);
    EXPECT_NE(logText().find(";ORA-"), std::string::npos);
}

TEST_P(Startup, SettingsWithoutServerSectionEndWithTheConnectionMessage) {
    home->writeIni("[LIB-DATA]\nLIB_SERVER=ELSEWHERE\n");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"与数据库连接失败，启动失败！"}));
}

TEST_P(Startup, UnreadableSettingsEndWithTheEnvironmentMessage) {
    std::filesystem::remove(home->dir() + "/mavren.ini");
    std::filesystem::create_directory(home->dir() + "/mavren.ini");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"系统环境出错，启动失败！"}));
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"取系统环境变量..."}));
    EXPECT_NE(logText().find("初始化文件[mavren.ini]出错"), std::string::npos);
}

TEST_P(Startup, MissingMessageTableEndsWithTheInitialisationMessage) {
    {
        LIB_SetProgramDir(home->dir());
        ASSERT_EQ(LIB_ReadEnvironment(), 0);
        auto db = LIB_DB_OpenBackend(LIB_DB_ConnectParams());
        db->execute("DROP TABLE msg_mst");
    }
    EXPECT_EQ(run(), 1);
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().body, "系统初始化出错，启动失败！");
    EXPECT_NE(logText().find(";SQL语法:SELECT msg_id, msg_content FROM msg_mst"),
              std::string::npos);
}

TEST_P(Startup, UnreadableCodeTableEndsAfterReportingIt) {
    {
        LIB_SetProgramDir(home->dir());
        ASSERT_EQ(LIB_ReadEnvironment(), 0);
        LIB_DB_OpenBackend(LIB_DB_ConnectParams())->execute("DROP TABLE publ_freq");
    }
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].body, LIB_GetMsgText("ECM012"));
    EXPECT_EQ(presenter.shown[1].body,
              "初始化代码基本数据出错，启动失败！\n请检查数据库中的代码表。");
    EXPECT_FALSE(view.loginMode);
}

}  // namespace

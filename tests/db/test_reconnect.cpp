// A PostgreSQL server that goes away under a running session: the next statement reports the
// lost session, the operator is asked to reconnect, and the session works again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/basQKEnv.h"
#include "db/basLibDB.h"
#include "tests/support/PgCluster.h"
#include "tests/support/TestDb.h"

namespace {

class Reconnect : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cluster.available()) GTEST_SKIP() << "PostgreSQL server programs are not installed";
        ASSERT_TRUE(cluster.start());
        ConnectParams admin{kPostgres, "postgres", cluster.server(), "postgres", "", false};
        openPgBackend(admin)->execute("CREATE DATABASE serials");
        ConnectParams p{kPostgres, "serials", cluster.server(), "postgres", "", false};
        std::string message;
        ASSERT_EQ(installDatabase(*openPgBackend(p), {}, message), 0) << message;

        home = std::filesystem::temp_directory_path() /
               ("serials-reconnect-" + std::to_string(getpid()));
        std::filesystem::create_directories(home / "LOG");
        std::ofstream(home / "mavren.ini")
            << "[LIB-DATA]\nLIB_SERVER=S\n[S]\nDRIVER=PostgreSQL\nDSN=serials\n"
               "SERVER="
            << cluster.server() << "\nUID=postgres\n";
        LIB_SetPresenter(&presenter);
        installThrowingExit();
        LIB_SetProgramDir(home.string());
        ASSERT_EQ(LIB_ReadEnvironment(), 0);
        ASSERT_EQ(LIB_DB_Connect(), 0) << g_ErrInfo.strDesc;
    }
    void TearDown() override {
        resetProcessState();
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }

    int selectOne() {
        LibArray a;
        return LIB_DB_Select("SELECT dummy FROM dual", a);
    }

    PgCluster cluster;
    std::filesystem::path home;
    ScriptedPresenter presenter;
};

TEST_F(Reconnect, OperatorReconnectsOnceTheServerIsBack) {
    ASSERT_EQ(selectOne(), 0);
    ASSERT_TRUE(cluster.stop());

    EXPECT_EQ(selectOne(), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 3113) << g_ErrInfo.strDesc;

    // Yes to reconnecting; the first try fails while the server is still down; the server
    // comes back while the second question is open, and yes again reconnects.
    presenter.replies.push_back({kMsgOk, {}});
    presenter.replies.push_back({kMsgOk, [this] { ASSERT_TRUE(cluster.start()); }});
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.bodies(),
              (std::vector<std::string>{"网络非正常中断，重新连接数据库？",
                                        "数据库连接失败，重新连接数据库？", "数据库连接成功！"}));
    EXPECT_EQ(selectOne(), 0) << g_ErrInfo.strDesc;
}

TEST_F(Reconnect, CancelLeavesTheSessionClosed) {
    ASSERT_TRUE(cluster.stop());
    EXPECT_EQ(selectOne(), -1);
    presenter.replies.push_back({kMsgCancel, {}});
    LIB_DB_ShowError();
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"网络非正常中断，重新连接数据库？"}));
    ASSERT_TRUE(cluster.start());
    // Nothing reconnected: the next statement finds no session, which asks again.
    EXPECT_EQ(selectOne(), -1);
    EXPECT_EQ(g_ErrInfo.lngOraErr, 3114);
}

}  // namespace

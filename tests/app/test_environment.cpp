// mavren.ini, the connect data built from it, the program directories, the stored password
// form and the local log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "common/basLibLog.h"
#include "common/basQKEnv.h"
#include "db/Gbk.h"
#include "db/basLibDB.h"
#include "tests/support/TestDb.h"

namespace fs = std::filesystem;

namespace {

class Environment : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("serials-env-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "LOG");
        LIB_SetProgramDir(dir.string());
    }
    void TearDown() override {
        resetProcessState();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void writeIni(const std::string& text) {
        std::ofstream(dir / "mavren.ini", std::ios::binary) << text;
    }
    std::string logText() {
        std::ifstream in(LIB_LogFilePath());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir;
};

TEST_F(Environment, ConnectStringHasItsPartsInKeyOrder) {
    writeIni(
        "[LIB-DATA]\nLIB_SERVER=MAIN\n[MAIN]\nDATABASE=lib\nPWD=" + LIB_EncodePassword("s3cret") +
        "\nUID=serials\nSERVER=db:5432\nDSN=serials\nDRIVER=PostgreSQL\n");
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strServer, "MAIN");
    EXPECT_EQ(g_strConnect, "DRIVER={PostgreSQL};DSN=serials;SERVER=db:5432;UID=serials;PWD=" +
                                LIB_EncodePassword("s3cret") + ";DATABASE=lib");
    EXPECT_EQ(g_strDSN, "serials");
    EXPECT_EQ(g_strUID, "serials");
    EXPECT_EQ(g_strPWD, "s3cret");
}

TEST_F(Environment, APasswordInAFileOthersCanReadIsWarnedAbout) {
    writeIni("[LIB-DATA]\nLIB_SERVER=M\n[M]\nDRIVER=PostgreSQL\nDSN=x\nPWD=" +
             LIB_EncodePassword("s3cret") + "\n");
    fs::permissions(dir / "mavren.ini", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(logText(), "");
    fs::permissions(dir / "mavren.ini", fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::add);
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_NE(logText().find("mavren.ini 含数据库口令(PWD)，且其他用户可读"), std::string::npos);
    EXPECT_EQ(logText().find("s3cret"), std::string::npos);
}

TEST_F(Environment, WithoutPwdNoPasswordIsPassedAndLibpqMayFindItsOwn) {
    writeIni("[LIB-DATA]\nLIB_SERVER=M\n[M]\nDRIVER=PostgreSQL\nDSN=x\nUID=u\n");
    fs::permissions(dir / "mavren.ini", fs::perms::all);
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(LIB_DB_ConnectParams().pwd, "");
    EXPECT_EQ(logText(), "");
}

TEST_F(Environment, OnlyDsnUserAndPasswordGiven) {
    writeIni("[lib-data]\nlib_server = Local \n[LOCAL]\ndsn=serials.db\nuid=u1\npwd=plain\n");
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strConnect, "DSN=serials.db;UID=u1;PWD=plain;");
    EXPECT_EQ(g_strPWD, "plain");
    // A relative database file lies in the program directory.
    EXPECT_EQ(LIB_DB_ConnectParams().dsn, (dir / "serials.db").string());
}

TEST_F(Environment, NoServerSectionLeavesEverythingEmptyAndConnectFails) {
    writeIni("[LIB-DATA]\n[LOCAL]\nDSN=serials.db\n");
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strServer, "");
    EXPECT_EQ(g_strConnect, "");
    EXPECT_EQ(g_strDSN, "");
    EXPECT_EQ(LIB_DB_Connect(), -1);
    EXPECT_EQ(g_ErrInfo.lngSource, kSrcConnect);
    EXPECT_EQ(g_ErrInfo.strFunc, "LIB_DB_Connect");
}

TEST_F(Environment, MissingFileYieldsEmptyValues) {
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strConnect, "");
    EXPECT_EQ(LIB_DB_Connect(), -1);
}

TEST_F(Environment, UnreadableFileFailsAndWritesTheLogLine) {
    fs::create_directories(dir / "mavren.ini");
    EXPECT_EQ(LIB_ReadEnvironment(), -1);
    EXPECT_NE(logText().find(";初始化文件[mavren.ini]出错，请与系统管理员联系，恢复正常的文件。"),
              std::string::npos);
}

TEST_F(Environment, LongValuesAreCutTo255Characters) {
    writeIni("[LIB-DATA]\nLIB_SERVER=S\n[S]\nDSN=" + std::string(300, 'd') + "\n");
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strDSN, std::string(255, 'd'));
    std::string chinese;
    for (int i = 0; i < 300; ++i)
        chinese += "期";
    writeIni("[LIB-DATA]\nLIB_SERVER=S\n[S]\nDSN=" + chinese + "\n");
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strDSN.size(), 255u * 3);
}

TEST_F(Environment, GbkEncodedFileIsRead) {
    writeIni(utf8ToGbk("[LIB-DATA]\nLIB_SERVER=图书馆\n[图书馆]\nDSN=期刊.db\n"));
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    EXPECT_EQ(g_strDSN, "期刊.db");
}

TEST_F(Environment, DirectoriesAndEnvironmentItems) {
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    std::string base = dir.string() + "/";
    EXPECT_EQ(g_strPath[0], base);
    EXPECT_EQ(LIB_GetSysInfo(10).str(), base);
    EXPECT_EQ(LIB_GetSysInfo(11).str(), base + "BIN/");
    EXPECT_EQ(LIB_GetSysInfo(12).str(), base + "DOC/");
    EXPECT_EQ(LIB_GetSysInfo(13).str(), base + "TMP/");
    EXPECT_EQ(LIB_GetSysInfo(14).str(), base + "CFG/");
    EXPECT_EQ(LIB_GetSysInfo(15).str(), base + "LOG/");
    EXPECT_EQ(LIB_GetSysInfo(16).str(), base + "DAT/");
    EXPECT_EQ(LIB_GetSysInfo(17).str(), base + "CFG/BM/BaseParam/");
    EXPECT_EQ(LIB_GetSysInfo(18).str(), base + "CFG/BM/CardParam/");
    EXPECT_EQ(LIB_GetSysInfo(19).str(), base + "CFG/BM/Template/");
    EXPECT_EQ(LIB_GetSysInfo(20).str(), base + "CFG/BM/Z3950/");
    EXPECT_EQ(LIB_GetSysInfo(8).num(), 1);
    EXPECT_TRUE(LIB_GetSysInfo(21).isEmpty());
    EXPECT_TRUE(LIB_GetSysInfo(99).isEmpty());
}

TEST(StoredPassword, ThreeDigitsPerByteAndBackAgain) {
    for (std::string pw : {"a", "ROOT", "aaaa", "p@ss w0rd!", "口令"}) {
        std::string stored = LIB_EncodePassword(pw);
        EXPECT_EQ(stored.size(), pw.size() * 3);
        EXPECT_EQ(stored.find_first_not_of("0123456789"), std::string::npos);
        EXPECT_EQ(LIB_DecodePassword(stored), pw);
    }
    // Repeated characters do not repeat in the stored form.
    std::string s = LIB_EncodePassword("aa");
    EXPECT_NE(s.substr(0, 3), s.substr(3, 3));
    EXPECT_EQ(LIB_DecodePassword("secret"), "secret");
}

TEST_F(Environment, LogFileGetsOneLinePerCallInTheDaysFile) {
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    ASSERT_EQ(B_WriteLogFile("t", "第一行", kLogAppend), 0);
    ASSERT_EQ(B_WriteLogFile("t", "second", kLogAppend), 0);
    std::regex name(R"(.*/LOG/\d{4}-\d{2}-\d{2}_Log\.log)");
    EXPECT_TRUE(std::regex_match(LIB_LogFilePath(), name)) << LIB_LogFilePath();
    std::string text = logText();
    std::regex lines(
        R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2};第一行\n\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2};second\n)");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;
    ASSERT_EQ(B_WriteLogFile("t", "fresh", kLogOverwrite), 0);
    EXPECT_EQ(logText().substr(20), "fresh\n");
}

TEST_F(Environment, LogFileThatCannotBeWrittenIsAFileError) {
    ASSERT_EQ(LIB_ReadEnvironment(), 0);
    fs::remove_all(dir / "LOG");
    EXPECT_EQ(B_WriteLogFile("t", "lost", kLogAppend), -1);
    EXPECT_EQ(g_ErrInfo.lngSource, kSrcFile);
}

}  // namespace

#include "common/basQKEnv.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/IniFile.h"
#include "common/OperatorState.h"
#include "common/basLibLog.h"
#include "common/basSysPara.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

std::string g_strServer;
std::string g_strConnect;
std::string g_strDriver;
std::string g_strDSN;
std::string g_strHost;
std::string g_strUID;
std::string g_strPWD;
std::array<std::string, 11> g_strPath;
int g_intRet = 0;

namespace {

std::string g_programDir;
std::function<void(int)> g_exitHandler;

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string executableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path().string() : exe.parent_path().string();
}

void buildPaths() {
    g_strPath[0] = withSlash(LIB_ProgramDir());
    const char* under0[] = {"BIN/", "DOC/", "CFG/", "LOG/", "TMP/", "DAT/"};
    for (int i = 0; i < 6; ++i)
        g_strPath[i + 1] = g_strPath[0] + under0[i];
    const char* underCfg[] = {"BM/BaseParam/", "BM/CardParam/", "BM/Template/", "BM/Z3950/"};
    for (int i = 0; i < 4; ++i)
        g_strPath[i + 7] = g_strPath[3] + underCfg[i];
}

// The scramble mixes each byte with its position, so repeated characters do not repeat.
constexpr unsigned kMask = 0x5A;
unsigned scrambleByte(unsigned b, std::size_t i) {
    return ((b + 7 * i + 101) % 256) ^ kMask;
}
unsigned unscrambleByte(unsigned v, std::size_t i) {
    return ((v ^ kMask) + 256 * 4 - (7 * i + 101) % 256) % 256;
}

}  // namespace

void LIB_SetProgramDir(const std::string& dir) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(dir, ec);
    g_programDir = ec ? dir : abs.lexically_normal().string();
    while (g_programDir.size() > 1 && g_programDir.back() == '/')
        g_programDir.pop_back();
}

std::string LIB_ProgramDir() {
    if (g_programDir.empty()) g_programDir = executableDir();
    return g_programDir;
}

void connectSessionReporting() {
    LIB_SetErrorLog([](const std::string& text) {
        if (LIB_GetSysInfo(8).num() != 0) B_WriteLogFile("LIB_DB_ShowError", text, 0);
    });
    LIB_SetMsgTitle([] { return LIB_GetSysPara(1).str(); });
}

int LIB_ReadEnvironment() {
    connectSessionReporting();
    g_strServer = g_strConnect = g_strDriver = g_strDSN = g_strHost = g_strUID = g_strPWD = "";
    buildPaths();
    std::string path = g_strPath[0] + "mavren.ini";
    std::optional<IniFile> ini;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        ini = IniFile::parse("");  // a missing file yields empty values
    } else {
        ini = S_ISREG(st.st_mode) ? IniFile::load(path) : std::nullopt;
        if (!ini) {
            B_WriteLogFile("系统初始化",
                           "初始化文件[mavren.ini]出错，请与系统管理员联系，恢复正常的文件。", 0);
            return -1;
        }
    }
    g_strServer = ini->get("LIB-DATA", "LIB_SERVER");
    auto read = [&](const char* key) { return ini->get(g_strServer, key); };
    if (auto v = read("DRIVER"); !v.empty()) {
        g_strDriver = v;
        g_strConnect += "DRIVER={" + v + "};";
    }
    if (auto v = read("DSN"); !v.empty()) {
        g_strDSN = v;
        g_strConnect += "DSN=" + v + ";";
    }
    if (auto v = read("SERVER"); !v.empty()) {
        g_strHost = v;
        g_strConnect += "SERVER=" + v + ";";
    }
    if (auto v = read("UID"); !v.empty()) {
        g_strUID = v;
        g_strConnect += "UID=" + v + ";";
    }
    if (auto v = read("PWD"); !v.empty()) {
        g_strPWD = LIB_DecodePassword(v);
        g_strConnect += "PWD=" + v + ";";
        // The stored form only scrambles the password: anyone who can read the file has it.
        if (st.st_mode & (S_IRGRP | S_IROTH))
            B_WriteLogFile("系统初始化",
                           "警告：mavren.ini 含数据库口令(PWD)，且其他用户可读；PWD 只是简单编码，"
                           "请执行 chmod 600 mavren.ini，或改用 PGPASSFILE / PGPASSWORD。",
                           0);
    }
    if (auto v = read("DATABASE"); !v.empty()) g_strConnect += "DATABASE=" + v;

    ConnectParams& p = LIB_DB_ConnectParams();
    p = ConnectParams{};
    p.driver = g_strDriver;
    p.dsn = g_strDSN;
    // A relative database file lies in the program directory.
    bool sqlite = g_strDriver.empty() || sqltext::upper(g_strDriver) == "SQLITE";
    if (sqlite && !g_strDSN.empty() && g_strDSN[0] != '/') p.dsn = g_strPath[0] + g_strDSN;
    p.server = g_strHost;
    p.uid = g_strUID;
    p.pwd = g_strPWD;
    return 0;
}

LibVar LIB_GetSysInfo(int n) {
    auto now = [] { return LIB_DB_GetServerDate(); };
    switch (n) {
        case 0:
            return now();
        case 1:
            return now().substr(0, 10);
        case 2: {
            std::string s = now();
            return s.size() >= 8 ? s.substr(s.size() - 8) : s;
        }
        case 3:
            return g_strLocation;
        case 4:
            return g_strWkrNo;
        case 5:
            return g_strWkrInfo;
        case 7:
            return now().substr(0, 4);
        case 8:
            return LibVar(1);
        case 10:
            return g_strPath[0];
        case 11:
            return g_strPath[1];
        case 12:
            return g_strPath[2];
        case 13:
            return g_strPath[5];
        case 14:
            return g_strPath[3];
        case 15:
            return g_strPath[4];
        case 16:
            return g_strPath[6];
        case 17:
        case 18:
        case 19:
        case 20:
            return g_strPath[n - 10];
        default:
            return LibVar();
    }
}

void LIB_SetExitHandler(std::function<void(int)> handler) {
    g_exitHandler = std::move(handler);
}

void LIB_ExitSystem(int exitCode) {
    if (LIB_DB_Close() < 0) LIB_DB_ShowError();
    if (g_exitHandler) g_exitHandler(exitCode);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

std::string LIB_EncodePassword(const std::string& plain) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < plain.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%03u",
                      scrambleByte(static_cast<unsigned char>(plain[i]), i));
        out += buf;
    }
    return out;
}

std::string LIB_DecodePassword(const std::string& stored) {
    if (stored.empty() || stored.size() % 3 != 0) return stored;
    std::string out;
    for (std::size_t i = 0; i * 3 < stored.size(); ++i) {
        std::string digits = stored.substr(i * 3, 3);
        if (digits.find_first_not_of("0123456789") != std::string::npos) return stored;
        unsigned v = static_cast<unsigned>(std::stoul(digits));
        if (v > 255) return stored;
        out += static_cast<char>(unscrambleByte(v, i));
    }
    return out;
}

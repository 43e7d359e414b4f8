#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/basQKLogin.h"
#include "app/ctl/Ctl.h"
#include "checkin/core/GenerateDemo.h"
#include "checkin/core/basChkSearch.h"
#include "common/PasswordHash.h"
#include "common/RightCodes.h"
#include "common/basLibOpLog.h"
#include "common/basQKEnv.h"
#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/SchemaInstaller.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcFieldDefs.h"
#include "marc/core/MarcImport.h"
#include "ordering/core/AcqCodes.h"

namespace {

constexpr const char* kRawSqlLogCode = "50061";

std::size_t displayWidth(const std::string& s) {
    std::size_t w = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        char32_t cp = nextCodePoint(s, pos);
        w += (cp >= 0x1100 &&
              (cp <= 0x115F || (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
               (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
               (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || cp >= 0x20000))
                 ? 2
                 : 1;
    }
    return w;
}

int usageError(const std::string& usage) {
    std::cerr << "用法: serialsctl " << usage << "\n";
    return 2;
}

int reportFailure() {
    LIB_DB_ShowError();
    return 1;
}

// The settings files a library may edit, laid into CFG/ unless it has its own already.
void writeDefaultSettings() {
    for (const EmbeddedCfg& f : embeddedCfgFiles()) {
        std::string name = f.name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".ini") continue;
        std::filesystem::path target = g_strPath[7] + name;
        if (!std::filesystem::exists(target)) std::ofstream(target, std::ios::binary) << f.content;
    }
    const std::pair<std::filesystem::path, const std::string&> built[] = {
        {g_strPath[3] + "QKINDEX.INI", DefaultQkIndexText()},
        {g_strPath[3] + "cf/cfCfg.ini", DefaultAcqCfgText()}};
    for (const auto& [target, text] : built) {
        if (std::filesystem::exists(target)) continue;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << text;
    }
}

// A new file readable and writable by its owner only; an existing one is left as it is.
bool createPrivateFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) return ::close(fd) == 0;
    return errno == EEXIST;
}

// A home without mavren.ini gets the embedded database's settings, readable by its owner only
// (a PWD added later stays private).
bool ensureSettingsFile() {
    std::filesystem::create_directories(LIB_ProgramDir());
    std::string path = LIB_ProgramDir() + "/mavren.ini";
    if (std::filesystem::exists(path)) return true;
    if (!createPrivateFile(path)) {
        std::cerr << "无法建立 " << path << "\n";
        return false;
    }
    std::ofstream(path)
        << "[LIB-DATA]\nLIB_SERVER=LOCAL\n\n[LOCAL]\nDRIVER=SQLite\nDSN=DAT/serials.db\n";
    std::cerr << "  已建立 " << path << "（嵌入式数据库 DAT/serials.db）\n";
    return true;
}

bool hasOwnTables(const ConnectParams& p) {
    if (sqltext::upper(p.driver) != "POSTGRESQL" && !std::filesystem::exists(p.dsn)) return false;
    auto db = LIB_DB_OpenBackend(p);
    auto schema = schemaTableNames();
    for (const auto& t : db->tableNames())
        if (std::find(schema.begin(), schema.end(), sqltext::lower(t)) != schema.end()) return true;
    return false;
}

// Rebuilding a database that holds this system's data is maintenance: an operator with the
// maintenance right must log in to it first (ROOT included).
bool forceAllowed() {
    if (ctlLogin().user.empty()) {
        std::cerr << "数据库中已有本系统的数据表：init-db --force 须由具有维护权限("
                  << rights::kMaintenance
                  << ")的操作员执行，请给出 --user 和 --password。未作任何改动。\n";
        return false;
    }
    if (!ctlStartSession(rights::kMaintenance)) {
        std::cerr << "init-db --force 被拒绝，未作任何改动。\n";
        return false;
    }
    g_OraDatabase.reset();
    return true;
}

int initDb(const std::vector<std::string>& args) {
    InstallOptions options;
    // National-character MARC tables unless the library asks for the GBK-only layout: a title
    // with letters outside GBK (ö, ô) must survive and be found.
    options.unicodeMarc = true;
    for (const auto& a : args) {
        if (a == "--demo")
            options.demo = true;
        else if (a == "--unicode-marc")
            options.unicodeMarc = true;
        else if (a == "--gbk-marc")
            options.unicodeMarc = false;
        else if (a == "--force")
            options.force = true;
        else
            return usageError("init-db [--demo] [--gbk-marc] [--force]");
    }
    if (!ensureSettingsFile()) return 1;
    if (LIB_ReadEnvironment() < 0) {
        std::cerr << "系统环境出错：无法读取 " << LIB_ProgramDir() << "/mavren.ini\n";
        return 1;
    }
    // The program directories are laid out once, here: the program itself never creates them.
    for (const auto& dir : g_strPath)
        std::filesystem::create_directories(dir);
    ConnectParams p = LIB_DB_ConnectParams();
    p.create = true;
    // Demo workstation groups are this machine's, so that the demo operators can log in here.
    std::string host;
    for (char c : LIB_ComputerName())
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_')
            host += c;
    options.variables["COMPUTER_NAME"] = host;
    addDemoYearVariables(options);
    options.finish = hashPlainPasswords;
    try {
        if (options.force && hasOwnTables(p) && !forceAllowed()) return 1;
        if (sqltext::upper(p.driver) != "POSTGRESQL" && !createPrivateFile(p.dsn)) {
            std::cerr << "无法建立数据库文件 " << p.dsn << "\n";
            return 1;
        }
        auto db = LIB_DB_OpenBackend(p);
        std::string message;
        int rc = installDatabase(*db, options, message, [](const std::string& file) {
            std::cerr << "  " << file << "\n";
        });
        if (rc < 0) {
            std::cerr << "建库失败: " << message << "\n";
            return 1;
        }
    } catch (const DbError& e) {
        std::cerr << "与数据库连接失败: " << e.oraText() << "\n";
        return 1;
    }
    writeDefaultSettings();
    if (options.demo) {
        ctlStartSession();
        MarcImportReport r =
            MarcLoadDemoRecords([](const std::string& line) { std::cerr << "  " << line << "\n"; });
        std::cerr << "  演示记录 " << r.saved << " 条\n";
        if (r.failed > 0 || ChkConfigureDemoOrders() < 0 || ChkReceiveDemoArrivals() < 0) return 1;
    }
    std::cout << "数据库已建立" << (options.demo ? "（含演示数据）" : "") << "：" << p.dsn << "\n";
    return 0;
}

// Raw SQL leaves its trace before it runs, in a transaction of its own, so that a failing
// statement is logged too; a statement that cannot be logged is not run.
bool logRawSql(const char* verb, const std::string& sql) {
    constexpr std::size_t kLogTextChars = 400;
    std::string rest = sqltext::maskSecrets(sql), parts[3];
    for (auto& part : parts) {
        part = utf8Left(rest, kLogTextChars);
        rest.erase(0, part.size());
    }
    if (!rest.empty()) parts[2] = utf8Left(parts[2], kLogTextChars - 1) + "…";
    DbTransaction t;
    if (!t.ok() ||
        LIB_WriteOpLog(kRawSqlLogCode, verb, "0", "0", parts[0], parts[1], parts[2]) < 0 ||
        t.commit() < 0) {
        t.rollback();
        LIB_DB_ShowError();
        return false;
    }
    return true;
}

int query(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("query SQL");
    if (!logRawSql("query", args[0])) return 1;
    g_strSQL = args[0];
    LibArray result;
    if (LIB_DB_Select(g_strSQL, result) < 0) return reportFailure();
    std::cout << LibArrayPrinter::format(result);
    return 0;
}

int exec(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("exec SQL");
    if (!logRawSql("exec", args[0])) return 1;
    g_strSQL = args[0];
    if (LIB_DB_Execute(g_strSQL) < 0) return reportFailure();
    return 0;
}

int call(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("call \"PROC args\"");
    if (!logRawSql("call", args[0])) return 1;
    g_strSQL = args[0];
    if (LIB_DB_CallProc(g_strSQL) < 0) return reportFailure();
    return 0;
}

int encodePassword(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("encode-password TEXT");
    std::cout << LIB_EncodePassword(args[0]) << "\n";
    return 0;
}

int version(const std::vector<std::string>&) {
    std::cout << "serialsctl " << SERIALS_VERSION << "\n";
    return 0;
}

}  // namespace

std::string LibArrayPrinter::format(const LibArray& a) {
    std::vector<std::size_t> width(a.cols(), 0);
    std::vector<int> shown;
    for (int row = 0; row < a.rows(); ++row)
        if (row != 1) shown.push_back(row);
    for (int row : shown)
        for (int c = 0; c < a.cols(); ++c)
            width[c] = std::max(width[c], displayWidth(a(c, row).str()));
    std::string out;
    auto line = [&](int row) {
        std::string l;
        for (int c = 0; c < a.cols(); ++c) {
            std::string v = a(c, row).str();
            l += v;
            if (c + 1 < a.cols()) l += std::string(width[c] - displayWidth(v) + 2, ' ');
        }
        while (!l.empty() && l.back() == ' ')
            l.pop_back();
        out += l + "\n";
    };
    for (int row : shown) {
        line(row);
        if (row == 0) {
            std::string rule;
            for (int c = 0; c < a.cols(); ++c)
                rule += std::string(width[c], '-') + (c + 1 < a.cols() ? "  " : "");
            out += rule + "\n";
        }
    }
    out += "(" + std::to_string(a.recordCount()) + " 行)\n";
    return out;
}

CtlLogin& ctlLogin() {
    static CtlLogin login;
    return login;
}

std::vector<CtlVerb>& ctlVerbs() {
    static std::vector<CtlVerb> verbs;
    return verbs;
}

void registerBaseVerbs() {
    auto& v = ctlVerbs();
    v.push_back({"init-db", "init-db [--demo] [--gbk-marc] [--force]",
                 "建立数据库：表结构、基础数据（--demo 另加演示数据）", false, nullptr, initDb});
    v.push_back(
        {"query", "query SQL", "执行查询并以表格列出结果", true, rights::kMaintenance, query});
    v.push_back({"exec", "exec SQL", "执行一条 SQL 语句", true, rights::kMaintenance, exec});
    v.push_back({"call", "call \"PROC args\"", "调用数据库过程", true, rights::kMaintenance, call});
    v.push_back({"encode-password", "encode-password TEXT", "给出 mavren.ini 中 PWD 的存放形式",
                 false, nullptr, encodePassword});
    v.push_back({"version", "version", "显示版本", false, nullptr, version});
}

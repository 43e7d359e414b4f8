// The central error reporter: the only place where a database failure reaches the operator.
#include <array>
#include <stdexcept>
#include <string_view>

#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

std::function<void(const std::string&)>& errorLog() {
    static std::function<void(const std::string&)> write;
    return write;
}

void logLine(const std::string& text) {
    if (errorLog()) errorLog()(text);
}

struct KeyMessage {
    std::string_view key;
    std::string_view message;
};

// Unique keys the operator is told about by name; the first match wins, so a name that
// contains another comes before it.
constexpr std::array<KeyMessage, 10> kUniqueKeys{{
    {"INDI_BARCODE_IDX", "E条码号重复!"},
    {"PK_INDI_ACCT", "E财产号重复!"},
    {"PK_CALL_NO_LST", "E索书号重复!"},
    {"PK_ORDER", "E订购号重复!"},
    {"PK_ASORD_CATA_DETL", "E征订号重复!"},
    {"PK_ASORD_CATA", "E征订目录重复!"},
    {"PK_INPUT_BATCH", "E批次号重复!"},
    {"PK_CHECK_ACCT", "E验收批次号重复!"},
    {"PK_READER_CERT", "E读者条码号重复!"},
    {"PK_READER", "E读者证件号重复!"},
}};

// Referential constraints are named so that the referenced table follows "_RE".
constexpr std::array<KeyMessage, 4> kReferenced{{
    {"ITEM", "E该财产已经被相关记录引用!"},
    {"CALL", "E该索书号已经被相关记录引用!"},
    {"MARC", "E该MARC已经被相关记录引用!"},
    {"READER", "E该读者已经被相关记录引用!"},
}};

bool occursAfterRe(const std::string& t, std::string_view word) {
    auto re = t.find("_RE");
    auto w = t.find(word);
    return re != std::string::npos && w != std::string::npos && w > re;
}

void reconnectDialogue() {
    if (LIB_ShowMsg("S网络非正常中断，重新连接数据库？") != kMsgOk) return;
    while (true) {
        if (LIB_DB_Connect() >= 0) {
            LIB_ShowMsg("I数据库连接成功！");
            return;
        }
        if (LIB_ShowMsg("S数据库连接失败，重新连接数据库？") != kMsgOk) return;
    }
}

void reportStatement(const ErrInfo& err) {
    const std::string t = sqltext::upper(err.strDesc);
    switch (err.lngOraErr) {
        case 1: {
            std::string_view msg = "ECM010";
            for (const auto& k : kUniqueKeys) {
                if (t.find(k.key) != std::string::npos) {
                    msg = k.message;
                    break;
                }
            }
            LIB_ShowMsg(std::string(msg));
            break;
        }
        case 54:
            LIB_ShowMsg("E该记录已经被锁定!");
            break;
        case 911:
            LIB_ShowMsg("E文本中含有空字符(NUL)，未执行！");
            break;
        case 2292: {
            std::string_view msg = "ECM011";
            for (const auto& k : kReferenced) {
                if (occursAfterRe(t, k.key)) {
                    msg = k.message;
                    break;
                }
            }
            LIB_ShowMsg(std::string(msg));
            break;
        }
        case 28:
        case 1041:
        case 3113:
        case 3114:
            reconnectDialogue();
            break;
        default:
            LIB_ShowMsg("ECM012");
    }
}

}  // namespace

int runTrapped(const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        // Guards have rolled back while the exception passed them; the routines' own
        // transactions are undone here, before the box.
        dbRollbackOpenTransactions();
        g_ErrInfo = ErrInfo{};
        // Run-time error numbers as the reporter knows them; all but overflow end in ECM206.
        g_RunErr.number = dynamic_cast<const std::overflow_error*>(&e)     ? 6
                          : dynamic_cast<const std::out_of_range*>(&e)     ? 9
                          : dynamic_cast<const std::invalid_argument*>(&e) ? 13
                                                                           : 51;
        g_RunErr.description =
            std::string("运行时错误 ") + std::to_string(g_RunErr.number) + "：" + e.what();
        g_ErrInfo.strDesc = g_RunErr.description;
        LIB_DB_ShowError();
        return -1;
    }
}

void LIB_SetErrorLog(std::function<void(const std::string&)> write) {
    errorLog() = std::move(write);
}

int LIB_DB_ShowError() {
    int result = 0;
    // Copy first: the reconnect dialogue overwrites the record when a reconnect fails.
    const ErrInfo err = g_ErrInfo;
    switch (err.lngSource) {
        case kSrcNone:
            if (g_RunErr.number == 364) {
                result = -1;
            } else {
                LIB_ShowMsg(g_RunErr.number == 5   ? "ECM204"
                            : g_RunErr.number == 6 ? "ECM205"
                                                   : "ECM206");
                logLine(g_RunErr.number == 5 || g_RunErr.number == 6 ? err.strDesc
                                                                     : g_RunErr.description);
            }
            break;
        case kSrcConnect:
            LIB_ShowMsg("E与数据库连接失败，启动失败！");
            logLine(err.strDesc);
            break;
        case kSrcClose:
            LIB_ShowMsg("E关闭数据库出错！系统非正常退出！");
            logLine(err.strDesc);
            break;
        case kSrcSelect:
        case kSrcExecute:
            reportStatement(err);
            logLine(err.strDesc);
            // The statement may set a password: its value never reaches the log.
            logLine("SQL语法:" + sqltext::maskSecrets(err.strSQL.empty() ? g_strSQL : err.strSQL));
            break;
        default:
            LIB_ShowMsg("ECM002");
            logLine(err.strDesc);
    }
    g_RunErr = RunError{};
    g_ErrInfo = ErrInfo{};
    return result;
}

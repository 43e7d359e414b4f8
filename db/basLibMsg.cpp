#include "db/basLibMsg.h"

#include <unistd.h>

#include <cctype>
#include <iostream>

#include "db/DbTransaction.h"
#include "db/Gbk.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"

LibArray g_arrMsg;

namespace {
ConsolePresenter g_defaultPresenter;
MsgPresenter* g_presenter = &g_defaultPresenter;

bool asks(char type) {
    return type == 'W' || type == 'Q' || type == 'S' || type == 'C';
}
}  // namespace

int ConsolePresenter::show(char type, const std::string& title, const std::string& body) {
    const char* label = type == 'E' ? "错误" : type == 'I' ? "提示" : asks(type) ? "询问" : "错误";
    std::cerr << "[" << title << "] " << label << ": " << body << "\n";
    if (!asks(type)) return kMsgOk;
    if (answer_ != Answer::Ask) {
        std::cerr << (answer_ == Answer::Ok ? "  -> 确定\n" : "  -> 取消\n");
        return answer_ == Answer::Ok ? kMsgOk : kMsgCancel;
    }
    if (!isatty(STDIN_FILENO)) return kMsgCancel;
    if (type == 'C') {
        // Nothing is discarded without an explicit "n"; an empty line stays.
        std::cerr << "  保存? [y/n/C] ";
        std::string line;
        if (!std::getline(std::cin, line)) return kMsgCancel;
        line = sqltext::lower(sqltext::trim(line));
        if (line.empty()) return kMsgCancel;
        return line[0] == 'y' ? kMsgOk : line[0] == 'n' ? kMsgNo : kMsgCancel;
    }
    // The box's default button answers an empty line: OK only for "S".
    std::cerr << (type == 'S' ? "  确定? [Y/n] " : "  确定? [y/N] ");
    std::string line;
    if (!std::getline(std::cin, line)) return kMsgCancel;
    line = sqltext::lower(sqltext::trim(line));
    if (line.empty()) return type == 'S' ? kMsgOk : kMsgCancel;
    return line[0] == 'y' ? kMsgOk : kMsgCancel;
}

void LIB_SetPresenter(MsgPresenter* presenter) {
    g_presenter = presenter ? presenter : &g_defaultPresenter;
}

MsgPresenter& LIB_Presenter() {
    return *g_presenter;
}

int LIB_LoadMsg() {
    g_strSQL = "SELECT msg_id, msg_content FROM msg_mst ORDER BY msg_id DESC";
    return LIB_DB_Select(g_strSQL, g_arrMsg);
}

std::string LIB_GetMsgText(const std::string& text) {
    std::string code = text.substr(0, 6);
    for (int row = 2; row < g_arrMsg.rows(); ++row) {
        if (g_arrMsg(0, row).str() != code) continue;
        std::string msg = g_arrMsg(1, row).str();
        std::string up = sqltext::upper(msg);
        if (auto p = up.find("%S"); p != std::string::npos)
            msg = msg.substr(0, p) + (text.size() > 6 ? text.substr(6) : "") + msg.substr(p + 2);
        if (auto p = msg.find("\\N"); p != std::string::npos) msg.replace(p, 2, "\n");
        return msg;
    }
    return text;
}

namespace {
std::function<std::string()>& msgTitle() {
    static std::function<std::string()> title;
    return title;
}
}  // namespace

void LIB_SetMsgTitle(std::function<std::string()> title) {
    msgTitle() = std::move(title);
}

int LIB_ShowMsg(const std::string& text) {
    std::string title = msgTitle() ? msgTitle()() : std::string();
    char type = text.empty() ? ' ' : text[0];
    std::string body = LIB_GetMsgText(text);
    if (body == text && !text.empty()) {
        // The first character is the type letter, dropped even when it is not one.
        std::size_t pos = 0;
        nextCodePoint(text, pos);
        body = text.substr(pos);
    }
    // A question needs its answer now. Anything else waits until the transactions have ended:
    // a box left up must not hold their locks, and the rollback comes before the news of it.
    if (asks(type)) return LIB_Presenter().show(type, title, body);
    DbTransaction::afterTransactions(
        [type, title, body] { LIB_Presenter().show(type, title, body); });
    return kMsgOk;
}

std::string LIB_Replace(const std::string& text, const std::string& search,
                        const std::string& replacement, int& start) {
    if (text.empty() || search.empty()) return text;
    std::string out = text;
    std::size_t pos = start <= 0 ? 0 : static_cast<std::size_t>(start - 1);
    for (std::size_t hit; (hit = out.find(search, pos)) != std::string::npos;) {
        out.replace(hit, search.size(), replacement);
        pos = hit + replacement.size();
        start = static_cast<int>(pos) + 1;
    }
    return out;
}

std::vector<std::string> LIB_Split(const std::string& text, const std::string& separator) {
    if (text.empty()) return {};
    if (separator.empty()) return {text};
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(separator, pos)) != std::string::npos;
         pos = hit + separator.size())
        out.push_back(text.substr(pos, hit - pos));
    out.push_back(text.substr(pos));
    return out;
}

SaveChoice LIB_AskSave(const std::string& question) {
    switch (LIB_ShowMsg("C" + question)) {
        case kMsgOk:
            return SaveChoice::Save;
        case kMsgNo:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Stay;
    }
}

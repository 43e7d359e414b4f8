// Messages in tests: every box is recorded, questions are answered from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"

struct ShownMessage {
    char type;
    std::string title;
    std::string body;
    // A transaction was open while the box was up (a box must never hold the write lock).
    bool inTransaction = false;
};

class ScriptedPresenter : public MsgPresenter {
public:
    struct Reply {
        int answer = kMsgOk;
        std::function<void()> before;  // runs while the box is "open", before it is answered
    };

    int show(char type, const std::string& title, const std::string& body) override {
        shown.push_back({type, title, body,
                         g_blnInTrans || (g_OraDatabase && g_OraDatabase->isOpen() &&
                                          g_OraDatabase->inTransaction())});
        if (type != 'W' && type != 'Q' && type != 'S' && type != 'C') return kMsgOk;
        if (replies.empty()) return kMsgCancel;
        Reply r = std::move(replies.front());
        replies.pop_front();
        if (r.before) r.before();
        return r.answer;
    }

    std::vector<std::string> bodies() const {
        std::vector<std::string> out;
        for (const auto& m : shown)
            out.push_back(m.body);
        return out;
    }

    std::vector<ShownMessage> shown;
    std::deque<Reply> replies;
};

// Messages to the operator. A message text starts with its type letter (E error, I information,
// W warning, Q question, S select, C a question whose answer may discard work), which chooses
// the box; a code such as "ECM012" is looked up in msg_mst, loaded once at start-up. Only
// questions are shown inside a transaction: other boxes wait until the transactions have ended.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/LibArray.h"

// A "C" question answers kMsgOk for 保存, kMsgNo for 不保存 and kMsgCancel for 取消.
enum MsgAnswer { kMsgOk = 1, kMsgCancel = 2, kMsgNo = 3 };

// How a message reaches a person: a box in the client, stderr on the command line, a script
// in tests. `type` is the type letter; the answer is kMsgOk or kMsgCancel.
class MsgPresenter {
public:
    virtual ~MsgPresenter() = default;
    virtual int show(char type, const std::string& title, const std::string& body) = 0;
};

// Prints to stderr; questions are answered by a fixed answer (--yes / --no) or read from
// standard input when it is a terminal, else answered Cancel.
class ConsolePresenter : public MsgPresenter {
public:
    enum class Answer { Ask, Ok, Cancel };
    explicit ConsolePresenter(Answer answer = Answer::Ask) : answer_(answer) {}
    int show(char type, const std::string& title, const std::string& body) override;

private:
    Answer answer_;
};

void LIB_SetPresenter(MsgPresenter* presenter);
// The title of every box. The system parameters live above this layer: start-up points the
// title at the one that names the program. Without it boxes have no title.
void LIB_SetMsgTitle(std::function<std::string()> title);
MsgPresenter& LIB_Presenter();

extern LibArray g_arrMsg;

// Reads msg_mst into g_arrMsg; 0 or -1 (the failure is in g_ErrInfo).
int LIB_LoadMsg();
int LIB_ShowMsg(const std::string& text);
std::string LIB_GetMsgText(const std::string& text);
// Replaces every occurrence of `search` from position `start` (1-based; 0 counts as 1),
// continuing after each inserted replacement; `start` ends just past the last replacement.
std::string LIB_Replace(const std::string& text, const std::string& search,
                        const std::string& replacement, int& start);
// Asks the question with 保存 / 不保存 / 取消; 取消 means: stay where the operator was.
enum class SaveChoice { Save, Discard, Stay };
SaveChoice LIB_AskSave(const std::string& question);
std::vector<std::string> LIB_Split(const std::string& text, const std::string& separator);

// Messages that a step inside an open transaction shows (a catalogue record's save reports its
// own failures) wait here until the rollback, so that no box is up while the transaction holds
// locks. While one is alive it stands in for the presenter; release() (or its end) shows what
// was held through the presenter that was there before.
#pragma once

#include <string>
#include <vector>

#include "db/basLibMsg.h"

class HeldMessages : public MsgPresenter {
public:
    HeldMessages() : real_(LIB_Presenter()) { LIB_SetPresenter(this); }
    ~HeldMessages() override { release(); }
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;
    int show(char type, const std::string& title, const std::string& body) override {
        held_.push_back({type, title, body});
        return kMsgOk;
    }
    void release() {
        if (released_) return;
        released_ = true;
        LIB_SetPresenter(&real_);
        for (const Held& m : held_)
            real_.show(m.type, m.title, m.body);
    }

private:
    struct Held {
        char type;
        std::string title, body;
    };
    MsgPresenter& real_;
    std::vector<Held> held_;
    bool released_ = false;
};

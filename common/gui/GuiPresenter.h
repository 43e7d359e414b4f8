// Messages as boxes: icon, buttons and default button chosen by the type letter; a "C" box
// offers 保存 / 不保存 / 取消.
#pragma once

#include "db/basLibMsg.h"

class GuiPresenter : public MsgPresenter {
public:
    int show(char type, const std::string& title, const std::string& body) override;
};

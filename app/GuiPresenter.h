// Messages as boxes: icon, buttons and default button chosen by the type letter.
#pragma once

#include "db/basLibMsg.h"

class GuiPresenter : public MsgPresenter {
public:
    int show(char type, const std::string& title, const std::string& body) override;
};

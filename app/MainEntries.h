// The table of the main window's entries: every screen of the system is opened from here,
// grouped by area, each guarded by its right code. An entry is listed once its screen exists.
#pragma once

#include <functional>
#include <vector>

class QWidget;

struct MainEntry {
    const char* area;        // menu and navigation group
    const char* caption;     // menu, toolbar and navigation text
    const char* objectName;  // the screen's name, also of its action (mnu + name)
    const char* right;       // right code the operator needs
    std::function<QWidget*()> open;
};

// Areas in menu order; an area without entries shows no menu.
const std::vector<const char*>& mainAreas();
const std::vector<MainEntry>& mainEntries();

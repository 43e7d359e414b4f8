// What the client sets up once, before its first window: Qt's own Chinese translations (so
// standard dialogs and buttons speak the same language as the screens) and visible focus.
#pragma once

class QApplication;

// Loads Qt's zh_CN translations from Qt's translation folder; false when they are missing
// (the package qt6-translations-l10n is not installed).
bool LIB_LoadQtChinese(QApplication& app);
void LIB_InitGuiApplication(QApplication& app);

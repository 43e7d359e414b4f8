// What every report screen shares around its grid: the title over it, and the commands under
// it that print and export what the screen shows (打印预览, PDF…, XLSX…, CSV…) and close it
// (退出, Esc), with F5 on the screen's own run button.
#pragma once

#include <QString>
#include <functional>

#include "reports/core/StatReports.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// Writes a report to a file whose extension names the kind (.pdf, .xlsx, otherwise CSV);
// false after showing why it could not. `extraHtml` (a chart) goes under a printed report.
bool statExportFile(const StatTable& t, const QString& path, const QString& extraHtml = {});

// The screen's title in large bold type (`lblTitle`).
QLabel* statTitleLabel(const QString& title, QWidget* screen);

struct StatCommands {
    QPushButton* run = nullptr;  // the screen's run button, wherever the screen placed it
    std::function<void()> onRun;
    // What the print and export commands take at the moment they are pressed, and what goes
    // under the printed grid (a chart); `extraHtml` may be left empty.
    std::function<const StatTable&()> shown;
    std::function<QString()> extraHtml;
};

// The row of commands, for the screen to add under its grid.
QHBoxLayout* statCommandRow(QWidget* screen, const StatCommands& c);

// The main window: menus, a toolbar and a navigation pane from which every screen is opened
// (as a tab of the work area), each entry enabled only for operators holding its right; the
// status bar shows operator, location and server date. Closing it ends the program.
#pragma once

#include <QMainWindow>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QTreeWidget;
class QTreeWidgetItem;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);

    // After a (new) login: entries, status bar.
    void refreshOperator();
    // Opens the entry's screen, or brings it forward when it is open already. Returns the
    // screen, or null when the operator lacks the right.
    QWidget* openEntry(std::size_t index);
    // Asks each open screen to close, as its own close check decides; false when one refused
    // (it stays open, and so does the program).
    bool closeScreens();
    QMdiArea* mdiMain = nullptr;
    QTreeWidget* trvNav = nullptr;
    QLabel* lblOperator = nullptr;
    QLabel* lblLocation = nullptr;
    QLabel* lblDate = nullptr;
    // One action per entry, in the order of mainEntries().
    std::vector<QAction*> entryActions;
    QAction* mnuRelogin = nullptr;
    QAction* mnuExit = nullptr;
    // 视图 → 恢复默认布局: every screen's remembered layout, the main window's included.
    QAction* mnuRestoreLayout = nullptr;

signals:
    void reloginRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::vector<QTreeWidgetItem*> navItems_;
};

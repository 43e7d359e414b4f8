#include "app/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <map>

#include "app/MainEntries.h"
#include "app/basQKLogin.h"
#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/basSysPara.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"

namespace {

// Alt+letter opens an area's menu: the letters of the areas' English names, one each.
QString areaTitle(const std::string& area) {
    static const std::map<std::string, char> letters{{"订购", 'O'}, {"签收", 'C'}, {"催缺", 'L'},
                                                     {"装订", 'D'}, {"典藏", 'A'}, {"统计", 'T'},
                                                     {"书目", 'B'}, {"系统", 'S'}};
    auto it = letters.find(area);
    return QString::fromStdString(area) +
           (it == letters.end() ? QString() : QString("(&%1)").arg(QChar(it->second)));
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    std::string library = LIB_GetSysPara(2).str();
    setWindowTitle(
        QString::fromStdString("期刊管理系统" + (library.empty() ? "" : " - " + library)));
    resize(1200, 800);

    mdiMain = new QMdiArea(this);
    mdiMain->setObjectName("mdiMain");
    mdiMain->setViewMode(QMdiArea::TabbedView);
    mdiMain->setTabsClosable(true);
    mdiMain->setTabsMovable(true);
    setCentralWidget(mdiMain);

    auto* nav = new QDockWidget("功能导航", this);
    nav->setObjectName("dckNav");
    trvNav = new QTreeWidget(nav);
    trvNav->setObjectName("trvNav");
    trvNav->header()->hide();
    nav->setWidget(trvNav);
    addDockWidget(Qt::LeftDockWidgetArea, nav);

    auto* toolbar = addToolBar("常用");
    toolbar->setObjectName("tbrMain");
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    const auto& entries = mainEntries();
    entryActions.resize(entries.size());
    navItems_.resize(entries.size());
    for (const char* area : mainAreas()) {
        QMenu* menu = nullptr;
        QTreeWidgetItem* group = nullptr;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (std::string(entries[i].area) != area) continue;
            if (!menu) {
                menu = menuBar()->addMenu(areaTitle(area));
                menu->setObjectName(QString("mnuArea") +
                                    QString::number(menuBar()->actions().size()));
                group = new QTreeWidgetItem(trvNav, {QString::fromUtf8(area)});
                group->setExpanded(true);
            }
            // The entries of a menu are numbered for their mnemonics: 1 to 9.
            const int n = static_cast<int>(menu->actions().size()) + 1;
            auto* action = menu->addAction(QString::fromUtf8(entries[i].caption) +
                                           (n <= 9 ? QString("(&%1)").arg(n) : QString()));
            action->setIconText(QString::fromUtf8(entries[i].caption));
            action->setObjectName(QString("mnu") + entries[i].objectName);
            connect(action, &QAction::triggered, this, [this, i] { openEntry(i); });
            toolbar->addAction(action);
            entryActions[i] = action;
            navItems_[i] = new QTreeWidgetItem(group, {QString::fromUtf8(entries[i].caption)});
            navItems_[i]->setData(0, Qt::UserRole, static_cast<int>(i));
        }
    }
    connect(trvNav, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        QVariant i = item->data(0, Qt::UserRole);
        if (i.isValid()) openEntry(static_cast<std::size_t>(i.toInt()));
    });

    QMenu* system = nullptr;
    for (QAction* a : menuBar()->actions())
        if (a->text() == areaTitle("系统")) system = a->menu();
    if (!system) system = menuBar()->addMenu(areaTitle("系统"));
    system->addSeparator();
    mnuRelogin = system->addAction("重新登录(&R)");
    mnuRelogin->setObjectName("mnuRelogin");
    connect(mnuRelogin, &QAction::triggered, this, &frmMain::reloginRequested);
    mnuExit = system->addAction("退出(&X)");
    mnuExit->setObjectName("mnuExit");
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu("视图(&V)");
    auto* navShown = nav->toggleViewAction();
    navShown->setText("功能导航(&N)");
    navShown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    view->addAction(navShown);
    mnuRestoreLayout = view->addAction("恢复默认布局(&L)");
    mnuRestoreLayout->setObjectName("mnuRestoreLayout");
    connect(mnuRestoreLayout, &QAction::triggered, this, [] { LIB_RestoreDefaultLayout(""); });
    for (QAction* a : {navShown, mnuRelogin, mnuExit, mnuRestoreLayout})
        LIB_TipWithShortcut(a);

    lblOperator = new QLabel(this);
    lblOperator->setObjectName("lblOperator");
    lblLocation = new QLabel(this);
    lblLocation->setObjectName("lblLocation");
    lblDate = new QLabel(this);
    lblDate->setObjectName("lblDate");
    for (QLabel* l : {lblOperator, lblLocation, lblDate})
        statusBar()->addPermanentWidget(l);
    refreshOperator();
    LIB_RememberWindow(this, "main/frmMain");
}

void frmMain::refreshOperator() {
    const auto& entries = mainEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entryActions[i]) continue;
        bool allowed = LIB_CheckRight(entries[i].right, 0, false);
        entryActions[i]->setEnabled(allowed);
        navItems_[i]->setDisabled(!allowed);
    }
    std::string name = LIB_CodeName(g_arrWorker, g_strWkrNo);
    lblOperator->setText(
        QString::fromStdString("操作员：" + g_strWkrNo + (name.empty() ? "" : " " + name)));
    lblLocation->setText(QString::fromStdString(
        "地点：" +
        (g_strLocation.empty() ? std::string("（不限）") : LIB_LocationName(g_strLocation))));
    lblDate->setText(QString::fromStdString("日期：" + LIB_GetSysInfo(1).str()));
    // Screens opened by the previous operator go: they were opened under that one's rights.
    mdiMain->closeAllSubWindows();
}

QWidget* frmMain::openEntry(std::size_t index) {
    const MainEntry& entry = mainEntries().at(index);
    if (!LIB_CheckRight(entry.right, 0, true)) return nullptr;
    for (QMdiSubWindow* w : mdiMain->subWindowList()) {
        if (w->widget() && w->widget()->objectName() == entry.objectName) {
            mdiMain->setActiveSubWindow(w);
            return w->widget();
        }
    }
    QWidget* screen = entry.open();
    screen->setObjectName(entry.objectName);
    screen->setWindowTitle(QString::fromUtf8(entry.caption));
    QMdiSubWindow* sub = mdiMain->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    // The screen's own first control (its search box) takes the keys at once.
    screen->setFocus(Qt::OtherFocusReason);
    return screen;
}

bool frmMain::closeScreens() {
    mdiMain->closeAllSubWindows();
    return mdiMain->subWindowList().isEmpty();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Each open screen is asked first (unsaved details, the breakpoint file); one that refuses
    // keeps the program running.
    if (!closeScreens()) {
        event->ignore();
        return;
    }
    event->accept();
    LIB_ExitSystem(0);
}

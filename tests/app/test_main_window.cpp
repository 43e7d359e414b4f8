// The login form and the main window under offscreen Qt: refusals keep the form, a login opens
// the main window with the entries the operator's rights allow, a new login reuses it, and the
// log viewer lists what was logged.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include "app/LibArrayModel.h"
#include "app/MainEntries.h"
#include "app/basQKLogin.h"
#include "app/frmLogQuery.h"
#include "app/frmMain.h"
#include "app/frmQKLogo.h"
#include "common/OperatorState.h"
#include "common/basLibOpLog.h"
#include "common/basQKEnv.h"
#include "common/gui/Grid.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/gui/MarcSearchPanel.h"
#include "marc/gui/frmCataView.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestDb.h"

namespace {

class Screens : public DbTest {
protected:
    InstallOptions installOptions() const override { return demoInstall(); }
    void SetUp() override {
        DbTest::SetUp();
        LIB_SetComputerName(kDemoComputer);
        logo.enterLoginMode();
        logo.show();
    }
    void typeLogin(const QString& user, const QString& password) {
        logo.cboUser->setEditText(user);
        logo.txtPwd->setText(password);
        logo.cmdLogin->click();
    }
    std::size_t entryIndex(const char* name) {
        const auto& e = mainEntries();
        for (std::size_t i = 0; i < e.size(); ++i)
            if (std::string(e[i].objectName) == name) return i;
        ADD_FAILURE() << name;
        return 0;
    }
    frmQKLogo logo;
};
SERIALS_ON_BOTH_BACKENDS(Screens);

TEST_P(Screens, LoginFormOffersTheOperatorsAndRefusesAWrongPassword) {
    EXPECT_GE(logo.cboUser->count(), 7);
    QSignalSpy spy(&logo, &frmQKLogo::loggedIn);
    typeLogin("dy01", "wrong");
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM502"));
    EXPECT_EQ(logo.status(), "用户登录");
    EXPECT_TRUE(logo.isVisible());
    EXPECT_FALSE(g_blnLogin);
}

TEST_P(Screens, OperatorWithoutTheClientRightStaysOnTheForm) {
    QSignalSpy spy(&logo, &frmQKLogo::loggedIn);
    typeLogin("LT01", "1234");
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM504"));
    EXPECT_EQ(logo.status(), "用户登录");
}

TEST_P(Screens, LoginOpensTheMainWindowWithEntriesByRight) {
    QSignalSpy spy(&logo, &frmQKLogo::loggedIn);
    typeLogin("DY01", "1234");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.takeFirst().at(0).toBool());
    EXPECT_FALSE(logo.isVisible());
    EXPECT_EQ(logo.status(), "用户成功登录，正在初始化主窗体...");

    frmMain main;
    std::size_t log = entryIndex("frmLogQuery");
    EXPECT_FALSE(main.entryActions[log]->isEnabled());
    EXPECT_TRUE(main.entryActions[entryIndex("frmCataView")]->isEnabled());
    EXPECT_TRUE(main.lblOperator->text().contains("DY01"));
    EXPECT_TRUE(main.lblOperator->text().contains("王丽"));
    EXPECT_TRUE(main.lblLocation->text().contains("期刊部"));
    EXPECT_EQ(main.openEntry(log), nullptr);
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM504"));

    // A new login as the supervisor refreshes the same window.
    logo.enterReloginMode();
    EXPECT_EQ(logo.status(), "用户重新登录");
    typeLogin("ZG01", "1234");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_FALSE(spy.takeFirst().at(0).toBool());
    main.refreshOperator();
    EXPECT_TRUE(main.entryActions[log]->isEnabled());
    EXPECT_TRUE(main.lblOperator->text().contains("ZG01"));
}

TEST_P(Screens, LogViewerListsTheLoginsAndOpensOnce) {
    typeLogin("ZG01", "1234");
    frmMain main;
    std::size_t log = entryIndex("frmLogQuery");
    auto* viewer = qobject_cast<frmLogQuery*>(main.openEntry(log));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(main.openEntry(log), viewer);
    EXPECT_EQ(main.mdiMain->subWindowList().size(), 1);
    QAbstractItemModelTester tester(viewer->model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(viewer->model->rowCount(), 1);
    EXPECT_EQ(viewer->model->index(0, 3).data().toString(), "操作员登录");
    EXPECT_EQ(viewer->model->index(0, 4).data().toString(), "ZG01");
    EXPECT_EQ(viewer->model->index(0, 5).data().toString(), kDemoComputer);
    EXPECT_EQ(viewer->model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "日期");

    viewer->cboWorker->setCurrentIndex(viewer->cboWorker->findData("DY01"));
    viewer->cmdQuery->click();
    EXPECT_EQ(viewer->model->rowCount(), 0);
    EXPECT_EQ(viewer->lblCount->text(), "共 0 条记录");

    viewer->dtpFrom->setDate(viewer->dtpTo->date().addDays(1));
    viewer->cmdQuery->click();
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("EQK112"));
}

TEST_P(Screens, LogViewerSortsAndNamesTheKeysOfEachOperation) {
    typeLogin("ZG01", "1234");
    ASSERT_EQ(LIB_WriteOpLog("50018", "0000000007", "YZFX", "202601", "图书馆学研究:3-1"), 0);
    frmMain main;
    auto* viewer = qobject_cast<frmLogQuery*>(main.openEntry(entryIndex("frmLogQuery")));
    ASSERT_NE(viewer, nullptr);
    QAbstractItemModelTester tester(viewer->proxy,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(viewer->proxy->rowCount(), 2);
    // Sorted by the operation code, the login (50000) comes before the order save (50018).
    viewer->spdLog->sortByColumn(2, Qt::AscendingOrder);
    EXPECT_EQ(viewer->proxy->index(0, 2).data().toString(), "50000");
    viewer->spdLog->sortByColumn(2, Qt::DescendingOrder);
    EXPECT_EQ(viewer->proxy->index(0, 2).data().toString(), "50018");
    // In the list of every operation each key cell says what it holds.
    EXPECT_EQ(viewer->proxy->index(0, 7).data(Qt::ToolTipRole).toString(),
              "书目记录号：0000000007");
    EXPECT_EQ(viewer->proxy->index(1, 7).data(Qt::ToolTipRole).toString(), "操作员：ZG01");

    viewer->cboLogType->setCurrentIndex(viewer->cboLogType->findData("50018"));
    viewer->cmdQuery->click();
    ASSERT_EQ(viewer->proxy->rowCount(), 1);
    auto header = [&](int col) {
        return viewer->proxy->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    EXPECT_EQ(header(7), "书目记录号");
    EXPECT_EQ(header(8), "发行商");
    EXPECT_EQ(header(10), "刊名:征订号");
    EXPECT_EQ(header(11), "说明2");
    viewer->txtFilter->setText("不存在的文字");
    EXPECT_EQ(viewer->proxy->rowCount(), 0);
}

TEST_P(Screens, PasswordChangeNeedsAValidOperatorFirst) {
    logo.cboUser->setEditText("DY01");
    logo.txtPwd->setText("bad");
    logo.cmdChangePwd->click();
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().title, "提示");
    EXPECT_EQ(presenter.shown.back().body, "请输入正确的名称以及口令！");
    EXPECT_FALSE(logo.inPasswordMode());

    logo.txtPwd->setText("1234");
    logo.cmdChangePwd->click();
    ASSERT_TRUE(logo.inPasswordMode());
    EXPECT_EQ(logo.windowTitle(), "修改密码");
    logo.txtNewPwd->setText("abcd");
    logo.txtPwdConfirm->setText("abce");
    logo.cmdSave->click();
    EXPECT_EQ(presenter.shown.back().body, LIB_GetMsgText("ECM510"));
    EXPECT_TRUE(logo.inPasswordMode());
    logo.txtPwdConfirm->setText("abcd");
    logo.cmdSave->click();
    EXPECT_EQ(presenter.shown.back().body, "成功修改登录口令！");
    EXPECT_FALSE(logo.inPasswordMode());
    EXPECT_EQ(logo.windowTitle(), "登录");
    EXPECT_TRUE(LIB_PasswordMatches("DY01", "ABCD"));
}

TEST_P(Screens, AnOperatorMarkedForAChangeIsTakenToThePasswordChange) {
    g_OraDatabase->execute("UPDATE lib_worker SET pwd_change='1' WHERE wkr_no='ROOT'");
    QSignalSpy spy(&logo, &frmQKLogo::loggedIn);
    typeLogin("root", "ROOT");
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(presenter.shown.back().body, "请先修改登录口令，再用新口令登录。");
    ASSERT_TRUE(logo.inPasswordMode());
    logo.txtNewPwd->setText("");
    logo.txtPwdConfirm->setText("");
    logo.cmdSave->click();
    EXPECT_EQ(presenter.shown.back().body, "口令不能为空！");
    EXPECT_TRUE(logo.inPasswordMode());
    logo.txtNewPwd->setText("Root-Neu");
    logo.txtPwdConfirm->setText("Root-Neu");
    logo.cmdSave->click();
    EXPECT_FALSE(logo.inPasswordMode());
    typeLogin("ROOT", "root-neu");
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(g_blnLogin);
}

}  // namespace

namespace {

// A screen whose own close check refuses while it holds unsaved work.
class UnsavedScreen : public QWidget {
public:
    bool unsaved = true;
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        if (unsaved)
            event->ignore();
        else
            event->accept();
    }
};

TEST_P(Screens, ClosingTheMainWindowAsksEachOpenScreenFirst) {
    typeLogin("DY01", "1234");
    frmMain main;
    main.show();
    auto* screen = new UnsavedScreen;
    main.mdiMain->addSubWindow(screen)->show();
    main.openEntry(entryIndex("frmCataView"));
    ASSERT_EQ(main.mdiMain->subWindowList().size(), 2);

    EXPECT_FALSE(main.close()) << "a screen with unsaved work keeps the program running";
    EXPECT_EQ(screen->asked, 1);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(g_OraDatabase && g_OraDatabase->isOpen());

    screen->unsaved = false;
    EXPECT_TRUE(main.closeScreens());
    EXPECT_EQ(screen->asked, 2);
    EXPECT_TRUE(main.mdiMain->subWindowList().isEmpty());
    // What closing then does: the program ends with the database closed for real.
    int exitCode = -1;
    try {
        LIB_ExitSystem(0);
    } catch (const ExitRequested& e) {
        exitCode = e.code;
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(g_OraDatabase) << "the database is closed on the way out";
}

TEST_P(Screens, MainWindowIsWorkedFromTheKeyboardAndKeepsItsLayout) {
    typeLogin("DY01", "1234");
    {
        frmMain main;
        main.show();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        for (QAction* a : main.menuBar()->actions())
            EXPECT_TRUE(a->text().contains("(&")) << a->text().toStdString() << " has no mnemonic";
        EXPECT_TRUE(main.mnuRestoreLayout->toolTip().contains("恢复默认布局"));

        // Alt+B opens 书目, its first entry's number opens the record viewer, and the keys go
        // straight on to its search box.
        QTest::keyClick(&main, Qt::Key_B, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->actions().at(0)->text().startsWith("书目检索"));
        QTest::keyClick(menu, Qt::Key_1);
        ASSERT_EQ(main.mdiMain->subWindowList().size(), 1);
        auto* viewer = qobject_cast<frmCataView*>(main.mdiMain->subWindowList()[0]->widget());
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(QApplication::focusWidget(), viewer->panel->cmbContent);
        saveScreenshots(main, "frmMain-" + QString::fromStdString(GetParam()));

        // Closing saves the layout even when an open screen keeps the program running.
        auto* screen = new UnsavedScreen;
        main.mdiMain->addSubWindow(screen)->show();
        main.resize(1000, 640);
        EXPECT_FALSE(main.close());
        screen->unsaved = false;
        EXPECT_TRUE(main.closeScreens());
    }
    // The next opening comes back at the operator's size.
    frmMain again;
    EXPECT_EQ(again.size(), QSize(1000, 640));
}

// An event handler that reads a malformed value.
class MalformedReader : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++handled;
        return !DumpToText("Typ=1 Len=2: 4e,123456789abcdef0123").empty();
    }
};

TEST_P(Screens, ExceptionInAnEventHandlerShowsTheRunTimeErrorAndTheClientGoesOn) {
    MalformedReader reader;
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&reader, &first);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, LIB_GetMsgText("ECM206"));
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&reader, &second);
    EXPECT_EQ(reader.handled, 2);
    EXPECT_EQ(presenter.shown.size(), 2u);
}

}  // namespace

// The splash form under a real (offscreen) Qt: start-up runs on it and leaves it as the login
// form; message boxes take icon and default button from the type letter.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "common/gui/GuiPresenter.h"
#include "common/basQKEnv.h"
#include "app/frmQKLogo.h"
#include "tests/support/TestDb.h"

namespace {

class LogoForm : public HomeTest {};
SERIALS_ON_BOTH_BACKENDS(LogoForm);

TEST_P(LogoForm, StartUpLeavesTheFormInLoginMode) {
    frmQKLogo form;
    form.show();
    EXPECT_FALSE(form.cmdLogin->isVisible());
    ASSERT_EQ(QK_Main(form), 0);
    EXPECT_TRUE(form.inLoginMode());
    EXPECT_EQ(form.status(), "用户登录");
    EXPECT_TRUE(form.cmdLogin->isVisible());
    EXPECT_EQ(form.cmdLogin->text(), "登录");
    EXPECT_TRUE(form.cboUser->isVisible());
    EXPECT_EQ(form.txtPwd->echoMode(), QLineEdit::Password);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_P(LogoForm, FailedStartUpStopsBeforeLoginMode) {
    home->writeIni("[LIB-DATA]\n");
    frmQKLogo form;
    EXPECT_THROW(QK_Main(form), ExitRequested);
    EXPECT_FALSE(form.inLoginMode());
    EXPECT_EQ(form.status(), "连接数据库...");
    EXPECT_EQ(presenter.bodies(), (std::vector<std::string>{"与数据库连接失败，启动失败！"}));
}

struct BoxSeen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultText;
    int buttons = 0;
    QString title;
};

// Shows one box through the presenter, inspects it while it is open and presses its default.
BoxSeen showBox(char type, int* answer) {
    BoxSeen seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            seen.icon = box->icon();
            seen.title = box->windowTitle();
            seen.buttons = static_cast<int>(box->buttons().size());
            QPushButton* def = box->defaultButton();
            seen.defaultText = def ? def->text() : QString();
            (def ? static_cast<QAbstractButton*>(def) : box->buttons().front())->click();
        }
    });
    GuiPresenter presenter;
    *answer = presenter.show(type, "期刊管理系统", "正文");
    return seen;
}

TEST(GuiPresenterBoxes, TypeLetterChoosesIconButtonsAndDefault) {
    int answer = 0;
    BoxSeen e = showBox('E', &answer);
    EXPECT_EQ(e.icon, QMessageBox::Critical);
    EXPECT_EQ(e.buttons, 1);
    EXPECT_EQ(e.title, "期刊管理系统");
    EXPECT_EQ(answer, kMsgOk);

    BoxSeen i = showBox('I', &answer);
    EXPECT_EQ(i.icon, QMessageBox::Information);

    BoxSeen q = showBox('Q', &answer);
    EXPECT_EQ(q.icon, QMessageBox::Question);
    EXPECT_EQ(q.buttons, 2);
    EXPECT_EQ(q.defaultText, "取消");
    EXPECT_EQ(answer, kMsgCancel);

    BoxSeen w = showBox('W', &answer);
    EXPECT_EQ(w.icon, QMessageBox::Warning);
    EXPECT_EQ(answer, kMsgCancel);

    BoxSeen s = showBox('S', &answer);
    EXPECT_EQ(s.icon, QMessageBox::Question);
    EXPECT_EQ(s.defaultText, "确定");
    EXPECT_EQ(answer, kMsgOk);

    BoxSeen other = showBox('X', &answer);
    EXPECT_EQ(other.icon, QMessageBox::Critical);
}

}  // namespace

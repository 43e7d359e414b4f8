#include "app/frmQKLogo.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/basQKLogin.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "db/basLibMsg.h"

namespace {
QLineEdit* passwordEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setEchoMode(QLineEdit::Password);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

frmQKLogo::frmQKLogo(QWidget* parent) : QWidget(parent) {
    setObjectName("frmQKLogo");
    setWindowTitle("期刊管理系统");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 20);

    auto* title = new QLabel("期刊管理系统", this);
    title->setObjectName("lblTitle");
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* subtitle = new QLabel("期刊订购 · 签收 · 催缺 · 装订 · 典藏", this);
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(subtitle);
    layout->addSpacing(16);

    fraLogin = new QFrame(this);
    fraLogin->setObjectName("fraLogin");
    auto* form = new QFormLayout(fraLogin);
    cboUser = new QComboBox(fraLogin);
    cboUser->setObjectName("cboUser");
    cboUser->setEditable(true);
    cboUser->setInsertPolicy(QComboBox::NoInsert);
    txtPwd = passwordEdit(fraLogin, "txtPwd");
    form->addRow("操作员：", cboUser);
    form->addRow("口  令：", txtPwd);

    fraChangePwd = new QFrame(fraLogin);
    fraChangePwd->setObjectName("fraChangePwd");
    auto* pwdForm = new QFormLayout(fraChangePwd);
    pwdForm->setContentsMargins(0, 0, 0, 0);
    txtNewPwd = passwordEdit(fraChangePwd, "txtNewPwd");
    txtPwdConfirm = passwordEdit(fraChangePwd, "txtPwdConfirm");
    pwdForm->addRow("新口令：", txtNewPwd);
    pwdForm->addRow("确认新口令：", txtPwdConfirm);
    form->addRow(fraChangePwd);

    auto* buttons = new QHBoxLayout;
    cmdChangePwd = button(fraLogin, "cmdChangePwd", "修改密码");
    cmdLogin = button(fraLogin, "cmdLogin", "登录");
    cmdSave = button(fraLogin, "cmdSave", "保存");
    cmdCancel = button(fraLogin, "cmdCancel", "取消");
    cmdExit = button(fraLogin, "cmdExit", "退出");
    buttons->addWidget(cmdChangePwd);
    buttons->addStretch();
    for (QPushButton* b : {cmdLogin, cmdSave, cmdCancel, cmdExit})
        buttons->addWidget(b);
    form->addRow(buttons);
    fraLogin->setVisible(false);
    layout->addWidget(fraLogin);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblStatus);
    setMinimumWidth(440);

    connect(cmdLogin, &QPushButton::clicked, this, &frmQKLogo::cmdLogin_Click);
    connect(txtPwd, &QLineEdit::returnPressed, this, &frmQKLogo::cmdLogin_Click);
    connect(cboUser->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (!cboUser->currentText().trimmed().isEmpty()) txtPwd->setFocus();
    });
    connect(cmdChangePwd, &QPushButton::clicked, this, &frmQKLogo::cmdChangePwd_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmQKLogo::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { showPasswordMode(false); });
    connect(cmdExit, &QPushButton::clicked, this, [] { LIB_ExitSystem(0); });
    showPasswordMode(false);
}

void frmQKLogo::setStatus(const std::string& text) {
    lblStatus->setText(QString::fromStdString(text));
    // Let the status line paint before the next (blocking) step runs.
    QApplication::processEvents();
}

void frmQKLogo::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmQKLogo::fillOperators() {
    cboUser->clear();
    for (int row = 2; row < g_arrWorker.rows(); ++row)
        cboUser->addItem(QString::fromStdString(g_arrWorker(0, row).str()));
    cboUser->setCurrentIndex(-1);
    cboUser->setEditText(QString());
}

void frmQKLogo::enterLoginMode() {
    loginMode_ = true;
    relogin_ = false;
    fillOperators();
    fraLogin->setVisible(true);
    showPasswordMode(false);
    cboUser->setFocus();
}

void frmQKLogo::enterReloginMode() {
    enterLoginMode();
    relogin_ = true;
    setStatus("用户重新登录");
}

void frmQKLogo::showPasswordMode(bool on) {
    passwordMode_ = on;
    fraChangePwd->setVisible(on);
    cmdSave->setVisible(on);
    cmdCancel->setVisible(on);
    cmdLogin->setVisible(!on);
    cmdChangePwd->setVisible(!on);
    cboUser->setEnabled(!on);
    txtPwd->setEnabled(!on);
    setWindowTitle(on ? "修改密码" : "登录");
    if (on) {
        txtNewPwd->clear();
        txtPwdConfirm->clear();
        txtNewPwd->setFocus();
    }
}

void frmQKLogo::cmdLogin_Click() {
    // A second click while the first is still being handled is ignored.
    if (handling_ || passwordMode_) return;
    handling_ = true;
    setStatus("正在登录...");
    setBusy(true);
    LoginFailure why =
        LIB_LoginCheck(cboUser->currentText().toStdString(), txtPwd->text().toStdString());
    if (why != LoginFailure::None) {
        setBusy(false);
        setStatus("用户登录");
        if (why == LoginFailure::MustChangePassword) {
            // The operator and password were right: the new password is asked for at once.
            showPasswordMode(true);
        } else if (why == LoginFailure::WrongPassword) {
            txtPwd->setFocus();
            txtPwd->selectAll();
        } else {
            cboUser->setFocus();
        }
        handling_ = false;
        return;
    }
    if (!LIB_LoginGranted()) {
        setBusy(false);
        setStatus(relogin_ ? "用户重新登录" : "用户登录");
        cboUser->setFocus();
        handling_ = false;
        return;
    }
    if (!relogin_) setStatus("用户成功登录，正在初始化主窗体...");
    emit loggedIn(!relogin_);
    setBusy(false);
    txtPwd->clear();
    hide();
    handling_ = false;
}

void frmQKLogo::cmdChangePwd_Click() {
    if (!LIB_PasswordMatches(cboUser->currentText().toStdString(), txtPwd->text().toStdString())) {
        LIB_Presenter().show('I', "提示", "请输入正确的名称以及口令！");
        return;
    }
    showPasswordMode(true);
}

void frmQKLogo::cmdSave_Click() {
    if (LIB_ChangePassword(cboUser->currentText().toStdString(), txtNewPwd->text().toStdString(),
                           txtPwdConfirm->text().toStdString()) < 0)
        return;
    txtPwd->clear();
    showPasswordMode(false);
    txtPwd->setFocus();
}

QString frmQKLogo::status() const {
    return lblStatus->text();
}

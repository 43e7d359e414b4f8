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

#include "app/basQKEnv.h"

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

    auto* subtitle = new QLabel("期刊订购 · 记到 · 催缺 · 装订 · 典藏", this);
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(subtitle);
    layout->addSpacing(16);

    fraLogin = new QFrame(this);
    fraLogin->setObjectName("fraLogin");
    auto* form = new QFormLayout(fraLogin);
    cboUser = new QComboBox(fraLogin);
    cboUser->setObjectName("cboUser");
    cboUser->setEditable(true);
    txtPwd = new QLineEdit(fraLogin);
    txtPwd->setObjectName("txtPwd");
    txtPwd->setEchoMode(QLineEdit::Password);
    form->addRow("操作员：", cboUser);
    form->addRow("口  令：", txtPwd);
    auto* buttons = new QHBoxLayout;
    cmdLogin = new QPushButton("登录", fraLogin);
    cmdLogin->setObjectName("cmdLogin");
    cmdLogin->setDefault(true);
    cmdExit = new QPushButton("退出", fraLogin);
    cmdExit->setObjectName("cmdExit");
    buttons->addStretch();
    buttons->addWidget(cmdLogin);
    buttons->addWidget(cmdExit);
    form->addRow(buttons);
    fraLogin->setVisible(false);
    layout->addWidget(fraLogin);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblStatus);

    connect(cmdExit, &QPushButton::clicked, this, [] { LIB_ExitSystem(0); });
    setMinimumWidth(420);
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

void frmQKLogo::enterLoginMode() {
    loginMode_ = true;
    fraLogin->setVisible(true);
    cboUser->setFocus();
}

QString frmQKLogo::status() const {
    return lblStatus->text();
}

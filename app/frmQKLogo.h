// The splash form: shows the start-up status lines, then turns into the login form, which
// also changes an operator's password and is shown again for a new login from the main window.
#pragma once

#include <QWidget>

#include "app/basQKMain.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

class frmQKLogo : public QWidget, public StartupView {
    Q_OBJECT
public:
    explicit frmQKLogo(QWidget* parent = nullptr);

    void setStatus(const std::string& text) override;
    void setBusy(bool busy) override;
    void enterLoginMode() override;
    // Shown again from the main window: a successful login replaces the operator.
    void enterReloginMode();

    bool inLoginMode() const { return loginMode_; }
    bool inPasswordMode() const { return passwordMode_; }
    QString status() const;

    QComboBox* cboUser = nullptr;
    QLineEdit* txtPwd = nullptr;
    QPushButton* cmdLogin = nullptr;
    QPushButton* cmdChangePwd = nullptr;
    QPushButton* cmdExit = nullptr;
    QLineEdit* txtNewPwd = nullptr;
    QLineEdit* txtPwdConfirm = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblStatus = nullptr;

signals:
    // The operator has logged in; `first` is false for a new login from the main window.
    void loggedIn(bool first);

private:
    void cmdLogin_Click();
    void cmdChangePwd_Click();
    void cmdSave_Click();
    void showPasswordMode(bool on);
    void fillOperators();

    QFrame* fraLogin = nullptr;
    QFrame* fraChangePwd = nullptr;
    bool loginMode_ = false;
    bool passwordMode_ = false;
    bool relogin_ = false;
    bool busy_ = false;
    bool handling_ = false;
};

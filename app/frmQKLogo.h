// The splash form: shows the start-up status lines, then turns into the login form.
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

    bool inLoginMode() const { return loginMode_; }
    QString status() const;

    QComboBox* cboUser = nullptr;
    QLineEdit* txtPwd = nullptr;
    QPushButton* cmdLogin = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblStatus = nullptr;

private:
    QFrame* fraLogin = nullptr;
    bool loginMode_ = false;
    bool busy_ = false;
};

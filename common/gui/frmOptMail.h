// The workstation's mail settings (the [MAIL] section of mavren.ini): server and port,
// encryption, account, sender and telephone. The password is stored the way the database
// password is; a test message to the sender's own address tries the settings as typed.
#pragma once

#include <QDialog>
#include <string>

#include "common/Mailer.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmOptMail : public QDialog {
    Q_OBJECT
public:
    explicit frmOptMail(QWidget* parent = nullptr);

    QLineEdit* txtServer = nullptr;
    QSpinBox* spnPort = nullptr;  // 0: the address's own or the default port
    QCheckBox* chkUseSmtp = nullptr;
    QCheckBox* chkTls = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtFromName = nullptr;
    QLineEdit* txtTele = nullptr;
    QPushButton* cmdTest = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdTest_Click();
    void cmdOk_Click();

private:
    std::string server() const;
    MailAccount account() const;
};

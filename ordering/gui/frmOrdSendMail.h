// The order mail to a catalogue's distributor: sender, recipient, subject and body filled in and
// editable; sending attaches the catalogue's details as a spreadsheet. Nothing is written to the
// database.
#pragma once

#include <QDialog>
#include <string>

#include "common/Mailer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmOrdSendMail : public QDialog {
    Q_OBJECT
public:
    frmOrdSendMail(const std::string& publ, const std::string& year, const SupplierMail& mail,
                   QWidget* parent = nullptr);

    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtFromName = nullptr;
    QLineEdit* txtTo = nullptr;
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtBody = nullptr;
    QCheckBox* chkToMe = nullptr;
    QLabel* lblAttachment = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();

private:
    std::string publ_, year_;
    SupplierMail mail_;
};

// The mail to one supplier that the ordering and claim screens send: sender, recipient, subject
// and body filled in and editable, a copy to the sender, what goes with it (a file name, a list
// of rows, or both), and the checks before sending. What is attached and what happens when the
// mail goes belong to the area that opens the form.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "common/Mailer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

struct SupplierMailForm {
    std::string objectName;
    std::string title;
    bool askFromName = false;  // the sender's name beside the address
    bool copyToMe = false;     // the copy to the sender, as proposed
    std::string attachment;    // the attached file's name, shown when given
    // The rows the attachment carries, shown when there are headers.
    std::vector<std::string> listHeaders;
    std::vector<std::vector<std::string>> listRows;
    // Sends the mail as edited: 0, or -1 with the text to show in `error` (empty when the
    // failure has been shown already).
    std::function<int(const SupplierMail&, std::string& error)> send;
};

class frmSupplierMail : public QDialog {
    Q_OBJECT
public:
    frmSupplierMail(const SupplierMail& mail, SupplierMailForm form, QWidget* parent = nullptr);

    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtFromName = nullptr;  // only with askFromName
    QLineEdit* txtTo = nullptr;
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtBody = nullptr;
    QCheckBox* chkToMe = nullptr;
    QLabel* lblAttachment = nullptr;     // only with an attachment name
    QTableView* flxOrdDetail = nullptr;  // only with list headers
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Checks the mail ("请输入完整的发信人信息！" and the others), sends it and says so.
    void cmdOk_Click();

private:
    SupplierMail mail_;
    SupplierMailForm form_;
};

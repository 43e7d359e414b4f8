// The claim mail to one supplier: sender, recipient, subject and body filled in and editable,
// the claim list it carries, and sending (which records the claims only if the mail goes).
#pragma once

#include <QDialog>
#include <vector>

#include "checkin/core/basChkClaim.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class frmNewAslackMail : public QDialog {
    Q_OBJECT
public:
    frmNewAslackMail(const ClaimMail& mail, std::vector<ClaimCandidate> rows,
                     QWidget* parent = nullptr);

    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtBody = nullptr;
    QCheckBox* chkToMe = nullptr;
    QTableWidget* flxOrdDetail = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();

private:
    ClaimMail mail_;
    std::vector<ClaimCandidate> rows_;
};

// Batch issues: a run of further expected issues appended to an order line, numbered as
// prediction numbers them and dated on the title's frequency. The run following the line's
// last issue is proposed; the operator adjusts it and confirms.
#pragma once

#include <QDialog>

#include "checkin/core/IssueEdit.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;

class frmNewBatch : public QDialog {
    Q_OBJECT
public:
    frmNewBatch(const ChkInOrderLine& line, const std::string& location, QWidget* parent = nullptr);

    void cmdOk_Click();
    // The run as the controls give it.
    IssueBatch batch() const;

    QLabel* lblTitle = nullptr;
    QSpinBox* txtBegVol = nullptr;
    QSpinBox* txtBegIssue = nullptr;
    QSpinBox* txtBegTotalIssue = nullptr;
    QSpinBox* txtQtyOfVol = nullptr;
    QSpinBox* txtVolBegIssue = nullptr;
    QCheckBox* chkIssueContinue = nullptr;
    QSpinBox* txtCount = nullptr;
    QDateEdit* dtpFirstDate = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    ChkInOrderLine line_;
    std::string location_;
};

// Issue detail: one expected issue of an order line at a receiving location, or a new one added
// by hand. The operator edits its numbers, dates and type, sets how many copies each
// sub-location holds, claims the issue alone, sends first-read notices to priority readers and
// moves the check-in date of its copies; spdItemInfo shows its copies, claims and notices.
#pragma once

#include <QDialog>
#include <vector>

#include "checkin/core/IssueEdit.h"

class GbkSortProxy;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class QTableWidget;

class frmNewDetail : public QDialog {
    Q_OBJECT
public:
    // `periId` empty adds a new issue to the order line.
    frmNewDetail(const ChkInOrderLine& line, const ChkInLocation& location,
                 const std::string& periId, QWidget* parent = nullptr);

    void cmdOk_Click();
    void cmdAslack_Click();
    void cmdFirstRead_Click();
    void cmdModifyDate_Click();

    // The issue the screen shows (its key once a new issue is saved).
    const std::string& periId() const { return detail_.issue.periId; }
    // Something was written, so the caller reloads its issues.
    bool changed() const { return changed_; }

    QLabel* lblTitle = nullptr;
    QLineEdit* txtVol = nullptr;
    QLineEdit* txtIssue = nullptr;
    QLineEdit* txtTotal = nullptr;
    QComboBox* cmbPeriType = nullptr;
    QDateEdit* dtpExpectDate = nullptr;
    QDateEdit* dtpAslackDate = nullptr;
    QLineEdit* txtPublYear = nullptr;
    QLineEdit* txtIssueTitle = nullptr;
    QLineEdit* txtAttachment = nullptr;
    QLineEdit* txtRemark = nullptr;
    QTableWidget* spdCopies = nullptr;  // copies per sub-location, the second column editable
    QTableView* spdItemInfo = nullptr;
    QStandardItemModel* itemModel = nullptr;
    GbkSortProxy* itemProxy = nullptr;
    QSpinBox* txtAslackQty = nullptr;  // 0: the copies missing
    QLineEdit* txtAslackRemark = nullptr;
    QListWidget* lstReaders = nullptr;
    QDateEdit* dtpChkDate = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAslack = nullptr;
    QPushButton* cmdFirstRead = nullptr;
    QPushButton* cmdModifyDate = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void reject() override;

private:
    void buildControls();
    void loadIssue();
    void showIssue();
    void showItems();
    bool unsaved() const;
    IssueDraft draft() const;
    std::vector<IssueCopyCount> copyCounts() const;

    ChkInOrderLine line_;
    ChkInLocation location_;
    IssueDetail detail_;
    bool changed_ = false;
};

// The check-in configuration of one order line at one receiving location. Opened by the
// check-in screen for the line selected there; confirming saves the configuration and, the
// first time, predicts the line's expected issues. The controls keep their names so that tests
// and the check-in screen reach them.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "checkin/core/basChkConfig.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class frmNewConfig : public QDialog {
    Q_OBJECT
public:
    frmNewConfig(const ChkOrderKey& key, const std::string& location, QWidget* parent = nullptr);

    // False when the order line could not be read (the reason was shown); the screen then
    // offers only cmdCancel.
    bool isLoaded() const { return loaded_; }

    QLabel* lblTitle = nullptr;
    QDateEdit* dtpBeginDate = nullptr;
    QDateEdit* dtpEndDate = nullptr;
    QDateEdit* dtpChkBgnDate = nullptr;
    QLineEdit* txtFstReceDate = nullptr;
    QComboBox* cmbFstReceDate = nullptr;
    QLineEdit* txtQtyOfYear = nullptr;
    QLineEdit* txtDaysOfItems = nullptr;
    QLineEdit* txtBegVol = nullptr;
    QLineEdit* txtBegIssue = nullptr;
    QLineEdit* txtBegTotalIssue = nullptr;
    QLineEdit* txtQtyOfVol = nullptr;
    QCheckBox* chkIssueContinue = nullptr;
    QLineEdit* txtVolBegIssue = nullptr;
    QCheckBox* chkLuoMa = nullptr;
    QCheckBox* chkUnKnow = nullptr;
    QCheckBox* chkAsLackYsno = nullptr;
    QLineEdit* txtDaysOfAslack = nullptr;
    QLineEdit* txtAslackSecond = nullptr;
    QLineEdit* txtAslackThird = nullptr;
    QCheckBox* chkBindYsno = nullptr;
    QLineEdit* txtBindItemQty = nullptr;
    QLineEdit* txtBindCopyQty = nullptr;
    QLineEdit* txtPresCopyQty = nullptr;
    QLineEdit* txtExchCopyQty = nullptr;
    QLineEdit* txtIssueKeepQty = nullptr;
    QComboBox* cmbBookSizeCode = nullptr;
    QComboBox* cmbColor = nullptr;
    QComboBox* cmbFrame = nullptr;
    QComboBox* cmbAttachment = nullptr;
    QCheckBox* chkAutoUpdateLoca = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Checks, saves and predicts; closes the screen (accepted) when saved, else stays open
    // with the operator's entries.
    void cmdOk_Click();

    // Esc, 取消 and closing: an edited form is offered 保存/不保存/取消 first.
    void reject() override;

private:
    void buildControls();
    bool Form_Load();
    void showForm();
    void enableByFrequency();
    void enableGroups();
    ChkConfigForm readForm() const;

    ChkOrderKey key_;
    std::string location_;
    ChkConfigForm form_;
    QStringList shownValues_;  // the controls as loaded, to tell an edit on leaving
    bool loaded_ = false;
};

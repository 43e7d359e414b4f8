// A binder's batches: listed by sending date and by whether records use them, entered or
// rewritten, deleted while unused, and sent to the binder.
#pragma once

#include <QWidget>
#include <vector>

#include "binding/core/basBindFunc.h"
#include "binding/gui/BindGrid.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmOldBindBatch : public QWidget {
    Q_OBJECT
public:
    explicit frmOldBindBatch(const QString& binder = {}, QWidget* parent = nullptr);

    QComboBox* cmbBinder = nullptr;
    QLineEdit* txtFrom = nullptr;  // sending dates, yyyy-mm-dd; empty: open
    QLineEdit* txtTo = nullptr;
    QComboBox* cmbUsed = nullptr;  // all, used, unused
    BindGrid spdBatch;
    QLineEdit* txtBindBatchNo = nullptr;
    QLineEdit* txtSendBindDate = nullptr;
    QLineEdit* txtRespWkr = nullptr;
    QLineEdit* txtRemark = nullptr;
    QPushButton *cmdFind, *cmdNew, *cmdOk, *cmdDelete, *cmdSend, *cmdCancel;

    void loadBatches();
    void cmdOk_Click();
    void cmdDelete_Click();
    void cmdSend_Click();
    const std::vector<BindBatch>& batches() const { return batches_; }

private:
    void showBatch();
    std::string binder() const;
    std::vector<BindBatch> batches_;
};

// Accession batches: the bound-volume or single-issue batches listed, one entered or rewritten
// (its property-number class, date, operator and remark), or deleted while nothing was
// accessioned in it.
#pragma once

#include <QWidget>
#include <vector>

#include "binding/core/basStoreFunc.h"
#include "binding/gui/BindGrid.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmOldStoreBatch : public QWidget {
    Q_OBJECT
public:
    explicit frmOldStoreBatch(int checkType = 0, QWidget* parent = nullptr);

    QComboBox* cmbCheckType = nullptr;  // 合订本 (0) or 单册 (1)
    BindGrid spdBatch;
    QLineEdit* txtBatchNo = nullptr;
    QComboBox* cmbClassType = nullptr;
    QLineEdit* txtDate = nullptr;
    QLineEdit* txtRespWkr = nullptr;
    QLineEdit* txtRemark = nullptr;
    QPushButton *cmdNew, *cmdOk, *cmdDelete, *cmdCancel;

    // Shows the batch in the fields (a new one when it does not exist yet).
    void subSetText(const QString& batchNo);
    void loadBatches();
    void cmdOk_Click();
    void cmdDelete_Click();
    const std::vector<CheckAcct>& batches() const { return batches_; }

signals:
    void batchesChanged();

private:
    std::vector<CheckAcct> batches_;
};

// Bound volumes back from the binder: records at the binder, checked or accessioned, listed by
// state; a volume checked (or the check undone), accessioned in a bound-volume batch with its
// property number, barcode and call number, or its accession undone while it is not on loan.
#pragma once

#include <QWidget>
#include <vector>

#include "binding/core/basBindFunc.h"
#include "binding/gui/BindGrid.h"

class QComboBox;
class QPushButton;
class StoreEntryPane;

class frmOldCheckStore : public QWidget {
    Q_OBJECT
public:
    explicit frmOldCheckStore(QWidget* parent = nullptr);

    QComboBox* cmbFlag = nullptr;  // 在装订 (0), 已验收 (1), 已入藏 (2)
    BindGrid spdBound;
    StoreEntryPane* storePane = nullptr;
    QPushButton *cmdCheck, *cmdUncheck, *cmdStore, *cmdUndo, *cmdCallNo, *cmdBatch, *cmdCancel;

    // Accessions into the batch from now on.
    void subStoreBatch(const QString& batchNo);
    void loadRecords();
    void cmdCheck_Click(bool undo);
    void cmdStore_Click();
    void cmdUndo_Click();
    const std::vector<BindRecord>& records() const { return records_; }

private:
    const BindRecord* current() const;
    std::vector<BindRecord> records_;
};

// Single issues kept unbound: a title's copies at its location found, one accessioned in a
// single-issue batch with its property number and barcode, or its accession undone while it is
// not on loan.
#pragma once

#include <QWidget>
#include <vector>

#include "binding/core/basStoreFunc.h"
#include "binding/gui/BindGrid.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class StoreEntryPane;

class frmOldSnglStore : public QWidget {
    Q_OBJECT
public:
    explicit frmOldSnglStore(QWidget* parent = nullptr);

    QLineEdit* txtFind = nullptr;  // title words
    QComboBox* cmbYear = nullptr;
    BindGrid spdTitle, spdCopy;
    StoreEntryPane* storePane = nullptr;
    QPushButton *cmdFind, *cmdStore, *cmdUndo, *cmdBatch, *cmdCancel;

    // Accessions into the batch from now on.
    void subStoreBatch(const QString& batchNo);
    void cmdFind_Click();
    void cmdStore_Click();
    void cmdUndo_Click();
    const std::vector<SingleCopy>& copies() const { return copies_; }

private:
    void showCopies();
    const SingleCopy* currentCopy() const;
    std::vector<BindTitle> titles_;
    std::vector<SingleCopy> copies_;
};

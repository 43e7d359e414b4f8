// Receiving a bound volume back from the binder: the binding record as checked (spine title,
// ranges, size with the binder's price, colour, frame, call number, carrier) and, with chkStore,
// accessioned at once with its property number and barcode. chkLt moves on to the next record
// of the same batch still at the binder, so a returned batch is received volume after volume.
#pragma once

#include <QWidget>

#include "binding/core/basBindFunc.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class StoreEntryPane;

class frmOldBindBound : public QWidget {
    Q_OBJECT
public:
    explicit frmOldBindBound(const QString& bindNo = {}, QWidget* parent = nullptr);

    QLineEdit* txtBindNo = nullptr;
    QLineEdit* txtBindName = nullptr;
    QLineEdit* txtSpineTitle = nullptr;
    QLineEdit* txtBgnEndYear = nullptr;
    QLineEdit* txtBgnEndVol = nullptr;
    QSpinBox* txtQtyOfBind = nullptr;
    QDoubleSpinBox* txtBoundEditPrice = nullptr;
    QDoubleSpinBox* txtBoundPrice = nullptr;
    QComboBox* cmbBookSize = nullptr;
    QComboBox* cmbColor = nullptr;
    QComboBox* cmbFrame = nullptr;
    QComboBox* cmbCallNo = nullptr;  // the record's call numbers to choose from
    QLineEdit* txtCallNo = nullptr;
    QComboBox* cmbCarrier = nullptr;
    StoreEntryPane* storePane = nullptr;  // accession batch, property number, barcode, ...
    QComboBox* cmbBatch = nullptr;        // accession batch of bound volumes
    QLineEdit* txtPropNo = nullptr;
    QLineEdit* txtBarCode = nullptr;
    QComboBox* cmbBookStatCode = nullptr;
    QComboBox* cmbDisLocation = nullptr;
    QCheckBox* chkStore = nullptr;
    QCheckBox* chkLt = nullptr;
    QLineEdit* txtRemark = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Shows the record; false (after the message) when there is none.
    bool loadRecord(const QString& bindNo);
    void cmdOk_Click();
    const BindRecord& record() const { return record_; }

private:
    void refreshPrice();
    BindRecord record_;
};

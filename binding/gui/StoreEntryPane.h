// What the operator enters to accession a volume, shared by the accession screens: the
// accession batch, the property number (the section's next one proposed, taken only when the
// volume is written), barcode, call number, loan status, and the item's loan grade and
// circulation type.
#pragma once

#include <QWidget>

#include "binding/core/basStoreFunc.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class frmOldCreateCallNo;

class StoreEntryPane : public QWidget {
    Q_OBJECT
public:
    // Batches of bound volumes (0) or single issues (1).
    explicit StoreEntryPane(int checkType, QWidget* parent = nullptr);

    QComboBox* cmbBatch = nullptr;
    QLineEdit* txtPropNo = nullptr;
    QLineEdit* txtBarCode = nullptr;
    QLineEdit* txtCallNo = nullptr;
    QPushButton* cmdCallNo = nullptr;  // the call-number screen for the record (Ctrl+L)
    QComboBox* cmbBookStatCode = nullptr;
    QComboBox* cmbLendGrad = nullptr;  // data the code, "" none
    QComboBox* cmbCircType = nullptr;
    QFormLayout* form = nullptr;

    void loadBatches();
    // Chooses the batch; false when it is not one of this kind.
    bool selectBatch(const QString& batchNo);
    std::string batchNo() const;
    // The entry as typed; a property number left as proposed is taken from the section.
    StoreEntry entry() const;
    // The record the volumes are of, for which the call-number screen makes call numbers.
    void setRecord(const QString& marcRecNo);
    // Opens the call-number screen for the record with the call number, loan grade and
    // circulation type entered here; what it confirms comes back. Null (after the message)
    // without a record.
    frmOldCreateCallNo* openCallNo();
    // What the call-number screen confirmed: the call number with loan grade and circulation type.
    void setCallNo(const QString& callNo, const QString& lendGrade, const QString& circType);
    // After a volume was written: the next proposal, the barcode emptied for the next scan.
    void next();

private:
    void propose();
    int checkType_;
    QString marcRecNo_;
    QStringList classes_;  // property-number class of each batch in cmbBatch
    QString proposal_;
};

// What the operator enters to accession a volume, shared by the accession screens: the
// accession batch, the property number (the section's next one proposed, taken only when the
// volume is written), barcode, call number and loan status.
#pragma once

#include <QWidget>

#include "binding/core/basStoreFunc.h"

class QComboBox;
class QFormLayout;
class QLineEdit;

class StoreEntryPane : public QWidget {
    Q_OBJECT
public:
    // Batches of bound volumes (0) or single issues (1).
    explicit StoreEntryPane(int checkType, QWidget* parent = nullptr);

    QComboBox* cmbBatch = nullptr;
    QLineEdit* txtPropNo = nullptr;
    QLineEdit* txtBarCode = nullptr;
    QLineEdit* txtCallNo = nullptr;
    QComboBox* cmbBookStatCode = nullptr;
    QFormLayout* form = nullptr;

    void loadBatches();
    // Chooses the batch; false when it is not one of this kind.
    bool selectBatch(const QString& batchNo);
    std::string batchNo() const;
    // The entry as typed; a property number left as proposed is taken from the section.
    StoreEntry entry() const;
    // After a volume was written: the next proposal, the barcode emptied for the next scan.
    void next();

private:
    void propose();
    int checkType_;
    QStringList classes_;  // property-number class of each batch in cmbBatch
    QString proposal_;
};

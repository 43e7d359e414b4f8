// A new catalogue record for an order detail that has none: its format (CNMARC or USMARC), the
// title, ISSN, publisher and place, language and country. The template of a new detail opens it
// with its format, language and country chosen. Enter takes the record, Esc leaves without one.
#pragma once

#include <QDialog>

#include "ordering/core/OrdDetail.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmOrdMarcAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmOrdMarcAdd(const OrdNewMarc& start, QWidget* parent = nullptr);

    QComboBox* cmbFormat = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtIssn = nullptr;
    QLineEdit* txtPublisher = nullptr;
    QLineEdit* txtPlace = nullptr;
    QComboBox* cmbLanguage = nullptr;
    QComboBox* cmbCountry = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The record as the controls describe it.
    OrdNewMarc record() const;

private:
    void take();
};

// The record viewer: search the catalogue by an index group and the beginning of a key, list
// the records found, and show the selected one field by field.
#pragma once

#include <QWidget>

#include "db/LibArray.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QLabel;
class MarcRecView;

class frmCataView : public QWidget {
    Q_OBJECT
public:
    explicit frmCataView(QWidget* parent = nullptr);

    // Runs the search in the controls; the number of records found, or -1 on an error.
    int subSearch();
    // Shows the record of a row of the result list.
    void subShowRecord(int row);

    QComboBox* cmbOption = nullptr;   // index group
    QLineEdit* cmbContent = nullptr;  // search text
    QPushButton* cmdSearch = nullptr;
    QTableWidget* spdMarcList = nullptr;
    MarcRecView* vsfBM = nullptr;
    QLabel* lblStatus = nullptr;
};

// The check-in search as a dialog: search field and text, subscription year (a year, a range
// or any year), language, acquisition mode and carrier. On success it keeps the order lines
// found and closes accepted.
#pragma once

#include <QDialog>

#include "checkin/core/basChkSearch.h"
#include "db/LibArray.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmNewSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmNewSearch(QWidget* parent = nullptr);

    // Fills the field list from QKINDEX.INI and the year list from the order catalogues.
    void subInitOption();
    // Runs the search in the controls; accepts the dialog when lines were found.
    void subSearch();
    // The query the controls describe.
    ChkSearchQuery query() const;
    const LibArray& result() const { return rows_; }

    QComboBox* cmbOption = nullptr;
    QComboBox* cmbContent = nullptr;
    QComboBox* cmbYear = nullptr;
    QLineEdit* txtYearFrom = nullptr;
    QLineEdit* txtYearTo = nullptr;
    QComboBox* cmbLanguage = nullptr;
    QComboBox* cmbGetMode = nullptr;
    QComboBox* cmbCarrier = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void yearChanged();
    std::vector<ChkSearchField> fields_;
    LibArray rows_;
};

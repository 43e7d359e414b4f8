// The order manager's search: orders (OrderSearch) or pre-orders (AsordSearch) across every
// catalogue, by title, ISSN, order number or publisher within a range of years. The rows found
// are listed under "征订检索结果"; Enter or a double click on one (or 打开) opens it in its
// catalogue.
#pragma once

#include <QDialog>
#include <vector>

#include "ordering/core/OrdSearch.h"

class GbkSortProxy;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;

class frmOrdSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmOrdSearch(QWidget* parent = nullptr);

    QRadioButton* OrderSearch = nullptr;
    QRadioButton* AsordSearch = nullptr;
    QComboBox* cmbOption = nullptr;  // search field
    QLineEdit* cmbContent = nullptr;
    QLineEdit* txtFromYear = nullptr;
    QLineEdit* txtToYear = nullptr;
    QPushButton* cmdSearch = nullptr;
    QGroupBox* fraResult = nullptr;  // "征订检索结果"
    QTableView* spdResult = nullptr;
    QStandardItemModel* model = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdClose = nullptr;

    // Runs the search in the controls: the number of rows listed, or -1 (refused or failed,
    // message shown).
    int subSearch();
    // The query the controls hold.
    OrdSearchQuery query() const;
    // The hit of a row of the grid (in its sorted, filtered order); null when none.
    const OrdSearchHit* hitAt(int viewRow) const;
    // What the last search looked for.
    OrdSearchKind searchedKind() const { return searchedKind_; }

signals:
    // The operator asked to open this hit in its catalogue.
    void hitChosen(const OrdSearchHit& hit, OrdSearchKind kind);

private:
    void showColumns();
    void openRow(int viewRow);

    GbkSortProxy* proxy_ = nullptr;
    std::vector<OrdSearchHit> hits_;
    OrdSearchKind searchedKind_ = OrdSearchKind::Order;
};

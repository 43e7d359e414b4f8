// Hand-over: the copies checked in over a range of days that are still at the check-in desk
// (or, for taking back, already handed over), per issue and sub-location; handing over or
// taking back a number of copies of the marked rows; the hand-over list printed or as PDF.
// The commands take the marked rows the grid shows, whatever its sort and filter.
#pragma once

#include <QWidget>
#include <vector>

#include "checkin/core/basChkDetail.h"

class GbkSortProxy;
class QComboBox;
class QDateEdit;
class QRadioButton;
class QSpinBox;
class QPushButton;
class QLineEdit;
class QTableView;
class TransferGridModel;

class frmNewTrans : public QWidget {
    Q_OBJECT
public:
    explicit frmNewTrans(QWidget* parent = nullptr);

    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QComboBox* cmbLoca = nullptr;
    QRadioButton* optAtDesk = nullptr;
    QRadioButton* optHandedOver = nullptr;
    QSpinBox* txtCopies = nullptr;
    QTableView* spdTrans = nullptr;
    TransferGridModel* model = nullptr;
    GbkSortProxy* proxy = nullptr;
    QLineEdit* txtFilter = nullptr;
    QPushButton* cmdSearch = nullptr;
    // Mark or unmark the rows shown.
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdDisselect = nullptr;
    QPushButton* cmdTrans = nullptr;
    QPushButton* cmdUndo = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdSearch_Click();
    void cmdTrans_Click();
    void cmdUndo_Click();
    // The hand-over list of the marked rows, as HTML for printing.
    QString listHtml() const;
    bool printToPdf(const QString& path) const;

private:
    std::vector<TransferRow> marked() const;
};

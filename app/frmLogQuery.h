// The operation-log viewer: who did what, when and where, filtered by date range, operator
// and operation; the grid sorts by any column and the key columns are named for the operation.
#pragma once

#include <QWidget>

class QComboBox;
class QDateEdit;
class GbkSortProxy;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class LibArrayModel;

class frmLogQuery : public QWidget {
    Q_OBJECT
public:
    explicit frmLogQuery(QWidget* parent = nullptr);

    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QComboBox* cboWorker = nullptr;
    QComboBox* cboLogType = nullptr;
    QPushButton* cmdQuery = nullptr;
    QTableView* spdLog = nullptr;
    QLabel* lblCount = nullptr;
    LibArrayModel* model = nullptr;
    GbkSortProxy* proxy = nullptr;  // what the grid shows: the rows sorted and filtered
    QLineEdit* txtFilter = nullptr;

    void cmdQuery_Click();
};

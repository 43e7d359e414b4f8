// The operation-log viewer: who did what, when and where, filtered by date range, operator
// and operation.
#pragma once

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
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

    void cmdQuery_Click();
};

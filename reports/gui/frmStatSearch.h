// Periodical query: titles found through a search path, and for the title chosen its orders,
// its current issues and its bound volumes on three tabs, each narrowed by its own year or
// location and each printable and exportable like a report.
#pragma once

#include <QWidget>

#include "reports/core/StatReports.h"

class QComboBox;
class QLineEdit;
class QTabWidget;
class QTableView;
class StatGridModel;

class frmStatSearch : public QWidget {
    Q_OBJECT
public:
    explicit frmStatSearch(QWidget* parent = nullptr);

    StatGridModel* titles() const { return titleModel_; }
    // The grid models of the tabs: current issues, bound volumes, orders.
    StatGridModel* tab(int i) const { return tabModels_[i]; }
    const StatTable& tabTable(int i) const { return tabTables_[i]; }

public slots:
    void search();
    // Loads the chosen title's three tabs.
    void showTitle(int row);

private:
    void loadTabs();
    QTableView* grid(const char* name, StatGridModel* model, QWidget* parent);
    const StatTable& current() const;

    QLineEdit* txtContent_;
    QComboBox* cmbPath_;
    QComboBox* cmbOrdYear_;
    QComboBox* cmbLocation_;
    QComboBox* cmbBindYear_;
    QTabWidget* sstStatSearch_;
    QTableView* spdMarcInfo_;
    StatGridModel* titleModel_;
    StatGridModel* tabModels_[3];
    StatTable titleTable_;
    StatTable tabTables_[3];
    std::vector<StatSearchPath> paths_;
    std::string recNo_;
};

// The statistical report screens. They share one frame: title and remark, the filter frame,
// the result grid with its filter box, the totals line, a chart where the report is better
// seen than read, and the commands 统计 (F5), 打印预览, PDF, XLSX, CSV and 退出 (Esc). Which
// filters the frame shows depends on the report.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include "reports/core/StatReports.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTableView;
class StatChart;

enum class StatScreen { LocaAll, Loca, Other, Arrival, Job, IndiAcct, Sort };

// The grid as the report gives it: headings, rows, section totals and the total row. The model
// keeps the table and points at its rows: a long report is not copied to be shown.
class StatGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setTable(StatTable t);
    const StatTable& table() const { return table_; }
    // Whether the grid row is a section heading, shown across the grid.
    bool isHeading(int row) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    StatTable table_;
    std::vector<const std::vector<std::string>*> rows_;
    std::vector<std::vector<std::string>> headings_;  // one-cell rows; rows_ points into them
};

class frmStatReport : public QWidget {
    Q_OBJECT
public:
    explicit frmStatReport(StatScreen kind, QWidget* parent = nullptr);

    // The screen's name in the main window (frmStatLocaAll, ...).
    static const char* screenName(StatScreen kind);
    const StatTable& table() const { return model_->table(); }
    StatChart* chart() const { return chart_; }
    StatGridModel* model() const { return model_; }

public slots:
    // Runs the report with the filters as set; the grid stays empty on a failure.
    void runReport();
    void preview();
    // Writes the report; false when it could not (the message shown).
    bool exportTo(const QString& path);

private:
    StatFilter sharedFilter() const;
    void fillLocations();
    void showChart();
    QString chartPngBase64() const;

    StatScreen kind_;
    StatGridModel* model_;
    QTableView* grid_;
    QLabel* lblTitle_;
    QLabel* lblRemark_;
    QLabel* lblTotal_;
    StatChart* chart_ = nullptr;
    QComboBox* cmbYear_ = nullptr;
    QComboBox* cmbPubl_ = nullptr;
    QComboBox* cmbDocType_ = nullptr;
    QComboBox* cmbLanguage_ = nullptr;
    QRadioButton* optLocaSub_ = nullptr;
    QComboBox* cmbLoca_ = nullptr;
    QComboBox* cmbCond_ = nullptr;
    QCheckBox* chkShowBindInfo_ = nullptr;
    QComboBox* optStatType_ = nullptr;
    QLineEdit* txtBgnDay_ = nullptr;
    QLineEdit* txtEndDay_ = nullptr;
    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QComboBox* cboClassType_ = nullptr;
    QTabBar* sstType_ = nullptr;
    QComboBox* cboTemplate_ = nullptr;
    std::vector<StatChoice> docTypes_, languages_, publishers_;
};

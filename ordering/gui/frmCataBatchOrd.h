// Batch ordering: the gift and exchange intake records not yet ordered, ticked in a grid, become
// order details of one catalogue with the subscriber, fund source, copies and distribution
// given once. The work and its checks are the core's; a run with failures opens its log.
#pragma once

#include <QDialog>

#include "ordering/core/OrdBatch.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;
class QTableWidget;

class frmCataBatchOrd : public QDialog {
    Q_OBJECT
public:
    explicit frmCataBatchOrd(QWidget* parent = nullptr);

    QTableView* spdRecords = nullptr;  // the intake records, ticked to order
    QComboBox* cmbPubl = nullptr;
    QComboBox* cmbYear = nullptr;  // the distributor's unsent batches, or a new one typed in
    QRadioButton* optMuluExisting = nullptr;
    QRadioButton* optMuluNew = nullptr;
    QComboBox* cmbSubscriber = nullptr;
    QComboBox* cmbFundSrc = nullptr;
    QLineEdit* txtCounts = nullptr;
    QCheckBox* chkCheck = nullptr;
    QTableWidget* spdDistLoca = nullptr;  // distribution location, copies, shelf mark
    QPushButton* cmdAddDist = nullptr;
    QPushButton* cmdDelDist = nullptr;
    QProgressBar* pbTime = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdViewLog = nullptr;

    // Ticks the intake records with these document numbers.
    void tickRecords(const std::vector<std::string>& docIds);
    // Adds a distribution line with the location chosen.
    void addDistLine(const std::string& location, const std::string& copies,
                     const std::string& label = "");
    BatchOrdRequest request() const;
    // Shows the day's batch log beside the screen.
    void viewLog();
    const BatchOrdResult& lastResult() const { return result_; }

private:
    void loadRecords();
    void loadBatches();
    void loadFunds();
    void run();

    QStandardItemModel* records_ = nullptr;
    BatchOrdResult result_;
};

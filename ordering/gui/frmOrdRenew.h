// The renewal screen: source year and distributors, the target (by year or one named
// catalogue), the order states and the pre-order filter, how orders already in the target and
// failures are handled, and the run with its progress, abort and log. The work is the core's.
#pragma once

#include <QDialog>

#include "ordering/core/OrdRenew.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

class frmOrdRenew : public QDialog {
    Q_OBJECT
public:
    explicit frmOrdRenew(QWidget* parent = nullptr);

    QComboBox* cmbYear = nullptr;
    QListWidget* lstPubLst = nullptr;
    QRadioButton* optByYear = nullptr;  // optCataMode: by year
    QRadioButton* optNamed = nullptr;   // optCataMode: one named catalogue
    QLineEdit* txtYearNew = nullptr;
    QLineEdit* txtNewCata = nullptr;
    QCheckBox* chkTypeNormal = nullptr;
    QCheckBox* chkTypeRenamed = nullptr;
    QCheckBox* chkTypeCeased = nullptr;
    QCheckBox* chkTypeStopped = nullptr;
    QCheckBox* chkData = nullptr;
    QCheckBox* chkExist = nullptr;  // answer the questions about existing orders in advance
    QRadioButton* optWayKeep = nullptr;
    QRadioButton* optWayReplace = nullptr;
    QRadioButton* optErrorNext = nullptr;
    QRadioButton* optErrorStop = nullptr;
    QProgressBar* pbRenew = nullptr;
    QLabel* lblProg = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAbort = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdViewLog = nullptr;

    // The choices on the screen.
    RenewOptions options() const;
    // Ticks or clears every distributor (the list's menu).
    void checkAll(bool on);
    // Shows the log of the last run beside the screen.
    void viewLog();
    // The result of the last run.
    const RenewResult& lastResult() const { return result_; }

protected:
    void reject() override;

private:
    void loadPublishers();
    void run();
    bool showProgress(const RenewProgress& p);
    void updateEnabled();

    bool abort_ = false;
    RenewResult result_;
};

// The claim screen: filters, the three lists of optShowType, the grid of issues with their
// editable claim quantity and remark, recording claims, the printed claim list and the claim
// mail to one supplier.
#pragma once

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class ClaimGridModel;
class frmNewAslackMail;
struct ClaimFilter;
enum class ClaimList;

class frmNewAskLack : public QWidget {
    Q_OBJECT
public:
    explicit frmNewAskLack(QWidget* parent = nullptr);

    QComboBox* cmbYear = nullptr;
    QComboBox* cmbLoca = nullptr;
    QComboBox* cmbNo = nullptr;
    QComboBox* cmbGetMode = nullptr;
    QComboBox* cmbDocType = nullptr;
    QComboBox* cmbIdxGroup = nullptr;
    QLineEdit* txtSearch = nullptr;
    QListWidget* lstPubl = nullptr;
    QRadioButton* optShowType[3] = {};
    QTableView* spdDetail = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdDisselect = nullptr;
    QPushButton* cmdAsk = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdSendMail = nullptr;
    QPushButton* cmdCancel = nullptr;
    ClaimGridModel* model = nullptr;
    // The mail screen while it is open.
    frmNewAslackMail* mailForm = nullptr;

    void cmdSearch_Click();
    void cmdAsk_Click();
    void cmdPrint_Click();
    // Writes the printed claim list of the marked rows to a PDF file; false when it cannot.
    bool printToPdf(const QString& path);
    void cmdSendMail_Click();

private:
    ClaimFilter filter() const;
    ClaimList shownList() const;
    QButtonGroup* showType_ = nullptr;
};

// The claim screen: filters, the three lists of optShowType, the grid of issues with their
// editable claim quantity and remark, recording claims, the printed claim list and the claim
// mail to one supplier. Every command takes the marked rows the grid shows, in the order shown,
// so a sorted and filtered grid is claimed, printed and mailed as the operator sees it.
#pragma once

#include <QWidget>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class ClaimGridModel;
class GbkSortProxy;
class frmNewAslackMail;
struct ClaimCandidate;
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
    // Narrows the grid; the commands then act on the marked rows it shows.
    QLineEdit* txtFilter = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdDisselect = nullptr;
    QPushButton* cmdAsk = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdSendMail = nullptr;
    QPushButton* cmdCancel = nullptr;
    ClaimGridModel* model = nullptr;
    GbkSortProxy* proxy = nullptr;
    // The mail screen while it is open.
    frmNewAslackMail* mailForm = nullptr;

    void cmdSearch_Click();
    void cmdAsk_Click();
    void cmdPrint_Click();
    // Writes the printed claim list of the marked rows shown to a PDF file; false when it cannot.
    bool printToPdf(const QString& path);
    void cmdSendMail_Click();

private:
    // The marked rows the grid shows, as edited, in the order shown.
    std::vector<ClaimCandidate> chosenRows() const;
    ClaimFilter filter() const;
    ClaimList shownList() const;
    QButtonGroup* showType_ = nullptr;
};

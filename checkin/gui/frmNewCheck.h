// The check-in screen: find a subscribed title (search, or a scanned ISSN / EAN-13 bar code),
// pick its order line and receiving location, and receive the expected issues. The common case
// is one action: a scan checks in the issue it names, or Enter checks in the issue under the
// cursor and moves on to the next one still expected. The screen only reads its controls, calls
// the check-in core and shows the result.
#pragma once

#include <QWidget>
#include <vector>

#include "checkin/core/basChkIn.h"
#include "db/LibArray.h"

class ChkIssueModel;
class GbkSortProxy;
class MarcRecView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

class frmNewCheck : public QWidget {
    Q_OBJECT
public:
    explicit frmNewCheck(QWidget* parent = nullptr);

    // Runs the search in cmbOption / cmbContent and lists the order lines found.
    void subSearch();
    // Shows the record of the selected order line in vsfBM.
    void subRefreshMarcDisplay();
    // Handles a scanned or typed bar code: finds the title and checks in the issue it names.
    void subScan(const QString& code);

    // The state the screen shows (for the tests and the commands).
    const ChkInOrderLine& orderLine() const { return line_; }
    const ChkInLocation* currentLocation() const;
    ChkIssueModel* issueModel() const { return issues_; }
    // Holdings statements typed but not saved are offered 保存/不保存/取消 before another title,
    // a new search or closing replaces them: true to go on, false to stay.
    bool QueryClose();

    // dsMain
    QLineEdit* txtScan = nullptr;
    QComboBox* cmbOption = nullptr;
    QComboBox* cmbContent = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdFind = nullptr;  // the search dialog frmNewSearch
    QPushButton* cmdSwitch = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdDeleteAll = nullptr;
    QPushButton* cmdSimpMarc = nullptr;
    // dsChkInfo
    QPushButton* cmdAllCheck = nullptr;
    QPushButton* cmdAllUnCheck = nullptr;
    QPushButton* cmdCombine = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdDeleteSub = nullptr;
    QPushButton* cmdModify = nullptr;
    QPushButton* cmdConfig = nullptr;
    QPushButton* cmdDetail = nullptr;    // frmNewDetail for the issue under the cursor
    QPushButton* cmdAddIssue = nullptr;  // frmNewDetail for an issue added by hand
    QPushButton* cmdBatch = nullptr;     // frmNewBatch
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QLabel* lblSummary = nullptr;
    // grids
    QTableView* spdMarcInfo = nullptr;
    QTableView* spdSubInfo = nullptr;
    QTableView* spdChkInfo = nullptr;
    QTableView* spdLocaRec = nullptr;
    QTableView* spdBound = nullptr;
    // The grids' filter boxes.
    QLineEdit* txtFilterMarcInfo = nullptr;
    QLineEdit* txtFilterSubInfo = nullptr;
    QLineEdit* txtFilterChkInfo = nullptr;
    QLineEdit* txtFilterLocaRec = nullptr;
    QLineEdit* txtFilterBound = nullptr;
    MarcRecView* vsfBM = nullptr;
    QStackedWidget* stkChkInfo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void bindKeys();
    void showLines(const LibArray& rows, int select);
    void loadLine();
    void loadIssues();
    void loadHoldings();
    void loadBound();
    // The issue's row becomes the current one; false when the grid does not show it.
    bool selectIssue(const std::string& periId);
    // The grid's row (in its order, kept within the rows shown) becomes the current one.
    void selectShownRow(int row);
    // The issue under the cursor; empty when there is none.
    std::string currentIssue() const;
    // The issues the grid shows, in its order.
    std::vector<std::string> shownIssues() const;
    // The first issue not fully arrived among `order` after position `after` (-1: from the
    // start) that the grid still shows; the last issue checked stays current when none is left.
    void selectNextExpected(const std::vector<std::string>& order, int after);
    std::vector<std::string> selectedIssues() const;
    // Checks the issues in; the cursor moves on from `from` to the next issue still expected.
    void receive(const std::vector<std::string>& periIds, const std::string& from);
    // Reloads the grid with the issue current again, or the row where it was when it is gone.
    void reloadKeeping(const std::string& periId);
    // Reloads the grid with the last issue (by number) current: the one just added.
    void selectLastIssue();
    std::string today() const;

    void cmdAllCheck_Click();
    void cmdAllUnCheck_Click();
    void cmdCombine_Click();
    void cmdDelete_Click();
    void cmdDeleteSub_Click();
    void cmdDeleteAll_Click();
    void cmdSwitch_Click();
    void cmdSave_Click();
    void cmdModify_Click();
    void cmdConfig_Click();
    void cmdFind_Click();
    void cmdDetail_Click();
    void cmdAddIssue_Click();
    void cmdBatch_Click();

    ChkInOrderLine line_;
    std::vector<ChkInLocation> locations_;
    QStandardItemModel* lineModel_ = nullptr;
    QStandardItemModel* subModel_ = nullptr;
    QStandardItemModel* locaRecModel_ = nullptr;
    QStandardItemModel* boundModel_ = nullptr;
    ChkIssueModel* issues_ = nullptr;
    GbkSortProxy* lineProxy_ = nullptr;
    GbkSortProxy* subProxy_ = nullptr;
    GbkSortProxy* issueProxy_ = nullptr;
    GbkSortProxy* locaRecProxy_ = nullptr;
    GbkSortProxy* boundProxy_ = nullptr;
    bool holdingsEdited_ = false;
};

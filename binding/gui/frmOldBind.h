// Binding: find titles with checked-in copies to bind, cut their issues into binding records of
// a binder's batch, then look after the records: spine title, ranges, size and price, issues
// added, removed, cut and pasted between records, records deleted, the binding list printed.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "binding/core/basBindFunc.h"
#include "binding/gui/BindGrid.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QToolBar;

class frmOldBind : public QWidget {
    Q_OBJECT
public:
    explicit frmOldBind(QWidget* parent = nullptr);

    // Search.
    QComboBox* cmbIdxGrp = nullptr;  // index groups, then 刊号 and 订购号
    QLineEdit* txtFind = nullptr;
    QComboBox* cmbYear = nullptr;
    QCheckBox* chkKeep = nullptr;    // find only issues beyond the kept ones
    QListWidget* lstLoca = nullptr;  // sub-locations shown in the title grid
    // Creating records.
    QComboBox* cmbBinder = nullptr;
    QComboBox* cmbBatch = nullptr;
    QComboBox* cmbBindNum = nullptr;  // the kept-issue choice
    QSpinBox* txtBindNum = nullptr;   // copies to bind
    // Grids: titles, the current title's issues, the batch's records, the current record's
    // copies.
    BindGrid spdTitle, spdSingle, spdBind, spdPrint;
    QToolBar* dsBind = nullptr;
    QToolBar* dsSingle = nullptr;
    // The current record.
    QLineEdit* txtSpineTitle = nullptr;
    QLineEdit* txtBgnEndYear = nullptr;
    QLineEdit* txtBgnEndVol = nullptr;
    QComboBox* cmbBookSize = nullptr;
    QDoubleSpinBox* txtBoundPrice = nullptr;
    QLineEdit* txtColor = nullptr;
    QLineEdit* txtFrame = nullptr;
    QLineEdit* txtCallNo = nullptr;
    QLineEdit* txtRemark = nullptr;

    QAction *actFind, *actCreate, *actSave, *actDelete, *actBatch, *actReceive, *actPrint, *actPdf,
        *actClose;
    QAction *actAdd, *actRemove, *actCut, *actPaste;

    // Runs the command of the bar by its position.
    void dsBind_CommandClick(int index);
    // Narrows the title grid to rows containing the text; the rows left.
    int intFindText(const QString& text);

    void cmdFind_Click();
    void cmdCreate_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdCut_Click();
    void cmdPaste_Click();
    // Records of the chosen batch, keeping the current one when it is still there.
    void loadRecords();
    void loadBatches();
    // The binding list of the batch with its slips.
    QString listHtml() const;
    bool printToPdf(const QString& path) const;

    const std::vector<BindTitle>& titles() const { return titles_; }
    const std::vector<BindRecord>& records() const { return records_; }

private:
    void showTitles();
    void showIssues();
    void showRecord();
    const BindTitle* currentTitle() const;
    const BindRecord* currentRecord() const;
    void refreshPrice();

    BindChoices choices_;
    std::vector<BindTitle> found_;   // everything the search found
    std::vector<BindTitle> titles_;  // those shown (sub-location filter)
    std::vector<BindIssue> issues_;
    std::vector<BindRecord> records_;
    std::vector<BoundCopy> copies_;
    std::optional<std::pair<std::string, BoundCopy>> cut_;  // record and copy cut
};

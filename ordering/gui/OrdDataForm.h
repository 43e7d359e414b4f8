// What the two data forms share: the grid over their rows, the plain properties of the
// contract, moving and selecting, finding text, keys, export and the send-state texts.
#pragma once

#include <QWidget>

#include "ordering/gui/IDataForm.h"
#include "ordering/gui/OrdGridModel.h"

class GbkSortProxy;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;

class OrdDataForm : public QWidget, public IDataForm {
    Q_OBJECT
public:
    OrdDataForm(DataFormType type, std::vector<GridColumn> columns, QWidget* parent = nullptr);

    QTableView* spdList = nullptr;
    OrdGridModel* model = nullptr;
    // What the grid shows: `model` sorted and filtered. Rows of the view are the proxy's.
    GbkSortProxy* proxy = nullptr;
    QLineEdit* txtFilter = nullptr;
    // The list's status line: titles, copies and annual price, by fund when ticked.
    QLabel* lblTotals = nullptr;
    QCheckBox* chkByFund = nullptr;
    // The publishing house of the current title: name, address, country and area.
    QLabel* lblPress = nullptr;
    // The rows as the form holds them (read-only outside the form).
    const std::vector<OrdDetail>& rows() const { return rows_; }

    int CurIndex() const override { return cur_; }
    void setCurIndex(int row) override;
    DataFormType FormType() const override { return type_; }
    FrameStyle frameStyle() const override { return frameStyle_; }
    void setFrameStyle(FrameStyle style) override { frameStyle_ = style; }
    std::string GroupByKey() const override { return groupByKey_; }
    void setGroupByKey(const std::string& key) override { groupByKey_ = key; }
    bool GroupMode() const override { return groupMode_; }
    void setGroupMode(bool on) override;
    bool Locked() const override { return locked_; }
    void setLocked(bool on) override { locked_ = on; }
    bool MarcEditMode() const override { return marcEditMode_; }
    void setMarcEditMode(bool on) override { marcEditMode_ = on; }
    int MarcStatus() const override { return marcStatus_; }
    void setMarcStatus(int status) override { marcStatus_ = status; }
    bool MultiModify() const override { return multiModify_; }
    void setMultiModify(bool on) override { multiModify_ = on; }
    bool MultiSelected() const override { return multiSelected_; }
    void setMultiSelected(bool on) override;
    std::string OrdYear() const override { return ordYear_; }
    void setOrdYear(const std::string& year) override { ordYear_ = year; }
    std::string PublCode() const override { return publCode_; }
    void setPublCode(const std::string& code) override { publCode_ = code; }
    std::string PublName() const override { return publName_; }
    void setPublName(const std::string& name) override { publName_ = name; }
    bool ReDraw() const override { return reDraw_; }
    void setReDraw(bool on) override;
    bool ShowStatus() const override { return showStatus_; }
    void setShowStatus(bool on) override { showStatus_ = on; }

    // Shows a catalogue: its distributor and batch (or issue year-month), loaded afresh.
    int DataSet(const std::string& publ, const std::string& year,
                const std::string& publName) override;
    int Refresh() override;
    bool IsExistAsordNo(const std::string& asordNo) const override;
    int ItemCount() const override { return static_cast<int>(rows_.size()); }
    void SelectAll() override;
    std::vector<std::string> GetSelectKeys() const override;
    std::vector<DataFormRow> GetSelectItems() const override;
    void ClearItems() override;
    void MoveFirst() override { setCurIndex(0); }
    void MoveLast() override { setCurIndex(ItemCount() - 1); }
    void MovePrevious() override { setCurIndex(cur_ - 1); }
    void MoveNext() override { setCurIndex(cur_ + 1); }
    int ExportToFile(const std::string& path) override;
    int FindText(const std::string& text) override;
    int InsertData(const std::vector<DataFormRow>& rows) override;
    bool IsExistItem(const std::string& key) const override;
    void ChangeSendStatus(const std::vector<std::string>& keys, bool sent) override;

    // A form that only reads its catalogue: the editing calls refuse (-1) or have nothing to do,
    // and the manager keeps their commands disabled. The order list overrides them.
    int UpdatePrice(const std::vector<AsordPair>&) override { return -1; }
    int UpdateFreq(const std::vector<AsordPair>&) override { return -1; }
    int InsertAsordData(const std::string&, const std::string&,
                        const std::vector<std::string>&) override {
        return -1;
    }
    int DeleteItem(bool) override { return -1; }
    int InsertMarcField(const std::string&, const std::string&, const std::string&) override {
        return -1;
    }
    int DeleteMarcField(const std::string&) override { return -1; }
    int NewItem() override { return -1; }
    int SaveItem() override { return 0; }
    int SaveAllItems() override { return 0; }
    void Cancel() override {}
    bool QueryClose() override { return true; }
    int MarcFind(const std::string&) override { return -1; }
    int CheckRepeat() override { return -1; }
    void ChangeGray(bool) override {}
    FormState State() const override {
        return refreshing() ? FormState::Refreshing : FormState::Browse;
    }

signals:
    // The current row moved (-1: none).
    void currentChanged(int row);
    // Rows, state or selection changed: the manager refreshes its commands.
    void stateChanged();

protected:
    // The filter box, the grid and the status line, for the form's layout.
    QWidget* listArea() const { return listArea_; }
    // Called by a form once it has set its columns: from then on the operator's widths win.
    void rememberColumns();
    // The grid's index of a row of rows_ (column `col` of the model), and back.
    QModelIndex viewIndex(int row, int col = 1) const;
    int rowOf(const QModelIndex& viewIndex) const;
    // Appends rows and tells the grid.
    void appendRows(std::vector<OrdDetail> rows);
    void removeRow(int row);
    // The selected rows in order; the current row when none is selected.
    std::vector<int> selectedRows() const;
    void replaceRows(std::vector<OrdDetail> rows);
    // Whether the current row may be left (a form with unsaved edits may refuse).
    virtual bool canLeaveRow() { return true; }
    virtual void showRow(int row) = 0;
    // The rows of the catalogue shown. 0, or -1 with the failure in g_ErrInfo.
    virtual int loadRows(std::vector<OrdDetail>& rows) = 0;
    // Called before reloaded rows replace the current ones.
    virtual void beforeReload() {}
    bool refreshing() const { return refreshing_; }

    std::vector<OrdDetail> rows_;
    int cur_ = -1;

private:
    DataFormType type_;
    FrameStyle frameStyle_ = FrameStyle::Level;
    std::string groupByKey_ = "Status";
    bool groupMode_ = false, locked_ = false, marcEditMode_ = false, multiModify_ = false,
         multiSelected_ = false, reDraw_ = true, showStatus_ = true;
    int marcStatus_ = 0;
    std::string ordYear_, publCode_, publName_;
    bool syncing_ = false;
    QWidget* listArea_ = nullptr;
    bool refreshing_ = false;
};

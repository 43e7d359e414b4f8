// The list of order details of one order catalogue, with the detail pane, the subscriber pane
// and the bibliographic-record pane: the order manager's data form for orders.
#pragma once

#include <functional>
#include <map>
#include <optional>

#include "marc/gui/MarcSearchPanel.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/OrdMarcCmds.h"
#include "ordering/gui/OrdDataForm.h"

class QSplitter;
class QTabWidget;
class MarcRecView;
class frmOrdInfo;
class frmOrdSubInfo;

class frmOrdList : public OrdDataForm {
    Q_OBJECT
public:
    explicit frmOrdList(QWidget* parent = nullptr);

    frmOrdInfo* m_frmInfo = nullptr;
    frmOrdSubInfo* m_frmSubInfo = nullptr;
    MarcRecView* m_frmMarc = nullptr;  // the bibliographic record of the current title
    // Where the breakpoint file goes; by default a file dialog titled "保存到文件".
    std::function<std::string()> chooseBreakpointFile;
    // The record to link when the text finds none or several: by default the record search
    // dialog, opened on the text; an empty record number when the operator takes none.
    std::function<MarcFound(const std::string& text)> chooseMarc;

    // The current detail (null when the list is empty).
    OrdDetail* current();

    void setFrameStyle(FrameStyle style) override;
    void setLocked(bool on) override;

    int ImportReviewFile(const std::string& path) override;
    int UpdatePrice(const std::vector<AsordPair>& pairs) override;
    int UpdateFreq(const std::vector<AsordPair>& pairs) override;
    int InitPrintData(std::vector<DataFormRow>& rows) override;
    int InsertAsordData(const std::string& publ, const std::string& yearMonth,
                        const std::vector<std::string>& asordNos) override;
    int DeleteItem(bool withMarc) override;
    int InsertMarcField(const std::string& tag, const std::string& ind,
                        const std::string& data) override;
    int DeleteMarcField(const std::string& tag) override;
    int NewItem() override;
    int SaveItem() override;
    int SaveAllItems() override;
    void Cancel() override;
    bool QueryClose() override;
    int MarcFind(const std::string& text) override;
    int CheckRepeat() override;
    void ChangeGray(bool gray) override;
    FormState State() const override;
    int CheckDataValid() override;

    // A new detail filled from the template. 0, or -1 when the list shows no catalogue.
    int NewTempleItem(OrdTemple temple);
    // Gives the current detail, which has no record, a new one: a saved unchanged detail at once
    // (record and link in one transaction), a new or edited one with its save. 0, or -1.
    int MarcAdd(const OrdNewMarc& record);
    // Sets or clears the finishing mark of the current (saved) detail.
    int subSetEndFlag(bool finished);
    bool hasUnsaved() const;
    // Puts the cursor on the detail pane's first editable field.
    void focusFirstField();

private slots:
    void m_frmInfo_Changed();
    void m_frmInfo_PriceChanged();
    void m_frmSubInfo_Changed();

private:
    void showRow(int row) override;
    int loadRows(std::vector<OrdDetail>& rows) override;
    void beforeReload() override { originals_.clear(); }
    void markModified();
    void showMarc(int row);
    // Saves the rows of one kind, stopping at the first failure. 0, or -1.
    int saveRows(const std::function<bool(const OrdDetail&)>& which);
    int saveBreakpoint();
    // Empty 获得方式, 载体 and 币种 of new details get the distributor's or the library's usual
    // codes.
    // With a template, the template's values first.
    void fillUsualCodes(std::vector<OrdDetail>& details,
                        std::optional<OrdTemple> temple = std::nullopt) const;
    int addNew(std::optional<OrdTemple> temple);
    // Which of `offers` the list or the catalogue has already. 0, or -1 after the error report.
    int orderedAlready(const std::vector<OrdDetail>& offers, OrdOrderedAlready& found);

    QSplitter* splMain = nullptr;
    QSplitter* splPanes = nullptr;
    QTabWidget* tabPanes = nullptr;
    // Saved rows as they were before their first unsaved edit, by key.
    std::map<std::string, OrdDetail> originals_;
    OrdDetail shown_;
};

// The contract through which the order manager drives the data form it shows: the list of order
// details of one order catalogue, or the list of pre-order items of one pre-order catalogue.
// The manager's commands translate one to one into these calls.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ordering/core/OrdRefresh.h"

enum class DataFormType { OrderList, AsordList };
// Pane layout of the detail panes, set by the manager's layout commands.
enum class FrameStyle { None, OnlyInfo, OnlySubInfo, Level, Tabbed, Grid };
enum class FormState { Browse, New, Modified, Locked, Refreshing };

using DataFormRow = std::map<std::string, std::string>;

class IDataForm {
public:
    virtual ~IDataForm() = default;

    // Properties.
    virtual int CurIndex() const = 0;
    virtual void setCurIndex(int row) = 0;
    virtual DataFormType FormType() const = 0;
    virtual FrameStyle frameStyle() const = 0;
    virtual void setFrameStyle(FrameStyle style) = 0;
    virtual std::string GroupByKey() const = 0;
    virtual void setGroupByKey(const std::string& key) = 0;
    virtual bool GroupMode() const = 0;
    virtual void setGroupMode(bool on) = 0;
    virtual bool Locked() const = 0;
    virtual void setLocked(bool on) = 0;
    virtual bool MarcEditMode() const = 0;
    virtual void setMarcEditMode(bool on) = 0;
    virtual int MarcStatus() const = 0;
    virtual void setMarcStatus(int status) = 0;
    virtual bool MultiModify() const = 0;
    virtual void setMultiModify(bool on) = 0;
    virtual bool MultiSelected() const = 0;
    virtual void setMultiSelected(bool on) = 0;
    virtual std::string OrdYear() const = 0;
    virtual void setOrdYear(const std::string& year) = 0;
    virtual std::string PublCode() const = 0;
    virtual void setPublCode(const std::string& code) = 0;
    virtual std::string PublName() const = 0;
    virtual void setPublName(const std::string& name) = 0;
    virtual bool ReDraw() const = 0;
    virtual void setReDraw(bool on) = 0;
    virtual bool ShowStatus() const = 0;
    virtual void setShowStatus(bool on) = 0;

    // Methods, in their fixed order.
    virtual bool IsExistAsordNo(const std::string& asordNo) const = 0;
    virtual int ImportReviewFile(const std::string& path) = 0;
    virtual int UpdatePrice(const std::vector<AsordPair>& pairs) = 0;
    virtual int UpdateFreq(const std::vector<AsordPair>& pairs) = 0;
    virtual int InitPrintData(std::vector<DataFormRow>& rows) = 0;
    virtual int InsertAsordData(const std::string& publ, const std::string& yearMonth,
                                const std::vector<std::string>& asordNos) = 0;
    virtual int ItemCount() const = 0;
    virtual void SelectAll() = 0;
    virtual std::vector<std::string> GetSelectKeys() const = 0;
    virtual std::vector<DataFormRow> GetSelectItems() const = 0;
    virtual int Refresh() = 0;
    virtual int DataSet(const std::string& publ, const std::string& year,
                        const std::string& publName) = 0;
    virtual int DeleteItem(bool withMarc) = 0;
    virtual void ClearItems() = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MovePrevious() = 0;
    virtual void MoveNext() = 0;
    virtual int InsertMarcField(const std::string& tag, const std::string& ind,
                                const std::string& data) = 0;
    virtual int DeleteMarcField(const std::string& tag) = 0;
    virtual int NewItem() = 0;
    virtual int SaveItem() = 0;
    virtual int SaveAllItems() = 0;
    virtual void Cancel() = 0;
    virtual bool QueryClose() = 0;
    virtual int ExportToFile(const std::string& path) = 0;
    virtual int MarcFind(const std::string& text) = 0;
    virtual int CheckRepeat() = 0;
    virtual void ChangeGray(bool gray) = 0;
    virtual FormState State() const = 0;
    virtual int FindText(const std::string& text) = 0;
    virtual int InsertData(const std::vector<DataFormRow>& rows) = 0;
    virtual bool IsExistItem(const std::string& key) const = 0;
    virtual int CheckDataValid() = 0;
    virtual void ChangeSendStatus(const std::vector<std::string>& keys, bool sent) = 0;
};

// The pre-order list: loads a pre-order catalogue's items with their pre-order records' titles.
#include "ordering/gui/frmOrdAsordList.h"

#include <QTableView>
#include <QVBoxLayout>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"

frmOrdAsordList::frmOrdAsordList(QWidget* parent)
    : OrdDataForm(DataFormType::AsordList,
                  {{"Title", "刊名"},
                   {"AsordNo", "征订号"},
                   {"ISSN", "ISSN"},
                   {"Publish", "出版社"},
                   {"Price", "单价"},
                   {"TotalPrice", "年价"},
                   {"PublFreq", "出版频率"},
                   {"Carrier", "载体类型"},
                   {"MoneyType", "币种"},
                   {"KindNo", "类号"},
                   {"Remark", "备注"},
                   {"Key", "Key"}},
                  parent) {
    setObjectName("frmOrdAsordList");
    spdList->setColumnWidth(model->columnOf("Title"), 320);
    spdList->setColumnHidden(model->columnOf("Key"), true);
    rememberColumns();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(listArea());
}

void frmOrdAsordList::showRow(int) {}

int frmOrdAsordList::loadRows(std::vector<OrdDetail>& rows) {
    return intLoadAsordItems(PublCode(), OrdYear(), rows);
}

int frmOrdAsordList::InitPrintData(std::vector<DataFormRow>& rows) {
    rows.clear();
    for (const OrdDetail& d : rows_)
        rows.push_back(OrdGridModel::rowValues(d));
    return 0;
}

int frmOrdAsordList::CheckDataValid() {
    if (LIB_ShowMsg("Q是否确认检查数据完整性") != kMsgOk) return 1;
    std::string missing;
    int n = 0;
    for (const OrdDetail& d : rows_)
        if (d.title.empty() || d.totalPrice.empty() || d.totalPrice == "0") {
            missing += "\n" + d.asordNo;
            ++n;
        }
    LIB_ShowMsg(n ? "I下列征订号缺少刊名或年价：" + missing : "I征订明细数据完整！");
    return n;
}

FormState frmOrdAsordList::State() const {
    return refreshing() ? FormState::Refreshing : FormState::Browse;
}

int frmOrdAsordList::ImportReviewFile(const std::string&) {
    return -1;
}
int frmOrdAsordList::UpdatePrice(const std::vector<AsordPair>&) {
    return -1;
}
int frmOrdAsordList::UpdateFreq(const std::vector<AsordPair>&) {
    return -1;
}
int frmOrdAsordList::InsertAsordData(const std::string&, const std::string&,
                                     const std::vector<std::string>&) {
    return -1;
}
int frmOrdAsordList::DeleteItem(bool) {
    return -1;
}
int frmOrdAsordList::InsertMarcField(const std::string&, const std::string&, const std::string&) {
    return -1;
}
int frmOrdAsordList::DeleteMarcField(const std::string&) {
    return -1;
}
int frmOrdAsordList::NewItem() {
    return -1;
}
int frmOrdAsordList::SaveItem() {
    return 0;
}
int frmOrdAsordList::SaveAllItems() {
    return 0;
}
void frmOrdAsordList::Cancel() {}
bool frmOrdAsordList::QueryClose() {
    return true;
}
int frmOrdAsordList::MarcFind(const std::string&) {
    return -1;
}
int frmOrdAsordList::CheckRepeat() {
    return -1;
}
void frmOrdAsordList::ChangeGray(bool) {}

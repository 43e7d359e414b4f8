// The pre-order list: loads a pre-order catalogue's items with their pre-order records' titles.
#include "ordering/gui/frmOrdAsordList.h"

#include <QTableView>
#include <QVBoxLayout>

#include "db/basLibMsg.h"
#include "ordering/core/OrdAsord.h"

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

int frmOrdAsordList::ImportReviewFile(const std::string& path) {
    if (PublCode().empty()) return -1;
    AsordImportResult result;
    if (intImportAsordFile(PublCode(), OrdYear(), path, result) < 0) return -1;
    if (Refresh() < 0) return -1;
    LIB_ShowMsg("I" + strAsordImportReport(result));
    return 0;
}

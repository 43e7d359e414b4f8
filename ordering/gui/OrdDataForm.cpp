// Shared behaviour of the data forms. The grid's current row and the form's CurIndex are kept
// in step both ways; a form may refuse to leave its current row.
#include "ordering/gui/OrdDataForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <fstream>

#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/basOrdFunc.h"

OrdDataForm::OrdDataForm(DataFormType type, std::vector<GridColumn> columns, QWidget* parent)
    : QWidget(parent), type_(type) {
    model = new OrdGridModel(std::move(columns), &rows_, this);
    spdList = new QTableView(this);
    spdList->setObjectName("spdList");
    proxy = LIB_SetupGrid(spdList, model);
    spdList->setColumnWidth(0, 28);
    // Rows as tall as the text needs: a screen of 800 lines shows a dozen titles.
    spdList->verticalHeader()->setDefaultSectionSize(spdList->fontMetrics().height() + 8);
    spdList->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdList->setSelectionMode(QAbstractItemView::SingleSelection);
    spdList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    txtFilter = LIB_GridFilterBox(proxy, this);
    lblTotals = new QLabel(this);
    lblTotals->setObjectName("lblTotals");
    chkByFund = new QCheckBox("按经费(&J)", this);
    chkByFund->setObjectName("chkByFund");
    chkByFund->setToolTip("状态栏按经费列出年价合计");
    lblPress = new QLabel(this);
    lblPress->setObjectName("lblPress");
    lblPress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    listArea_ = new QWidget(this);
    auto* area = new QVBoxLayout(listArea_);
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(2);
    area->addWidget(txtFilter);
    area->addWidget(spdList, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(lblTotals);
    status->addWidget(lblPress, 1);
    status->addWidget(chkByFund);
    area->addLayout(status);
    const bool totals = type == DataFormType::OrderList;
    lblTotals->setVisible(totals);
    chkByFund->setVisible(totals);
    auto showTotals = [this] {
        lblTotals->setText(
            QString::fromStdString(strOrdTotals(OrdSumDetails(rows_), chkByFund->isChecked())));
    };
    connect(this, &OrdDataForm::stateChanged, this, showTotals);
    connect(this, &OrdDataForm::currentChanged, this, [this](int row) {
        const std::string publisher = row >= 0 && row < ItemCount() ? rows_[row].publisher : "";
        OrdPress press;
        const int found = intGetOrdPress(publisher, press);
        if (found < 0) LIB_DB_ShowError();
        lblPress->setText(QString::fromStdString(strOrdPressLine(publisher, found, press)));
    });
    connect(chkByFund, &QCheckBox::toggled, this, showTotals);
    connect(spdList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) {
                const int row = rowOf(now);
                if (syncing_ || row == cur_) return;
                if (!canLeaveRow()) {
                    syncing_ = true;
                    spdList->selectionModel()->setCurrentIndex(
                        before, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                    syncing_ = false;
                    return;
                }
                cur_ = row;
                showRow(cur_);
                emit currentChanged(cur_);
                emit stateChanged();
            });
}

void OrdDataForm::setCurIndex(int row) {
    if (rows_.empty()) row = -1;
    row = std::clamp(row, rows_.empty() ? -1 : 0, ItemCount() - 1);
    if (row == cur_) return;
    if (row >= 0 && cur_ >= 0 && !canLeaveRow()) return;
    cur_ = row;
    syncing_ = true;
    if (row >= 0)
        spdList->selectionModel()->setCurrentIndex(
            viewIndex(row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        spdList->selectionModel()->clear();
    syncing_ = false;
    showRow(cur_);
    emit currentChanged(cur_);
    emit stateChanged();
}

void OrdDataForm::rememberColumns() {
    LIB_RememberHeader(spdList->horizontalHeader(), type_ == DataFormType::OrderList
                                                        ? "ordering/orderList"
                                                        : "ordering/asordList");
}

QModelIndex OrdDataForm::viewIndex(int row, int col) const {
    return proxy->mapFromSource(model->index(row, col));
}

int OrdDataForm::rowOf(const QModelIndex& index) const {
    return index.isValid() ? proxy->mapToSource(index).row() : -1;
}

void OrdDataForm::setGroupMode(bool on) {
    groupMode_ = on;
    // Grouped view: rows of one value of the grouping key come together; the rows themselves
    // keep their order, only the grid sorts.
    const int col = model->columnOf(groupByKey_);
    spdList->sortByColumn(on && col >= 0 ? col : -1, Qt::AscendingOrder);
    if (cur_ >= 0) spdList->scrollTo(viewIndex(cur_));
}

void OrdDataForm::setMultiSelected(bool on) {
    multiSelected_ = on;
    spdList->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
    emit stateChanged();
}

void OrdDataForm::setReDraw(bool on) {
    reDraw_ = on;
    spdList->setUpdatesEnabled(on);
}

int OrdDataForm::DataSet(const std::string& publ, const std::string& year,
                         const std::string& publName) {
    setPublCode(publ);
    setOrdYear(year);
    setPublName(publName);
    return Refresh();
}

int OrdDataForm::Refresh() {
    refreshing_ = true;
    std::vector<OrdDetail> loaded;
    int rc = loadRows(loaded);
    if (rc < 0) {
        LIB_DB_ShowError();
        loaded.clear();
    }
    beforeReload();
    replaceRows(std::move(loaded));
    refreshing_ = false;
    emit stateChanged();
    return rc;
}

bool OrdDataForm::IsExistAsordNo(const std::string& asordNo) const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const OrdDetail& d) { return d.asordNo == asordNo; });
}

void OrdDataForm::SelectAll() {
    if (!multiSelected_) setMultiSelected(true);
    spdList->selectAll();
    emit stateChanged();
}

std::vector<std::string> OrdDataForm::GetSelectKeys() const {
    std::vector<std::string> keys;
    for (const DataFormRow& r : GetSelectItems())
        keys.push_back(r.at("Key"));
    return keys;
}

std::vector<int> OrdDataForm::selectedRows() const {
    std::vector<int> picked;
    for (const QModelIndex& i : spdList->selectionModel()->selectedRows())
        picked.push_back(rowOf(i));
    if (picked.empty() && cur_ >= 0) picked.push_back(cur_);
    std::sort(picked.begin(), picked.end());
    return picked;
}

std::vector<DataFormRow> OrdDataForm::GetSelectItems() const {
    std::vector<DataFormRow> out;
    for (int r : selectedRows()) {
        out.push_back(OrdGridModel::rowValues(rows_[r]));
    }
    return out;
}

void OrdDataForm::ClearItems() {
    replaceRows({});
}

int OrdDataForm::ExportToFile(const std::string& path) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    auto csv = [](const std::string& s) {
        if (s.find_first_of(",\"\n") == std::string::npos) return s;
        std::string out = "\"";
        for (char c : s)
            out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    };
    std::string line;
    for (const GridColumn& c : model->columns())
        line += (line.empty() ? "" : ",") + csv(c.caption.toStdString());
    f << line << "\n";
    for (const OrdDetail& d : rows_) {
        line.clear();
        for (std::size_t i = 0; i < model->columns().size(); ++i) {
            const std::string& key = model->columns()[i].key;
            line += (i ? "," : "") + csv(strOrdGridText(key, OrdGridModel::valueOf(d, key)));
        }
        f << line << "\n";
    }
    f.close();
    if (!f) {
        LIB_ShowMsg("E无法写入文件 " + path);
        return -1;
    }
    return 0;
}

int OrdDataForm::FindText(const std::string& text) {
    if (text.empty() || rows_.empty()) return -1;
    const int n = ItemCount();
    for (int step = 1; step <= n; ++step) {
        int r = (cur_ + step + n) % n;
        for (const GridColumn& c : model->columns())
            if (strOrdGridText(c.key, OrdGridModel::valueOf(rows_[r], c.key)).find(text) !=
                std::string::npos) {
                setCurIndex(r);
                return r;
            }
    }
    LIB_ShowMsg("I没有找到“" + text + "”");
    return -1;
}

int OrdDataForm::InsertData(const std::vector<DataFormRow>& rows) {
    std::vector<OrdDetail> add;
    for (const DataFormRow& r : rows) {
        OrdDetail d;
        OrdGridModel::setRowValues(d, r);
        d.state = RowState::Unchanged;
        d.savedAsordNo = d.asordNo;
        add.push_back(std::move(d));
    }
    appendRows(std::move(add));
    return 0;
}

bool OrdDataForm::IsExistItem(const std::string& key) const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const OrdDetail& d) { return d.key == key; });
}

void OrdDataForm::ChangeSendStatus(const std::vector<std::string>& keys, bool sent) {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (std::find(keys.begin(), keys.end(), rows_[r].key) != keys.end()) {
            rows_[r].status = sent ? "1" : "0";
            model->rowChanged(static_cast<int>(r));
        }
}

void OrdDataForm::appendRows(std::vector<OrdDetail> rows) {
    if (rows.empty()) return;
    model->beginAppend(static_cast<int>(rows.size()));
    for (OrdDetail& d : rows)
        rows_.push_back(std::move(d));
    model->endAppend();
    // The panes point into the rows, which may have moved.
    showRow(cur_);
    emit stateChanged();
}

void OrdDataForm::removeRow(int row) {
    if (row < 0 || row >= ItemCount()) return;
    model->beginRemove(row);
    rows_.erase(rows_.begin() + row);
    model->endRemove();
    cur_ = -1;
    setCurIndex(std::min(row, ItemCount() - 1));
    if (rows_.empty()) showRow(-1);
}

void OrdDataForm::replaceRows(std::vector<OrdDetail> rows) {
    model->beginReload();
    rows_ = std::move(rows);
    model->endReload();
    cur_ = -1;
    if (rows_.empty()) {
        showRow(-1);
        emit currentChanged(-1);
        emit stateChanged();
    } else {
        setCurIndex(0);
    }
}

// The data forms' grid model: values by grid key, codes turned into names for display.
#include "ordering/gui/OrdGridModel.h"

#include <QMimeData>
#include <set>

#include "ordering/core/basOrdFunc.h"

namespace {

struct KeyField {
    const char* key;
    std::string OrdDetail::*field;
};
constexpr KeyField kKeyFields[] = {{"Pub", &OrdDetail::pub},
                                   {"OrdYear", &OrdDetail::ordYear},
                                   {"AsordNo", &OrdDetail::asordNo},
                                   {"PeriType", &OrdDetail::periType},
                                   {"Status", &OrdDetail::status},
                                   {"Title", &OrdDetail::title},
                                   {"ISSN", &OrdDetail::issn},
                                   {"Publish", &OrdDetail::publisher},
                                   {"PubYear", &OrdDetail::pubYear},
                                   {"Country", &OrdDetail::country},
                                   {"Language", &OrdDetail::language},
                                   {"EndFlag", &OrdDetail::endFlag},
                                   {"MarcNo", &OrdDetail::marcNo},
                                   {"NewFlag", &OrdDetail::newFlag},
                                   {"FAsordNo", &OrdDetail::fAsordNo},
                                   {"Key", &OrdDetail::key},
                                   {"GetMode", &OrdDetail::getMode},
                                   {"Carrier", &OrdDetail::carrier},
                                   {"MoneyType", &OrdDetail::moneyType},
                                   {"PublFreq", &OrdDetail::publFreq},
                                   {"SumCount", &OrdDetail::sumCopies},
                                   {"KindNo", &OrdDetail::kindNo},
                                   {"Price", &OrdDetail::price},
                                   {"TotalPrice", &OrdDetail::totalPrice},
                                   {"ForePrice", &OrdDetail::forePrice},
                                   {"ForeTotalPrice", &OrdDetail::foreTotalPrice},
                                   {"Remark", &OrdDetail::remark}};

}  // namespace

std::string OrdDetail::*OrdGridModel::fieldOf(const std::string& key) {
    for (const KeyField& k : kKeyFields)
        if (key == k.key) return k.field;
    return nullptr;
}

std::string OrdGridModel::valueOf(const OrdDetail& d, const std::string& key) {
    // Whether the detail would pass the save's checks, so that rows read back from a file
    // show at once which ones still need work.
    if (key == kValidKey) return OrdDetailErrors(d).empty() ? "是" : "否";
    auto field = fieldOf(key);
    return field ? d.*field : std::string();
}

DataFormRow OrdGridModel::rowValues(const OrdDetail& d) {
    DataFormRow row;
    for (const KeyField& k : kKeyFields)
        row[k.key] = d.*k.field;
    return row;
}

void OrdGridModel::setRowValues(OrdDetail& d, const DataFormRow& row) {
    for (const auto& [key, value] : row)
        if (auto field = fieldOf(key)) d.*field = value;
}

OrdGridModel::OrdGridModel(std::vector<GridColumn> columns, const std::vector<OrdDetail>* rows,
                           QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), rows_(rows) {}

int OrdGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int OrdGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + 1;
}

QVariant OrdGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const OrdDetail& d = (*rows_)[index.row()];
    if (index.column() == 0) {
        if (role != Qt::DisplayRole) return {};
        if (d.state == RowState::New) return QStringLiteral("新");
        if (d.state == RowState::Modified) return QStringLiteral("改");
        return d.endFlag == "1" ? QStringLiteral("F") : QString();
    }
    const std::string& key = columns_[index.column() - 1].key;
    if (role == Qt::DisplayRole && key == "Status")
        if (auto it = statusTexts_.find(d.key); it != statusTexts_.end()) return it->second;
    if (role == Qt::DisplayRole)
        return QString::fromStdString(strOrdGridText(key, valueOf(d, key)));
    if (role == Qt::UserRole) return QString::fromStdString(valueOf(d, key));
    if (role == Qt::ToolTipRole && key == kValidKey) {
        const auto errors = OrdDetailErrors(d);
        return errors.empty() ? QVariant()
                              : QString::fromStdString(strOrdErrorText(errors, d.asordNo));
    }
    return {};
}

QVariant OrdGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section <= 0 || section > static_cast<int>(columns_.size())) return QString();
    return columns_[section - 1].caption;
}

int OrdGridModel::columnOf(const std::string& key) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].key == key) return static_cast<int>(i) + 1;
    return -1;
}

void OrdGridModel::rowChanged(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void OrdGridModel::beginAppend(int count) {
    int n = rowCount();
    beginInsertRows({}, n, n + count - 1);
}

void OrdGridModel::setStatusText(const std::string& rowKey, const QString& text) {
    statusTexts_[rowKey] = text;
    const int c = columnOf("Status");
    for (int r = 0; r < rowCount(); ++r)
        if ((*rows_)[r].key == rowKey && c >= 0) emit dataChanged(index(r, c), index(r, c));
}

Qt::ItemFlags OrdGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !(*rows_)[index.row()].savedAsordNo.empty()) f |= Qt::ItemIsDragEnabled;
    return f;
}

QStringList OrdGridModel::mimeTypes() const {
    return {kOrdKeysMime};
}

QMimeData* OrdGridModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> picked;
    for (const QModelIndex& i : indexes)
        if (i.isValid() && !(*rows_)[i.row()].savedAsordNo.empty()) picked.insert(i.row());
    QByteArray keys;
    for (int r : picked)
        keys += QByteArray::fromStdString((*rows_)[r].key) + "\n";
    auto* data = new QMimeData;
    data->setData(kOrdKeysMime, keys);
    return data;
}

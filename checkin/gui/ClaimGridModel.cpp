#include "checkin/gui/ClaimGridModel.h"

#include "common/basCodeFunc.h"

ClaimGridModel::ClaimGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void ClaimGridModel::setRows(std::vector<ClaimCandidate> rows, bool marked) {
    beginResetModel();
    rows_ = std::move(rows);
    marked_.assign(rows_.size(), marked);
    endResetModel();
}

std::vector<ClaimCandidate> ClaimGridModel::markedRows() const {
    std::vector<ClaimCandidate> out;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (marked_[i]) out.push_back(rows_[i]);
    return out;
}

void ClaimGridModel::setAllMarked(bool marked) {
    if (rows_.empty()) return;
    marked_.assign(rows_.size(), marked);
    emit dataChanged(index(0, Mark), index(rowCount() - 1, Mark), {Qt::CheckStateRole});
}

int ClaimGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ClaimGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClaimGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ClaimCandidate& c = rows_[index.row()];
    if (role == Qt::CheckStateRole && index.column() == Mark)
        return marked_[index.row()] ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    auto s = [](const std::string& v) { return QString::fromStdString(v); };
    switch (index.column()) {
        case Title:
            return s(c.title);
        case Publ:
            return s(c.publCode);
        case Location:
            return s(LIB_LocationName(c.location));
        case Year:
            return s(c.periOrdYear);
        case AsordNo:
            return s(c.asordNo);
        case Issn:
            return s(c.issn);
        case Cover:
            return s(c.cover);
        case Expect:
            return s(c.expectDate);
        case Due:
            return c.subQty;
        case Received:
            return c.received;
        case Count:
            return c.claimCount;
        case LastDate:
            return s(c.lastClaimDate);
        case Qty:
            return c.qty;
        case Remark:
            return s(c.remark);
        default:
            return {};
    }
}

bool ClaimGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount()) return false;
    ClaimCandidate& c = rows_[index.row()];
    if (index.column() == Mark && role == Qt::CheckStateRole) {
        marked_[index.row()] = value.toInt() == Qt::Checked;
    } else if (index.column() == Qty && role == Qt::EditRole && editable_) {
        bool ok = false;
        int qty = value.toInt(&ok);
        if (!ok || qty < 1) return false;
        c.qty = qty;
    } else if (index.column() == Remark && role == Qt::EditRole && editable_) {
        c.remark = value.toString().toStdString();
    } else {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ClaimGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Mark) f |= Qt::ItemIsUserCheckable;
    if (editable_ && (index.column() == Qty || index.column() == Remark)) f |= Qt::ItemIsEditable;
    return f;
}

QVariant ClaimGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const captions[ColumnCount] = {
        "选择",     "刊名",     "发行商",   "订户",     "年度批次", "征订号",   "ISSN", "卷期信息",
        "应到日期", "应到复本", "实到复本", "催缺次数", "最近催缺", "催缺复本", "备注"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section])
                                                 : QVariant();
}

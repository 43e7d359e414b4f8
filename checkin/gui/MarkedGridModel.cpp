#include "checkin/gui/MarkedGridModel.h"

#include <QSortFilterProxyModel>

int MarkedGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(marked_.size());
}

int MarkedGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions().size());
}

QVariant MarkedGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (index.column() == 0)
        return role == Qt::CheckStateRole ? (isMarked(index.row()) ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return cell(index.row(), index.column());
}

bool MarkedGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount()) return false;
    if (index.column() == 0 && role == Qt::CheckStateRole) {
        marked_[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked;
    } else if (index.column() == 0 || role != Qt::EditRole || !cellEditable(index.column()) ||
               !setCell(index.row(), index.column(), value)) {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags MarkedGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
    if (cellEditable(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

QVariant MarkedGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    const QStringList c = captions();
    return section >= 0 && section < c.size() ? QVariant(c[section]) : QVariant();
}

std::vector<int> shownMarkedRows(const QSortFilterProxyModel* proxy, const MarkedGridModel* model) {
    std::vector<int> rows;
    for (int r = 0; r < proxy->rowCount(); ++r) {
        const int source = proxy->mapToSource(proxy->index(r, 0)).row();
        if (model->isMarked(source)) rows.push_back(source);
    }
    return rows;
}

void markShownRows(const QSortFilterProxyModel* proxy, MarkedGridModel* model, bool marked) {
    for (int r = 0; r < proxy->rowCount(); ++r)
        model->setData(proxy->mapToSource(proxy->index(r, 0)), marked ? Qt::Checked : Qt::Unchecked,
                       Qt::CheckStateRole);
}

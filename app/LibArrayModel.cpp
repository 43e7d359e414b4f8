#include "app/LibArrayModel.h"

LibArrayModel::LibArrayModel(QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)) {}

void LibArrayModel::setArray(LibArray array) {
    beginResetModel();
    array_ = std::move(array);
    endResetModel();
}

void LibArrayModel::setCaptions(QStringList captions) {
    captions_ = std::move(captions);
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(captions_.size()) - 1);
}

int LibArrayModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : array_.recordCount();
}

int LibArrayModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant LibArrayModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= array_.cols() || index.row() >= rowCount()) return {};
    const LibVar& v = array_(index.column(), index.row() + 2);
    if (role == Qt::DisplayRole) return QString::fromStdString(v.str());
    if (role == Qt::ToolTipRole && tips_) {
        QString tip = tips_(array_, index.row(), index.column());
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    if (role == Qt::TextAlignmentRole && v.isNumber())
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant LibArrayModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section < captions_.size() ? captions_[section] : QVariant();
}

// The grid of a data form: one row per order detail (or pre-order item), one column per grid
// key, codes shown by their names; the first column marks new and modified rows.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <utility>
#include <vector>

#include "ordering/core/basOrdList.h"

struct GridColumn {
    std::string key;
    QString caption;
};

class OrdGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    OrdGridModel(std::vector<GridColumn> columns, const std::vector<OrdDetail>* rows,
                 QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<GridColumn>& columns() const { return columns_; }
    int columnOf(const std::string& key) const;
    // Tell the views what changed in the rows the model reads.
    void rowChanged(int row);
    void beginAppend(int count);
    void endAppend() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    void endRemove() { endRemoveRows(); }
    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }

private:
    std::vector<GridColumn> columns_;
    const std::vector<OrdDetail>* rows_;
};

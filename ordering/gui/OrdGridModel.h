// The grid of a data form: one row per order detail (or pre-order item), one column per grid
// key, codes shown by their names; the first column marks new and modified rows. The model
// also owns the one mapping from grid keys to the detail's fields that every screen uses.
#pragma once

#include <QAbstractTableModel>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ordering/core/basOrdList.h"
#include "ordering/gui/IDataForm.h"

// Order details dragged out of a list: their row keys, one a line.
inline constexpr const char* kOrdKeysMime = "application/x-serials-order-keys";

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
    // Saved rows can be dragged out (onto a catalogue of the tree) as their keys.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The computed column: "是" when the detail passes the save's checks, "否" with the reasons
    // as its tooltip otherwise.
    static constexpr const char* kValidKey = "Valid";
    // The detail field of a grid key; null for a key that names none (and for Valid).
    static std::string OrdDetail::*fieldOf(const std::string& key);
    // The value of a grid key ("" for a key that names no field).
    static std::string valueOf(const OrdDetail& d, const std::string& key);
    // A detail as the contract's row of values by grid key, and such a row written back.
    static DataFormRow rowValues(const OrdDetail& d);
    static void setRowValues(OrdDetail& d, const DataFormRow& row);

    const std::vector<GridColumn>& columns() const { return columns_; }
    int columnOf(const std::string& key) const;
    // Tell the views what changed in the rows the model reads.
    void rowChanged(int row);
    void beginAppend(int count);
    void endAppend() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    void endRemove() { endRemoveRows(); }
    void beginReload() { beginResetModel(); }
    void endReload() {
        statusTexts_.clear();
        endResetModel();
    }
    // A text shown in the Status column of the row with this Key instead of its state, until
    // the rows are loaded again (check-in progress).
    void setStatusText(const std::string& rowKey, const QString& text);

private:
    std::vector<GridColumn> columns_;
    const std::vector<OrdDetail>* rows_;
    std::map<std::string, QString> statusTexts_;
};

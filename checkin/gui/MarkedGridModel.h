// A grid whose first column marks the rows a command acts on (claim, hand over, print). The
// marks belong to the rows, not to their place on screen, so they stay with a row when the
// operator sorts or filters the grid; the commands take the marked rows the grid shows, in the
// order it shows them.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class QSortFilterProxyModel;

class MarkedGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    bool isMarked(int row) const { return marked_.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // The captions of every column, the mark's first.
    virtual QStringList captions() const = 0;
    // Display and edit text of a cell after the mark.
    virtual QVariant cell(int row, int column) const = 0;
    virtual bool setCell(int, int, const QVariant&) { return false; }
    virtual bool cellEditable(int) const { return false; }
    // Called between beginResetModel and endResetModel with the new number of rows.
    void resetMarks(std::size_t rows, bool marked) { marked_.assign(rows, marked); }

private:
    std::vector<bool> marked_;
};

// The rows at the given places of `rows`, in that order.
template <class Row>
std::vector<Row> rowsAtPlaces(const std::vector<Row>& rows, const std::vector<int>& places) {
    std::vector<Row> out;
    out.reserve(places.size());
    for (int p : places)
        out.push_back(rows.at(static_cast<std::size_t>(p)));
    return out;
}

// The model rows marked and shown by `proxy` (whose source is `model`), in the order shown.
std::vector<int> shownMarkedRows(const QSortFilterProxyModel* proxy, const MarkedGridModel* model);
// Marks or unmarks every row `proxy` shows, leaving the rows the filter hides as they are.
void markShownRows(const QSortFilterProxyModel* proxy, MarkedGridModel* model, bool marked);

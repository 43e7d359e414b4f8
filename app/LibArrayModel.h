// A read-only table model over a result array: the data rows of the array with captions of
// the screen's choosing. Grids of every screen show query results through it.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>

#include "db/LibArray.h"

class LibArrayModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LibArrayModel(QStringList captions, QObject* parent = nullptr);

    void setArray(LibArray array);
    void setCaptions(QStringList captions);
    // A cell's tooltip from its row of the array (row counted from 0) and column; none when
    // unset or empty.
    void setToolTips(std::function<QString(const LibArray&, int row, int col)> tips) {
        tips_ = std::move(tips);
    }
    const LibArray& array() const { return array_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList captions_;
    LibArray array_;
    std::function<QString(const LibArray&, int, int)> tips_;
};

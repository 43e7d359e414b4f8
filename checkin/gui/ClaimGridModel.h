// The grid of the claim screen: one row per issue and location, a mark to claim it, and the
// claim quantity and remark the operator may change before recording.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "checkin/core/basChkClaim.h"

class ClaimGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Mark,
        Title,
        Publ,
        Location,
        Year,
        AsordNo,
        Issn,
        Cover,
        Expect,
        Due,
        Received,
        Count,
        LastDate,
        Qty,
        Remark,
        ColumnCount
    };
    explicit ClaimGridModel(QObject* parent = nullptr);

    void setRows(std::vector<ClaimCandidate> rows, bool marked);
    const std::vector<ClaimCandidate>& rows() const { return rows_; }
    std::vector<ClaimCandidate> markedRows() const;
    void setAllMarked(bool marked);
    // Quantity and remark are editable only in a list of issues to claim.
    void setEditable(bool editable) { editable_ = editable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ClaimCandidate> rows_;
    std::vector<bool> marked_;
    bool editable_ = true;
};

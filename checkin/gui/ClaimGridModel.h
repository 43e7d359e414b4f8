// The grid of the claim screen: one row per issue and location, a mark to claim it, and the
// claim quantity and remark the operator may change before recording.
#pragma once

#include <vector>

#include "checkin/core/basChkClaim.h"
#include "checkin/gui/MarkedGridModel.h"

class ClaimGridModel : public MarkedGridModel {
    Q_OBJECT
public:
    // What a claim is decided on comes first, so that it is in view on a small screen: the
    // issue, where it is missing, the quantity and remark to edit and the claims so far.
    enum Column {
        Mark,
        Title,
        Cover,
        Location,
        Qty,
        Remark,
        Count,
        LastDate,
        Expect,
        Due,
        Received,
        Publ,
        AsordNo,
        Year,
        Issn,
        ColumnCount
    };
    using MarkedGridModel::MarkedGridModel;

    void setRows(std::vector<ClaimCandidate> rows, bool marked);
    const std::vector<ClaimCandidate>& rows() const { return rows_; }
    // The rows at the given places, as edited.
    std::vector<ClaimCandidate> rowsAt(const std::vector<int>& places) const {
        return rowsAtPlaces(rows_, places);
    }
    // Quantity and remark are editable only in a list of issues to claim.
    void setEditable(bool editable) { editable_ = editable; }

protected:
    QStringList captions() const override;
    QVariant cell(int row, int column) const override;
    bool setCell(int row, int column, const QVariant& value) override;
    bool cellEditable(int column) const override;

private:
    std::vector<ClaimCandidate> rows_;
    bool editable_ = true;
};

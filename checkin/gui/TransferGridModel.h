// The grid of the hand-over screen: one row per issue and sub-location with the copies that can
// be handed over (or taken back), and a mark to act on it.
#pragma once

#include <vector>

#include "checkin/core/basChkDetail.h"
#include "checkin/gui/MarkedGridModel.h"

class TransferGridModel : public MarkedGridModel {
    Q_OBJECT
public:
    enum Column {
        Mark,
        Location,
        DisLocation,
        Title,
        PublYear,
        Cover,
        Copies,
        KindNo,
        Label,
        PeriType,
        TotalIssue,
        AsordNo,
        ConnDate,
        ChkDate
    };
    using MarkedGridModel::MarkedGridModel;

    // Newly listed rows come marked: the usual hand-over is of everything listed.
    void setRows(std::vector<TransferRow> rows);
    const std::vector<TransferRow>& rows() const { return rows_; }
    std::vector<TransferRow> rowsAt(const std::vector<int>& places) const {
        return rowsAtPlaces(rows_, places);
    }

    // The columns after the mark, and one row's cells in them: the grid and the printed list
    // show the same.
    static QStringList listCaptions();
    static QStringList cells(const TransferRow& row);

protected:
    QStringList captions() const override;
    QVariant cell(int row, int column) const override;

private:
    std::vector<TransferRow> rows_;
};

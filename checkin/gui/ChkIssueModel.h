// The expected-issue grid (spdChkInfo): one row per expected issue of the selected location,
// with its numbers, dates, type and arrival. Late issues are red, partly arrived ones amber and
// arrived ones green, and the state column says the same in words, so the grid reads at a
// glance without relying on colour alone. The tip of every cell gives the copy counts. The
// columns a librarian looks for come first: volume, issue and date, then the arrival.
#pragma once

#include <QAbstractTableModel>
#include <unordered_map>
#include <vector>

#include "checkin/core/basChkIn.h"

class ChkIssueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColVol,
        ColIssue,
        ColTotal,
        ColExpect,
        ColState,
        ColCopies,
        ColClaim,
        ColType,
        ColNo,
        ColAttachment,
        ColRemark,
        ColumnCount
    };
    // The key of a row's issue, for every column.
    static constexpr int PeriIdRole = Qt::UserRole;
    explicit ChkIssueModel(QObject* parent = nullptr);

    // The issues of a location that subscribes `subscribed` copies, judged against `today`.
    void setIssues(std::vector<ChkInIssue> issues, int subscribed, const std::string& today);
    const std::vector<ChkInIssue>& issues() const { return issues_; }
    int subscribed() const { return subscribed_; }
    ArrivalState state(int row) const;
    // The row of the issue, -1 when the grid does not hold it.
    int rowOf(const std::string& periId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<ChkInIssue> issues_;
    std::unordered_map<std::string, int> rowById_;
    int subscribed_ = 0;
    std::string today_;
};

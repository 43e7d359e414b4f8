#include "checkin/gui/ChkIssueModel.h"

#include <QBrush>
#include <QColor>

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

ChkIssueModel::ChkIssueModel(QObject* parent) : QAbstractTableModel(parent) {}

void ChkIssueModel::setIssues(std::vector<ChkInIssue> issues, int subscribed,
                              const std::string& today) {
    beginResetModel();
    issues_ = std::move(issues);
    rowById_.clear();
    rowById_.reserve(issues_.size());
    for (std::size_t r = 0; r < issues_.size(); ++r)
        rowById_.emplace(issues_[r].periId, static_cast<int>(r));
    subscribed_ = subscribed;
    today_ = today;
    endResetModel();
}

ArrivalState ChkIssueModel::state(int row) const {
    return IssueArrival(issues_.at(static_cast<std::size_t>(row)), subscribed_, today_);
}

int ChkIssueModel::rowOf(const std::string& periId) const {
    const auto it = rowById_.find(periId);
    return it == rowById_.end() ? -1 : it->second;
}

int ChkIssueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(issues_.size());
}

int ChkIssueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChkIssueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ChkInIssue& i = issues_[static_cast<std::size_t>(index.row())];
    if (role == Qt::ToolTipRole) return q(ArrivalTip(i, subscribed_));
    if (role == PeriIdRole) return q(i.periId);
    if (role == Qt::ForegroundRole || role == Qt::BackgroundRole) {
        switch (state(index.row())) {
            case ArrivalState::Late:
                return role == Qt::BackgroundRole ? QBrush(QColor(0xfd, 0xe0, 0xdc))
                                                  : QBrush(QColor(0xa8, 0x1c, 0x10));
            case ArrivalState::Partial:
                return role == Qt::BackgroundRole ? QBrush(QColor(0xff, 0xf1, 0xc7))
                                                  : QBrush(QColor(0x7a, 0x4a, 0x00));
            case ArrivalState::Arrived:
                return role == Qt::BackgroundRole ? QBrush(QColor(0xdf, 0xf3, 0xe0))
                                                  : QBrush(QColor(0x1b, 0x5e, 0x20));
            case ArrivalState::Expected:
                break;
        }
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case ColNo:
            return i.periNo;
        case ColVol:
            return q(i.coverVol);
        case ColIssue:
            return q(i.coverIssue);
        case ColTotal:
            return q(i.coverIssueTotal);
        case ColType:
            return q(PeriTypeLabel(i.periType));
        case ColExpect:
            return q(i.expectDate);
        case ColClaim:
            return q(i.aslackDate);
        case ColState:
            return q(ArrivalText(state(index.row())));
        case ColCopies:
            return QString("%1/%2").arg(i.received).arg(subscribed_);
        case ColAttachment:
            return q(i.attachment);
        case ColRemark:
            return q(i.remark);
        default:
            return {};
    }
}

QVariant ChkIssueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const names[ColumnCount] = {"卷",   "期",        "总期",     "出版日期",
                                                   "状态", "已签/复本", "催缺日期", "类型",
                                                   "序号", "附件",      "备注"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

#include "checkin/gui/TransferGridModel.h"

#include "common/basCodeFunc.h"

void TransferGridModel::setRows(std::vector<TransferRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    resetMarks(rows_.size(), true);
    endResetModel();
}

QStringList TransferGridModel::listCaptions() {
    return {"订户",   "分配地", "刊名",   "出版年度", "卷期信息", "可交接复本", "分类号",
            "排架号", "期类型", "总期数", "征订号",   "交接日期", "签收日期"};
}

QStringList TransferGridModel::cells(const TransferRow& r) {
    auto s = [](const std::string& v) { return QString::fromStdString(v); };
    return {s(LIB_LocationName(r.location)),
            s(LIB_LocationName(r.disLocation)),
            s(r.title),
            s(r.publYear),
            s(r.cover),
            QString::number(r.copies),
            s(r.kindNo),
            s(r.label),
            s(r.periType),
            s(r.totalIssue),
            s(r.asordNo),
            s(r.connDate),
            s(r.chkDate)};
}

QStringList TransferGridModel::captions() const {
    return QStringList{"选择"} + listCaptions();
}

QVariant TransferGridModel::cell(int row, int column) const {
    return cells(rows_[static_cast<std::size_t>(row)]).value(column - 1);
}

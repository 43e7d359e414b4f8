#include "checkin/gui/ClaimGridModel.h"

#include "common/basCodeFunc.h"

void ClaimGridModel::setRows(std::vector<ClaimCandidate> rows, bool marked) {
    beginResetModel();
    rows_ = std::move(rows);
    resetMarks(rows_.size(), marked);
    endResetModel();
}

QStringList ClaimGridModel::captions() const {
    return {"选择",     "刊名",     "卷期信息", "订户",     "催缺复本",
            "备注",     "催缺次数", "最近催缺", "应到日期", "应到复本",
            "实到复本", "发行商",   "征订号",   "年度批次", "ISSN"};
}

QVariant ClaimGridModel::cell(int row, int column) const {
    const ClaimCandidate& c = rows_[static_cast<std::size_t>(row)];
    auto s = [](const std::string& v) { return QString::fromStdString(v); };
    switch (column) {
        case Title:
            return s(c.title);
        case Publ:
            return s(c.publCode);
        case Location:
            return s(LIB_LocationName(c.location));
        case Year:
            return s(c.periOrdYear);
        case AsordNo:
            return s(c.asordNo);
        case Issn:
            return s(c.issn);
        case Cover:
            return s(c.cover);
        case Expect:
            return s(c.expectDate);
        case Due:
            return c.subQty;
        case Received:
            return c.received;
        case Count:
            return c.claimCount;
        case LastDate:
            return s(c.lastClaimDate);
        case Qty:
            return c.qty;
        case Remark:
            return s(c.remark);
        default:
            return {};
    }
}

bool ClaimGridModel::setCell(int row, int column, const QVariant& value) {
    ClaimCandidate& c = rows_[static_cast<std::size_t>(row)];
    if (column == Qty) {
        bool ok = false;
        const int qty = value.toInt(&ok);
        if (!ok || qty < 1) return false;
        c.qty = qty;
        return true;
    }
    c.remark = value.toString().toStdString();
    return true;
}

bool ClaimGridModel::cellEditable(int column) const {
    return editable_ && (column == Qty || column == Remark);
}

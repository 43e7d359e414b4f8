// Rows are computed once per record, so painting never walks the record again.
#include "marc/gui/MarcRecModel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "marc/core/MarcFieldDefs.h"

namespace {
QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

MarcRecModel::MarcRecModel(QObject* parent) : QAbstractTableModel(parent) {}

void MarcRecModel::setRecord(const MarcRec& rec) {
    beginResetModel();
    rec_ = rec;
    rows_.clear();
    if (!rec.Leader.empty() && rec.FieldCount > 0)
        rows_.push_back(
            {"LDR", MarcTypeIndex(rec) % 2 ? "Leader" : "头标区", "", qs(rec.Leader), ""});
    for (int i = 0; i < static_cast<int>(rec.Dir.size()); ++i) {
        const std::string& tag = rec.Dir[i].Tag;
        std::string content = MarcFieldContent(rec, i);
        Row row{qs(tag), qs(GetMarcFieldName(tag, rec)), "", "", ""};
        if (tag <= "009") {
            row.data = qs(content);
        } else {
            row.ind = qs(content.substr(0, 2));
            QStringList tips;
            std::string shown;
            for (std::size_t p = 2; p < content.size(); ++p) {
                if (content[p] != kSubfieldMark) {
                    shown += content[p];
                    continue;
                }
                shown += std::string(shown.empty() ? "" : " ") + "$";
                if (p + 1 < content.size()) {
                    std::string name = GetMarcSubfieldName(tag, content[p + 1], rec);
                    if (!name.empty())
                        tips << QString("$%1 %2").arg(QChar(content[p + 1]), qs(name));
                }
            }
            row.data = qs(shown);
            row.tip = tips.join('\n');
        }
        rows_.push_back(row);
    }
    endResetModel();
}

int MarcRecModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MarcRecModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MarcRecModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const Row& r = rows_[index.row()];
    if (role == Qt::ToolTipRole && index.column() == ColData && !r.tip.isEmpty()) return r.tip;
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case ColTag:
            return r.tag;
        case ColName:
            return r.name;
        case ColInd:
            return r.ind;
        case ColData:
            return r.data;
        default:
            return {};
    }
}

QVariant MarcRecModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"字段", "字段名", "指示符", "字段内容"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

MarcRecView::MarcRecView(QWidget* parent) : QWidget(parent) {
    model_ = new MarcRecModel(this);
    vsfBM = new QTableView(this);
    vsfBM->setObjectName("vsfBM");
    vsfBM->setModel(model_);
    vsfBM->setSelectionBehavior(QAbstractItemView::SelectRows);
    vsfBM->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vsfBM->verticalHeader()->hide();
    vsfBM->horizontalHeader()->setStretchLastSection(true);
    vsfBM->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(vsfBM);
}

void MarcRecView::showRecord(const MarcRec& rec) {
    model_->setRecord(rec);
    vsfBM->resizeColumnsToContents();
    vsfBM->horizontalHeader()->setStretchLastSection(true);
}

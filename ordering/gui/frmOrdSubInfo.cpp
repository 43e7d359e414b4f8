// The subscriber pane. Grids are rebuilt from the detail after each change, so what is shown is
// always what would be saved.
#include "ordering/gui/frmOrdSubInfo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "common/basCodeFunc.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdInfo.h"

namespace {

using Choices = std::vector<std::pair<std::string, std::string>>;  // (code, name)

enum SubItem { kLocation, kChkFlag, kCount, kRegion, kOrdRemark };
const char* const kSubCaptions[] = {"订户", "签收性质", "复本数", "订购区间", "订户说明"};

Choices locations() {
    const LibArray& t = g_arrLocaSort.recordCount() > 0 ? g_arrLocaSort : g_arrLocation;
    Choices out{{"", ""}};
    for (int r = 2; r < t.rows(); ++r)
        out.push_back({t(0, r).str(), t(1, r).str()});
    return out;
}

// True, after telling the operator, when a line other than `row` has the value already.
template <typename Line>
bool takenElsewhere(const std::vector<Line>& lines, int row, const std::string& value,
                    std::string Line::*field, const std::string& message) {
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        if (i != row && !value.empty() && lines[i].*field == value) {
            LIB_Presenter().show('I', "提示", message);
            return true;
        }
    return false;
}

const Choices& chkChoices() {
    static const Choices c{{"1", "签收"}, {"0", "不签收"}};
    return c;
}

QTableWidget* grid(QWidget* parent, const char* name, const QStringList& captions, int rows) {
    auto* g = new QTableWidget(rows, captions.size(), parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(captions);
    // The pane shares the width with two others: its grids fit it rather than scroll sideways.
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    return g;
}

QTableWidgetItem* cell(const std::string& text, bool editable = true) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    if (!editable) item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    // Narrow columns cut long names and notes: the whole text is a hover away.
    item->setToolTip(item->text());
    return item;
}

}  // namespace

frmOrdSubInfo::frmOrdSubInfo(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOrdSubInfo");
    if (intGetSubAcct(subAcct_) < 0) LIB_DB_ShowError();
    spdSubOrdLst =
        grid(this, "spdSubOrdLst", {"订户", "签收性质", "复本数", "订购区间", "订户说明"}, 0);
    spdSubOrdLst->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdSubInfo = grid(this, "spdSubInfo", {"项目", "内容"}, 5);
    spdSubInfo->verticalHeader()->hide();
    spdFundSrc = grid(this, "spdFundSrc", {"经费项目", "复本数", "金额", "说明"}, 0);
    spdDistLoca = grid(this, "spdDistLoca", {"分配地", "分配数", "排架号"}, 0);
    for (int r = 0; r < 5; ++r) {
        spdSubInfo->setItem(r, 0, cell(kSubCaptions[r], false));
        spdSubInfo->setItem(r, 1, cell(""));
    }
    // The coded items' drop-downs sit in the value column.
    auto place = [this](int row, const char* name, const Choices& choices) {
        auto* box = new QComboBox(spdSubInfo);
        box->setObjectName(name);
        for (const auto& [code, text] : choices)
            box->addItem(QString::fromStdString(text), QString::fromStdString(code));
        spdSubInfo->setCellWidget(row, 1, box);
        connect(box, &QComboBox::currentIndexChanged, this, [this, row, box](int) {
            if (!loading_) onSubItemEdited(row, box->currentData().toString().toStdString());
        });
        return box;
    };
    cboLocation = place(kLocation, "cboLocation", locations());
    cboChkFlag = place(kChkFlag, "cboChkFlag", chkChoices());
    LIB_EntryPaneKeys(spdSubInfo);
    auto button = [this](const char* name, const char* text, void (frmOrdSubInfo::*slot)()) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    cmdAddSub = button("cmdAddSub", "增加订户", &frmOrdSubInfo::addSubscriber);
    cmdDelSub = button("cmdDelSub", "删除订户", &frmOrdSubInfo::deleteSubscriber);
    cmdAddFund = button("cmdAddFund", "增加经费", &frmOrdSubInfo::addFund);
    cmdDelFund = button("cmdDelFund", "删除经费", &frmOrdSubInfo::deleteFund);
    cmdAddDist = button("cmdAddDist", "增加分配地", &frmOrdSubInfo::addDist);
    cmdDelDist = button("cmdDelDist", "删除分配地", &frmOrdSubInfo::deleteDist);

    // Two rows of two grids: the subscribers beside the current one's items, its fund lines
    // beside its distribution. Each grid keeps five rows in view and its buttons below it, so
    // that under a full order list on a 1280x800 screen nothing has to scroll.
    const int rowHeight = fontMetrics().height() + 8;
    for (QTableWidget* g : {spdSubOrdLst, spdSubInfo, spdFundSrc, spdDistLoca}) {
        g->verticalHeader()->setDefaultSectionSize(rowHeight);
        g->setMinimumHeight(g->horizontalHeader()->sizeHint().height() + 5 * rowHeight +
                            2 * g->frameWidth());
    }
    // The codes or locations and the notes or shelf marks share what the numbers leave.
    for (QTableWidget* g : {spdFundSrc, spdDistLoca}) {
        QHeaderView* h = g->horizontalHeader();
        h->setSectionResizeMode(QHeaderView::ResizeToContents);
        h->setSectionResizeMode(0, QHeaderView::Stretch);
        h->setSectionResizeMode(g->columnCount() - 1, QHeaderView::Stretch);
    }
    auto buttons = [](QPushButton* add, QPushButton* del) {
        auto* row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(del);
        row->addStretch();
        return row;
    };
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    layout->addWidget(spdSubOrdLst, 0, 0);
    layout->addLayout(buttons(cmdAddSub, cmdDelSub), 1, 0);
    layout->addWidget(spdSubInfo, 0, 1, 2, 1);
    layout->addWidget(spdFundSrc, 2, 0);
    layout->addLayout(buttons(cmdAddFund, cmdDelFund), 3, 0);
    layout->addWidget(spdDistLoca, 2, 1);
    layout->addLayout(buttons(cmdAddDist, cmdDelDist), 3, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);

    connect(spdSubOrdLst, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int before, int) {
                if (loading_ || row == cur_ || row < 0) return;
                if (!selectSubscriber(row)) {
                    loading_ = true;
                    spdSubOrdLst->setCurrentCell(before, 0);
                    loading_ = false;
                }
            });
    connect(spdSubInfo, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!loading_ && item->column() == 1)
            onSubItemEdited(item->row(), item->text().toStdString());
    });
    for (QTableWidget* g : {spdFundSrc, spdDistLoca})
        connect(g, &QTableWidget::itemChanged, this, [this, g](QTableWidgetItem* item) {
            if (!loading_) onLineEdited(g, item->row(), item->column(), item->text().toStdString());
        });
    DataReset(nullptr);
}

void frmOrdSubInfo::SetOrdInfoForm(frmOrdInfo* info) {
    info_ = info;
    connect(info, &frmOrdInfo::PriceChanged, this, &frmOrdSubInfo::onPriceChanged);
}

void frmOrdSubInfo::SetLocked(bool locked) {
    locked_ = locked;
    if (info_) info_->setLocked(locked);
}

void frmOrdSubInfo::DataReset(OrdDetail* detail) {
    detail_ = detail;
    cur_ = detail_ && !detail_->subs.empty() ? 0 : -1;
    showList();
    showCurrent();
    setEnabled(detail_ != nullptr);
}

OrdSubscriber* frmOrdSubInfo::current() {
    if (!detail_ || cur_ < 0 || cur_ >= static_cast<int>(detail_->subs.size())) return nullptr;
    return &detail_->subs[cur_];
}

std::vector<std::pair<std::string, std::string>> frmOrdSubInfo::fundSources(
    const std::string& location) const {
    Choices out{{"", ""}};
    for (int r = 2; r < subAcct_.rows(); ++r)
        if (subAcct_(0, r).str() == location)
            out.push_back({subAcct_(1, r).str(), subAcct_(2, r).str()});
    return out;
}

bool frmOrdSubInfo::QueryClose() {
    const OrdSubscriber* s = current();
    if (!s) return true;
    auto errors = OrdSubscriberErrors(*s, true);
    if (errors.empty()) return true;
    std::string text = "操作不能继续：";
    for (const std::string& e : errors)
        text += "\n" + e;
    LIB_Presenter().show('I', "提示", text);
    return false;
}

bool frmOrdSubInfo::selectSubscriber(int index) {
    if (!detail_ || index < 0 || index >= static_cast<int>(detail_->subs.size())) return false;
    if (index != cur_ && !QueryClose()) return false;
    cur_ = index;
    loading_ = true;
    spdSubOrdLst->setCurrentCell(cur_, 0);
    loading_ = false;
    showCurrent();
    return true;
}

bool frmOrdSubInfo::refuseWhenLocked() {
    if (!locked_) return false;
    ShowLockedRefusal();
    showCurrent();
    return true;
}

void frmOrdSubInfo::showList() {
    loading_ = true;
    int n = detail_ ? static_cast<int>(detail_->subs.size()) : 0;
    spdSubOrdLst->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        const OrdSubscriber& s = detail_->subs[r];
        spdSubOrdLst->setItem(r, 0, cell(LIB_LocationName(s.location), false));
        spdSubOrdLst->setItem(r, 1, cell(s.chkFlag == "1" ? "签收" : "不签收", false));
        spdSubOrdLst->setItem(r, 2, cell(s.count, false));
        spdSubOrdLst->setItem(r, 3, cell(s.region, false));
        spdSubOrdLst->setItem(r, 4, cell(s.remark, false));
    }
    if (cur_ >= 0) spdSubOrdLst->setCurrentCell(cur_, 0);
    loading_ = false;
}

QComboBox* frmOrdSubInfo::lineCombo(QTableWidget* g, int row, const Choices& choices,
                                    const std::string& value) {
    auto* box = new QComboBox(g);
    for (const auto& [code, name] : choices)
        box->addItem(QString::fromStdString(name), QString::fromStdString(code));
    int i = box->findData(QString::fromStdString(value));
    if (i < 0 && !value.empty()) {
        box->addItem(QString::fromStdString(value), QString::fromStdString(value));
        i = box->count() - 1;
    }
    box->setCurrentIndex(std::max(i, 0));
    g->setCellWidget(row, 0, box);
    connect(box, &QComboBox::currentIndexChanged, this, [this, g, box](int) {
        if (loading_) return;
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->cellWidget(r, 0) == box)
                onLineEdited(g, r, 0, box->currentData().toString().toStdString());
    });
    return box;
}

void frmOrdSubInfo::showCurrent() {
    loading_ = true;
    const OrdSubscriber* s = current();
    auto pick = [](QComboBox* box, const std::string& value) {
        box->setCurrentIndex(std::max(box->findData(QString::fromStdString(value)), 0));
    };
    pick(cboLocation, s ? s->location : "");
    pick(cboChkFlag, s ? s->chkFlag : "1");
    spdSubInfo->item(kCount, 1)->setText(QString::fromStdString(s ? s->count : ""));
    spdSubInfo->item(kRegion, 1)->setText(QString::fromStdString(s ? s->region : ""));
    spdSubInfo->item(kOrdRemark, 1)->setText(QString::fromStdString(s ? s->remark : ""));
    spdSubInfo->setEnabled(s != nullptr);

    spdFundSrc->setRowCount(s ? static_cast<int>(s->funds.size()) : 0);
    for (int r = 0; s && r < static_cast<int>(s->funds.size()); ++r) {
        const OrdFundLine& f = s->funds[r];
        lineCombo(spdFundSrc, r, fundSources(s->location), f.fundSrc);
        spdFundSrc->setItem(r, 1, cell(f.qty));
        spdFundSrc->setItem(r, 2, cell(f.amount));
        spdFundSrc->setItem(r, 3, cell(f.remark));
    }
    spdDistLoca->setRowCount(s ? static_cast<int>(s->dists.size()) : 0);
    for (int r = 0; s && r < static_cast<int>(s->dists.size()); ++r) {
        const OrdDistLine& t = s->dists[r];
        lineCombo(spdDistLoca, r, locations(), t.distLoca);
        spdDistLoca->setItem(r, 1, cell(t.qty));
        spdDistLoca->setItem(r, 2, cell(t.label));
    }
    loading_ = false;
}

void frmOrdSubInfo::edited() {
    int keep = cur_;
    showList();
    cur_ = keep;
    emit Changed();
}

void frmOrdSubInfo::onSubItemEdited(int row, const std::string& value) {
    OrdSubscriber* s = current();
    if (!s || refuseWhenLocked()) return;
    if (row == kLocation) {
        if (takenElsewhere(detail_->subs, cur_, value, &OrdSubscriber::location,
                           "存在订户【" + value + "】,请重新选择！")) {
            showCurrent();
            return;
        }
        s->location = value;
        showCurrent();
    } else if (row == kChkFlag) {
        s->chkFlag = value;
    } else if (row == kCount) {
        s->count = strOrdNumberText(value);
    } else if (row == kRegion) {
        s->region = value;
    } else {
        s->remark = value;
    }
    edited();
}

void frmOrdSubInfo::onLineEdited(QTableWidget* g, int row, int column, const std::string& value) {
    OrdSubscriber* s = current();
    if (!s || refuseWhenLocked()) return;
    if (g == spdFundSrc) {
        OrdFundLine& f = s->funds.at(row);
        if (column == 0) {
            if (takenElsewhere(s->funds, row, value, &OrdFundLine::fundSrc,
                               "该经费项目已经存在，请重新选择！")) {
                showCurrent();
                return;
            }
            f.fundSrc = value;
        } else if (column == 1) {
            // Typed copies take their amount by the annual-price rule too.
            f.qty = strOrdNumberText(value);
            f.amount = strDecimalTimes(detail_->totalPrice, LibVar(f.qty).integer());
            loading_ = true;
            spdFundSrc->item(row, 2)->setText(QString::fromStdString(f.amount));
            loading_ = false;
        } else if (column == 2) {
            f.amount = strOrdNumberText(value);
        } else {
            f.remark = value;
        }
    } else {
        OrdDistLine& t = s->dists.at(row);
        if (column == 0) {
            if (takenElsewhere(s->dists, row, value, &OrdDistLine::distLoca,
                               "该分配地已存在，请重新选择！")) {
                showCurrent();
                return;
            }
            t.distLoca = value;
        } else if (column == 1) {
            t.qty = strOrdNumberText(value);
        } else {
            t.label = value;
        }
    }
    edited();
}

void frmOrdSubInfo::addSubscriber() {
    if (!detail_ || refuseWhenLocked() || !QueryClose()) return;
    detail_->subs.push_back({"", "1", "1", "", "", {}, {}});
    cur_ = static_cast<int>(detail_->subs.size()) - 1;
    showList();
    showCurrent();
    emit Changed();
}

void frmOrdSubInfo::deleteSubscriber() {
    OrdSubscriber* s = current();
    if (!s || refuseWhenLocked()) return;
    if (LIB_ShowMsg("Q是否删除订户『" + s->location + "』及其经费项目和分配地？") != kMsgOk) return;
    detail_->subs.erase(detail_->subs.begin() + cur_);
    cur_ = std::min(cur_, static_cast<int>(detail_->subs.size()) - 1);
    showList();
    showCurrent();
    emit Changed();
}

// Adds or removes a line of the current subscriber (fund or distribution), then shows it.
template <typename Edit>
void frmOrdSubInfo::editLines(Edit edit) {
    OrdSubscriber* s = current();
    if (!s || refuseWhenLocked() || !edit(*s)) return;
    showCurrent();
    emit Changed();
}

namespace {
// Erases the grid's current row from the lines; false when no line is current.
template <typename Line>
bool eraseCurrent(std::vector<Line>& lines, const QTableWidget* grid) {
    int row = grid->currentRow();
    if (row < 0 || row >= static_cast<int>(lines.size())) return false;
    lines.erase(lines.begin() + row);
    return true;
}
}  // namespace

void frmOrdSubInfo::addFund() {
    editLines([this](OrdSubscriber& s) {
        s.funds.push_back(
            {"", s.count, strDecimalTimes(detail_->totalPrice, LibVar(s.count).integer()), ""});
        return true;
    });
}

void frmOrdSubInfo::deleteFund() {
    editLines([this](OrdSubscriber& s) { return eraseCurrent(s.funds, spdFundSrc); });
}

void frmOrdSubInfo::addDist() {
    editLines([](OrdSubscriber& s) {
        s.dists.push_back({"", "1", ""});
        return true;
    });
}

void frmOrdSubInfo::deleteDist() {
    editLines([this](OrdSubscriber& s) { return eraseCurrent(s.dists, spdDistLoca); });
}

void frmOrdSubInfo::onPriceChanged() {
    if (!detail_) return;
    RecalcFundAmounts(*detail_);
    showCurrent();
    emit Changed();
}

// The detail pane. Every edit is written into the detail at once; a locked detail refuses and
// shows its old value again; a unit price recomputes the annual price by the frequency.
#include "ordering/gui/frmOrdInfo.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdCheck.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/OrdGridModel.h"

namespace {

struct InfoItem {
    const char* key;
    const char* caption;
    bool readOnly;
};
constexpr InfoItem kItems[] = {
    {"AsordNo", "征订号", false},          {"KindNo", "类号", false},
    {"SumCount", "订购总数", true},        {"PeriType", "订购状态", false},
    {"GetMode", "获得方式", false},        {"PublFreq", "出版频率", false},
    {"OrdYear", "年度批次", true},         {"Carrier", "载体类型", false},
    {"MoneyType", "币种", false},          {"Price", "单价", false},
    {"TotalPrice", "年价", false},         {"ForePrice", "外币单价", false},
    {"ForeTotalPrice", "外币年价", false}, {"Remark", "说明", false}};

}  // namespace

std::vector<std::pair<std::string, std::string>> OrdInfoChoices(const std::string& key) {
    std::vector<std::pair<std::string, std::string>> out{{"", ""}};
    auto table = [&](const LibArray& t, bool byName) {
        for (int r = 2; r < t.rows(); ++r)
            out.push_back({t(1, r).str(), byName ? t(1, r).str() : t(0, r).str()});
    };
    if (key == "PeriType")
        for (const char* c : {"0", "1", "2", "3"})
            out.push_back({strPeriStatusName(c), c});
    else if (key == "NewFlag")
        for (const char* c : {"0", "1"})
            out.push_back({strOrdGridText("NewFlag", c), c});
    else if (key == "GetMode")
        table(g_arrGetMode, false);
    else if (key == "PublFreq")
        table(g_arrPublFreq, true);
    else if (key == "Carrier")
        table(g_arrCarrier, false);
    else if (key == "MoneyType")
        table(g_arrMoneyType, false);
    else
        out.clear();
    return out;
}

void ShowLockedRefusal() {
    LIB_Presenter().show('I', "提示", "纪录处于锁定状态，不能修改！如果需要修改，请解除锁定状态！");
}

frmOrdInfo::frmOrdInfo(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOrdInfo");
    spdOrderInfo = new QTableWidget(static_cast<int>(std::size(kItems)), 2, this);
    spdOrderInfo->setObjectName("spdOrderInfo");
    spdOrderInfo->setHorizontalHeaderLabels({"项目", "内容"});
    spdOrderInfo->verticalHeader()->hide();
    spdOrderInfo->horizontalHeader()->setStretchLastSection(true);
    loading_ = true;
    for (int r = 0; r < static_cast<int>(std::size(kItems)); ++r) {
        const InfoItem& it = kItems[r];
        auto* caption = new QTableWidgetItem(QString::fromUtf8(it.caption));
        caption->setFlags(Qt::ItemIsEnabled);
        caption->setData(Qt::UserRole, QString(it.key));
        spdOrderInfo->setItem(r, 0, caption);
        auto* cell = new QTableWidgetItem;
        if (it.readOnly) cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        spdOrderInfo->setItem(r, 1, cell);
        auto list = OrdInfoChoices(it.key);
        if (list.empty()) continue;
        auto* box = new QComboBox(spdOrderInfo);
        box->setObjectName(QString("cbo") + it.key);
        for (const auto& [name, code] : list)
            box->addItem(QString::fromStdString(name), QString::fromStdString(code));
        spdOrderInfo->setCellWidget(r, 1, box);
        std::string key = it.key;
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, key](int) {
            if (!loading_) onEdited(key, box->currentData().toString().toStdString());
        });
    }
    loading_ = false;
    connect(spdOrderInfo, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (loading_ || item->column() != 1) return;
        onEdited(spdOrderInfo->item(item->row(), 0)->data(Qt::UserRole).toString().toStdString(),
                 item->text().toStdString());
    });
    spdOrderInfo->setColumnWidth(0, 90);
    LIB_EntryPaneKeys(spdOrderInfo);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(spdOrderInfo);
    setDetail(nullptr);
}

int frmOrdInfo::rowOf(const std::string& key) const {
    for (int r = 0; r < static_cast<int>(std::size(kItems)); ++r)
        if (key == kItems[r].key) return r;
    return -1;
}

QComboBox* frmOrdInfo::combo(const std::string& key) const {
    int r = rowOf(key);
    return r < 0 ? nullptr : qobject_cast<QComboBox*>(spdOrderInfo->cellWidget(r, 1));
}

std::string frmOrdInfo::value(const std::string& key) const {
    if (QComboBox* box = combo(key)) return box->currentData().toString().toStdString();
    int r = rowOf(key);
    return r < 0 ? std::string() : spdOrderInfo->item(r, 1)->text().toStdString();
}

void frmOrdInfo::typeValue(const std::string& key, const std::string& value) {
    if (QComboBox* box = combo(key)) {
        box->setCurrentIndex(box->findData(QString::fromStdString(value)));
        return;
    }
    int r = rowOf(key);
    if (r >= 0) spdOrderInfo->item(r, 1)->setText(QString::fromStdString(value));
}

void frmOrdInfo::setDetail(OrdDetail* detail) {
    detail_ = detail;
    for (const InfoItem& it : kItems)
        show(it.key);
    spdOrderInfo->setEnabled(detail_ != nullptr);
}

void frmOrdInfo::setLocked(bool locked) {
    locked_ = locked;
}

void frmOrdInfo::show(const std::string& key) {
    loading_ = true;
    std::string v = detail_ ? OrdGridModel::valueOf(*detail_, key) : std::string();
    if (key == "SumCount" && detail_) v = detail_->sumCount();
    if (QComboBox* box = combo(key)) {
        int i = box->findData(QString::fromStdString(v));
        if (i < 0 && !v.empty()) {
            // A value the code table no longer offers is still shown as it is.
            box->addItem(QString::fromStdString(v), QString::fromStdString(v));
            i = box->count() - 1;
        }
        box->setCurrentIndex(std::max(i, 0));
    } else if (int r = rowOf(key); r >= 0) {
        spdOrderInfo->item(r, 1)->setText(QString::fromStdString(v));
    }
    loading_ = false;
}

void frmOrdInfo::onEdited(const std::string& key, const std::string& value) {
    if (!detail_) return;
    if (locked_) {
        show(key);
        ShowLockedRefusal();
        return;
    }
    const bool price =
        key == "Price" || key == "TotalPrice" || key == "ForePrice" || key == "ForeTotalPrice";
    // Digits typed full-width are digits; the pane shows them as they will be saved.
    const std::string typed = price ? strOrdNumberText(value) : value;
    if (auto field = OrdGridModel::fieldOf(key)) detail_->*field = typed;
    if (typed != value) show(key);
    if (key == "Price") {
        std::string total = strAnnualPrice(detail_->price, detail_->publFreq, detail_->ordYear);
        if (!total.empty()) {
            detail_->totalPrice = total;
            show("TotalPrice");
        }
    }
    emit Changed();
    // A typed annual price moves the fund amounts as a computed one does.
    if (key == "Price" || key == "TotalPrice") emit PriceChanged();
}

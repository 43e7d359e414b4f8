#include "binding/gui/frmOldBindBound.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "binding/core/basStoreFunc.h"
#include "binding/gui/BindGrid.h"
#include "binding/gui/StoreEntryPane.h"
#include "common/basCodeFunc.h"
#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

namespace {

void fillFromArray(QComboBox* combo, const LibArray& a) {
    for (int r = 2; r < a.rows(); ++r)
        combo->addItem(s(a(0, r).str() + " " + a(1, r).str()), s(a(0, r).str()));
}

}  // namespace

frmOldBindBound::frmOldBindBound(const QString& bindNo, QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldBindBound");
    setWindowTitle("合订本验收");
    auto line = [this](const char* name, bool readOnly = false) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        return e;
    };
    auto combo = [this](const char* name, bool editable) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(editable);
        return c;
    };
    txtBindNo = line("txtBindNo");
    txtBindName = line("txtBindName", true);
    txtSpineTitle = line("txtSpineTitle");
    txtBgnEndYear = line("txtBgnEndYear");
    txtBgnEndVol = line("txtBgnEndVol");
    txtQtyOfBind = new QSpinBox(this);
    txtQtyOfBind->setObjectName("txtQtyOfBind");
    txtQtyOfBind->setRange(0, 999);
    txtBoundEditPrice = new QDoubleSpinBox(this);
    txtBoundEditPrice->setObjectName("txtBoundEditPrice");
    txtBoundPrice = new QDoubleSpinBox(this);
    txtBoundPrice->setObjectName("txtBoundPrice");
    for (QDoubleSpinBox* d : {txtBoundEditPrice, txtBoundPrice})
        d->setRange(0, 999999);
    BindChoices choices;
    intLoadBindChoices(choices);
    cmbBookSize = combo("cmbBookSize", false);
    fillCodeCombo(cmbBookSize, choices.bookSizes, "");
    cmbColor = combo("cmbColor", true);
    cmbColor->addItems({"深蓝", "黑", "棕", "墨绿", "暗红", "灰"});
    cmbFrame = combo("cmbFrame", true);
    cmbFrame->addItems({"精装", "平装", "线装"});
    cmbCallNo = combo("cmbCallNo", false);
    cmbCallNo->setToolTip("合订本与书目记录的索书号");
    cmbCarrier = combo("cmbCarrier", false);
    fillFromArray(cmbCarrier, g_arrCarrier);
    storePane = new StoreEntryPane(0, this);
    cmbBatch = storePane->cmbBatch;
    txtPropNo = storePane->txtPropNo;
    txtBarCode = storePane->txtBarCode;
    txtCallNo = storePane->txtCallNo;
    cmbBookStatCode = storePane->cmbBookStatCode;
    cmbDisLocation = combo("cmbDisLocation", false);
    cmbDisLocation->addItem("<合订单刊的分配地>", QString());  // where the copies were
    fillFromArray(cmbDisLocation, g_arrLocation);
    chkStore = new QCheckBox("同时登录入藏", this);
    chkStore->setObjectName("chkStore");
    chkStore->setChecked(true);
    chkLt = new QCheckBox("连续验收本批次", this);
    chkLt->setObjectName("chkLt");
    chkLt->setToolTip("确定后接着显示同一批次下一本在装订的合订本");
    txtRemark = line("txtRemark");
    cmdOk = bindButton(this, "确定", "cmdOk", QKeySequence::Save);
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* record = new QFormLayout;
    record->addRow("装订号：", txtBindNo);
    record->addRow("装订名：", txtBindName);
    record->addRow("书脊题名：", txtSpineTitle);
    record->addRow("起止年度：", txtBgnEndYear);
    record->addRow("起止卷期：", txtBgnEndVol);
    record->addRow("期数：", txtQtyOfBind);
    record->addRow("合订本价格：", txtBoundEditPrice);
    record->addRow("开本：", cmbBookSize);
    record->addRow("装订价格：", txtBoundPrice);
    record->addRow("颜色：", cmbColor);
    record->addRow("装帧：", cmbFrame);
    QFormLayout* store = storePane->form;
    store->insertRow(4, "", cmbCallNo);
    store->addRow("载体：", cmbCarrier);
    store->addRow("馆藏地：", cmbDisLocation);
    store->addRow("备注：", txtRemark);
    store->addRow("", chkStore);
    store->addRow("", chkLt);
    auto* columns = new QHBoxLayout;
    columns->addLayout(record, 1);
    columns->addSpacing(24);
    columns->addWidget(storePane, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(txtBindNo, &QLineEdit::returnPressed, this,
            [this] { loadRecord(txtBindNo->text().trimmed()); });
    connect(cmbBookSize, &QComboBox::activated, this, &frmOldBindBound::refreshPrice);
    connect(cmbCallNo, &QComboBox::activated, this,
            [this] { txtCallNo->setText(cmbCallNo->currentText()); });
    connect(chkStore, &QCheckBox::toggled, this, [this](bool on) {
        for (QWidget* w : {static_cast<QWidget*>(cmbBatch), static_cast<QWidget*>(txtPropNo)})
            w->setEnabled(on);
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmOldBindBound::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    if (!bindNo.isEmpty()) loadRecord(bindNo);
}

bool frmOldBindBound::loadRecord(const QString& bindNo) {
    BindRecord r;
    if (intLoadBindRecord(t(bindNo), r) < 0) return false;
    record_ = r;
    txtBindNo->setText(s(r.bindNo));
    txtBindName->setText(s(r.bindName));
    txtSpineTitle->setText(s(r.title));
    txtBgnEndYear->setText(s(r.bgnEndYear));
    txtBgnEndVol->setText(s(r.bgnEndVol));
    txtQtyOfBind->setValue(r.qtyOfBind);
    txtBoundEditPrice->setValue(r.boundEditPrice);
    txtBoundPrice->setValue(r.boundPrice);
    int size = cmbBookSize->findText(s(r.bookSize), Qt::MatchEndsWith);
    cmbBookSize->setCurrentIndex(size >= 0 ? size : 0);
    cmbColor->setCurrentText(s(r.color));
    cmbFrame->setCurrentText(s(r.frame));
    cmbCallNo->clear();
    std::string recordCallNo;
    if (!r.callNo.empty()) cmbCallNo->addItem(s(r.callNo));
    if (intRecordCallNo(r.marcRecNo, recordCallNo) == 0 && !recordCallNo.empty() &&
        recordCallNo != r.callNo)
        cmbCallNo->addItem(s(recordCallNo));
    txtCallNo->setText(cmbCallNo->count() > 0 ? cmbCallNo->itemText(0) : QString());
    cmbCallNo->setEnabled(cmbCallNo->count() > 1);
    int carrier = cmbCarrier->findData(s(r.carrierCode));
    if (carrier >= 0) cmbCarrier->setCurrentIndex(carrier);
    txtRemark->setText(s(r.remark));
    storePane->setRecord(s(r.marcRecNo));
    storePane->next();
    return true;
}

void frmOldBindBound::refreshPrice() {
    double price = 0;
    std::string name;
    if (intBindPrice(record_.binder, t(cmbBookSize->currentData().toString()), price, name) == 0)
        txtBoundPrice->setValue(price);
}

void frmOldBindBound::cmdOk_Click() {
    if (record_.bindNo.empty()) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    BindRecord r = record_;
    r.title = t(txtSpineTitle->text());
    r.bgnEndYear = t(txtBgnEndYear->text());
    r.bgnEndVol = t(txtBgnEndVol->text());
    r.qtyOfBind = txtQtyOfBind->value();
    r.boundEditPrice = txtBoundEditPrice->value();
    r.boundPrice = txtBoundPrice->value();
    if (!cmbBookSize->currentData().toString().isEmpty())
        r.bookSize = t(cmbBookSize->currentText().section(' ', 1));
    r.color = t(cmbColor->currentText());
    r.frame = t(cmbFrame->currentText());
    r.carrierCode = t(cmbCarrier->currentData().toString());
    r.remark = t(txtRemark->text());
    StoreEntry e = storePane->entry();
    e.disLocation = t(cmbDisLocation->currentData().toString());
    e.remark = r.remark;
    if (intReceiveBound(r, e, chkStore->isChecked(), storePane->batchNo()) < 0) return;
    if (chkLt->isChecked()) {
        std::vector<BindRecord> batch;
        intListBindRecords(record_.binder, record_.batchNo, batch);
        for (const BindRecord& next : batch)
            if (next.boundFlag == 0) {
                loadRecord(s(next.bindNo));
                return;
            }
    }
    close();
}

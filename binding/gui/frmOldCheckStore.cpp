#include "binding/gui/frmOldCheckStore.h"

#include "binding/gui/BindGrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "binding/core/basStoreFunc.h"
#include "binding/gui/StoreEntryPane.h"
#include "binding/gui/frmOldStoreBatch.h"
#include "db/basLibMsg.h"

using bindtext::s;

frmOldCheckStore::frmOldCheckStore(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldCheckStore");
    setWindowTitle("合订本验收入藏");
    cmbFlag = new QComboBox(this);
    cmbFlag->setObjectName("cmbFlag");
    cmbFlag->addItems({"在装订", "已验收", "已入藏"});
    spdBound = BindGrid::make(this, "spdBound",
                              {"装订号", "装订名", "书脊题名", "起止年度", "起止卷期", "期数",
                               "索书号", "财产号", "合订本价格", "装订商", "批次"},
                              "frmOldCheckStore/spdBound");
    storePane = new StoreEntryPane(0, this);
    cmdCheck = bindButton(this, "验收", "cmdCheck", QKeySequence("Ctrl+K"));
    cmdUncheck = bindButton(this, "撤销验收", "cmdUncheck");
    cmdStore = bindButton(this, "入藏", "cmdStore", QKeySequence::Save);
    cmdUndo = bindButton(this, "撤销入藏", "cmdUndo");
    cmdCallNo = storePane->cmdCallNo;
    cmdBatch = bindButton(this, "验收批次…", "cmdBatch", QKeySequence("Ctrl+B"));
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("合订本状态：", this));
    top->addWidget(cmbFlag);
    top->addStretch();
    auto* side = new QVBoxLayout;
    side->addWidget(storePane);
    for (QPushButton* b : {cmdCheck, cmdUncheck, cmdStore, cmdUndo, cmdBatch})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(cmdCancel);
    auto* body = new QHBoxLayout;
    body->addWidget(spdBound.view, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    connect(cmbFlag, &QComboBox::currentIndexChanged, this, &frmOldCheckStore::loadRecords);
    connect(cmdCheck, &QPushButton::clicked, this, [this] { cmdCheck_Click(false); });
    connect(cmdUncheck, &QPushButton::clicked, this, [this] { cmdCheck_Click(true); });
    connect(cmdStore, &QPushButton::clicked, this, &frmOldCheckStore::cmdStore_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &frmOldCheckStore::cmdUndo_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdBatch, &QPushButton::clicked, this, [this] {
        auto* batches = new frmOldStoreBatch(0);
        batches->setAttribute(Qt::WA_DeleteOnClose);
        connect(batches, &frmOldStoreBatch::batchesChanged, storePane,
                &StoreEntryPane::loadBatches);
        batches->show();
    });
    connect(spdBound.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        const BindRecord* r = current();
        storePane->txtCallNo->setText(r ? s(r->callNo) : QString());
        storePane->setRecord(r ? s(r->marcRecNo) : QString());
    });
    loadRecords();
}

void frmOldCheckStore::subStoreBatch(const QString& batchNo) {
    storePane->loadBatches();
    if (!storePane->selectBatch(batchNo)) LIB_ShowMsg("E验收批次不存在，请先选择验收批次！");
}

const BindRecord* frmOldCheckStore::current() const {
    int row = spdBound.currentRow();
    return row >= 0 && row < static_cast<int>(records_.size()) ? &records_[row] : nullptr;
}

void frmOldCheckStore::loadRecords() {
    records_.clear();
    intListBindRecordsByFlag(cmbFlag->currentIndex(), records_);
    std::vector<QStringList> rows;
    for (const BindRecord& r : records_)
        rows.push_back({s(r.bindNo), s(r.bindName), s(r.title), s(r.bgnEndYear), s(r.bgnEndVol),
                        QString::number(r.qtyOfBind), s(r.callNo), s(r.propNo),
                        QString::number(r.boundEditPrice, 'f', 2), s(r.binder), s(r.batchNo)});
    spdBound.setRows(rows);
    if (!records_.empty()) spdBound.selectRow(0);
    int flag = cmbFlag->currentIndex();
    cmdCheck->setEnabled(flag == 0);
    cmdUncheck->setEnabled(flag == 1);
    cmdStore->setEnabled(flag == 1);
    cmdUndo->setEnabled(flag == 2);
}

void frmOldCheckStore::cmdCheck_Click(bool undo) {
    const BindRecord* r = current();
    if (!r) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    if (intCheckBound(r->bindNo, undo) == 0) loadRecords();
}

void frmOldCheckStore::cmdStore_Click() {
    const BindRecord* r = current();
    if (!r) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    StoreEntry e = storePane->entry();
    if (intStoreBound(storePane->batchNo(), r->bindNo, e) < 0) return;
    storePane->next();
    loadRecords();
}

void frmOldCheckStore::cmdUndo_Click() {
    const BindRecord* r = current();
    if (!r || r->propNo.empty()) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    if (intUndoStore(r->propNo) == 0) {
        storePane->next();
        loadRecords();
    }
}

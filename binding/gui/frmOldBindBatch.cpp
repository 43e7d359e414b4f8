#include "binding/gui/frmOldBindBatch.h"

#include "binding/gui/BindGrid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

frmOldBindBatch::frmOldBindBatch(const QString& binder, QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldBindBatch");
    setWindowTitle("装订批次");
    std::vector<CodeName> binders;
    intListBinders(binders);
    cmbBinder = new QComboBox(this);
    cmbBinder->setObjectName("cmbBinder");
    fillCodeCombo(cmbBinder, binders);
    int at = cmbBinder->findData(binder);
    if (at >= 0) cmbBinder->setCurrentIndex(at);
    auto line = [this](const char* name, const QString& hint = {}) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setPlaceholderText(hint);
        return e;
    };
    txtFrom = line("txtFrom", "yyyy-mm-dd");
    txtTo = line("txtTo", "yyyy-mm-dd");
    cmbUsed = new QComboBox(this);
    cmbUsed->setObjectName("cmbUsed");
    cmbUsed->addItem("全部批次");
    cmbUsed->addItem("已有合订本");
    cmbUsed->addItem("没有合订本");
    spdBatch = BindGrid::make(this, "spdBatch", {"批次", "送装日期", "负责人", "合订本数", "备注"},
                              "frmOldBindBatch/spdBatch");
    txtBindBatchNo = line("txtBindBatchNo");
    txtSendBindDate = line("txtSendBindDate", "yyyy-mm-dd");
    txtRespWkr = line("txtRespWkr");
    txtRemark = line("txtRemark");

    cmdFind = bindButton(this, "查询", "cmdFind", QKeySequence(Qt::Key_F5));
    cmdNew = bindButton(this, "新批次", "cmdNew", QKeySequence::New);
    cmdOk = bindButton(this, "保存", "cmdOk", QKeySequence::Save);
    cmdDelete = bindButton(this, "删除", "cmdDelete", QKeySequence::Delete);
    cmdSend = bindButton(this, "送装订", "cmdSend");
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel("装订商：", this));
    filters->addWidget(cmbBinder, 1);
    filters->addWidget(new QLabel("送装日期：", this));
    filters->addWidget(txtFrom);
    filters->addWidget(new QLabel("至", this));
    filters->addWidget(txtTo);
    filters->addWidget(cmbUsed);
    filters->addWidget(cmdFind);
    auto* form = new QFormLayout;
    form->addRow("装订批次：", txtBindBatchNo);
    form->addRow("送装日期：", txtSendBindDate);
    form->addRow("负责人：", txtRespWkr);
    form->addRow("备注：", txtRemark);
    setListEditorLayout(this, filters, spdBatch.view, form, {cmdNew, cmdOk, cmdDelete, cmdSend},
                        cmdCancel);

    connect(cmdFind, &QPushButton::clicked, this, &frmOldBindBatch::loadBatches);
    connect(cmbBinder, &QComboBox::currentIndexChanged, this, &frmOldBindBatch::loadBatches);
    connect(cmbUsed, &QComboBox::currentIndexChanged, this, &frmOldBindBatch::loadBatches);
    connect(cmdNew, &QPushButton::clicked, this, [this] {
        spdBatch.view->clearSelection();
        for (QLineEdit* e : {txtBindBatchNo, txtSendBindDate, txtRespWkr, txtRemark})
            e->clear();
        txtBindBatchNo->setFocus();
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmOldBindBatch::cmdOk_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmOldBindBatch::cmdDelete_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmOldBindBatch::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(spdBatch.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmOldBindBatch::showBatch);
    loadBatches();
}

std::string frmOldBindBatch::binder() const {
    return t(cmbBinder->currentData().toString());
}

void frmOldBindBatch::loadBatches() {
    std::optional<bool> used;
    if (cmbUsed->currentIndex() > 0) used = cmbUsed->currentIndex() == 1;
    batches_.clear();
    intListBindBatches(binder(), t(txtFrom->text()), t(txtTo->text()), used, batches_);
    std::vector<QStringList> rows;
    for (const BindBatch& b : batches_)
        rows.push_back(
            {s(b.batchNo), s(b.sendDate), s(b.respWkr), QString::number(b.records), s(b.remark)});
    spdBatch.setRows(rows);
}

void frmOldBindBatch::showBatch() {
    int row = spdBatch.currentRow();
    if (row < 0) return;
    const BindBatch& b = batches_[row];
    txtBindBatchNo->setText(s(b.batchNo));
    txtSendBindDate->setText(s(b.sendDate));
    txtRespWkr->setText(s(b.respWkr));
    txtRemark->setText(s(b.remark));
}

void frmOldBindBatch::cmdOk_Click() {
    if (intSaveBindBatch({binder(), t(txtBindBatchNo->text()), t(txtRemark->text()),
                          t(txtSendBindDate->text()), t(txtRespWkr->text())}) == 0)
        loadBatches();
}

void frmOldBindBatch::cmdDelete_Click() {
    int row = spdBatch.currentRow();
    if (row < 0) {
        LIB_ShowMsg("E请选择要删除的批次。");
        return;
    }
    if (intDeleteBindBatch(binder(), batches_[row].batchNo) == 0) loadBatches();
}

void frmOldBindBatch::cmdSend_Click() {
    int row = spdBatch.currentRow();
    if (row < 0) {
        LIB_ShowMsg("E请选择要送装订的批次。");
        return;
    }
    if (intSendBindBatch(binder(), batches_[row].batchNo) == 0) loadBatches();
}

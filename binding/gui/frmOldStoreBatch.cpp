#include "binding/gui/frmOldStoreBatch.h"

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

frmOldStoreBatch::frmOldStoreBatch(int checkType, QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldStoreBatch");
    setWindowTitle("验收批次");
    cmbCheckType = new QComboBox(this);
    cmbCheckType->setObjectName("cmbCheckType");
    cmbCheckType->addItem("合订本", 0);
    cmbCheckType->addItem("单册", 1);
    cmbCheckType->setCurrentIndex(checkType == 1 ? 1 : 0);
    spdBatch = BindGrid::make(this, "spdBatch", {"批次号", "财产号类型", "日期", "负责人", "备注"},
                              "frmOldStoreBatch/spdBatch");
    auto line = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    txtBatchNo = line("txtBatchNo");
    txtDate = line("txtDate");
    txtDate->setPlaceholderText("yyyy-mm-dd，空：今天");
    txtRespWkr = line("txtRespWkr");
    txtRemark = line("txtRemark");
    cmbClassType = new QComboBox(this);
    cmbClassType->setObjectName("cmbClassType");
    std::vector<CodeName> classes;
    intListPropClasses(classes);
    fillCodeCombo(cmbClassType, classes);
    cmdNew = bindButton(this, "新批次", "cmdNew", QKeySequence::New);
    cmdOk = bindButton(this, "保存", "cmdOk", QKeySequence::Save);
    cmdDelete = bindButton(this, "删除", "cmdDelete", QKeySequence::Delete);
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("验收类型：", this));
    top->addWidget(cmbCheckType);
    top->addStretch();
    auto* form = new QFormLayout;
    form->addRow("批次号：", txtBatchNo);
    form->addRow("财产号类型：", cmbClassType);
    form->addRow("日期：", txtDate);
    form->addRow("负责人：", txtRespWkr);
    form->addRow("备注：", txtRemark);
    setListEditorLayout(this, top, spdBatch.view, form, {cmdNew, cmdOk, cmdDelete}, cmdCancel);

    connect(cmbCheckType, &QComboBox::currentIndexChanged, this, &frmOldStoreBatch::loadBatches);
    connect(cmdNew, &QPushButton::clicked, this, [this] { subSetText({}); });
    connect(cmdOk, &QPushButton::clicked, this, &frmOldStoreBatch::cmdOk_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmOldStoreBatch::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(spdBatch.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        int row = spdBatch.currentRow();
        if (row >= 0) subSetText(s(batches_[row].batchNo));
    });
    loadBatches();
}

void frmOldStoreBatch::loadBatches() {
    batches_.clear();
    intListCheckAccts(cmbCheckType->currentData().toInt(), batches_);
    std::vector<QStringList> rows;
    for (const CheckAcct& b : batches_)
        rows.push_back({s(b.batchNo),
                        cmbClassType->itemText(cmbClassType->findData(s(b.classTypeCode))),
                        s(b.date), s(b.respWkr), s(b.remark)});
    spdBatch.setRows(rows);
}

void frmOldStoreBatch::subSetText(const QString& batchNo) {
    CheckAcct b;
    for (const CheckAcct& known : batches_)
        if (s(known.batchNo) == batchNo.trimmed()) b = known;
    txtBatchNo->setText(b.batchNo.empty() ? batchNo.trimmed() : s(b.batchNo));
    int c = cmbClassType->findData(s(b.classTypeCode));
    if (c >= 0) cmbClassType->setCurrentIndex(c);
    txtDate->setText(s(b.date));
    txtRespWkr->setText(s(b.respWkr));
    txtRemark->setText(s(b.remark));
}

void frmOldStoreBatch::cmdOk_Click() {
    if (intSaveCheckAcct({t(txtBatchNo->text()), t(cmbClassType->currentData().toString()),
                          t(txtDate->text()), t(txtRespWkr->text()), t(txtRemark->text()),
                          cmbCheckType->currentData().toInt()}) == 0) {
        loadBatches();
        emit batchesChanged();
    }
}

void frmOldStoreBatch::cmdDelete_Click() {
    std::string batchNo = t(txtBatchNo->text());
    if (batchNo.empty()) {
        LIB_ShowMsg("E请选择要删除的验收批次。");
        return;
    }
    if (LIB_ShowMsg("Q是否确认删除选择批次。") != kMsgOk) return;
    if (intDeleteCheckAcct(batchNo) == 0) {
        subSetText({});
        loadBatches();
        emit batchesChanged();
    }
}

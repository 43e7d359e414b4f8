#include "binding/gui/StoreEntryPane.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "binding/gui/BindGrid.h"
#include "binding/gui/frmOldCreateCallNo.h"
#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

StoreEntryPane::StoreEntryPane(int checkType, QWidget* parent)
    : QWidget(parent), checkType_(checkType) {
    auto line = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    cmbBatch = new QComboBox(this);
    cmbBatch->setObjectName("cmbBatch");
    txtPropNo = line("txtPropNo");
    txtPropNo->setToolTip("财产号：默认为本人财产号区段的下一个号，也可以直接输入");
    txtBarCode = line("txtBarCode");
    txtCallNo = line("txtCallNo");
    txtCallNo->setPlaceholderText("空：书目记录的索书号");
    cmdCallNo = bindButton(this, "取号…", "cmdCallNo", QKeySequence("Ctrl+L"));
    cmbBookStatCode = new QComboBox(this);
    cmbBookStatCode->setObjectName("cmbBookStatCode");
    cmbBookStatCode->addItems({"可借", "非可借", "阅览", "业务用书", "保留本", "分馆藏书"});
    makeCirculationCombos(this, cmbLendGrad, cmbCircType);
    setMinimumWidth(300);
    form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("验收批次：", cmbBatch);
    form->addRow("财产号：", txtPropNo);
    form->addRow("条码号：", txtBarCode);
    auto* callNo = new QHBoxLayout;
    callNo->addWidget(txtCallNo, 1);
    callNo->addWidget(cmdCallNo);
    form->addRow("索书号：", callNo);
    form->addRow("流通状态：", cmbBookStatCode);
    form->addRow("借阅等级：", cmbLendGrad);
    form->addRow("流通类型：", cmbCircType);
    connect(cmbBatch, &QComboBox::currentIndexChanged, this, &StoreEntryPane::propose);
    connect(cmdCallNo, &QPushButton::clicked, this, &StoreEntryPane::openCallNo);
    loadBatches();
}

void StoreEntryPane::loadBatches() {
    QString keep = cmbBatch->currentData().toString();
    std::vector<CheckAcct> batches;
    intListCheckAccts(checkType_, batches);
    QSignalBlocker block(cmbBatch);
    cmbBatch->clear();
    classes_.clear();
    for (const CheckAcct& b : batches) {
        cmbBatch->addItem(s(b.batchNo + " " + b.remark), s(b.batchNo));
        classes_ << s(b.classTypeCode);
    }
    int i = cmbBatch->findData(keep);
    cmbBatch->setCurrentIndex(i >= 0 ? i : 0);
    propose();
}

bool StoreEntryPane::selectBatch(const QString& batchNo) {
    int i = cmbBatch->findData(batchNo);
    if (i >= 0) cmbBatch->setCurrentIndex(i);
    return i >= 0;
}

std::string StoreEntryPane::batchNo() const {
    return t(cmbBatch->currentData().toString());
}

void StoreEntryPane::propose() {
    int i = cmbBatch->currentIndex();
    std::string propNo;
    proposal_.clear();
    if (i >= 0 && i < classes_.size() && intPeekPropNo(t(classes_[i]), propNo) == 0)
        proposal_ = s(propNo);
    txtPropNo->setText(proposal_);
}

StoreEntry StoreEntryPane::entry() const {
    StoreEntry e;
    e.propNo = t(txtPropNo->text());
    e.fromSection = !proposal_.isEmpty() && txtPropNo->text().trimmed() == proposal_;
    e.barCode = t(txtBarCode->text());
    e.callNo = t(txtCallNo->text());
    e.bookStatCode = t(cmbBookStatCode->currentText());
    e.lendGrade = t(cmbLendGrad->currentData().toString());
    e.circType = t(cmbCircType->currentData().toString());
    return e;
}

void StoreEntryPane::setRecord(const QString& marcRecNo) {
    marcRecNo_ = marcRecNo;
}

frmOldCreateCallNo* StoreEntryPane::openCallNo() {
    if (marcRecNo_.isEmpty()) {
        LIB_ShowMsg("E请先选择书目记录。");
        return nullptr;
    }
    auto* screen = new frmOldCreateCallNo(marcRecNo_);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->txtCallNo->setText(txtCallNo->text());
    screen->setCirculation(cmbLendGrad->currentData().toString(),
                           cmbCircType->currentData().toString());
    connect(screen, &frmOldCreateCallNo::callNoConfirmed, this, &StoreEntryPane::setCallNo);
    screen->show();
    return screen;
}

void StoreEntryPane::setCallNo(const QString& callNo, const QString& lendGrade,
                               const QString& circType) {
    txtCallNo->setText(callNo);
    chooseCirculation(cmbLendGrad, cmbCircType, lendGrade, circType);
}

void StoreEntryPane::next() {
    propose();
    txtBarCode->clear();
    txtBarCode->setFocus();
}

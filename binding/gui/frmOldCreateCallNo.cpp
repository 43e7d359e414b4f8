#include "binding/gui/frmOldCreateCallNo.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "binding/gui/BindGrid.h"
#include "binding/gui/frmOldClassSerial.h"
#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

frmOldCreateCallNo::frmOldCreateCallNo(const QString& marcRecNo, const QString& author,
                                       QWidget* parent)
    : QWidget(parent) {
    setObjectName("frmOldCreateCallNo");
    setWindowTitle("索书号");
    txtMarcRecNo = new QLineEdit(marcRecNo, this);
    txtMarcRecNo->setObjectName("txtMarcRecNo");
    cmbClsCode = new QComboBox(this);
    cmbClsCode->setObjectName("cmbClsCode");
    fillSchemeCombo(cmbClsCode);
    cmbAuthLang = new QComboBox(this);
    cmbAuthLang->setObjectName("cmbAuthLang");
    cmbAuthLang->addItem("中文", true);
    cmbAuthLang->addItem("西文", false);
    cmbAuthLang->setCurrentIndex(bolChineseAuthorTables() ? 0 : 1);
    makeCirculationCombos(this, cmbLendGrad, cmbCircType);
    txtAuthor = new QLineEdit(author, this);
    txtAuthor->setObjectName("txtAuthor");
    txtCallNo = new QLineEdit(this);
    txtCallNo->setObjectName("txtCallNo");
    txtCallNo->setPlaceholderText("分类号，F1 种次号，F2 著者号，F4 已用索书号");
    lstUsed = new QListWidget(this);
    lstUsed->setObjectName("lstUsed");
    cmdSerial = bindButton(this, "种次号", "cmdSerial", QKeySequence(Qt::Key_F1));
    cmdAuthor = bindButton(this, "著者号", "cmdAuthor", QKeySequence(Qt::Key_F2));
    cmdUsed = bindButton(this, "已用索书号", "cmdUsed", QKeySequence(Qt::Key_F4));
    cmdClsMan = bindButton(this, "分类维护…", "cmdClsMan", QKeySequence("Ctrl+M"));
    cmdOk = bindButton(this, "确定", "cmdOk", QKeySequence::Save);
    cmdCancel = bindButton(this, "取消", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* form = new QFormLayout;
    form->addRow("记录号：", txtMarcRecNo);
    form->addRow("分类法：", cmbClsCode);
    form->addRow("著者：", txtAuthor);
    form->addRow("著者号表：", cmbAuthLang);
    form->addRow("索书号：", txtCallNo);
    form->addRow("借阅等级：", cmbLendGrad);
    form->addRow("流通类型：", cmbCircType);
    auto* keys = new QHBoxLayout;
    for (QPushButton* b : {cmdSerial, cmdAuthor, cmdUsed, cmdClsMan})
        keys->addWidget(b);
    keys->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(keys);
    layout->addWidget(lstUsed, 1);
    layout->addLayout(buttons);

    connect(cmdSerial, &QPushButton::clicked, this, &frmOldCreateCallNo::txtCallNo_F1);
    connect(cmdAuthor, &QPushButton::clicked, this, &frmOldCreateCallNo::txtCallNo_F2);
    connect(cmdUsed, &QPushButton::clicked, this, &frmOldCreateCallNo::txtCallNo_F4);
    connect(cmdClsMan, &QPushButton::clicked, this, &frmOldCreateCallNo::cmdClsMan_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmOldCreateCallNo::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(lstUsed, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { txtCallNo->setText(item->text()); });
}

ClassKey frmOldCreateCallNo::classKey() const {
    ClassKey k;
    k.docType = "11";
    k.clsId = t(cmbClsCode->currentData().toString());
    k.clsNo = strCallNoClass(t(txtCallNo->text()));
    return k;
}

void frmOldCreateCallNo::txtCallNo_F1() {
    ClassKey k = classKey();
    if (k.clsNo.empty()) {
        LIB_ShowMsg("E请先输入分类号。");
        return;
    }
    int serial = 0;
    if (intProposeClassSerial(k, serial) != 0) return;
    proposed_ = s(k.clsNo + strCallNoSeparator() + std::to_string(serial));
    txtCallNo->setText(proposed_);
    serialFrom_ = k;
}

void frmOldCreateCallNo::txtCallNo_F2() {
    std::string classNo = strCallNoClass(t(txtCallNo->text()));
    if (classNo.empty()) {
        LIB_ShowMsg("E请先输入分类号。");
        return;
    }
    std::string number = strAuthorNumber(t(txtAuthor->text()), cmbAuthLang->currentData().toBool());
    if (number.empty()) {
        LIB_ShowMsg("E著者号表中没有该著者。");
        return;
    }
    txtCallNo->setText(s(classNo + strCallNoSeparator() + number));
}

void frmOldCreateCallNo::txtCallNo_F4() {
    std::vector<std::string> used;
    lstUsed->clear();
    if (intUsedCallNos(strCallNoClass(t(txtCallNo->text())), used) < 0) return;
    for (const std::string& c : used)
        lstUsed->addItem(s(c));
}

void frmOldCreateCallNo::cmdClsMan_Click() {
    auto* series = new frmOldClassSerial(cmbClsCode->currentData().toString());
    series->setAttribute(Qt::WA_DeleteOnClose);
    series->show();
}

void frmOldCreateCallNo::setCirculation(const QString& lendGrade, const QString& circType) {
    chooseCirculation(cmbLendGrad, cmbCircType, lendGrade, circType);
}

void frmOldCreateCallNo::cmdOk_Click() {
    std::string callNo = t(txtCallNo->text());
    if (callNo.empty()) {
        LIB_ShowMsg("E索书号不能为空。");
        return;
    }
    // A proposed serial is taken now; a call number typed or edited by hand is kept as it is.
    bool serial = serialFrom_ && txtCallNo->text().trimmed() == proposed_;
    if (intConfirmCallNo(t(txtMarcRecNo->text()), callNo, serial ? &*serialFrom_ : nullptr) < 0)
        return;
    confirmed_ = s(callNo);
    txtCallNo->setText(confirmed_);
    serialFrom_.reset();
    emit callNoConfirmed(confirmed_, cmbLendGrad->currentData().toString(),
                         cmbCircType->currentData().toString());
    close();
}

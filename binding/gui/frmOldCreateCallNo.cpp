#include "binding/gui/frmOldCreateCallNo.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"

namespace {

std::string t(const QString& v) {
    return v.trimmed().toStdString();
}
QString s(const std::string& v) {
    return QString::fromStdString(v);
}

}  // namespace

frmOldCreateCallNo::frmOldCreateCallNo(const QString& marcRecNo, const QString& author,
                                       QWidget* parent)
    : QWidget(parent) {
    setObjectName("frmOldCreateCallNo");
    setWindowTitle("索书号");
    txtMarcRecNo = new QLineEdit(marcRecNo, this);
    txtMarcRecNo->setObjectName("txtMarcRecNo");
    cmbClsCode = new QComboBox(this);
    cmbClsCode->setObjectName("cmbClsCode");
    for (int r = 2; r < g_arrClassifica.rows(); ++r)
        cmbClsCode->addItem(s(g_arrClassifica(0, r).str() + " " + g_arrClassifica(1, r).str()),
                            s(g_arrClassifica(0, r).str()));
    txtAuthor = new QLineEdit(author, this);
    txtAuthor->setObjectName("txtAuthor");
    txtCallNo = new QLineEdit(this);
    txtCallNo->setObjectName("txtCallNo");
    txtCallNo->setPlaceholderText("分类号，F1 种次号，F2 著者号，F4 已用索书号");
    lstUsed = new QListWidget(this);
    lstUsed->setObjectName("lstUsed");
    auto button = [this](const char* text, const char* name, const QKeySequence& key) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        if (!key.isEmpty()) b->setShortcut(key);
        LIB_TipWithShortcut(b);
        return b;
    };
    cmdSerial = button("种次号", "cmdSerial", QKeySequence(Qt::Key_F1));
    cmdAuthor = button("著者号", "cmdAuthor", QKeySequence(Qt::Key_F2));
    cmdUsed = button("已用索书号", "cmdUsed", QKeySequence(Qt::Key_F4));
    cmdOk = button("确定", "cmdOk", QKeySequence::Save);
    cmdCancel = button("取消", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* form = new QFormLayout;
    form->addRow("记录号：", txtMarcRecNo);
    form->addRow("分类法：", cmbClsCode);
    form->addRow("著者：", txtAuthor);
    form->addRow("索书号：", txtCallNo);
    auto* keys = new QHBoxLayout;
    for (QPushButton* b : {cmdSerial, cmdAuthor, cmdUsed})
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
    std::string number = strAuthorNumber(t(txtAuthor->text()));
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
    emit callNoConfirmed(confirmed_);
    close();
}

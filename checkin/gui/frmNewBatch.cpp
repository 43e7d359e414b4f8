#include "checkin/gui/frmNewBatch.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "checkin/core/basChkConfig.h"
#include "common/gui/FilterRow.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

frmNewBatch::frmNewBatch(const ChkInOrderLine& line, const std::string& location, QWidget* parent)
    : QDialog(parent), line_(line), location_(location) {
    setObjectName("frmNewBatch");
    setWindowTitle("批量新增卷期");
    const char freq = chkFreqCode(line.publFreq);
    lblTitle = new QLabel(
        QString::fromStdString(line.title + "    " + line.key.asordNo + "    出版频率：" +
                               (freq ? chkFreqName(freq) : line.publFreq)),
        this);
    lblTitle->setObjectName("lblTitle");
    auto number = [this](const char* name, const char* tip, int min) {
        auto* b = new QSpinBox(this);
        b->setObjectName(name);
        b->setRange(min, 99999);
        b->setToolTip(tip);
        return b;
    };
    txtBegVol = number("txtBegVol", "起始卷（0 为无卷号）", 0);
    txtBegIssue = number("txtBegIssue", "起始期（0 为无期号）", 0);
    txtBegTotalIssue = number("txtBegTotalIssue", "起始总期（0 为无总期号）", 0);
    txtQtyOfVol = number("txtQtyOfVol", "每卷期数", 0);
    txtVolBegIssue = number("txtVolBegIssue", "期号连续时，首卷的首期", 0);
    txtCount = number("txtCount", "新增期数", 0);
    chkIssueContinue = new QCheckBox("期号跨卷连续", this);
    chkIssueContinue->setObjectName("chkIssueContinue");
    dtpFirstDate = LIB_DateEdit(this, "dtpFirstDate", LIB_ServerToday());
    dtpFirstDate->setToolTip("自此日起按出版频率排列应到日期：首期在此日或其后第一个出版日");
    connect(chkIssueContinue, &QCheckBox::toggled, txtVolBegIssue, &QWidget::setEnabled);

    auto* form = new QFormLayout;
    form->addRow("起始卷：", txtBegVol);
    form->addRow("起始期：", txtBegIssue);
    form->addRow("起始总期：", txtBegTotalIssue);
    form->addRow("每卷期数：", txtQtyOfVol);
    form->addRow("", chkIssueContinue);
    form->addRow("首卷首期：", txtVolBegIssue);
    form->addRow("起始日期：", dtpFirstDate);
    form->addRow("新增期数：", txtCount);

    cmdOk = new QPushButton("确定", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* save = new QAction(this);
    LIB_SetStdKey(save, StdKey::Save);
    addAction(save);
    cmdOk->setToolTip("新增卷期（回车、" + save->shortcut().toString(QKeySequence::NativeText) +
                      "）");
    cmdCancel->setToolTip("取消 (Esc)");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    connect(cmdOk, &QPushButton::clicked, this, &frmNewBatch::cmdOk_Click);
    connect(save, &QAction::triggered, this, &frmNewBatch::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    IssueBatch b;
    if (issueBatchDefaults(line_, b) < 0) LIB_DB_ShowError();
    txtBegVol->setValue(b.begVol);
    txtBegIssue->setValue(b.begIssue);
    txtBegTotalIssue->setValue(b.begTotal);
    txtQtyOfVol->setValue(b.perVol);
    txtVolBegIssue->setValue(b.volBegIssue);
    txtVolBegIssue->setEnabled(false);
    txtCount->setValue(b.count);
    const QDate first = QDate::fromString(QString::fromStdString(b.firstDate), "yyyy-MM-dd");
    if (first.isValid()) dtpFirstDate->setDate(first);
}

IssueBatch frmNewBatch::batch() const {
    IssueBatch b;
    b.begVol = txtBegVol->value();
    b.begIssue = txtBegIssue->value();
    b.begTotal = txtBegTotalIssue->value();
    b.perVol = txtQtyOfVol->value();
    b.issueContinue = chkIssueContinue->isChecked();
    b.volBegIssue = b.issueContinue ? txtVolBegIssue->value() : 0;
    b.count = txtCount->value();
    b.firstDate = dtpFirstDate->date().toString("yyyy-MM-dd").toStdString();
    return b;
}

void frmNewBatch::cmdOk_Click() {
    const int added = addIssueBatch(line_, location_, batch());
    if (added < 0) return;
    LIB_ShowMsg("I已新增 " + std::to_string(added) + " 期。");
    accept();
}

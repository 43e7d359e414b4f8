#include "checkin/gui/frmNewConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "common/gui/StdKeys.h"
#include "db/LibVar.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

constexpr const char* kDateFormat = "yyyy-MM-dd";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QLineEdit* numberBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), box));
    box->setMaximumWidth(90);
    return box;
}

QDateEdit* dateBox(QWidget* parent, const char* name) {
    auto* box = new QDateEdit(parent);
    box->setObjectName(name);
    box->setDisplayFormat(kDateFormat);
    box->setCalendarPopup(true);
    return box;
}

QComboBox* comboBox(QWidget* parent, const char* name, bool editable) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    box->setMinimumWidth(120);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(name);
    return box;
}

// An empty box counts as 0; the validator lets only digits through.
int number(const QLineEdit* box) {
    return static_cast<int>(LibVar(box->text().toStdString()).integer());
}

void setNumber(QLineEdit* box, int n) {
    box->setText(n == 0 ? QString() : QString::number(n));
}

std::string dateText(const QDateEdit* box) {
    return box->date().toString(kDateFormat).toStdString();
}

void setDate(QDateEdit* box, const std::string& text) {
    box->setDate(QDate::fromString(qs(text), kDateFormat));
}

std::string flag(const QCheckBox* box) {
    return box->isChecked() ? "1" : "0";
}

}  // namespace

frmNewConfig::frmNewConfig(const ChkOrderKey& key, const std::string& location, QWidget* parent)
    : QDialog(parent), key_(key), location_(location) {
    setObjectName("frmNewConfig");
    setWindowTitle(QString::fromUtf8(kChkConfigCaption));
    buildControls();
    loaded_ = Form_Load();
    cmdOk->setEnabled(loaded_);
    shownValues_ = LIB_ControlValues(this);
}

void frmNewConfig::reject() {
    if (loaded_ && LIB_ControlValues(this) != shownValues_) {
        switch (LIB_AskSave("签到设置已修改，是否保存？")) {
            case SaveChoice::Save:
                cmdOk_Click();
                return;
            case SaveChoice::Discard:
                break;
            case SaveChoice::Stay:
                return;
        }
    }
    QDialog::reject();
}

void frmNewConfig::buildControls() {
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setBold(true);
    lblTitle->setFont(big);
    lblTitle->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto* period = new QGroupBox(QString::fromUtf8("订购区间与预测"), this);
    dtpBeginDate = dateBox(period, "dtpBeginDate");
    dtpEndDate = dateBox(period, "dtpEndDate");
    dtpChkBgnDate = dateBox(period, "dtpChkBgnDate");
    txtFstReceDate = numberBox(period, "txtFstReceDate");
    cmbFstReceDate = comboBox(period, "cmbFstReceDate", false);
    cmbFstReceDate->setMinimumWidth(60);
    for (int d = 1; d <= 31; ++d)
        cmbFstReceDate->addItem(QString::number(d));
    txtQtyOfYear = numberBox(period, "txtQtyOfYear");
    txtDaysOfItems = numberBox(period, "txtDaysOfItems");
    auto* startDay = new QHBoxLayout;
    startDay->addWidget(txtFstReceDate);
    startDay->addWidget(cmbFstReceDate);
    startDay->addStretch();
    auto* p = new QFormLayout(period);
    p->addRow(QString::fromUtf8("订购起始日期"), dtpBeginDate);
    p->addRow(QString::fromUtf8("订购截止日期"), dtpEndDate);
    p->addRow(QString::fromUtf8("起始天数"), startDay);
    p->addRow(QString::fromUtf8("年出版期数"), txtQtyOfYear);
    p->addRow(QString::fromUtf8("签收起始日期"), dtpChkBgnDate);
    p->addRow(QString::fromUtf8("出版间隔天数"), txtDaysOfItems);

    auto* numbering = new QGroupBox(QString::fromUtf8("卷期"), this);
    txtBegVol = numberBox(numbering, "txtBegVol");
    txtBegIssue = numberBox(numbering, "txtBegIssue");
    txtBegTotalIssue = numberBox(numbering, "txtBegTotalIssue");
    txtQtyOfVol = numberBox(numbering, "txtQtyOfVol");
    chkIssueContinue = checkBox(numbering, "chkIssueContinue", "期号跨卷连续");
    txtVolBegIssue = numberBox(numbering, "txtVolBegIssue");
    chkLuoMa = checkBox(numbering, "chkLuoMa", "卷期用罗马数字");
    chkUnKnow = checkBox(numbering, "chkUnKnow", "卷期不详");
    auto* n = new QFormLayout(numbering);
    n->addRow(QString::fromUtf8("起始卷"), txtBegVol);
    n->addRow(QString::fromUtf8("起始期"), txtBegIssue);
    n->addRow(QString::fromUtf8("起始总期"), txtBegTotalIssue);
    n->addRow(QString::fromUtf8("每卷期数"), txtQtyOfVol);
    n->addRow(chkIssueContinue);
    n->addRow(QString::fromUtf8("首卷首期"), txtVolBegIssue);
    n->addRow(chkLuoMa);
    n->addRow(chkUnKnow);

    auto* claims = new QGroupBox(QString::fromUtf8("催缺"), this);
    chkAsLackYsno = checkBox(claims, "chkAsLackYsno", "需要催缺");
    txtDaysOfAslack = numberBox(claims, "txtDaysOfAslack");
    txtAslackSecond = numberBox(claims, "txtAslackSecond");
    txtAslackThird = numberBox(claims, "txtAslackThird");
    auto* c = new QFormLayout(claims);
    c->addRow(chkAsLackYsno);
    c->addRow(QString::fromUtf8("首次催缺天数"), txtDaysOfAslack);
    c->addRow(QString::fromUtf8("二次催缺天数"), txtAslackSecond);
    c->addRow(QString::fromUtf8("三次催缺天数"), txtAslackThird);

    auto* binding = new QGroupBox(QString::fromUtf8("装订与复本"), this);
    chkBindYsno = checkBox(binding, "chkBindYsno", "需要装订");
    txtBindItemQty = numberBox(binding, "txtBindItemQty");
    cmbColor = comboBox(binding, "cmbColor", true);
    cmbFrame = comboBox(binding, "cmbFrame", true);
    txtBindCopyQty = numberBox(binding, "txtBindCopyQty");
    txtPresCopyQty = numberBox(binding, "txtPresCopyQty");
    txtExchCopyQty = numberBox(binding, "txtExchCopyQty");
    txtIssueKeepQty = numberBox(binding, "txtIssueKeepQty");
    cmbBookSizeCode = comboBox(binding, "cmbBookSizeCode", false);
    auto* b = new QFormLayout(binding);
    b->addRow(chkBindYsno);
    b->addRow(QString::fromUtf8("每本期数"), txtBindItemQty);
    b->addRow(QString::fromUtf8("装订颜色"), cmbColor);
    b->addRow(QString::fromUtf8("装订样式"), cmbFrame);
    b->addRow(QString::fromUtf8("装订复本数"), txtBindCopyQty);
    b->addRow(QString::fromUtf8("赠送复本数"), txtPresCopyQty);
    b->addRow(QString::fromUtf8("交换复本数"), txtExchCopyQty);
    b->addRow(QString::fromUtf8("保留单期数"), txtIssueKeepQty);
    b->addRow(QString::fromUtf8("开本"), cmbBookSizeCode);

    auto* other = new QGroupBox(QString::fromUtf8("其它"), this);
    cmbAttachment = comboBox(other, "cmbAttachment", true);
    chkAutoUpdateLoca = checkBox(other, "chkAutoUpdateLoca", "自动更新订户");
    auto* o = new QFormLayout(other);
    o->addRow(QString::fromUtf8("附件"), cmbAttachment);
    o->addRow(chkAutoUpdateLoca);

    cmdOk = new QPushButton(QString::fromUtf8("确定"), this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdOk->setToolTip(QString::fromUtf8("保存配置并预测卷期 (Enter)"));
    cmdCancel = new QPushButton(QString::fromUtf8("取消"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setToolTip(QString::fromUtf8("关闭；有修改时先问是否保存 (Esc)"));

    auto* grid = new QGridLayout;
    grid->addWidget(period, 0, 0);
    grid->addWidget(numbering, 0, 1);
    grid->addWidget(claims, 1, 0);
    grid->addWidget(binding, 0, 2, 2, 1);
    grid->addWidget(other, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(lblTitle);
    main->addLayout(grid);
    main->addStretch();
    main->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &frmNewConfig::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox* box : {chkAsLackYsno, chkBindYsno, chkIssueContinue})
        connect(box, &QCheckBox::toggled, this, &frmNewConfig::enableGroups);
    // The drop-down is a quick pick of the start day.
    connect(cmbFstReceDate, &QComboBox::activated, this,
            [this](int i) { txtFstReceDate->setText(cmbFstReceDate->itemText(i)); });
}

bool frmNewConfig::Form_Load() {
    ChkConfigChoices choices;
    if (intLoadChkConfigChoices(choices) < 0) {
        LIB_DB_ShowError();
        return false;
    }
    for (const std::string& a : choices.attachments)
        cmbAttachment->addItem(qs(a));
    cmbBookSizeCode->addItem(QString(), QString());
    for (const auto& [code, name] : choices.bookSizes)
        cmbBookSizeCode->addItem(qs(name), qs(code));
    for (const std::string& v : choices.colors)
        cmbColor->addItem(qs(v));
    for (const std::string& v : choices.frames)
        cmbFrame->addItem(qs(v));

    const int found = intLoadChkConfig(key_, location_, form_);
    if (found < 0) {
        LIB_DB_ShowError();
        return false;
    }
    if (found == 1) {
        LIB_ShowMsg("E无该期刊订购信息，请重新查询！");
        return false;
    }
    showForm();
    enableByFrequency();
    enableGroups();
    return true;
}

void frmNewConfig::showForm() {
    const ChkOrderLine& l = form_.line;
    const ChkConfig& g = form_.cfg;
    const std::string freq = chkFreqName(form_.freqCode);
    lblTitle->setText(qs(form_.title + "  [" + key_.asordNo + "，" + LIB_LocationName(location_) +
                         "，" + (freq.empty() ? l.publFreq : freq) + "，订户复本 " +
                         std::to_string(form_.locationCopies) + "]"));
    setDate(dtpBeginDate, g.beginDate);
    setDate(dtpEndDate, g.endDate);
    setDate(dtpChkBgnDate, l.chkBgnDate);
    setNumber(txtFstReceDate, l.fstReceDate);
    if (l.fstReceDate >= 1 && l.fstReceDate <= 31)
        cmbFstReceDate->setCurrentIndex(l.fstReceDate - 1);
    setNumber(txtQtyOfYear, l.qtyOfYear);
    setNumber(txtDaysOfItems, l.daysOfItems);
    setNumber(txtBegVol, g.begVol);
    setNumber(txtBegIssue, g.begIssue);
    setNumber(txtBegTotalIssue, g.begTotalIssue);
    setNumber(txtQtyOfVol, l.qtyOfVol);
    chkIssueContinue->setChecked(g.issueContinue == "1");
    setNumber(txtVolBegIssue, g.volBegIssue);
    chkLuoMa->setChecked(form_.roman);
    chkUnKnow->setChecked(l.code1 == "1");
    chkAsLackYsno->setChecked(l.aslackYsno == "1");
    setNumber(txtDaysOfAslack, l.daysOfAslack);
    setNumber(txtAslackSecond, l.aslackSecond);
    setNumber(txtAslackThird, l.aslackThird);
    chkBindYsno->setChecked(g.bindYsno == "1");
    setNumber(txtBindItemQty, l.bindItemQty);
    cmbColor->setCurrentText(qs(g.color));
    cmbFrame->setCurrentText(qs(g.frame));
    setNumber(txtBindCopyQty, g.bindCopyQty);
    setNumber(txtPresCopyQty, g.presCopyQty);
    setNumber(txtExchCopyQty, g.exchCopyQty);
    setNumber(txtIssueKeepQty, g.issueKeepQty);
    cmbBookSizeCode->setCurrentIndex(std::max(0, cmbBookSizeCode->findData(qs(l.bookSizeCode))));
    cmbAttachment->setCurrentText(qs(l.attachment));
    chkAutoUpdateLoca->setChecked(g.autoUpdateLoca == "1");
}

void frmNewConfig::enableByFrequency() {
    const char code = form_.freqCode;
    const bool bySlot = chkStartDayEnabled(code);
    const bool oneIssue = code == 'u' || code == 'y';
    const bool other = code == 'z';
    txtFstReceDate->setEnabled(bySlot);
    cmbFstReceDate->setEnabled(bySlot);
    txtQtyOfYear->setEnabled(other);
    dtpChkBgnDate->setEnabled(!bySlot && !oneIssue);
    txtDaysOfItems->setEnabled(!bySlot);
    dtpBeginDate->setEnabled(!oneIssue && !other);
    dtpEndDate->setEnabled(!oneIssue && !other);
}

void frmNewConfig::enableGroups() {
    for (QWidget* w :
         {static_cast<QWidget*>(txtDaysOfAslack), static_cast<QWidget*>(txtAslackSecond),
          static_cast<QWidget*>(txtAslackThird)})
        w->setEnabled(chkAsLackYsno->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(txtBindItemQty), static_cast<QWidget*>(cmbColor),
                       static_cast<QWidget*>(cmbFrame)})
        w->setEnabled(chkBindYsno->isChecked());
    txtVolBegIssue->setEnabled(chkIssueContinue->isChecked());
}

ChkConfigForm frmNewConfig::readForm() const {
    ChkConfigForm f = form_;
    ChkOrderLine& l = f.line;
    ChkConfig& g = f.cfg;
    g.beginDate = dateText(dtpBeginDate);
    g.endDate = dateText(dtpEndDate);
    l.chkBgnDate = dateText(dtpChkBgnDate);
    l.fstReceDate = number(txtFstReceDate);
    l.qtyOfYear = number(txtQtyOfYear);
    l.daysOfItems = number(txtDaysOfItems);
    g.begVol = number(txtBegVol);
    g.begIssue = number(txtBegIssue);
    g.begTotalIssue = number(txtBegTotalIssue);
    l.qtyOfVol = number(txtQtyOfVol);
    g.issueContinue = flag(chkIssueContinue);
    g.volBegIssue = number(txtVolBegIssue);
    f.roman = chkLuoMa->isChecked();
    l.code1 = flag(chkUnKnow);
    l.aslackYsno = flag(chkAsLackYsno);
    l.daysOfAslack = number(txtDaysOfAslack);
    l.aslackSecond = number(txtAslackSecond);
    l.aslackThird = number(txtAslackThird);
    g.bindYsno = flag(chkBindYsno);
    l.bindItemQty = number(txtBindItemQty);
    g.color = cmbColor->currentText().trimmed().toStdString();
    g.frame = cmbFrame->currentText().trimmed().toStdString();
    g.bindCopyQty = number(txtBindCopyQty);
    g.presCopyQty = number(txtPresCopyQty);
    g.exchCopyQty = number(txtExchCopyQty);
    g.issueKeepQty = number(txtIssueKeepQty);
    l.bookSizeCode = cmbBookSizeCode->currentData().toString().toStdString();
    l.attachment = cmbAttachment->currentText().trimmed().toStdString();
    g.autoUpdateLoca = flag(chkAutoUpdateLoca);
    return f;
}

void frmNewConfig::cmdOk_Click() {
    if (!loaded_) return;
    if (intSaveChkConfig(readForm()) == 0) accept();
}

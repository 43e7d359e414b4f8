#include "checkin/gui/frmNewDetail.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "checkin/core/basChkDetail.h"
#include "common/basCodeFunc.h"
#include "common/gui/FilterRow.h"
#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

QString s(const std::string& v) {
    return QString::fromStdString(v);
}

std::string str(const QLineEdit* e) {
    return e->text().trimmed().toStdString();
}

QDate dateOf(const std::string& text, const QDate& fallback) {
    QDate d = QDate::fromString(s(text), "yyyy-MM-dd");
    return d.isValid() ? d : fallback;
}

QString copyState(const std::string& stat) {
    if (stat == "0") return "在签收处";
    if (stat == "1") return "已交接";
    return "已加工(" + s(stat) + ")";
}

// Types an operator gives an issue by hand; a combined issue is made by combining only.
const std::vector<std::string> kHandTypes = {"0", "1", "2", "3", "4"};

}  // namespace

frmNewDetail::frmNewDetail(const ChkInOrderLine& line, const ChkInLocation& location,
                           const std::string& periId, QWidget* parent)
    : QDialog(parent), line_(line), location_(location) {
    setObjectName("frmNewDetail");
    setWindowTitle(periId.empty() ? "新增卷期" : "卷期详细信息");
    detail_.issue.periId = periId;
    buildControls();
    loadIssue();
}

void frmNewDetail::buildControls() {
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setText(s(line_.title + "    " + line_.key.publCode + " " + line_.key.periOrdYear +
                        " " + line_.key.asordNo + "    订户：" + location_.location + " " +
                        LIB_LocationName(location_.location)));
    auto edit = [this](const char* name, const char* tip) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setToolTip(tip);
        return e;
    };
    txtVol = edit("txtVol", "卷");
    txtIssue = edit("txtIssue", "期");
    txtTotal = edit("txtTotal", "总期");
    txtPublYear = edit("txtPublYear", "出版年度（空则取应到日期的年份）");
    txtIssueTitle = edit("txtIssueTitle", "本期专题或增刊名称");
    txtAttachment = edit("txtAttachment", "随刊附件");
    txtRemark = edit("txtRemark", "备注");
    cmbPeriType = new QComboBox(this);
    cmbPeriType->setObjectName("cmbPeriType");
    for (const std::string& code : kHandTypes)
        cmbPeriType->addItem(s(strPeriTypeName(code)), s(code));
    const QDate today = LIB_ServerToday();
    auto date = [this, &today](const char* name) { return LIB_DateEdit(this, name, today); };
    dtpExpectDate = date("dtpExpectDate");
    dtpAslackDate = date("dtpAslackDate");
    dtpAslackDate->setToolTip("催缺日期：此日之后仍未到齐即可催缺");
    dtpChkDate = date("dtpChkDate");

    auto* numbers = new QHBoxLayout;
    for (auto [caption, e] : {std::pair{"卷", txtVol}, {"期", txtIssue}, {"总期", txtTotal}}) {
        numbers->addWidget(new QLabel(caption, this));
        numbers->addWidget(e);
    }
    auto* form = new QFormLayout;
    form->addRow("卷期：", numbers);
    form->addRow("期类型：", cmbPeriType);
    form->addRow("应到日期：", dtpExpectDate);
    form->addRow("催缺日期：", dtpAslackDate);
    form->addRow("出版年度：", txtPublYear);
    form->addRow("期名：", txtIssueTitle);
    form->addRow("附件：", txtAttachment);
    form->addRow("备注：", txtRemark);

    spdCopies = new QTableWidget(0, 2, this);
    spdCopies->setObjectName("spdCopies");
    spdCopies->setHorizontalHeaderLabels({"分配地", "复本数"});
    spdCopies->horizontalHeader()->setStretchLastSection(true);
    spdCopies->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    spdCopies->verticalHeader()->hide();
    spdCopies->setToolTip("各分配地的复本数：增加即签收，减少即删除在签收处的复本");
    LIB_EntryPaneKeys(spdCopies);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addLayout(form);
    leftLayout->addWidget(new QLabel("复本：", this));
    leftLayout->addWidget(spdCopies, 1);

    itemModel = new QStandardItemModel(0, 6, this);
    itemModel->setHorizontalHeaderLabels(
        {"类别", "分配地/经手人/读者", "复本号/数量", "状态/备注", "日期", "交接日期"});
    spdItemInfo = new QTableView(this);
    spdItemInfo->setObjectName("spdItemInfo");
    spdItemInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdItemInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    itemProxy = LIB_SetupGrid(spdItemInfo, itemModel, "frmNewDetail/spdItemInfo");
    spdItemInfo->horizontalHeader()->setStretchLastSection(true);

    txtAslackQty = new QSpinBox(this);
    txtAslackQty->setObjectName("txtAslackQty");
    txtAslackQty->setRange(0, 999);
    txtAslackQty->setSpecialValueText("缺几本催几本");
    txtAslackQty->setToolTip("催缺复本数；0 为缺少的复本数");
    txtAslackRemark = edit("txtAslackRemark", "催缺备注");
    lstReaders = new QListWidget(this);
    lstReaders->setObjectName("lstReaders");
    lstReaders->setMaximumHeight(140);
    lstReaders->setToolTip("勾选要通知的优先阅览者；有电子邮件地址的读者同时收到邮件");
    std::vector<PrioReader> readers;
    if (prioReaders(readers) < 0) LIB_DB_ShowError();
    for (const PrioReader& r : readers) {
        auto* item = new QListWidgetItem(
            s(r.code + " " + r.name + (r.email.empty() ? "" : "  <" + r.email + ">")), lstReaders);
        item->setData(Qt::UserRole, s(r.code));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    auto button = [this](const char* text, const char* name, const char* tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        return b;
    };
    cmdOk = button("保存", "cmdOk", "保存卷期及复本");
    cmdAslack = button("催缺", "cmdAslack", "按催缺规则为本期单独催缺");
    cmdFirstRead = button("优先阅览通知", "cmdFirstRead", "通知勾选的优先阅览者");
    cmdModifyDate = button("修改签收日期", "cmdModifyDate", "把本订户各复本的签收日期改为所选日期");
    cmdCancel = button("关闭", "cmdCancel", "关闭");
    auto* save = new QAction(this);
    LIB_SetStdKey(save, StdKey::Save);
    addAction(save);
    cmdOk->setToolTip(save->toolTip());
    auto* close = new QAction(this);
    LIB_SetStdKey(close, StdKey::Cancel);
    addAction(close);
    cmdCancel->setToolTip(close->toolTip());

    auto* claim = new QGroupBox("单期催缺", this);
    auto* claimLayout = new QHBoxLayout(claim);
    claimLayout->addWidget(new QLabel("复本数：", this));
    claimLayout->addWidget(txtAslackQty);
    claimLayout->addWidget(new QLabel("备注：", this));
    claimLayout->addWidget(txtAslackRemark, 1);
    claimLayout->addWidget(cmdAslack);
    auto* firstRead = new QGroupBox("优先阅览", this);
    auto* firstReadLayout = new QHBoxLayout(firstRead);
    firstReadLayout->addWidget(lstReaders, 1);
    firstReadLayout->addWidget(cmdFirstRead, 0, Qt::AlignBottom);
    auto* chkDate = new QGroupBox("签收日期", this);
    auto* chkDateLayout = new QHBoxLayout(chkDate);
    chkDateLayout->addWidget(dtpChkDate);
    chkDateLayout->addWidget(cmdModifyDate);
    chkDateLayout->addStretch();

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(spdItemInfo, 1);
    rightLayout->addWidget(claim);
    rightLayout->addWidget(firstRead);
    rightLayout->addWidget(chkDate);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(1100, 640);

    connect(cmdOk, &QPushButton::clicked, this, &frmNewDetail::cmdOk_Click);
    connect(save, &QAction::triggered, this, &frmNewDetail::cmdOk_Click);
    connect(cmdAslack, &QPushButton::clicked, this, &frmNewDetail::cmdAslack_Click);
    connect(cmdFirstRead, &QPushButton::clicked, this, &frmNewDetail::cmdFirstRead_Click);
    connect(cmdModifyDate, &QPushButton::clicked, this, &frmNewDetail::cmdModifyDate_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNewDetail::reject);
    connect(close, &QAction::triggered, this, &frmNewDetail::reject);
}

void frmNewDetail::loadIssue() {
    if (!detail_.issue.periId.empty()) {
        const int rc = loadIssueDetail(detail_.issue.periId, location_.location, detail_);
        if (rc < 0) LIB_DB_ShowError();
    }
    if (detail_.issue.periId.empty()) detail_.issue.periType = "1";
    showIssue();
    showItems();
}

void frmNewDetail::showIssue() {
    const IssueDraft& i = detail_.issue;
    txtVol->setText(s(i.coverVol));
    txtIssue->setText(s(i.coverIssue));
    txtTotal->setText(s(i.coverIssueTotal));
    txtPublYear->setText(s(i.publYear));
    txtIssueTitle->setText(s(i.issueTitle));
    txtAttachment->setText(s(i.attachment));
    txtRemark->setText(s(i.remark));
    int type = cmbPeriType->findData(s(i.periType));
    if (type < 0) {  // a combined issue keeps its own type
        cmbPeriType->addItem(s(strPeriTypeName(i.periType)), s(i.periType));
        type = cmbPeriType->count() - 1;
    }
    cmbPeriType->setCurrentIndex(type);
    const QDate today = LIB_ServerToday();
    dtpExpectDate->setDate(dateOf(i.expectDate, today));
    // A new issue's claim date follows from the line's claim days when it is saved.
    dtpAslackDate->setEnabled(!i.periId.empty());
    dtpAslackDate->setDate(dateOf(i.aslackDate, today));
    const bool saved = !i.periId.empty();
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdAslack, cmdFirstRead, cmdModifyDate, txtAslackQty,
                                         txtAslackRemark, lstReaders, dtpChkDate})
        w->setEnabled(saved);
    std::string firstChk;
    for (const IssueCopy& c : detail_.copies)
        if (firstChk.empty() || c.chkDate < firstChk) firstChk = c.chkDate;
    dtpChkDate->setDate(dateOf(firstChk.substr(0, 10), today));

    spdCopies->setRowCount(0);
    for (const ChkInDist& d : location_.dists) {
        int have = 0;
        for (const IssueCopy& c : detail_.copies)
            have += c.disLocation == d.distLoca;
        const int row = spdCopies->rowCount();
        spdCopies->insertRow(row);
        auto* name = new QTableWidgetItem(s(d.distLoca + " " + LIB_LocationName(d.distLoca)));
        name->setData(Qt::UserRole, s(d.distLoca));
        name->setFlags(Qt::ItemIsEnabled);
        spdCopies->setItem(row, 0, name);
        auto* count = new QTableWidgetItem;
        count->setData(Qt::EditRole, have);
        count->setToolTip(QString("分配 %1 本").arg(d.qty));
        spdCopies->setItem(row, 1, count);
    }
}

void frmNewDetail::showItems() {
    itemModel->removeRows(0, itemModel->rowCount());
    auto add = [this](const QStringList& cells) {
        QList<QStandardItem*> row;
        for (const QString& c : cells)
            row << new QStandardItem(c);
        itemModel->appendRow(row);
    };
    for (const IssueCopy& c : detail_.copies)
        add({"复本", s(c.disLocation + " " + LIB_LocationName(c.disLocation)),
             QString::number(c.itemNo), copyState(c.itemStat), s(c.chkDate), s(c.connDate)});
    for (const IssueClaim& c : detail_.claims)
        add({"催缺", s(c.worker), QString::number(c.qty), s(c.remark), s(c.date), {}});
    for (const IssueNotice& n : detail_.notices)
        add({"优先阅览", s(n.readerCode + " " + n.readerName), {}, {}, s(n.date), {}});
    fitColumnsUntilRemembered(spdItemInfo);
}

IssueDraft frmNewDetail::draft() const {
    IssueDraft d = detail_.issue;
    d.coverVol = str(txtVol);
    d.coverIssue = str(txtIssue);
    d.coverIssueTotal = str(txtTotal);
    d.publYear = str(txtPublYear);
    d.issueTitle = str(txtIssueTitle);
    d.attachment = str(txtAttachment);
    d.remark = str(txtRemark);
    d.periType = cmbPeriType->currentData().toString().toStdString();
    d.expectDate = dtpExpectDate->date().toString("yyyy-MM-dd").toStdString();
    if (!d.periId.empty())
        d.aslackDate = dtpAslackDate->date().toString("yyyy-MM-dd").toStdString();
    return d;
}

std::vector<IssueCopyCount> frmNewDetail::copyCounts() const {
    std::vector<IssueCopyCount> counts;
    for (int r = 0; r < spdCopies->rowCount(); ++r)
        counts.push_back({spdCopies->item(r, 0)->data(Qt::UserRole).toString().toStdString(),
                          std::max(0, spdCopies->item(r, 1)->data(Qt::EditRole).toInt())});
    return counts;
}

bool frmNewDetail::unsaved() const {
    const IssueDraft now = draft();
    const IssueDraft& was = detail_.issue;
    if (was.periId.empty())
        return !(now.coverVol.empty() && now.coverIssue.empty() && now.coverIssueTotal.empty());
    bool same =
        now.coverVol == was.coverVol && now.coverIssue == was.coverIssue &&
        now.coverIssueTotal == was.coverIssueTotal && now.publYear == was.publYear &&
        now.issueTitle == was.issueTitle && now.attachment == was.attachment &&
        now.remark == was.remark && now.periType == was.periType &&
        now.expectDate ==
            dateOf(was.expectDate, LIB_ServerToday()).toString("yyyy-MM-dd").toStdString() &&
        now.aslackDate ==
            dateOf(was.aslackDate, LIB_ServerToday()).toString("yyyy-MM-dd").toStdString();
    for (const IssueCopyCount& c : copyCounts()) {
        int have = 0;
        for (const IssueCopy& k : detail_.copies)
            have += k.disLocation == c.disLocation;
        same = same && have == c.copies;
    }
    return !same;
}

void frmNewDetail::cmdOk_Click() {
    IssueDraft d = draft();
    if (saveIssue(line_, location_.location, d, copyCounts()) != 0) return;
    changed_ = true;
    detail_.issue.periId = d.periId;
    setWindowTitle("卷期详细信息");
    loadIssue();
    LIB_ShowMsg("I数据成功保存！");
}

void frmNewDetail::cmdAslack_Click() {
    if (intClaimOneIssue(periId(), location_.location, txtAslackQty->value(),
                         str(txtAslackRemark)) != 0)
        return;
    changed_ = true;
    loadIssue();
}

void frmNewDetail::cmdFirstRead_Click() {
    std::vector<std::string> codes;
    for (int r = 0; r < lstReaders->count(); ++r)
        if (lstReaders->item(r)->checkState() == Qt::Checked)
            codes.push_back(lstReaders->item(r)->data(Qt::UserRole).toString().toStdString());
    if (intSendFirstRead(periId(), location_.location, codes) != 0) return;
    for (int r = 0; r < lstReaders->count(); ++r)
        lstReaders->item(r)->setCheckState(Qt::Unchecked);
    loadIssue();
}

void frmNewDetail::cmdModifyDate_Click() {
    if (intModifyCheckDate(periId(), location_.location,
                           dtpChkDate->date().toString("yyyy-MM-dd").toStdString()) != 0)
        return;
    changed_ = true;
    loadIssue();
}

void frmNewDetail::reject() {
    if (unsaved()) {
        switch (LIB_AskSave("卷期信息已修改，是否保存？")) {
            case SaveChoice::Save:
                cmdOk_Click();
                if (unsaved()) return;
                break;
            case SaveChoice::Discard:
                break;
            case SaveChoice::Stay:
                return;
        }
    }
    if (changed_)
        accept();
    else
        QDialog::reject();
}

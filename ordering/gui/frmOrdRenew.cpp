#include "ordering/gui/frmOrdRenew.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "ordering/gui/TextFileViewer.h"

namespace {

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QGroupBox* group(const QString& title, std::initializer_list<QWidget*> widgets) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    return box;
}

}  // namespace

frmOrdRenew::frmOrdRenew(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOrdRenew");
    setWindowTitle("期刊续订");
    cmbYear = named(new QComboBox, "cmbYear");
    lstPubLst = named(new QListWidget, "lstPubLst");
    lstPubLst->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* check = named(new QAction("全部选中", lstPubLst), "Check");
    auto* uncheck = named(new QAction("全部取消", lstPubLst), "UnCheck");
    lstPubLst->addAction(check);
    lstPubLst->addAction(uncheck);
    connect(check, &QAction::triggered, this, [this] { checkAll(true); });
    connect(uncheck, &QAction::triggered, this, [this] { checkAll(false); });
    lstPubLst->setToolTip("勾选要续订的发行商；右键菜单可全部选中或全部取消");

    optByYear = named(new QRadioButton("按年度续订（保留批次号）"), "optByYear");
    optNamed = named(new QRadioButton("续订到指定订购目录"), "optNamed");
    txtYearNew = named(new QLineEdit, "txtYearNew");
    txtYearNew->setPlaceholderText("新年度，如 2027");
    txtYearNew->setMaxLength(4);
    txtNewCata = named(new QLineEdit, "txtNewCata");
    txtNewCata->setPlaceholderText("年度批次，如 202701");
    txtNewCata->setMaxLength(6);
    optByYear->setChecked(true);
    auto* target = new QGroupBox("目标");
    auto* targetLayout = new QGridLayout(target);
    targetLayout->addWidget(optByYear, 0, 0);
    targetLayout->addWidget(txtYearNew, 0, 1);
    targetLayout->addWidget(optNamed, 1, 0);
    targetLayout->addWidget(txtNewCata, 1, 1);

    chkTypeNormal = named(new QCheckBox("正常刊"), "chkTypeNormal");
    chkTypeRenamed = named(new QCheckBox("改名刊"), "chkTypeRenamed");
    chkTypeCeased = named(new QCheckBox("停刊"), "chkTypeCeased");
    chkTypeStopped = named(new QCheckBox("停订刊"), "chkTypeStopped");
    chkTypeNormal->setChecked(true);
    chkTypeRenamed->setChecked(true);
    auto* types = new QGroupBox("续订的订购状态");
    auto* typesLayout = new QHBoxLayout(types);
    for (QCheckBox* c : {chkTypeNormal, chkTypeRenamed, chkTypeCeased, chkTypeStopped})
        typesLayout->addWidget(c);
    chkData = named(new QCheckBox("只续订新年度征订目录中有的刊"), "chkData");

    chkExist = named(new QCheckBox("预先决定，不再逐一询问"), "chkExist");
    optWayKeep = named(new QRadioButton("保留原有"), "optWayKeep");
    optWayReplace = named(new QRadioButton("删除原有"), "optWayReplace");
    optWayKeep->setChecked(true);
    auto* way = new QButtonGroup(this);
    way->addButton(optWayKeep);
    way->addButton(optWayReplace);
    optErrorNext = named(new QRadioButton("跳过出错的发行商，继续续订"), "optErrorNext");
    optErrorStop = named(new QRadioButton("停止续订"), "optErrorStop");
    optErrorNext->setChecked(true);
    auto* onError = new QButtonGroup(this);
    onError->addButton(optErrorNext);
    onError->addButton(optErrorStop);

    pbRenew = named(new QProgressBar, "pbRenew");
    pbRenew->setValue(0);
    lblProg = named(new QLabel, "lblProg");
    cmdOk = named(new QPushButton("开始续订"), "cmdOk");
    cmdAbort = named(new QPushButton("中止"), "cmdAbort");
    cmdCancel = named(new QPushButton("关闭"), "cmdCancel");
    cmdViewLog = named(new QPushButton("查看日志"), "cmdViewLog");
    cmdAbort->setToolTip("写完当前这组订购明细后停止；已复制的明细都是完整的");
    cmdOk->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("源年度"));
    left->addWidget(cmbYear);
    left->addWidget(new QLabel("发行商"));
    left->addWidget(lstPubLst, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(target);
    right->addWidget(types);
    right->addWidget(chkData);
    right->addWidget(group("新年度批次中已有的订购信息", {chkExist, optWayKeep, optWayReplace}));
    right->addWidget(group("出错时", {optErrorNext, optErrorStop}));
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdOk, cmdAbort, cmdViewLog, cmdCancel})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(pbRenew);
    layout->addWidget(lblProg);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &frmOrdRenew::run);
    connect(cmdAbort, &QPushButton::clicked, this, [this] { abort_ = true; });
    connect(cmdCancel, &QPushButton::clicked, this, &frmOrdRenew::reject);
    connect(cmdViewLog, &QPushButton::clicked, this, &frmOrdRenew::viewLog);
    connect(cmbYear, &QComboBox::currentTextChanged, this, [this](const QString& year) {
        loadPublishers();
        if (!year.isEmpty()) txtYearNew->setText(QString::number(year.toInt() + 1));
    });
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{optByYear, optNamed, chkExist})
        connect(b, &QAbstractButton::toggled, this, &frmOrdRenew::updateEnabled);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{cmdOk, cmdAbort, cmdViewLog})
        LIB_TipWithShortcut(b);

    std::vector<std::string> years;
    if (intRenewSourceYears(years) < 0) LIB_DB_ShowError();
    for (const std::string& y : years)
        cmbYear->addItem(QString::fromStdString(y));
    updateEnabled();
    resize(760, 560);
}

void frmOrdRenew::loadPublishers() {
    lstPubLst->clear();
    LibArray rows;
    if (cmbYear->currentText().isEmpty()) return;
    if (intRenewPublishers(cmbYear->currentText().toStdString(), rows) < 0) {
        LIB_DB_ShowError();
        return;
    }
    for (int r = 2; r < rows.rows(); ++r) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(rows(0, r).str() + "  " + rows(1, r).str()), lstPubLst);
        item->setData(Qt::UserRole, QString::fromStdString(rows(0, r).str()));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void frmOrdRenew::checkAll(bool on) {
    for (int i = 0; i < lstPubLst->count(); ++i)
        lstPubLst->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

RenewOptions frmOrdRenew::options() const {
    RenewOptions o;
    o.sourceYear = cmbYear->currentText().toStdString();
    for (int i = 0; i < lstPubLst->count(); ++i)
        if (lstPubLst->item(i)->checkState() == Qt::Checked)
            o.publs.push_back(lstPubLst->item(i)->data(Qt::UserRole).toString().toStdString());
    o.byYear = optByYear->isChecked();
    o.newYear = txtYearNew->text().trimmed().toStdString();
    o.newCata = txtNewCata->text().trimmed().toStdString();
    o.normal = chkTypeNormal->isChecked();
    o.renamed = chkTypeRenamed->isChecked();
    o.ceased = chkTypeCeased->isChecked();
    o.stopped = chkTypeStopped->isChecked();
    o.onlyOffered = chkData->isChecked();
    o.existing = !chkExist->isChecked()    ? RenewAnswer::Ask
                 : optWayKeep->isChecked() ? RenewAnswer::Keep
                                           : RenewAnswer::Replace;
    o.onError = optErrorStop->isChecked() ? RenewOnError::StopRun : RenewOnError::NextDistributor;
    return o;
}

void frmOrdRenew::updateEnabled() {
    const bool running = IsRenewRunning();
    for (QWidget* w : std::initializer_list<QWidget*>{
             cmbYear, lstPubLst, optByYear, optNamed, chkTypeNormal, chkTypeRenamed, chkTypeCeased,
             chkTypeStopped, chkData, chkExist, optErrorNext, optErrorStop, cmdCancel, cmdViewLog})
        w->setEnabled(!running);
    txtYearNew->setEnabled(!running && optByYear->isChecked());
    txtNewCata->setEnabled(!running && optNamed->isChecked());
    optWayKeep->setEnabled(!running && chkExist->isChecked());
    optWayReplace->setEnabled(!running && chkExist->isChecked());
    cmdAbort->setEnabled(running);
}

void frmOrdRenew::run() {
    const RenewOptions o = options();
    abort_ = false;
    pbRenew->setValue(0);
    lblProg->clear();
    // A second click during a run is refused by the core and must leave the screen as it is.
    const bool wasRunning = IsRenewRunning();
    intRenewOrders(o, result_, [this](const RenewProgress& p) { return showProgress(p); });
    if (wasRunning) return;
    updateEnabled();
    lblProg->setText(QString("续订目录 %1 个，复制订购明细 %2 条，保留原有 %3 条%4")
                         .arg(result_.catalogues)
                         .arg(result_.copied)
                         .arg(result_.kept)
                         .arg(result_.aborted ? "（已中止）"
                              : result_.failed ? QString("，出错目录 %1 个").arg(result_.failed)
                                               : QString()));
}

bool frmOrdRenew::showProgress(const RenewProgress& p) {
    updateEnabled();
    pbRenew->setMaximum(std::max(1, p.total));
    pbRenew->setValue(p.done);
    lblProg->setText(QString::fromStdString(p.text) + QString("  %1/%2").arg(p.done).arg(p.total));
    QApplication::processEvents();
    return !abort_;
}

void frmOrdRenew::viewLog() {
    auto* viewer = new TextFileViewer("续订日志", QString::fromStdString(strRenewLogPath()), this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

void frmOrdRenew::reject() {
    // Closing in the middle of a run stops it after the current group of details instead.
    if (IsRenewRunning()) {
        abort_ = true;
        return;
    }
    QDialog::reject();
}

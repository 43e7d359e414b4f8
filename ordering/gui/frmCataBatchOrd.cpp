#include "ordering/gui/frmCataBatchOrd.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "common/gui/Grid.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "ordering/core/AcqCodes.h"
#include "ordering/gui/TextFileViewer.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QComboBox* locationBox(const std::string& chosen = {}) {
    auto* box = new QComboBox;
    for (int r = 2; r < g_arrLocation.rows(); ++r)
        box->addItem(q(g_arrLocation(1, r).str()), q(g_arrLocation(0, r).str()));
    if (int i = box->findData(q(chosen)); i >= 0) box->setCurrentIndex(i);
    return box;
}

// Columns of the intake grid, as the record query gives them.
const char* const kRecordCaptions[] = {"单据号", "记录号",   "题名", "来源", "赠送交换对象", "国家",
                                       "征订号", "出版频率", "币种", "单价", "入藏日期"};

}  // namespace

frmCataBatchOrd::frmCataBatchOrd(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCataBatchOrd");
    setWindowTitle("批量订购");
    records_ = new QStandardItemModel(this);
    spdRecords = named(new QTableView, "spdRecords");
    GbkSortProxy* proxy = LIB_SetupGrid(spdRecords, records_, "ordering/batch/records");
    spdRecords->setSelectionBehavior(QAbstractItemView::SelectRows);

    cmbPubl = named(new QComboBox, "cmbPubl");
    if (g_arrPublisher.recordCount() == 0) LIB_LoadPublishers(4);
    for (int r = 2; r < g_arrPublisher.rows(); ++r)
        cmbPubl->addItem(q(g_arrPublisher(0, r).str() + "  " + g_arrPublisher(1, r).str()),
                         q(g_arrPublisher(0, r).str()));
    cmbYear = named(new QComboBox, "cmbYear");
    cmbYear->setEditable(true);
    cmbYear->setToolTip("未发订的年度批次，或输入新的年度批次（年份四位加批次两位）");
    optMuluExisting = named(new QRadioButton("使用已有订购目录"), "optMuluExisting");
    optMuluNew = named(new QRadioButton("新建订购目录"), "optMuluNew");
    optMuluExisting->setChecked(true);
    cmbSubscriber = named(locationBox(), "cmbSubscriber");
    cmbFundSrc = named(new QComboBox, "cmbFundSrc");
    txtCounts = named(new QLineEdit("1"), "txtCounts");
    chkCheck = named(new QCheckBox("签收"), "chkCheck");
    chkCheck->setChecked(true);
    spdDistLoca = named(new QTableWidget(0, 3), "spdDistLoca");
    spdDistLoca->setHorizontalHeaderLabels({"分配地", "分配数", "排架号"});
    spdDistLoca->horizontalHeader()->setStretchLastSection(true);
    LIB_EntryPaneKeys(spdDistLoca);
    cmdAddDist = named(new QPushButton("增加分配地"), "cmdAddDist");
    cmdDelDist = named(new QPushButton("删除分配地"), "cmdDelDist");
    pbTime = named(new QProgressBar, "pbTime");
    cmdOk = named(new QPushButton("批量订购"), "cmdOk");
    cmdCancel = named(new QPushButton("关闭"), "cmdCancel");
    cmdViewLog = named(new QPushButton("查看日志"), "cmdViewLog");

    auto* order = new QGroupBox("订购信息");
    auto* form = new QFormLayout(order);
    form->addRow("发行商", cmbPubl);
    auto* mulu = new QHBoxLayout;
    mulu->addWidget(optMuluExisting);
    mulu->addWidget(optMuluNew);
    form->addRow("年度批次", cmbYear);
    form->addRow("", mulu);
    form->addRow("订户", cmbSubscriber);
    form->addRow("经费项目", cmbFundSrc);
    form->addRow("复本数", txtCounts);
    form->addRow("", chkCheck);
    auto* distButtons = new QHBoxLayout;
    distButtons->addWidget(cmdAddDist);
    distButtons->addWidget(cmdDelDist);
    distButtons->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(order);
    right->addWidget(spdDistLoca, 1);
    right->addLayout(distButtons);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("赠送交换记录（勾选要订购的记录）"));
    left->addWidget(LIB_GridFilterBox(proxy, this));
    left->addWidget(spdRecords, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pbTime, 1);
    for (QPushButton* b : {cmdOk, cmdViewLog, cmdCancel})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(cmbPubl, &QComboBox::currentIndexChanged, this, &frmCataBatchOrd::loadBatches);
    connect(cmbSubscriber, &QComboBox::currentIndexChanged, this, &frmCataBatchOrd::loadFunds);
    connect(cmdAddDist, &QPushButton::clicked, this,
            [this] { addDistLine(cmbSubscriber->currentData().toString().toStdString(), "1"); });
    connect(cmdDelDist, &QPushButton::clicked, this, [this] {
        if (spdDistLoca->currentRow() >= 0) spdDistLoca->removeRow(spdDistLoca->currentRow());
    });
    connect(chkCheck, &QCheckBox::toggled, spdDistLoca, &QWidget::setEnabled);
    connect(cmdOk, &QPushButton::clicked, this, &frmCataBatchOrd::run);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCataBatchOrd::reject);
    connect(cmdViewLog, &QPushButton::clicked, this, &frmCataBatchOrd::viewLog);
    loadRecords();
    loadBatches();
    loadFunds();
    resize(1100, 620);
}

void frmCataBatchOrd::loadRecords() {
    records_->clear();
    LibArray rows;
    if (intGetBatchOrdRecords(rows) < 0) {
        LIB_DB_ShowError();
        return;
    }
    QStringList captions;
    for (const char* c : kRecordCaptions)
        captions << c;
    records_->setHorizontalHeaderLabels(captions);
    // Currencies by their names and partners with their kind, from the acquisitions lists.
    std::vector<AcqCode> money;
    if (intGetAcqMoneyTypes(money) < 0) LIB_DB_ShowError();
    for (int r = 2; r < rows.rows(); ++r) {
        QList<QStandardItem*> line;
        for (int c = 0; c < static_cast<int>(std::size(kRecordCaptions)); ++c) {
            std::string text = rows(c, r).str();
            if (c == 3) text = text == "1" ? "换入" : "受赠";
            if (c == 4) {
                const std::string kind = strAcqName(AcqPartnerKinds(), rows(11, r).str());
                if (!kind.empty()) text += "（" + kind + "）";
            }
            if (c == 8 && !strAcqName(money, text).empty()) text = strAcqName(money, text);
            auto* item = new QStandardItem(q(text));
            item->setEditable(false);
            line << item;
        }
        line[0]->setCheckable(true);
        line[0]->setData(q(rows(0, r).str()), Qt::UserRole);
        records_->appendRow(line);
    }
    spdRecords->resizeColumnsToContents();
}

void frmCataBatchOrd::loadBatches() {
    const QString typed = cmbYear->currentText();
    cmbYear->clear();
    std::vector<std::string> years;
    if (intGetUnsentBatches(cmbPubl->currentData().toString().toStdString(), years) < 0)
        LIB_DB_ShowError();
    for (const std::string& y : years)
        cmbYear->addItem(q(y));
    if (years.empty()) cmbYear->setEditText(typed);
}

void frmCataBatchOrd::loadFunds() {
    cmbFundSrc->clear();
    LibArray rows;
    if (intGetSubscriberFunds(cmbSubscriber->currentData().toString().toStdString(), rows) < 0) {
        LIB_DB_ShowError();
        return;
    }
    for (int r = 2; r < rows.rows(); ++r)
        cmbFundSrc->addItem(q(rows(1, r).str()), q(rows(0, r).str()));
}

void frmCataBatchOrd::tickRecords(const std::vector<std::string>& docIds) {
    for (int r = 0; r < records_->rowCount(); ++r)
        for (const std::string& id : docIds)
            if (records_->item(r, 0)->data(Qt::UserRole).toString() == q(id))
                records_->item(r, 0)->setCheckState(Qt::Checked);
}

void frmCataBatchOrd::addDistLine(const std::string& location, const std::string& copies,
                                  const std::string& label) {
    const int row = spdDistLoca->rowCount();
    spdDistLoca->insertRow(row);
    spdDistLoca->setCellWidget(row, 0, locationBox(location));
    spdDistLoca->setItem(row, 1, new QTableWidgetItem(q(copies)));
    spdDistLoca->setItem(row, 2, new QTableWidgetItem(q(label)));
}

BatchOrdRequest frmCataBatchOrd::request() const {
    BatchOrdRequest r;
    r.publ = cmbPubl->currentData().toString().toStdString();
    r.year = cmbYear->currentText().trimmed().toStdString();
    r.newCata = optMuluNew->isChecked();
    r.subscriber = cmbSubscriber->currentData().toString().toStdString();
    r.fundSrc = cmbFundSrc->currentData().toString().toStdString();
    r.counts = txtCounts->text().trimmed().toStdString();
    r.checkIn = chkCheck->isChecked();
    auto text = [this](int row, int col) {
        QTableWidgetItem* item = spdDistLoca->item(row, col);
        return item ? item->text().trimmed().toStdString() : std::string();
    };
    if (r.checkIn)
        for (int row = 0; row < spdDistLoca->rowCount(); ++row) {
            auto* box = qobject_cast<QComboBox*>(spdDistLoca->cellWidget(row, 0));
            r.dists.push_back({box ? box->currentData().toString().toStdString() : "", text(row, 1),
                               text(row, 2)});
        }
    for (int row = 0; row < records_->rowCount(); ++row)
        if (records_->item(row, 0)->checkState() == Qt::Checked)
            r.docIds.push_back(records_->item(row, 0)->data(Qt::UserRole).toString().toStdString());
    return r;
}

void frmCataBatchOrd::run() {
    const BatchOrdRequest r = request();
    pbTime->setValue(0);
    const int rc = intBatchOrder(r, result_, [this](int done, int total) {
        pbTime->setMaximum(std::max(1, total));
        pbTime->setValue(done);
        QApplication::processEvents();
    });
    if (rc == 1) return;
    loadRecords();
    loadBatches();
    if (rc < 0) viewLog();
}

void frmCataBatchOrd::viewLog() {
    auto* viewer = new TextFileViewer("批量订购日志", q(strBatchOrdLogPath()), this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

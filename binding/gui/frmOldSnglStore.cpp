#include "binding/gui/frmOldSnglStore.h"

#include "binding/gui/BindGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "binding/gui/StoreEntryPane.h"
#include "binding/gui/frmOldStoreBatch.h"
#include "common/basCodeFunc.h"
#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

frmOldSnglStore::frmOldSnglStore(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldSnglStore");
    setWindowTitle("单册登录入藏");
    txtFind = new QLineEdit(this);
    txtFind->setObjectName("txtFind");
    txtFind->setPlaceholderText("刊名");
    cmbYear = new QComboBox(this);
    cmbYear->setObjectName("cmbYear");
    cmbYear->addItem("<全部年度>", QString());
    BindChoices choices;
    intLoadBindChoices(choices);
    for (const std::string& y : choices.years)
        cmbYear->addItem(s(y), s(y));
    spdTitle = BindGrid::make(this, "spdTitle",
                              {"刊名", "刊号", "订购年", "订购号", "订户", "分配地", "可入藏册数"},
                              "frmOldSnglStore/spdTitle");
    spdCopy = BindGrid::make(this, "spdCopy", {"卷期", "出版年", "复本", "状态", "财产号"},
                             "frmOldSnglStore/spdCopy");
    storePane = new StoreEntryPane(1, this);
    cmdFind = bindButton(this, "查询", "cmdFind", QKeySequence(Qt::Key_F5));
    cmdStore = bindButton(this, "入藏", "cmdStore", QKeySequence::Save);
    cmdUndo = bindButton(this, "撤销入藏", "cmdUndo");
    cmdBatch = bindButton(this, "验收批次…", "cmdBatch", QKeySequence("Ctrl+B"));
    cmdCancel = bindButton(this, "退出", "cmdCancel", QKeySequence(Qt::Key_Escape));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("刊名：", this));
    top->addWidget(txtFind, 1);
    top->addWidget(new QLabel("出版年：", this));
    top->addWidget(cmbYear);
    top->addWidget(cmdFind);
    auto* grids = new QSplitter(Qt::Vertical, this);
    grids->setObjectName("splGrids");
    grids->addWidget(spdTitle.view);
    grids->addWidget(spdCopy.view);
    auto* side = new QVBoxLayout;
    side->addWidget(storePane);
    for (QPushButton* b : {cmdStore, cmdUndo, cmdBatch})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(cmdCancel);
    auto* body = new QHBoxLayout;
    body->addWidget(grids, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    connect(cmdFind, &QPushButton::clicked, this, &frmOldSnglStore::cmdFind_Click);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmOldSnglStore::cmdFind_Click);
    connect(cmdStore, &QPushButton::clicked, this, &frmOldSnglStore::cmdStore_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &frmOldSnglStore::cmdUndo_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdBatch, &QPushButton::clicked, this, [this] {
        auto* batches = new frmOldStoreBatch(1);
        batches->setAttribute(Qt::WA_DeleteOnClose);
        connect(batches, &frmOldStoreBatch::batchesChanged, storePane,
                &StoreEntryPane::loadBatches);
        batches->show();
    });
    connect(spdTitle.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmOldSnglStore::showCopies);
}

void frmOldSnglStore::subStoreBatch(const QString& batchNo) {
    storePane->loadBatches();
    if (!storePane->selectBatch(batchNo)) LIB_ShowMsg("E验收批次不存在，请先选择验收批次！");
}

void frmOldSnglStore::cmdFind_Click() {
    BindSearch search;
    search.text = t(txtFind->text());
    search.year = t(cmbYear->currentData().toString());
    titles_.clear();
    intFindBindTitles(search, titles_);
    std::vector<QStringList> rows;
    for (const BindTitle& b : titles_)
        rows.push_back({s(b.title), s(b.publCode), s(b.periOrdYear), s(b.asordNo),
                        s(LIB_LocationName(b.location)), s(LIB_LocationName(b.disLocation)),
                        QString::number(b.copies)});
    spdTitle.setRows(rows);
    if (!titles_.empty()) spdTitle.selectRow(0);
    showCopies();
}

void frmOldSnglStore::showCopies() {
    int row = spdTitle.currentRow();
    copies_.clear();
    if (row >= 0) intListSingleCopies(titles_[row], t(cmbYear->currentData().toString()), copies_);
    storePane->setRecord(row >= 0 ? s(titles_[row].marcRecNo) : QString());
    std::vector<QStringList> rows;
    for (const SingleCopy& c : copies_)
        rows.push_back({s(c.copy.coverVol + "(" + c.copy.coverIssue + ")"), s(c.copy.publYear),
                        QString::number(c.copy.itemNo), c.itemStat == "4" ? "已入藏" : "可入藏",
                        s(c.propNo)});
    spdCopy.setRows(rows);
}

const SingleCopy* frmOldSnglStore::currentCopy() const {
    int row = spdCopy.currentRow();
    return row >= 0 && row < static_cast<int>(copies_.size()) ? &copies_[row] : nullptr;
}

void frmOldSnglStore::cmdStore_Click() {
    const SingleCopy* c = currentCopy();
    if (!c || c->itemStat == "4") {
        LIB_ShowMsg("E请选择要入藏的单册。");
        return;
    }
    StoreEntry e = storePane->entry();
    if (intStoreSingle(storePane->batchNo(), c->copy, e) < 0) return;
    int row = spdCopy.currentRow();
    storePane->next();
    showCopies();
    if (row + 1 < static_cast<int>(copies_.size())) spdCopy.selectRow(row + 1);
}

void frmOldSnglStore::cmdUndo_Click() {
    const SingleCopy* c = currentCopy();
    if (!c || c->propNo.empty()) {
        LIB_ShowMsg("E请选择已入藏的单册。");
        return;
    }
    if (intUndoStore(c->propNo) == 0) {
        storePane->next();
        showCopies();
    }
}

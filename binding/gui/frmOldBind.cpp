#include "binding/gui/frmOldBind.h"

#include "binding/gui/BindGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "binding/core/BindList.h"
#include "binding/gui/frmOldBindBatch.h"
#include "binding/gui/frmOldBindBound.h"
#include "checkin/core/basChkDetail.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/PrintPreview.h"
#include "common/gui/StdKeys.h"
#include "common/print/ListPrint.h"
#include "db/basLibMsg.h"

using bindtext::s;
using bindtext::t;

namespace {

QString money(double v) {
    return QString::number(v, 'f', 2);
}
const char* const kFlagNames[] = {"在装订", "已验收", "已入藏"};

}  // namespace

frmOldBind::frmOldBind(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOldBind");
    setWindowTitle("期刊装订");
    intLoadBindChoices(choices_);

    cmbIdxGrp = new QComboBox(this);
    cmbIdxGrp->setObjectName("cmbIdxGrp");
    fillCodeCombo(cmbIdxGrp, choices_.groups);
    cmbIdxGrp->addItem("刊号", "publ");
    cmbIdxGrp->addItem("订购号", "asord");
    txtFind = new QLineEdit(this);
    txtFind->setObjectName("txtFind");
    txtFind->setPlaceholderText("查询内容");
    cmbYear = new QComboBox(this);
    cmbYear->setObjectName("cmbYear");
    cmbYear->addItem("<全部年度>", QString());
    for (const std::string& y : choices_.years)
        cmbYear->addItem(s(y), s(y));
    // Last year's issues are the ones usually bound.
    int lastYear = QString::fromStdString(LIB_GetSysInfo(1).str()).left(4).toInt() - 1;
    cmbYear->setCurrentIndex(std::max(0, cmbYear->findData(QString::number(lastYear))));
    chkKeep = new QCheckBox("扣除保留期数", this);
    chkKeep->setObjectName("chkKeep");
    lstLoca = new QListWidget(this);
    lstLoca->setObjectName("lstLoca");
    for (const std::string& d : choices_.disLocations) {
        auto* item = new QListWidgetItem(s(d + " " + LIB_LocationName(d)), lstLoca);
        item->setData(Qt::UserRole, s(d));
        item->setCheckState(Qt::Checked);
    }
    lstLoca->setMaximumWidth(160);
    lstLoca->setToolTip("只列出勾选的分配地");

    cmbBinder = new QComboBox(this);
    cmbBinder->setObjectName("cmbBinder");
    fillCodeCombo(cmbBinder, choices_.binders);
    cmbBatch = new QComboBox(this);
    cmbBatch->setObjectName("cmbBatch");
    cmbBatch->setMinimumWidth(120);
    cmbBindNum = new QComboBox(this);
    cmbBindNum->setObjectName("cmbBindNum");
    cmbBindNum->addItem("", QVariant());
    cmbBindNum->addItem("扣除保留期数", true);
    cmbBindNum->addItem("全部单刊", false);
    cmbBindNum->setToolTip("装订单刊：是否留下保留期数不装订");
    txtBindNum = new QSpinBox(this);
    txtBindNum->setObjectName("txtBindNum");
    txtBindNum->setRange(0, 99);
    txtBindNum->setValue(1);
    txtBindNum->setToolTip("装订复本数：每段单刊生成几本合订本");

    spdTitle = BindGrid::make(this, "spdTitle",
                              {"选择", "刊名", "可装订期数", "可装订册数", "订户", "分配地", "刊号",
                               "订购年", "订购号", "记录号"},
                              "frmOldBind/spdTitle");
    spdSingle = BindGrid::make(this, "spdSingle",
                               {"卷期", "出版年", "期类型", "总期号", "可装订册数", "单价"},
                               "frmOldBind/spdSingle");
    spdBind = BindGrid::make(this, "spdBind",
                             {"装订号", "书脊题名", "起止年度", "起止卷期", "期数", "状态",
                              "索书号", "开本", "合订本价格", "装订价格", "装订名"},
                             "frmOldBind/spdBind");
    spdPrint = BindGrid::make(this, "spdPrint", {"卷期", "出版年", "订户", "分配地", "复本"},
                              "frmOldBind/spdPrint");
    spdBind.view->setSelectionMode(QAbstractItemView::ExtendedSelection);

    dsBind = new QToolBar(this);
    dsBind->setObjectName("dsBind");
    dsBind->setToolButtonStyle(Qt::ToolButtonTextOnly);
    actFind = bindCommand(this, "查询", "actFind");
    LIB_SetStdKey(actFind, StdKey::Refresh);
    actCreate = bindCommand(this, "生成合订本", "actCreate", QKeySequence("Ctrl+G"));
    actSave = bindCommand(this, "保存", "actSave");
    LIB_SetStdKey(actSave, StdKey::Save);
    actDelete = bindCommand(this, "删除合订本", "actDelete");
    LIB_SetStdKey(actDelete, StdKey::Delete);
    actBatch = bindCommand(this, "装订批次", "actBatch", QKeySequence("Ctrl+B"));
    actReceive = bindCommand(this, "验收入藏", "actReceive", QKeySequence("Ctrl+R"));
    actPrint = bindCommand(this, "打印", "actPrint", QKeySequence::Print);
    actPdf = bindCommand(this, "PDF", "actPdf");
    actClose = bindCommand(this, "退出", "actClose");
    LIB_SetStdKey(actClose, StdKey::Cancel);
    for (QAction* a :
         {actFind, actCreate, actSave, actDelete, actBatch, actReceive, actPrint, actPdf, actClose})
        dsBind->addAction(a);
    dsSingle = new QToolBar(this);
    dsSingle->setObjectName("dsSingle");
    dsSingle->setToolButtonStyle(Qt::ToolButtonTextOnly);
    actAdd = bindCommand(this, "加入合订本", "actAdd", QKeySequence("Ctrl+Ins"));
    actRemove = bindCommand(this, "移出单刊", "actRemove", QKeySequence("Ctrl+Del"));
    actCut = bindCommand(this, "剪切单刊", "actCut", QKeySequence::Cut);
    actPaste = bindCommand(this, "粘贴单刊", "actPaste", QKeySequence::Paste);
    for (QAction* a : {actAdd, actRemove, actCut, actPaste})
        dsSingle->addAction(a);

    auto line = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    txtSpineTitle = line("txtSpineTitle");
    txtBgnEndYear = line("txtBgnEndYear");
    txtBgnEndVol = line("txtBgnEndVol");
    txtColor = line("txtColor");
    txtFrame = line("txtFrame");
    txtCallNo = line("txtCallNo");
    txtRemark = line("txtRemark");
    cmbBookSize = new QComboBox(this);
    cmbBookSize->setObjectName("cmbBookSize");
    fillCodeCombo(cmbBookSize, choices_.bookSizes, "");
    txtBoundPrice = new QDoubleSpinBox(this);
    txtBoundPrice->setObjectName("txtBoundPrice");
    txtBoundPrice->setRange(0, 99999);

    // Layout: the search and creation bars on top; titles and their issues on the left, the
    // batch's records, the current record's copies and its fields on the right.
    auto* search = new QHBoxLayout;
    search->addWidget(cmbIdxGrp);
    search->addWidget(txtFind, 1);
    search->addWidget(new QLabel("出版年：", this));
    search->addWidget(cmbYear);
    search->addWidget(chkKeep);
    search->addSpacing(16);
    search->addWidget(new QLabel("装订商：", this));
    search->addWidget(cmbBinder);
    search->addWidget(new QLabel("批次：", this));
    search->addWidget(cmbBatch);
    search->addWidget(new QLabel("装订单刊：", this));
    search->addWidget(cmbBindNum);
    search->addWidget(new QLabel("复本数：", this));
    search->addWidget(txtBindNum);

    auto* left = new QSplitter(Qt::Vertical, this);
    left->setObjectName("splLeft");
    auto* titleRow = new QSplitter(Qt::Horizontal, left);
    titleRow->addWidget(lstLoca);
    titleRow->addWidget(spdTitle.view);
    titleRow->setStretchFactor(1, 1);
    auto* singlePane = new QWidget(left);
    auto* singleLayout = new QVBoxLayout(singlePane);
    singleLayout->setContentsMargins(0, 0, 0, 0);
    singleLayout->addWidget(dsSingle);
    singleLayout->addWidget(spdSingle.view);
    left->addWidget(titleRow);
    left->addWidget(singlePane);

    auto* recordPane = new QWidget(this);
    auto* form = new QFormLayout(recordPane);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("书脊题名：", txtSpineTitle);
    form->addRow("起止年度：", txtBgnEndYear);
    form->addRow("起止卷期：", txtBgnEndVol);
    form->addRow("开本：", cmbBookSize);
    form->addRow("装订价格：", txtBoundPrice);
    form->addRow("颜色：", txtColor);
    form->addRow("装帧：", txtFrame);
    form->addRow("索书号：", txtCallNo);
    form->addRow("备注：", txtRemark);
    auto* copiesAndRecord = new QSplitter(Qt::Horizontal, this);
    copiesAndRecord->addWidget(spdPrint.view);
    copiesAndRecord->addWidget(recordPane);
    auto* right = new QSplitter(Qt::Vertical, this);
    right->setObjectName("splRight");
    right->addWidget(spdBind.view);
    right->addWidget(copiesAndRecord);
    right->setStretchFactor(0, 2);
    right->setStretchFactor(1, 1);
    auto* main = new QSplitter(Qt::Horizontal, this);
    main->setObjectName("splMain");
    main->addWidget(left);
    main->addWidget(right);
    main->setStretchFactor(0, 1);
    main->setStretchFactor(1, 1);
    for (QSplitter* sp : {left, right, main})
        LIB_RememberSplitter(sp, "frmOldBind/" + sp->objectName());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dsBind);
    layout->addLayout(search);
    layout->addWidget(main, 1);

    connect(actFind, &QAction::triggered, this, &frmOldBind::cmdFind_Click);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmOldBind::cmdFind_Click);
    connect(actCreate, &QAction::triggered, this, &frmOldBind::cmdCreate_Click);
    connect(actSave, &QAction::triggered, this, &frmOldBind::cmdSave_Click);
    connect(actDelete, &QAction::triggered, this, &frmOldBind::cmdDelete_Click);
    connect(actAdd, &QAction::triggered, this, &frmOldBind::cmdAdd_Click);
    connect(actRemove, &QAction::triggered, this, &frmOldBind::cmdRemove_Click);
    connect(actCut, &QAction::triggered, this, &frmOldBind::cmdCut_Click);
    connect(actPaste, &QAction::triggered, this, &frmOldBind::cmdPaste_Click);
    connect(actPrint, &QAction::triggered, this, [this] { printedListPreview(listHtml(), this); });
    connect(actPdf, &QAction::triggered, this, [this] {
        QString path =
            LIB_SaveFileName(this, "保存装订清单", "bindlist", "装订清单.pdf", "PDF (*.pdf)");
        if (!path.isEmpty() && !printToPdf(path))
            LIB_ShowMsg("E无法写入文件：" + path.toStdString());
    });
    connect(actBatch, &QAction::triggered, this, [this] {
        auto* batches = new frmOldBindBatch(cmbBinder->currentData().toString());
        batches->setAttribute(Qt::WA_DeleteOnClose);
        connect(batches, &QObject::destroyed, this, &frmOldBind::loadBatches);
        batches->show();
    });
    connect(actReceive, &QAction::triggered, this, [this] {
        const BindRecord* r = currentRecord();
        if (!r) {
            LIB_ShowMsg("E合订本不能为空。");
            return;
        }
        auto* bound = new frmOldBindBound(s(r->bindNo));
        bound->setAttribute(Qt::WA_DeleteOnClose);
        connect(bound, &QObject::destroyed, this, &frmOldBind::loadRecords);
        bound->show();
    });
    connect(actClose, &QAction::triggered, this, &QWidget::close);
    connect(lstLoca, &QListWidget::itemChanged, this, &frmOldBind::showTitles);
    connect(cmbBinder, &QComboBox::currentIndexChanged, this, [this] {
        loadBatches();
        refreshPrice();
    });
    connect(cmbBatch, &QComboBox::currentIndexChanged, this, &frmOldBind::loadRecords);
    connect(spdTitle.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmOldBind::showIssues);
    connect(spdBind.view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmOldBind::showRecord);
    connect(cmbBookSize, &QComboBox::activated, this, &frmOldBind::refreshPrice);
    loadBatches();
}

void frmOldBind::dsBind_CommandClick(int index) {
    QList<QAction*> actions = dsBind->actions();
    if (index >= 0 && index < actions.size()) actions[index]->trigger();
}

int frmOldBind::intFindText(const QString& text) {
    spdTitle.proxy->setFilterFixedString(text);
    return spdTitle.proxy->rowCount();
}

void frmOldBind::cmdFind_Click() {
    BindSearch search;
    QString by = cmbIdxGrp->currentData().toString();
    search.field = by == "publ"    ? BindSearchField::PublCode
                   : by == "asord" ? BindSearchField::AsordNo
                                   : BindSearchField::IndexGroup;
    search.group = t(by);
    search.text = t(txtFind->text());
    search.year = t(cmbYear->currentData().toString());
    search.keep = chkKeep->isChecked();
    found_.clear();
    intFindBindTitles(search, found_);
    showTitles();
}

void frmOldBind::showTitles() {
    std::set<std::string> shown;
    for (int i = 0; i < lstLoca->count(); ++i)
        if (lstLoca->item(i)->checkState() == Qt::Checked)
            shown.insert(t(lstLoca->item(i)->data(Qt::UserRole).toString()));
    titles_.clear();
    std::vector<QStringList> rows;
    for (const BindTitle& b : found_) {
        if (lstLoca->count() > 0 && !shown.count(b.disLocation)) continue;
        titles_.push_back(b);
        rows.push_back({"", s(b.title), QString::number(b.issues), QString::number(b.copies),
                        s(LIB_LocationName(b.location)), s(LIB_LocationName(b.disLocation)),
                        s(b.publCode), s(b.periOrdYear), s(b.asordNo), s(b.marcRecNo)});
    }
    spdTitle.setRows(rows, true);
    if (!titles_.empty()) spdTitle.selectRow(0);
    showIssues();
}

const BindTitle* frmOldBind::currentTitle() const {
    int row = spdTitle.currentRow();
    return row >= 0 && row < static_cast<int>(titles_.size()) ? &titles_[row] : nullptr;
}

const BindRecord* frmOldBind::currentRecord() const {
    int row = spdBind.currentRow();
    return row >= 0 && row < static_cast<int>(records_.size()) ? &records_[row] : nullptr;
}

void frmOldBind::showIssues() {
    issues_.clear();
    const BindTitle* title = currentTitle();
    if (title)
        intLoadBindIssues(*title, t(cmbYear->currentData().toString()), chkKeep->isChecked(),
                          issues_);
    std::vector<QStringList> rows;
    for (const BindIssue& i : issues_)
        rows.push_back({s(strIssueLabel(i)), s(i.publYear), s(strPeriTypeName(i.periType)),
                        s(i.beginIssue), QString::number(i.copies), money(i.price)});
    spdSingle.setRows(rows);
}

void frmOldBind::cmdCreate_Click() {
    BindCreate request;
    request.binder = t(cmbBinder->currentData().toString());
    request.batchNo = t(cmbBatch->currentText());
    QVariant keep = cmbBindNum->currentData();
    if (keep.isValid()) request.keep = keep.toBool();
    request.year = t(cmbYear->currentData().toString());
    request.copies = txtBindNum->value();
    std::vector<BindTitle> chosen;
    for (int row : spdTitle.checkedRows())
        chosen.push_back(titles_[row]);
    if (chosen.empty()) {
        LIB_ShowMsg("E请选择要装订的期刊。");
        return;
    }
    std::vector<std::string> made;
    if (intCreateBindRecords(request, chosen, made) < 0) return;
    LIB_ShowMsg("I已生成合订本 " + std::to_string(made.size()) + " 本。");
    cmdFind_Click();
    loadRecords();
}

void frmOldBind::loadBatches() {
    QString keep = cmbBatch->currentText();
    std::vector<BindBatch> batches;
    intListBindBatches(t(cmbBinder->currentData().toString()), "", "", std::nullopt, batches);
    QSignalBlocker block(cmbBatch);
    cmbBatch->clear();
    for (const BindBatch& b : batches)
        cmbBatch->addItem(s(b.batchNo));
    int i = cmbBatch->findText(keep);
    cmbBatch->setCurrentIndex(i >= 0 ? i : cmbBatch->count() - 1);
    loadRecords();
}

void frmOldBind::loadRecords() {
    const BindRecord* current = currentRecord();
    std::string keep = current ? current->bindNo : "";
    records_.clear();
    if (cmbBatch->count() > 0)
        intListBindRecords(t(cmbBinder->currentData().toString()), t(cmbBatch->currentText()),
                           records_);
    std::vector<QStringList> rows;
    int again = -1;
    for (const BindRecord& r : records_) {
        if (r.bindNo == keep) again = static_cast<int>(rows.size());
        rows.push_back(
            {s(r.bindNo), s(r.title), s(r.bgnEndYear), s(r.bgnEndVol), QString::number(r.qtyOfBind),
             r.boundFlag >= 0 && r.boundFlag <= 2 ? kFlagNames[r.boundFlag] : "", s(r.callNo),
             s(r.bookSize), money(r.boundEditPrice), money(r.boundPrice), s(r.bindName)});
    }
    spdBind.setRows(rows);
    if (!records_.empty()) spdBind.selectRow(again >= 0 ? again : 0);
    showRecord();
}

void frmOldBind::showRecord() {
    const BindRecord* r = currentRecord();
    copies_.clear();
    if (r) intLoadBoundCopies(r->bindNo, copies_);
    std::vector<QStringList> rows;
    for (const BoundCopy& c : copies_)
        rows.push_back({s(c.coverVol + "(" + c.coverIssue + ")"), s(c.publYear),
                        s(LIB_LocationName(c.location)), s(LIB_LocationName(c.disLocation)),
                        QString::number(c.itemNo)});
    spdPrint.setRows(rows);
    txtSpineTitle->setText(r ? s(r->title) : "");
    txtBgnEndYear->setText(r ? s(r->bgnEndYear) : "");
    txtBgnEndVol->setText(r ? s(r->bgnEndVol) : "");
    txtColor->setText(r ? s(r->color) : "");
    txtFrame->setText(r ? s(r->frame) : "");
    txtCallNo->setText(r ? s(r->callNo) : "");
    txtRemark->setText(r ? s(r->remark) : "");
    txtBoundPrice->setValue(r ? r->boundPrice : 0);
    int size = r ? cmbBookSize->findText(s(r->bookSize), Qt::MatchEndsWith) : 0;
    cmbBookSize->setCurrentIndex(size >= 0 ? size : 0);
}

void frmOldBind::refreshPrice() {
    QString code = cmbBookSize->currentData().toString();
    if (code.isEmpty()) return;
    double price = 0;
    std::string name;
    if (intBindPrice(t(cmbBinder->currentData().toString()), t(code), price, name) == 0)
        txtBoundPrice->setValue(price);
}

void frmOldBind::cmdSave_Click() {
    const BindRecord* current = currentRecord();
    if (!current) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    BindRecord r = *current;
    r.title = t(txtSpineTitle->text());
    r.bgnEndYear = t(txtBgnEndYear->text());
    r.bgnEndVol = t(txtBgnEndVol->text());
    r.color = t(txtColor->text());
    r.frame = t(txtFrame->text());
    r.callNo = t(txtCallNo->text());
    r.remark = t(txtRemark->text());
    r.boundPrice = txtBoundPrice->value();
    if (!cmbBookSize->currentData().toString().isEmpty())
        r.bookSize = t(cmbBookSize->currentText().section(' ', 1));
    if (intSaveBindRecord(r) == 0) loadRecords();
}

void frmOldBind::cmdDelete_Click() {
    std::vector<std::string> nos;
    for (int row : spdBind.selectedRows())
        nos.push_back(records_[row].bindNo);
    if (intDeleteBindRecords(nos) == 0) {
        loadRecords();
        showIssues();
    }
}

void frmOldBind::cmdAdd_Click() {
    const BindRecord* r = currentRecord();
    const BindTitle* title = currentTitle();
    int row = spdSingle.currentRow();
    if (!r) {
        LIB_ShowMsg("E合订本不能为空。");
        return;
    }
    if (!title || row < 0) {
        LIB_ShowMsg("E请选择要加入的单刊。");
        return;
    }
    if (intAddBindIssue(r->bindNo, issues_[row].periId, title->location, title->disLocation) == 0) {
        loadRecords();
        showIssues();
    }
}

void frmOldBind::cmdRemove_Click() {
    const BindRecord* r = currentRecord();
    int row = spdPrint.currentRow();
    BoundCopy none;
    if (intRemoveBindIssue(r ? r->bindNo : "", row >= 0 ? copies_[row] : none) == 0) {
        loadRecords();
        showIssues();
    }
}

void frmOldBind::cmdCut_Click() {
    const BindRecord* r = currentRecord();
    int row = spdPrint.currentRow();
    if (!r || row < 0) {
        LIB_ShowMsg("E请选择要剪切的单刊。");
        return;
    }
    cut_ = {r->bindNo, copies_[row]};
}

void frmOldBind::cmdPaste_Click() {
    if (!cut_) {
        LIB_ShowMsg("E请先剪切单刊，然后粘贴单刊。");
        return;
    }
    const BindRecord* r = currentRecord();
    if (intMoveBindIssue(cut_->first, cut_->second, r ? r->bindNo : "") == 0) {
        cut_.reset();
        loadRecords();
    }
}

QString frmOldBind::listHtml() const {
    // Read afresh: the volumes may have been received or accessioned on other screens since the
    // grid was filled, and the slips must say so.
    QString html;
    intBindListHtml(t(cmbBinder->currentData().toString()), t(cmbBatch->currentText()), html);
    return html;
}

bool frmOldBind::printToPdf(const QString& path) const {
    return printedListToPdf(listHtml(), path);
}

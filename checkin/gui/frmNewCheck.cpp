#include "checkin/gui/frmNewCheck.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "checkin/core/basChkSearch.h"
#include "checkin/gui/ChkIssueModel.h"
#include "checkin/gui/frmNewBatch.h"
#include "checkin/gui/frmNewConfig.h"
#include "checkin/gui/frmNewDetail.h"
#include "checkin/gui/frmNewSearch.h"
#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMStore.h"
#include "marc/gui/MarcRecModel.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QTableView* grid(QWidget* parent, const char* name) {
    auto* v = new QTableView(parent);
    v->setObjectName(name);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->verticalHeader()->setDefaultSectionSize(22);
    v->horizontalHeader()->setStretchLastSection(true);
    return v;
}

void setRow(QStandardItemModel* m, int row, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c)
        m->setItem(row, static_cast<int>(c), new QStandardItem(q(cells[c])));
}

// Keys the screen reads back from a row's first cell, whatever the grid's order.
enum KeyRole { kPublRole = Qt::UserRole, kYearRole, kAsordRole, kLocationRole = Qt::UserRole };

std::string keyOf(const QModelIndex& index, int role) {
    return index.siblingAtColumn(0).data(role).toString().toStdString();
}

// The grid and its filter box above it.
QWidget* filtered(QWidget* parent, QLineEdit* filter, QTableView* view) {
    auto* w = new QWidget(parent);
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    l->addWidget(filter);
    l->addWidget(view, 1);
    return w;
}

// Makes the source row current. A row the screen itself picks (the title scanned, the location
// the operator works at) must be seen: a filter that hides it is emptied.
void showSourceRow(QTableView* view, GbkSortProxy* proxy, QLineEdit* filter,
                   const QModelIndex& source) {
    QModelIndex at = proxy->mapFromSource(source);
    if (!at.isValid() && source.isValid()) {
        filter->clear();
        at = proxy->mapFromSource(source);
    }
    view->setCurrentIndex(at);
}

// The order line's editable columns in a small form; false when cancelled.
bool editOrderLine(QWidget* parent, ChkInOrderLine& line) {
    QDialog dlg(parent);
    dlg.setObjectName("dlgOrderLine");
    dlg.setWindowTitle("修改订购信息");
    auto* form = new QFormLayout(&dlg);
    struct Field {
        const char* label;
        std::string* value;
    };
    std::string qty = std::to_string(line.periOrdQty);
    const Field fields[] = {{"获得方式", &line.getMode},
                            {"载体", &line.carrier},
                            {"出版频率", &line.publFreq},
                            {"币种", &line.moneyCode},
                            {"分类号", &line.kindNo},
                            {"期刊状态", &line.periType},
                            {"订购总数", &qty},
                            {"单价", &line.periPrice},
                            {"年价", &line.periTotalPrice},
                            {"外币单价", &line.forePrice},
                            {"外币年价", &line.foreTotalPrice},
                            {"备注", &line.remark},
                            {"记录号", &line.marcRecNo}};
    std::vector<QLineEdit*> edits;
    for (const Field& f : fields) {
        auto* e = new QLineEdit(q(*f.value), &dlg);
        e->setObjectName(QString("txt") + f.label);
        form->addRow(f.label, e);
        edits.push_back(e);
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    form->addRow(box);
    QObject::connect(box, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    if (dlg.exec() != QDialog::Accepted) return false;
    for (std::size_t i = 0; i < edits.size(); ++i)
        *fields[i].value = edits[i]->text().trimmed().toStdString();
    line.periOrdQty = static_cast<int>(LibVar(qty).integer());
    return true;
}

}  // namespace

frmNewCheck::frmNewCheck(QWidget* parent) : QWidget(parent) {
    setObjectName("frmNewCheck");
    setWindowTitle("期刊签收");
    buildControls();
    bindKeys();
    for (const auto& f : LoadChkSearchFields())
        cmbOption->addItem(q(f.caption));
    txtScan->setFocus();
}

void frmNewCheck::buildControls() {
    txtScan = new QLineEdit(this);
    txtScan->setObjectName("txtScan");
    txtScan->setPlaceholderText("扫描条码（ISSN 或 977 条码）后回车即签收");
    txtScan->setToolTip("扫描刊物条码：找到该刊并签收条码所指的卷期（F2 回到此处）");
    txtScan->setMinimumWidth(260);
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName("cmbOption");
    cmbContent = new QComboBox(this);
    cmbContent->setObjectName("cmbContent");
    cmbContent->setEditable(true);
    cmbContent->setMinimumWidth(220);
    cmbContent->setToolTip("检索内容（F3），回车检索");
    cmdSearch = button(this, "cmdSearch", "检索", "按检索途径查找订购记录（回车；F5 重新检索）");
    cmdFind = button(this, "cmdFind", "高级检索…", "按年度、语种、获得方式、载体检索（Ctrl+F）");
    cmdSimpMarc = button(this, "cmdSimpMarc", "书目", "显示或隐藏书目记录与合订本（Ctrl+B）");
    cmdSwitch = button(this, "cmdSwitch", "馆藏记录", "在卷期与各年馆藏记录之间切换（Ctrl+T）");
    cmdSave = button(this, "cmdSave", "保存馆藏", "保存各年馆藏记录（Ctrl+S）");
    cmdDeleteAll = button(this, "cmdDeleteAll", "删除全部卷期", "删除本订购记录的全部卷期");

    cmdAllCheck = button(this, "cmdAllCheck", "签收", "签收所选卷期（回车）");
    cmdAllUnCheck = button(this, "cmdAllUnCheck", "撤销签收", "撤销所选卷期的签收（Ctrl+U）");
    cmdCombine = button(this, "cmdCombine", "合并", "把所选卷期合并为合刊（Ctrl+M）");
    cmdDelete = button(this, "cmdDelete", "删除", "删除所选卷期（Del）");
    cmdDeleteSub = button(this, "cmdDeleteSub", "删除订户", "删除所选订户（无签收时）");
    cmdModify = button(this, "cmdModify", "修改订购", "修改本订购记录（Ctrl+E）");
    cmdConfig = button(this, "cmdConfig", "签到设置", "设置本订户的签到并预测卷期（Ctrl+K）");
    cmdDetail =
        button(this, "cmdDetail", "卷期详细", "本期的复本、催缺、优先阅览与签收日期（双击）");
    cmdAddIssue = button(this, "cmdAddIssue", "新增卷期", "手工新增一期，如增刊（Ctrl+N）");
    cmdBatch = button(this, "cmdBatch", "批量新增", "在最后一期之后续加若干期");
    cmdPrevious = button(this, "cmdPrevious", "上一期", "上一期（↑）");
    cmdNext = button(this, "cmdNext", "下一期", "下一期（↓）");
    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");

    // The title is what a librarian looks for first; the codes follow.
    lineModel_ = new QStandardItemModel(0, 6, this);
    lineModel_->setHorizontalHeaderLabels(
        {"题名", "ISSN", "订购号", "年度批次", "发行商", "记录号"});
    spdMarcInfo = grid(this, "spdMarcInfo");
    lineProxy_ = LIB_SetupGrid(spdMarcInfo, lineModel_);
    spdMarcInfo->setSelectionMode(QAbstractItemView::SingleSelection);
    // The title takes the room the codes leave.
    spdMarcInfo->horizontalHeader()->setStretchLastSection(false);
    spdMarcInfo->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    subModel_ = new QStandardItemModel(0, 4, this);
    subModel_->setHorizontalHeaderLabels({"订户", "复本", "分配", "签收设置"});
    spdSubInfo = grid(this, "spdSubInfo");
    subProxy_ = LIB_SetupGrid(spdSubInfo, subModel_);
    spdSubInfo->setSelectionMode(QAbstractItemView::SingleSelection);
    issues_ = new ChkIssueModel(this);
    spdChkInfo = grid(this, "spdChkInfo");
    issueProxy_ = LIB_SetupGrid(spdChkInfo, issues_);
    spdChkInfo->setSelectionMode(QAbstractItemView::ExtendedSelection);
    spdChkInfo->installEventFilter(this);
    locaRecModel_ = new QStandardItemModel(0, 3, this);
    locaRecModel_->setHorizontalHeaderLabels({"年度", "馆藏记录", "订户"});
    spdLocaRec = grid(this, "spdLocaRec");
    locaRecProxy_ = LIB_SetupGrid(spdLocaRec, locaRecModel_);
    spdLocaRec->setEditTriggers(QAbstractItemView::AllEditTriggers);
    boundModel_ = new QStandardItemModel(0, 13, this);
    boundModel_->setHorizontalHeaderLabels({"索书号", "财产号", "条码", "馆藏地", "年卷期", "状态",
                                            "价格", "载体", "入藏日期", "修改日期", "附件",
                                            "经手人", "备注"});
    spdBound = grid(this, "spdBound");
    boundProxy_ = LIB_SetupGrid(spdBound, boundModel_);
    auto filterBox = [this](GbkSortProxy* proxy, const char* name) {
        QLineEdit* box = LIB_GridFilterBox(proxy, this);
        box->setObjectName(name);
        return box;
    };
    txtFilterMarcInfo = filterBox(lineProxy_, "txtFilterMarcInfo");
    txtFilterSubInfo = filterBox(subProxy_, "txtFilterSubInfo");
    txtFilterChkInfo = filterBox(issueProxy_, "txtFilterChkInfo");
    txtFilterLocaRec = filterBox(locaRecProxy_, "txtFilterLocaRec");
    txtFilterBound = filterBox(boundProxy_, "txtFilterBound");
    stkChkInfo = new QStackedWidget(this);
    stkChkInfo->addWidget(filtered(this, txtFilterChkInfo, spdChkInfo));
    stkChkInfo->addWidget(filtered(this, txtFilterLocaRec, spdLocaRec));
    vsfBM = new MarcRecView(this);
    vsfBM->setObjectName("vsfBM");

    auto* dsMain = new QHBoxLayout;
    dsMain->addWidget(new QLabel("条码", this));
    dsMain->addWidget(txtScan);
    dsMain->addSpacing(12);
    dsMain->addWidget(cmbOption);
    dsMain->addWidget(cmbContent, 1);
    for (QPushButton* b : {cmdSearch, cmdFind, cmdSimpMarc, cmdSwitch, cmdSave, cmdDeleteAll})
        dsMain->addWidget(b);
    auto* dsChkInfo = new QHBoxLayout;
    for (QPushButton* b :
         {cmdAllCheck, cmdAllUnCheck, cmdCombine, cmdDelete, cmdDeleteSub, cmdDetail, cmdAddIssue,
          cmdBatch, cmdModify, cmdConfig, cmdPrevious, cmdNext})
        dsChkInfo->addWidget(b);
    dsChkInfo->addWidget(lblSummary, 1);

    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(filtered(this, txtFilterMarcInfo, spdMarcInfo));
    top->addWidget(filtered(this, txtFilterSubInfo, spdSubInfo));
    top->setObjectName("splTop");
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 2);
    LIB_RememberSplitter(top, "checkin/frmNewCheck/splTop");
    auto* middle = new QWidget(this);
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->addLayout(dsChkInfo);
    middleLayout->addWidget(stkChkInfo);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("tabRecord");
    tabs->addTab(vsfBM, "书目记录");
    tabs->addTab(filtered(this, txtFilterBound, spdBound), "合订本");
    auto* main = new QSplitter(Qt::Vertical, this);
    main->addWidget(top);
    main->addWidget(middle);
    main->addWidget(tabs);
    main->setStretchFactor(0, 2);
    main->setStretchFactor(1, 5);
    main->setStretchFactor(2, 2);
    main->setObjectName("splMain");
    LIB_RememberSplitter(main, "checkin/frmNewCheck/splMain");
    for (QTableView* v : {spdMarcInfo, spdSubInfo, spdChkInfo, spdLocaRec, spdBound})
        LIB_RememberHeader(v->horizontalHeader(), "checkin/frmNewCheck/" + v->objectName());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(dsMain);
    layout->addWidget(main, 1);

    connect(txtScan, &QLineEdit::returnPressed, this, [this] { subScan(txtScan->text()); });
    connect(cmbContent->lineEdit(), &QLineEdit::returnPressed, this, &frmNewCheck::subSearch);
    connect(cmdSearch, &QPushButton::clicked, this, &frmNewCheck::subSearch);
    connect(cmdFind, &QPushButton::clicked, this, &frmNewCheck::cmdFind_Click);
    connect(cmdSimpMarc, &QPushButton::clicked, this,
            [tabs] { tabs->setVisible(!tabs->isVisible()); });
    connect(cmdSwitch, &QPushButton::clicked, this, &frmNewCheck::cmdSwitch_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmNewCheck::cmdSave_Click);
    connect(cmdDeleteAll, &QPushButton::clicked, this, &frmNewCheck::cmdDeleteAll_Click);
    connect(cmdAllCheck, &QPushButton::clicked, this, &frmNewCheck::cmdAllCheck_Click);
    connect(cmdAllUnCheck, &QPushButton::clicked, this, &frmNewCheck::cmdAllUnCheck_Click);
    connect(cmdCombine, &QPushButton::clicked, this, &frmNewCheck::cmdCombine_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmNewCheck::cmdDelete_Click);
    connect(cmdDeleteSub, &QPushButton::clicked, this, &frmNewCheck::cmdDeleteSub_Click);
    connect(cmdModify, &QPushButton::clicked, this, &frmNewCheck::cmdModify_Click);
    connect(cmdConfig, &QPushButton::clicked, this, &frmNewCheck::cmdConfig_Click);
    connect(cmdDetail, &QPushButton::clicked, this, &frmNewCheck::cmdDetail_Click);
    connect(cmdAddIssue, &QPushButton::clicked, this, &frmNewCheck::cmdAddIssue_Click);
    connect(cmdBatch, &QPushButton::clicked, this, &frmNewCheck::cmdBatch_Click);
    connect(spdChkInfo, &QAbstractItemView::doubleClicked, this, &frmNewCheck::cmdDetail_Click);
    connect(cmdPrevious, &QPushButton::clicked, this,
            [this] { selectShownRow(spdChkInfo->currentIndex().row() - 1); });
    connect(cmdNext, &QPushButton::clicked, this,
            [this] { selectShownRow(spdChkInfo->currentIndex().row() + 1); });
    connect(locaRecModel_, &QStandardItemModel::itemChanged, this,
            [this] { holdingsEdited_ = true; });
    connect(spdMarcInfo->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (QueryClose()) return loadLine();
                QSignalBlocker keep(spdMarcInfo->selectionModel());
                spdMarcInfo->setCurrentIndex(previous);
            });
    connect(spdSubInfo->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmNewCheck::loadIssues);
}

void frmNewCheck::bindKeys() {
    auto key = [this](const QKeySequence& seq, auto fn) {
        auto* s = new QShortcut(seq, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, fn);
    };
    key(QKeySequence(Qt::Key_F2), [this] { txtScan->setFocus(); });
    key(QKeySequence(Qt::Key_F3), [this] { cmbContent->setFocus(); });
    auto stdKey = [this](QPushButton* b, StdKey k) {
        auto* a = new QAction(b->text(), this);
        LIB_SetStdKey(a, k);
        connect(a, &QAction::triggered, b, &QPushButton::click);
        addAction(a);
    };
    stdKey(cmdFind, StdKey::Find);
    stdKey(cmdSave, StdKey::Save);
    stdKey(cmdSearch, StdKey::Refresh);
    key(QKeySequence(Qt::CTRL | Qt::Key_U), [this] { cmdAllUnCheck_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_M), [this] { cmdCombine_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { cmdModify_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_K), [this] { cmdConfig_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { cmdAddIssue_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_T), [this] { cmdSwitch_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_B), [this] { cmdSimpMarc->click(); });
}

bool frmNewCheck::eventFilter(QObject* watched, QEvent* event) {
    if (watched == spdChkInfo && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier) {
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                cmdAllCheck_Click();
                return true;
            }
            if (k->key() == Qt::Key_Delete) {
                cmdDelete_Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::string frmNewCheck::today() const {
    return LIB_DB_ServerNow().substr(0, 10);
}

const ChkInLocation* frmNewCheck::currentLocation() const {
    const QModelIndex at = spdSubInfo->currentIndex();
    if (!at.isValid()) return nullptr;
    const std::string code = keyOf(at, kLocationRole);
    for (const ChkInLocation& l : locations_)
        if (l.location == code) return &l;
    return nullptr;
}

void frmNewCheck::subSearch() {
    if (!QueryClose()) return;
    ChkSearchQuery query;
    std::vector<ChkSearchField> fields = LoadChkSearchFields();
    int f = cmbOption->currentIndex();
    if (f >= 0 && f < static_cast<int>(fields.size()))
        query.field = fields[static_cast<std::size_t>(f)];
    query.text = cmbContent->currentText().toStdString();
    LibArray rows;
    if (intChkSearch(query, rows) != 0) return;
    showLines(rows, 0);
    spdMarcInfo->setFocus();
}

void frmNewCheck::cmdFind_Click() {
    if (!QueryClose()) return;
    frmNewSearch dlg(this);
    dlg.cmbOption->setCurrentIndex(cmbOption->currentIndex());
    dlg.cmbContent->setEditText(cmbContent->currentText());
    if (dlg.exec() != QDialog::Accepted) return;
    showLines(dlg.result(), 0);
}

void frmNewCheck::showLines(const LibArray& rows, int select) {
    lineModel_->setRowCount(0);
    // Title, ISSN, order number, batch, distributor, record number.
    const int cols[] = {3, 4, 2, 1, 0, 8};
    for (int r = 2; r < rows.rows(); ++r) {
        std::vector<std::string> cells;
        for (int c : cols)
            cells.push_back(rows(c, r).str());
        setRow(lineModel_, r - 2, cells);
        QStandardItem* first = lineModel_->item(r - 2, 0);
        first->setData(q(rows(0, r).str()), kPublRole);
        first->setData(q(rows(1, r).str()), kYearRole);
        first->setData(q(rows(2, r).str()), kAsordRole);
    }
    // The codes fit their contents; the title keeps the room that is left.
    fitColumnsUntilRemembered(spdMarcInfo);
    if (rows.recordCount() > 0)
        showSourceRow(spdMarcInfo, lineProxy_, txtFilterMarcInfo,
                      lineModel_->index(std::min(select, rows.recordCount() - 1), 0));
}

void frmNewCheck::loadLine() {
    const QModelIndex at = spdMarcInfo->currentIndex();
    if (!at.isValid()) return;
    ChkOrderKey key{keyOf(at, kPublRole), keyOf(at, kYearRole), keyOf(at, kAsordRole)};
    if (intLoadChkOrderLine(key, line_) < 0 || intLoadChkLocations(key, locations_) < 0) {
        LIB_DB_ShowError();
        return;
    }
    subModel_->setRowCount(0);
    int preferred = 0;
    for (std::size_t i = 0; i < locations_.size(); ++i) {
        const ChkInLocation& l = locations_[i];
        std::string dist;
        for (const auto& d : l.dists)
            dist += (dist.empty() ? "" : "，") + LIB_LocationName(d.distLoca) + " " +
                    std::to_string(d.qty);
        setRow(subModel_, static_cast<int>(i),
               {LIB_LocationName(l.location) + " (" + l.location + ")", std::to_string(l.subQty),
                dist, l.configured ? "已设置" : "未设置"});
        subModel_->item(static_cast<int>(i), 0)->setData(q(l.location), kLocationRole);
        if (l.location == g_strLocation ||
            (preferred == 0 && !LocationAllowed(locations_[0].location) &&
             LocationAllowed(l.location)))
            preferred = static_cast<int>(i);
    }
    fitColumnsUntilRemembered(spdSubInfo);
    subRefreshMarcDisplay();
    loadBound();
    loadHoldings();
    if (!locations_.empty())
        showSourceRow(spdSubInfo, subProxy_, txtFilterSubInfo, subModel_->index(preferred, 0));
    else
        issues_->setIssues({}, 0, today());
}

void frmNewCheck::loadIssues() {
    const ChkInLocation* l = currentLocation();
    std::vector<ChkInIssue> rows;
    if (l && intLoadChkIssues(line_.key, l->location, rows) < 0) {
        LIB_DB_ShowError();
        return;
    }
    issues_->setIssues(std::move(rows), l ? l->subQty : 0, today());
    int arrived = 0, late = 0;
    for (int r = 0; r < issues_->rowCount(); ++r) {
        arrived += issues_->state(r) == ArrivalState::Arrived;
        late += issues_->state(r) == ArrivalState::Late;
    }
    lblSummary->setText(QString("共 %1 期，已到 %2 期，逾期未到 %3 期")
                            .arg(issues_->rowCount())
                            .arg(arrived)
                            .arg(late));
    fitColumnsUntilRemembered(spdChkInfo);
    selectNextExpected(shownIssues(), -1);
}

bool frmNewCheck::selectIssue(const std::string& periId) {
    const QModelIndex at = issueProxy_->mapFromSource(issues_->index(issues_->rowOf(periId), 0));
    if (!at.isValid()) return false;
    selectShownRow(at.row());
    return true;
}

std::string frmNewCheck::currentIssue() const {
    return spdChkInfo->currentIndex().data(ChkIssueModel::PeriIdRole).toString().toStdString();
}

std::vector<std::string> frmNewCheck::shownIssues() const {
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(issueProxy_->rowCount()));
    for (int r = 0; r < issueProxy_->rowCount(); ++r)
        ids.push_back(
            issueProxy_->index(r, 0).data(ChkIssueModel::PeriIdRole).toString().toStdString());
    return ids;
}

void frmNewCheck::selectNextExpected(const std::vector<std::string>& order, int after) {
    for (std::size_t k = static_cast<std::size_t>(after + 1); k < order.size(); ++k) {
        const int row = issues_->rowOf(order[k]);
        if (row >= 0 && issues_->state(row) != ArrivalState::Arrived && selectIssue(order[k]))
            return;
    }
    if (after >= 0 && after < static_cast<int>(order.size()) &&
        selectIssue(order[static_cast<std::size_t>(after)]))
        return;
    selectShownRow(issueProxy_->rowCount() - 1);
}

void frmNewCheck::selectShownRow(int row) {
    if (issueProxy_->rowCount() == 0) return;
    const QModelIndex at = issueProxy_->index(std::clamp(row, 0, issueProxy_->rowCount() - 1), 0);
    spdChkInfo->setCurrentIndex(at);
    spdChkInfo->selectRow(at.row());
    spdChkInfo->scrollTo(at);
}

void frmNewCheck::reloadKeeping(const std::string& periId) {
    const int row = spdChkInfo->currentIndex().row();
    loadIssues();
    if (!selectIssue(periId)) selectShownRow(row);
}

void frmNewCheck::selectLastIssue() {
    loadIssues();
    if (!issues_->issues().empty()) selectIssue(issues_->issues().back().periId);
}

std::vector<std::string> frmNewCheck::selectedIssues() const {
    std::vector<int> rows;
    for (const QModelIndex& i : spdChkInfo->selectionModel()->selectedRows())
        rows.push_back(issueProxy_->mapToSource(i).row());
    if (rows.empty() && spdChkInfo->currentIndex().isValid())
        rows.push_back(issueProxy_->mapToSource(spdChkInfo->currentIndex()).row());
    // In peri_no order, the order the core works in, whatever the grid's sort.
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> ids;
    for (int r : rows)
        ids.push_back(issues_->issues()[static_cast<std::size_t>(r)].periId);
    return ids;
}

void frmNewCheck::subRefreshMarcDisplay() {
    vsfBM->showRecord(line_.marcRecNo.empty() ? MarcRec{} : MarcLoad(line_.marcRecNo));
}

void frmNewCheck::loadBound() {
    LibArray rows;
    // Rows only: the columns stay, and with them their remembered widths.
    boundModel_->setRowCount(0);
    if (line_.marcRecNo.empty() || intLoadBoundVolumes(line_.marcRecNo, rows) < 0) return;
    for (int r = 2; r < rows.rows(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < rows.cols(); ++c)
            cells.push_back(rows(c, r).str());
        setRow(boundModel_, r - 2, cells);
    }
}

void frmNewCheck::loadHoldings() {
    std::vector<LocaRec> recs;
    locaRecModel_->setRowCount(0);
    if (line_.marcRecNo.empty() || intLoadLocaRecs(line_.marcRecNo, recs) < 0) return;
    for (std::size_t i = 0; i < recs.size(); ++i)
        setRow(locaRecModel_, static_cast<int>(i),
               {recs[i].publYear, recs[i].statement, recs[i].location});
    holdingsEdited_ = false;
}

void frmNewCheck::subScan(const QString& code) {
    if (!QueryClose()) return;
    ScannedCode scan = ReadScannedCode(code.trimmed().toStdString());
    txtScan->clear();
    if (scan.issn.empty()) {
        LIB_ShowMsg("E无法识别的条码：" + code.trimmed().toStdString());
        return;
    }
    ChkSearchQuery query;
    query.field = {"ISSN", "IDX", "03"};
    query.text = scan.issn;
    LibArray rows;
    if (intChkSearch(query, rows) != 0) return;
    // The latest subscription of the title is the one whose issues arrive now.
    int latest = 0;
    for (int r = 2; r < rows.rows(); ++r)
        if (rows(1, r).str() >= rows(1, latest + 2).str()) latest = r - 2;
    showLines(rows, latest);
    const ChkInLocation* l = currentLocation();
    if (!l) return;
    const int row = PickScannedIssue(issues_->issues(), l->subQty, scan.addOn);
    if (row < 0) {
        LIB_ShowMsg("I该刊没有待签收的卷期" +
                    (scan.addOn.empty() ? "" : "（第" + scan.addOn + "期）") + "。");
        return;
    }
    // Received by its key: the grid's sort and filter cannot point the scan elsewhere.
    const std::string periId = issues_->issues()[static_cast<std::size_t>(row)].periId;
    receive({periId}, periId);
    txtScan->setFocus();
}

void frmNewCheck::receive(const std::vector<std::string>& periIds, const std::string& from) {
    const ChkInLocation* l = currentLocation();
    if (!l || periIds.empty()) return;
    // The cursor moves on in the order the operator was looking at.
    const std::vector<std::string> order = shownIssues();
    if (intCheckInIssues(line_, *l, periIds) < 0) return;
    loadIssues();
    const auto at = std::find(order.begin(), order.end(), from);
    selectNextExpected(order, at == order.end() ? -1 : static_cast<int>(at - order.begin()));
}

void frmNewCheck::cmdAllCheck_Click() {
    receive(selectedIssues(), currentIssue());
}

void frmNewCheck::cmdAllUnCheck_Click() {
    const ChkInLocation* l = currentLocation();
    std::vector<std::string> ids = selectedIssues();
    if (!l || ids.empty()) return;
    if (intUndoCheckIn(line_, *l, ids) < 0) return;
    reloadKeeping(currentIssue());
}

void frmNewCheck::cmdCombine_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l) return;
    if (intCombineIssues(line_, l->location, selectedIssues()) != 0) return;
    reloadKeeping(currentIssue());
}

void frmNewCheck::cmdDelete_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l) return;
    if (intDeleteIssues(line_, l->location, selectedIssues()) <= 0) return;
    reloadKeeping(currentIssue());
}

void frmNewCheck::cmdDeleteSub_Click() {
    const ChkInLocation* l = currentLocation();
    if (l && intDeleteSubLocation(line_, *l) == 0) loadLine();
}

void frmNewCheck::cmdDeleteAll_Click() {
    const ChkInLocation* l = currentLocation();
    if (l && intDeleteAllIssues(line_, l->location) == 0) loadIssues();
}

void frmNewCheck::cmdSwitch_Click() {
    bool toHoldings = stkChkInfo->currentIndex() == 0;
    stkChkInfo->setCurrentIndex(toHoldings ? 1 : 0);
    cmdSwitch->setText(toHoldings ? "卷期" : "馆藏记录");
    if (!toHoldings) return;
    // A row for this year at the selected location, ready to be written.
    const ChkInLocation* l = currentLocation();
    const std::string year = today().substr(0, 4);
    if (!l) return;
    for (int r = 0; r < locaRecModel_->rowCount(); ++r)
        if (locaRecModel_->item(r, 0)->text().toStdString() == year &&
            locaRecModel_->item(r, 2)->text().toStdString() == l->location)
            return showSourceRow(spdLocaRec, locaRecProxy_, txtFilterLocaRec,
                                 locaRecModel_->index(r, 1));
    int r = locaRecModel_->rowCount();
    const bool edited = holdingsEdited_;  // an empty row offered is no edit
    setRow(locaRecModel_, r, {year, "", l->location});
    holdingsEdited_ = edited;
    showSourceRow(spdLocaRec, locaRecProxy_, txtFilterLocaRec, locaRecModel_->index(r, 1));
}

void frmNewCheck::cmdSave_Click() {
    if (line_.marcRecNo.empty()) return;
    std::vector<LocaRec> recs;
    for (int r = 0; r < locaRecModel_->rowCount(); ++r)
        recs.push_back({locaRecModel_->item(r, 0)->text().toStdString(),
                        locaRecModel_->item(r, 1)->text().toStdString(),
                        locaRecModel_->item(r, 2)->text().toStdString()});
    if (intSaveLocaRecs(line_.marcRecNo, recs) == 0) {
        loadHoldings();
        LIB_ShowMsg("I数据成功保存！");
    }
}

bool frmNewCheck::QueryClose() {
    if (!holdingsEdited_) return true;
    switch (LIB_AskSave("馆藏记录已修改，是否保存？")) {
        case SaveChoice::Save:
            cmdSave_Click();
            return !holdingsEdited_;
        case SaveChoice::Discard:
            holdingsEdited_ = false;
            return true;
        case SaveChoice::Stay:
            break;
    }
    return false;
}

void frmNewCheck::closeEvent(QCloseEvent* event) {
    if (QueryClose())
        event->accept();
    else
        event->ignore();
}

void frmNewCheck::cmdModify_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l || line_.key.publCode.empty()) return;
    if (!CheckLocationRight(l->location)) return;
    ChkInOrderLine edited = line_;
    if (!editOrderLine(this, edited)) return;
    if (intSaveChkOrderLine(edited, l->location) == 0) loadLine();
}

void frmNewCheck::cmdConfig_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l || line_.key.publCode.empty()) return;
    if (!CheckLocationRight(l->location)) return;
    frmNewConfig dlg(line_.key, l->location, this);
    if (dlg.exec() == QDialog::Accepted) loadLine();
}

void frmNewCheck::cmdDetail_Click() {
    const ChkInLocation* l = currentLocation();
    const std::string periId = currentIssue();
    if (!l || periId.empty()) return;
    if (!CheckLocationRight(l->location)) return;
    frmNewDetail dlg(line_, *l, periId, this);
    if (dlg.exec() == QDialog::Accepted) reloadKeeping(periId);
}

void frmNewCheck::cmdAddIssue_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l || line_.key.publCode.empty()) return;
    if (!CheckLocationRight(l->location)) return;
    frmNewDetail dlg(line_, *l, {}, this);
    if (dlg.exec() == QDialog::Accepted) selectLastIssue();
}

void frmNewCheck::cmdBatch_Click() {
    const ChkInLocation* l = currentLocation();
    if (!l || line_.key.publCode.empty()) return;
    if (!CheckLocationRight(l->location)) return;
    frmNewBatch dlg(line_, l->location, this);
    if (dlg.exec() == QDialog::Accepted) selectLastIssue();
}

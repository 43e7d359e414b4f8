#include "reports/gui/frmStatSearch.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "common/gui/Grid.h"
#include "reports/gui/StatCommands.h"
#include "reports/gui/frmStatReport.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QComboBox* yearBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItem(kStatAny, QString());
    std::vector<std::string> years;
    if (statOrderYears(years) == 0)
        for (const std::string& y : years)
            box->addItem(q(y), q(y));
    return box;
}

}  // namespace

QTableView* frmStatSearch::grid(const char* name, StatGridModel* model, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    LIB_SetupGrid(view, model, QString("reports/frmStatSearch/") + name);
    return view;
}

frmStatSearch::frmStatSearch(QWidget* parent) : QWidget(parent) {
    setObjectName("frmStatSearch");
    setWindowTitle("期刊查询");
    auto* top = new QVBoxLayout(this);
    top->addWidget(statTitleLabel("期刊查询", this));

    auto* fra = new QGroupBox("查询条件", this);
    fra->setObjectName("fraBack");
    auto* row = new QHBoxLayout(fra);
    cmbPath_ = new QComboBox(fra);
    cmbPath_->setObjectName("cmdOption");
    paths_ = statSearchPaths();
    for (const StatSearchPath& p : paths_)
        cmbPath_->addItem(q(p.caption));
    txtContent_ = new QLineEdit(fra);
    txtContent_->setObjectName("txtContent");
    auto* cmdSearch = new QPushButton("查询", fra);
    cmdSearch->setObjectName("cmdStat");
    row->addWidget(new QLabel("检索途径", fra));
    row->addWidget(cmbPath_);
    row->addWidget(new QLabel("查询内容", fra));
    row->addWidget(txtContent_, 1);
    row->addWidget(cmdSearch);
    top->addWidget(fra);

    titleModel_ = new StatGridModel(this);
    for (auto*& m : tabModels_)
        m = new StatGridModel(this);
    auto* split = new QSplitter(Qt::Vertical, this);
    spdMarcInfo_ = grid("spdMarcInfo", titleModel_, split);
    split->addWidget(spdMarcInfo_);

    auto* lower = new QWidget(split);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    auto* narrow = new QHBoxLayout;
    cmbOrdYear_ = yearBox("cmbOrdYear", lower);
    cmbBindYear_ = yearBox("cmbBindYear", lower);
    cmbLocation_ = new QComboBox(lower);
    cmbLocation_->setObjectName("cmbLocation");
    cmbLocation_->addItem(kStatAny, QString());
    for (int r = 2; r < g_arrLocation.rows(); ++r)
        cmbLocation_->addItem(q(g_arrLocation(1, r).str()), q(g_arrLocation(0, r).str()));
    narrow->addWidget(new QLabel("订购年", lower));
    narrow->addWidget(cmbOrdYear_);
    narrow->addWidget(new QLabel("馆藏地", lower));
    narrow->addWidget(cmbLocation_);
    narrow->addWidget(new QLabel("合订年度", lower));
    narrow->addWidget(cmbBindYear_);
    narrow->addStretch();
    lowerLayout->addLayout(narrow);
    sstStatSearch_ = new QTabWidget(lower);
    sstStatSearch_->setObjectName("sstStatSearch");
    sstStatSearch_->addTab(grid("spdNewInfo", tabModels_[0], sstStatSearch_), "期刊查询-现刊信息");
    sstStatSearch_->addTab(grid("spdBindInfo", tabModels_[1], sstStatSearch_),
                           "期刊查询-合订本信息");
    sstStatSearch_->addTab(grid("spdOrdInfo", tabModels_[2], sstStatSearch_), "期刊查询-订购信息");
    lowerLayout->addWidget(sstStatSearch_);
    split->addWidget(lower);
    top->addWidget(split, 1);

    top->addLayout(statCommandRow(
        this,
        {cmdSearch, [this] { search(); }, [this]() -> const StatTable& { return current(); }, {}}));
    connect(txtContent_, &QLineEdit::returnPressed, this, &frmStatSearch::search);
    connect(spdMarcInfo_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now) {
                auto* proxy = static_cast<QSortFilterProxyModel*>(spdMarcInfo_->model());
                showTitle(proxy->mapToSource(now).row());
            });
    for (QComboBox* box : {cmbOrdYear_, cmbLocation_, cmbBindYear_})
        connect(box, &QComboBox::currentIndexChanged, this, &frmStatSearch::loadTabs);
}

// What the print and export commands take: the tab shown once a title is chosen, else the
// title list.
const StatTable& frmStatSearch::current() const {
    return recNo_.empty() ? titleTable_ : tabTables_[sstStatSearch_->currentIndex()];
}

void frmStatSearch::search() {
    if (cmbPath_->currentIndex() < 0) return;
    setCursor(Qt::BusyCursor);
    StatTable t;
    StatResult r =
        statSearchTitles(paths_[cmbPath_->currentIndex()], txtContent_->text().toStdString(), t);
    unsetCursor();
    if (r == StatResult::Refused) return;
    titleTable_ = r == StatResult::Rows ? t : StatTable{};
    titleModel_->setTable(titleTable_);
    spdMarcInfo_->resizeColumnsToContents();
    recNo_.clear();
    for (int i = 0; i < 3; ++i) {
        tabTables_[i] = {};
        tabModels_[i]->setTable(tabTables_[i]);
    }
    if (titleModel_->rowCount()) spdMarcInfo_->selectRow(0);
}

void frmStatSearch::showTitle(int row) {
    const auto rows = titleTable_.gridRows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    recNo_ = rows[row][4];
    loadTabs();
}

void frmStatSearch::loadTabs() {
    if (recNo_.empty()) return;
    const std::string year = cmbOrdYear_->currentData().toString().toStdString();
    StatTable issues, bound, orders;
    statTitleIssues(recNo_, year, issues);
    statTitleBound(recNo_, cmbLocation_->currentData().toString().toStdString(),
                   cmbBindYear_->currentData().toString().toStdString(), bound);
    statTitleOrders(recNo_, year, orders);
    tabTables_[0] = issues;
    tabTables_[1] = bound;
    tabTables_[2] = orders;
    for (int i = 0; i < 3; ++i) {
        tabModels_[i]->setTable(tabTables_[i]);
        static_cast<QTableView*>(sstStatSearch_->widget(i))->resizeColumnsToContents();
    }
}

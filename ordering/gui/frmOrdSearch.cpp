// The search dialog: reads its controls into a query, lists what the core finds and hands the
// chosen row to the manager, which opens its catalogue.
#include "ordering/gui/frmOrdSearch.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr int kHitRole = Qt::UserRole + 1;

struct ResultColumn {
    const char* caption;
    std::string OrdSearchHit::*field;
    bool orderOnly;
    int width;  // 0: the column that takes the room left
};
// The title first; the batch and number next, as the librarian opens by them.
const ResultColumn kColumns[] = {
    {"刊名", &OrdSearchHit::title, false, 0},      {"年度批次", &OrdSearchHit::year, false, 80},
    {"征订号", &OrdSearchHit::asordNo, false, 90}, {"发行商", &OrdSearchHit::publName, false, 150},
    {"ISSN", &OrdSearchHit::issn, false, 90},      {"出版社", &OrdSearchHit::publisher, false, 150},
    {"单价", &OrdSearchHit::price, false, 70},     {"年价", &OrdSearchHit::totalPrice, false, 70},
    {"订购总数", &OrdSearchHit::copies, true, 70}, {"签收状态", &OrdSearchHit::status, true, 80},
    {"发行商代码", &OrdSearchHit::publ, false, 80}};

}  // namespace

frmOrdSearch::frmOrdSearch(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOrdSearch");
    setWindowTitle("征订检索");
    OrderSearch = new QRadioButton("订购明细(&D)", this);
    OrderSearch->setObjectName("OrderSearch");
    OrderSearch->setChecked(true);
    AsordSearch = new QRadioButton("征订目录(&Z)", this);
    AsordSearch->setObjectName("AsordSearch");
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName("cmbOption");
    cmbOption->addItem("刊名", static_cast<int>(OrdSearchField::Title));
    cmbOption->addItem("ISSN", static_cast<int>(OrdSearchField::Issn));
    cmbOption->addItem("征订号", static_cast<int>(OrdSearchField::AsordNo));
    cmbOption->addItem("出版社", static_cast<int>(OrdSearchField::Publisher));
    cmbContent = new QLineEdit(this);
    cmbContent->setObjectName("cmbContent");
    cmbContent->setPlaceholderText("刊名、出版社中任意位置的字；ISSN；征订号的开头");
    txtFromYear = new QLineEdit(this);
    txtFromYear->setObjectName("txtFromYear");
    txtToYear = new QLineEdit(this);
    txtToYear->setObjectName("txtToYear");
    for (QLineEdit* y : {txtFromYear, txtToYear}) {
        y->setMaxLength(4);
        y->setPlaceholderText("不限");
        y->setMaximumWidth(70);
    }
    cmdSearch = new QPushButton("检索(&R)", this);
    cmdSearch->setObjectName("cmdSearch");
    cmdSearch->setAutoDefault(false);

    model = new QStandardItemModel(0, static_cast<int>(std::size(kColumns)), this);
    spdResult = new QTableView(this);
    spdResult->setObjectName("spdResult");
    spdResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdResult->setSelectionMode(QAbstractItemView::SingleSelection);
    spdResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdResult->setTabKeyNavigation(false);
    spdResult->verticalHeader()->hide();
    proxy_ = LIB_SetupGrid(spdResult, model);
    // The title takes what the others leave, so that a row fits without scrolling.
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
        if (kColumns[c].width > 0)
            spdResult->setColumnWidth(c, kColumns[c].width);
        else
            spdResult->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    spdResult->horizontalHeader()->setStretchLastSection(false);
    LIB_RememberHeader(spdResult->horizontalHeader(), "ordering/search/result");
    txtFilter = LIB_GridFilterBox(proxy_, this);
    txtFilter->setObjectName("txtFilter");
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    cmdOpen = new QPushButton("打开(&O)", this);
    cmdOpen->setObjectName("cmdOpen");
    cmdOpen->setToolTip("在所在目录中打开选中的明细 (Enter)");
    cmdOpen->setAutoDefault(false);
    cmdClose = new QPushButton("关闭", this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setAutoDefault(false);

    auto* form = new QGridLayout;
    auto* kind = new QHBoxLayout;
    kind->addWidget(OrderSearch);
    kind->addWidget(AsordSearch);
    kind->addStretch(1);
    form->addWidget(new QLabel("检索范围", this), 0, 0);
    form->addLayout(kind, 0, 1, 1, 5);
    auto* way = new QLabel("检索途径(&W)", this);
    way->setBuddy(cmbOption);
    form->addWidget(way, 1, 0);
    form->addWidget(cmbOption, 1, 1);
    form->addWidget(cmbContent, 1, 2, 1, 3);
    form->addWidget(cmdSearch, 1, 5);
    auto* years = new QLabel("年度(&Y)", this);
    years->setBuddy(txtFromYear);
    form->addWidget(years, 2, 0);
    auto* range = new QHBoxLayout;
    range->addWidget(txtFromYear);
    range->addWidget(new QLabel("至", this));
    range->addWidget(txtToYear);
    range->addStretch(1);
    form->addLayout(range, 2, 1, 1, 5);
    form->setColumnStretch(3, 1);

    fraResult = new QGroupBox("征订检索结果", this);
    fraResult->setObjectName("fraResult");
    auto* result = new QVBoxLayout(fraResult);
    result->addWidget(spdResult, 1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblStatus, 1);
    foot->addWidget(txtFilter);
    result->addLayout(foot);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(fraResult, 1);
    layout->addLayout(buttons);
    setTabOrder(cmbContent, cmbOption);
    setTabOrder(cmbOption, txtFromYear);
    setTabOrder(txtFromYear, txtToYear);
    setTabOrder(txtToYear, cmdSearch);
    setTabOrder(cmdSearch, OrderSearch);
    setTabOrder(OrderSearch, AsordSearch);
    setTabOrder(AsordSearch, spdResult);
    setTabOrder(spdResult, txtFilter);
    setTabOrder(txtFilter, cmdOpen);
    setTabOrder(cmdOpen, cmdClose);
    cmbContent->setFocus();

    connect(cmdSearch, &QPushButton::clicked, this, [this] { subSearch(); });
    for (QLineEdit* e : {cmbContent, txtFromYear, txtToYear})
        connect(e, &QLineEdit::returnPressed, this, [this] { subSearch(); });
    connect(spdResult, &QTableView::activated, this,
            [this](const QModelIndex& i) { openRow(i.row()); });
    connect(cmdOpen, &QPushButton::clicked, this,
            [this] { openRow(spdResult->currentIndex().row()); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    showColumns();
    resize(960, 600);
}

OrdSearchQuery frmOrdSearch::query() const {
    OrdSearchQuery q;
    q.kind = AsordSearch->isChecked() ? OrdSearchKind::Asord : OrdSearchKind::Order;
    q.field = static_cast<OrdSearchField>(cmbOption->currentData().toInt());
    q.text = cmbContent->text().trimmed().toStdString();
    q.fromYear = txtFromYear->text().trimmed().toStdString();
    q.toYear = txtToYear->text().trimmed().toStdString();
    return q;
}

void frmOrdSearch::showColumns() {
    const bool order = searchedKind_ == OrdSearchKind::Order;
    QStringList captions;
    for (const ResultColumn& c : kColumns)
        captions << (c.field == &OrdSearchHit::year && !order ? "发行年月" : c.caption);
    model->setHorizontalHeaderLabels(captions);
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
        spdResult->setColumnHidden(c, kColumns[c].orderOnly && !order);
}

int frmOrdSearch::subSearch() {
    const OrdSearchQuery q = query();
    if (std::string refusal = strOrdSearchRefusal(q); !refusal.empty()) {
        LIB_ShowMsg("I" + refusal);
        return -1;
    }
    std::vector<OrdSearchHit> hits;
    bool more = false;
    if (intOrdSearch(q, hits, more) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    hits_ = std::move(hits);
    searchedKind_ = q.kind;
    model->removeRows(0, model->rowCount());
    for (std::size_t i = 0; i < hits_.size(); ++i) {
        const OrdSearchHit& h = hits_[i];
        QList<QStandardItem*> items;
        for (const ResultColumn& c : kColumns) {
            const std::string& v = h.*c.field;
            items << new QStandardItem(
                qs(c.field == &OrdSearchHit::status ? strOrdGridText("Status", v) : v));
        }
        items[0]->setData(static_cast<int>(i), kHitRole);
        model->appendRow(items);
    }
    showColumns();
    const int n = static_cast<int>(hits_.size());
    lblStatus->setText(more ? QString("只列出前 %1 条，请缩小检索范围").arg(n)
                            : QString("共 %1 条").arg(n));
    if (n > 0) {
        spdResult->setCurrentIndex(proxy_->index(0, 0));
        spdResult->setFocus(Qt::OtherFocusReason);
    }
    return n;
}

const OrdSearchHit* frmOrdSearch::hitAt(int viewRow) const {
    if (viewRow < 0 || viewRow >= proxy_->rowCount()) return nullptr;
    const QVariant i = proxy_->index(viewRow, 0).data(kHitRole);
    return i.isValid() ? &hits_.at(i.toInt()) : nullptr;
}

void frmOrdSearch::openRow(int viewRow) {
    if (const OrdSearchHit* h = hitAt(viewRow)) emit hitChosen(*h, searchedKind_);
}

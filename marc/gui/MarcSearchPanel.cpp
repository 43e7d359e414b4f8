#include "marc/gui/MarcSearchPanel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMIndex.h"

namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Columns of MarcFindRecords' rows for each grid column.
constexpr int kSourceColumn[MarcSearchPanel::ColCount] = {1, 2, 3, 4, 0};

}  // namespace

MarcSearchPanel::MarcSearchPanel(const QString& layoutKey, QWidget* parent) : QWidget(parent) {
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName("cmbOption");
    for (int g = 0; g < MarcIdxGroupCount(); ++g) {
        const MarcIdxPara& p = MarcIdxElement(0, g, 0);
        if (p.Grp.empty()) continue;
        cmbOption->addItem(qs(p.Name), qs(p.Grp));
        // The search inside titles sits next to the title prefix search it complements.
        if (p.Grp == "01") cmbOption->addItem("题名中的词", kMarcTitleWordsGroup);
    }
    cmbContent = new QLineEdit(this);
    cmbContent->setObjectName("cmbContent");
    cmdSearch = new QPushButton("检索(&R)", this);
    cmdSearch->setObjectName("cmdSearch");
    cmdSearch->setAutoDefault(false);
    cmdSearch->setToolTip("检索 (Enter)");

    model_ = new QStandardItemModel(0, ColCount, this);
    model_->setHorizontalHeaderLabels({"题名", "责任者", "出版者", "ISSN/ISBN", "记录号"});
    grdRecords = new QTableView(this);
    grdRecords->setObjectName("grdRecords");
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->verticalHeader()->hide();
    grdRecords->setTabKeyNavigation(false);
    proxy_ = LIB_SetupGrid(grdRecords, model_);
    // The title is what a person reads first: it takes the room the others leave.
    grdRecords->setColumnWidth(ColAuthor, 180);
    grdRecords->setColumnWidth(ColPublisher, 180);
    grdRecords->setColumnWidth(ColIsbn, 130);
    grdRecords->setColumnWidth(ColRecNo, 100);
    grdRecords->horizontalHeader()->setStretchLastSection(false);
    grdRecords->horizontalHeader()->setSectionResizeMode(ColTitle, QHeaderView::Stretch);
    LIB_RememberHeader(grdRecords->horizontalHeader(), layoutKey);
    txtFilter = LIB_GridFilterBox(proxy_, this);
    txtFilter->setObjectName("txtFilter");
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");

    auto* caption = new QLabel("检索途径(&W)", this);
    caption->setBuddy(cmbOption);
    auto* bar = new QHBoxLayout;
    bar->addWidget(caption);
    bar->addWidget(cmbOption);
    bar->addWidget(cmbContent, 1);
    bar->addWidget(cmdSearch);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblStatus, 1);
    foot->addWidget(txtFilter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(grdRecords, 1);
    layout->addLayout(foot);
    setTabOrder(cmbOption, cmbContent);
    setTabOrder(cmbContent, cmdSearch);
    setTabOrder(cmdSearch, grdRecords);
    setTabOrder(grdRecords, txtFilter);
    setFocusProxy(cmbContent);

    auto* find = new QAction("查找", this);
    LIB_SetStdKey(find, StdKey::Find);
    connect(find, &QAction::triggered, this, [this] {
        cmbContent->setFocus(Qt::ShortcutFocusReason);
        cmbContent->selectAll();
    });
    addAction(find);

    connect(cmdSearch, &QPushButton::clicked, this, [this] { subSearch(); });
    connect(cmbContent, &QLineEdit::returnPressed, this, [this] { subSearch(); });
    connect(cmbOption, &QComboBox::currentIndexChanged, this, [this] { showSearchKind(); });
    connect(grdRecords->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { emit currentRecordChanged(qs(currentRecord().recNo)); });
    connect(grdRecords, &QTableView::activated, this,
            [this](const QModelIndex& i) { emit recordChosen(qs(recordAt(i.row()).recNo)); });
    showSearchKind();
}

void MarcSearchPanel::showSearchKind() {
    const bool words = cmbOption->currentData().toString() == kMarcTitleWordsGroup;
    cmbContent->setPlaceholderText(words ? "题名中任意位置的词或字，如“历史”"
                                         : "从" + cmbOption->currentText() +
                                               "的开头检索（前方一致）");
    cmbContent->setToolTip(cmbContent->placeholderText());
}

void MarcSearchPanel::setGroup(const std::string& group) {
    if (int i = cmbOption->findData(qs(group)); i >= 0) cmbOption->setCurrentIndex(i);
}

int MarcSearchPanel::subSearch() {
    const std::string text = cmbContent->text().trimmed().toStdString();
    if (text.empty()) {
        LIB_ShowMsg("I查询内容不能为空");
        return 0;
    }
    LibArray rows;
    if (MarcFindRecords(cmbOption->currentData().toString().toStdString(), text, rows,
                        kMaxRows + 1) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const int shown = std::min(rows.recordCount(), kMaxRows);
    model_->removeRows(0, model_->rowCount());
    for (int r = 0; r < shown; ++r) {
        QList<QStandardItem*> items;
        for (int c = 0; c < ColCount; ++c)
            items << new QStandardItem(qs(rows(kSourceColumn[c], r + 2).str()));
        model_->appendRow(items);
    }
    lblStatus->setText(rows.recordCount() > kMaxRows
                           ? QString("只列出前 %1 条记录，请输入更多内容缩小范围").arg(kMaxRows)
                           : QString("共 %1 条记录").arg(shown));
    if (shown > 0) {
        grdRecords->setCurrentIndex(proxy_->index(0, ColTitle));
        grdRecords->setFocus(Qt::OtherFocusReason);
    } else {
        emit currentRecordChanged({});
    }
    return shown;
}

int MarcSearchPanel::recordCount() const {
    return proxy_->rowCount();
}

MarcFound MarcSearchPanel::recordAt(int viewRow) const {
    if (viewRow < 0 || viewRow >= proxy_->rowCount()) return {};
    auto cell = [&](int c) { return proxy_->index(viewRow, c).data().toString().toStdString(); };
    return {cell(ColRecNo), cell(ColTitle), cell(ColAuthor), cell(ColPublisher), cell(ColIsbn)};
}

MarcFound MarcSearchPanel::currentRecord() const {
    return recordAt(grdRecords->currentIndex().row());
}

// The screen only reads its controls, calls the catalogue core and shows what it returns.
#include "marc/gui/frmCataView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/core/MarcSearch.h"
#include "marc/core/basBMIndex.h"
#include "marc/core/basBMStore.h"

namespace {
QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

frmCataView::frmCataView(QWidget* parent) : QWidget(parent) {
    setObjectName("frmCataView");
    setWindowTitle("书目记录浏览");
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName("cmbOption");
    for (int g = 0; g < MarcIdxGroupCount(); ++g) {
        const MarcIdxPara& p = MarcIdxElement(0, g, 0);
        if (!p.Grp.empty()) cmbOption->addItem(qs(p.Name), qs(p.Grp));
    }
    cmbContent = new QLineEdit(this);
    cmbContent->setObjectName("cmbContent");
    cmdSearch = new QPushButton("检索", this);
    cmdSearch->setObjectName("cmdSearch");
    spdMarcList = new QTableWidget(0, 5, this);
    spdMarcList->setObjectName("spdMarcList");
    spdMarcList->setHorizontalHeaderLabels({"记录号", "题名", "责任者", "出版者", "ISSN/ISBN"});
    spdMarcList->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdMarcList->setSelectionMode(QAbstractItemView::SingleSelection);
    spdMarcList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdMarcList->verticalHeader()->hide();
    spdMarcList->horizontalHeader()->setStretchLastSection(true);
    vsfBM = new MarcRecView(this);
    lblStatus = new QLabel(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("检索途径", this));
    bar->addWidget(cmbOption);
    bar->addWidget(cmbContent, 1);
    bar->addWidget(cmdSearch);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(spdMarcList);
    split->addWidget(vsfBM);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addWidget(lblStatus);

    connect(cmdSearch, &QPushButton::clicked, this, [this] { subSearch(); });
    connect(cmbContent, &QLineEdit::returnPressed, this, [this] { subSearch(); });
    connect(spdMarcList, &QTableWidget::currentCellChanged, this,
            [this](int row) { subShowRecord(row); });
}

int frmCataView::subSearch() {
    std::string text = cmbContent->text().trimmed().toStdString();
    if (text.empty()) {
        LIB_ShowMsg("I查询内容不能为空");
        return 0;
    }
    LibArray rows;
    if (MarcIndexSearch(cmbOption->currentData().toString().toStdString(), text, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    spdMarcList->blockSignals(true);
    spdMarcList->setRowCount(rows.recordCount());
    for (int r = 0; r < rows.recordCount(); ++r)
        for (int c = 0; c < rows.cols() && c < spdMarcList->columnCount(); ++c)
            spdMarcList->setItem(r, c, new QTableWidgetItem(qs(rows(c, r + 2).str())));
    spdMarcList->blockSignals(false);
    spdMarcList->resizeColumnsToContents();
    lblStatus->setText(QString("共 %1 条记录").arg(rows.recordCount()));
    if (rows.recordCount() > 0) {
        spdMarcList->selectRow(0);
        subShowRecord(0);
    } else {
        vsfBM->showRecord(MarcRec{});
    }
    return rows.recordCount();
}

void frmCataView::subShowRecord(int row) {
    if (row < 0 || row >= spdMarcList->rowCount() || !spdMarcList->item(row, 0)) return;
    vsfBM->showRecord(MarcLoad(spdMarcList->item(row, 0)->text().toStdString()));
}

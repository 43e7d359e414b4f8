#include "app/frmLogQuery.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/LibArrayModel.h"
#include "common/basCodeFunc.h"
#include "common/basLogQuery.h"
#include "common/basQKEnv.h"
#include "common/gui/FilterRow.h"
#include "common/gui/Grid.h"
#include "common/gui/StdKeys.h"

namespace {
// The first of the keys and notes among the log's columns.
constexpr int kFirstKeyColumn = 7;

}  // namespace

frmLogQuery::frmLogQuery(QWidget* parent) : QWidget(parent) {
    setObjectName("frmLogQuery");
    auto* layout = new QVBoxLayout(this);
    FilterRow filters(this, "（全部）");
    QDate today = LIB_ServerToday();
    dtpFrom = filters.date("dtpFrom", today.addDays(-7));
    dtpTo = filters.date("dtpTo", today);
    cboWorker = filters.tableChoice("cboWorker", g_arrWorker);
    LibArray types;
    if (LIB_LoadLogTypes(types) != 0) types = LibArray();
    cboLogType = filters.tableChoice("cboLogType", types);
    cmdQuery = new QPushButton("查询", this);
    cmdQuery->setObjectName("cmdQuery");
    filters.add("日期：", dtpFrom).add("至", dtpTo).add("操作员：", cboWorker);
    filters.add("操作：", cboLogType).add("", cmdQuery);
    filters.layout()->setColumnStretch(7, 1);
    layout->addLayout(filters.layout());

    QStringList captions;
    for (const char* c : kLogColumns)
        captions << QString::fromUtf8(c);
    model = new LibArrayModel(captions, this);
    // Which key is which depends on the operation: the cells of the keys and notes say it.
    model->setToolTips([](const LibArray& a, int row, int col) {
        if (col < kFirstKeyColumn) return QString();
        const std::string caption = LIB_LogKeyCaptions(a(2, row + 2).str())[col - kFirstKeyColumn];
        return QString::fromStdString(caption + "：" + a(col, row + 2).str());
    });
    spdLog = new QTableView(this);
    spdLog->setObjectName("spdLog");
    proxy = LIB_SetupGrid(spdLog, model);
    spdLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdLog->horizontalHeader()->setStretchLastSection(true);
    txtFilter = LIB_GridFilterBox(proxy, this);
    layout->addWidget(txtFilter);
    layout->addWidget(spdLog, 1);
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");
    layout->addWidget(lblCount);

    cmdQuery->setText("查询(&Q)");
    cmdQuery->setShortcut(QKeySequence(Qt::Key_F5));
    LIB_TipWithShortcut(cmdQuery);
    connect(cmdQuery, &QPushButton::clicked, this, &frmLogQuery::cmdQuery_Click);
    cmdQuery_Click();
}

void frmLogQuery::cmdQuery_Click() {
    LogFilter f;
    f.from = dtpFrom->date().toString("yyyy-MM-dd").toStdString();
    f.to = dtpTo->date().toString("yyyy-MM-dd").toStdString();
    f.wkrNo = FilterRow::chosen(cboWorker);
    f.logType = FilterRow::chosen(cboLogType);
    LibArray rows;
    if (LIB_QueryOpLog(f, rows) < 0) return;
    QStringList captions;
    for (int i = 0; i < kFirstKeyColumn; ++i)
        captions << QString::fromUtf8(kLogColumns[i]);
    for (const std::string& c : LIB_LogKeyCaptions(f.logType))
        captions << QString::fromStdString(c);
    model->setCaptions(captions);
    model->setArray(std::move(rows));
    spdLog->resizeColumnsToContents();
    lblCount->setText(QString("共 %1 条记录").arg(model->rowCount()));
}

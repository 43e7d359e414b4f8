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
#include "common/gui/Grid.h"
#include "common/gui/StdKeys.h"

namespace {
// The first of the keys and notes among the log's columns.
constexpr int kFirstKeyColumn = 7;

QString text(const LibArray& a, int col, int row) {
    return QString::fromStdString(a(col, row).str());
}

QDate serverToday() {
    QDate d = QDate::fromString(QString::fromStdString(LIB_GetSysInfo(1).str()), "yyyy-MM-dd");
    return d.isValid() ? d : QDate::currentDate();
}
}  // namespace

frmLogQuery::frmLogQuery(QWidget* parent) : QWidget(parent) {
    setObjectName("frmLogQuery");
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    QDate today = serverToday();
    dtpFrom = new QDateEdit(today.addDays(-7), this);
    dtpFrom->setObjectName("dtpFrom");
    dtpTo = new QDateEdit(today, this);
    dtpTo->setObjectName("dtpTo");
    for (QDateEdit* d : {dtpFrom, dtpTo}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat("yyyy-MM-dd");
    }
    cboWorker = new QComboBox(this);
    cboWorker->setObjectName("cboWorker");
    cboWorker->addItem("（全部）", QString());
    for (int row = 2; row < g_arrWorker.rows(); ++row)
        cboWorker->addItem(text(g_arrWorker, 0, row) + " " + text(g_arrWorker, 1, row),
                           text(g_arrWorker, 0, row));
    cboLogType = new QComboBox(this);
    cboLogType->setObjectName("cboLogType");
    cboLogType->addItem("（全部）", QString());
    LibArray types;
    if (LIB_LoadLogTypes(types) == 0)
        for (int row = 2; row < types.rows(); ++row)
            cboLogType->addItem(text(types, 0, row) + " " + text(types, 1, row),
                                text(types, 0, row));
    cmdQuery = new QPushButton("查询", this);
    cmdQuery->setObjectName("cmdQuery");
    filters->addWidget(new QLabel("日期：", this));
    filters->addWidget(dtpFrom);
    filters->addWidget(new QLabel("至", this));
    filters->addWidget(dtpTo);
    filters->addWidget(new QLabel("操作员：", this));
    filters->addWidget(cboWorker);
    filters->addWidget(new QLabel("操作：", this));
    filters->addWidget(cboLogType, 1);
    filters->addWidget(cmdQuery);
    layout->addLayout(filters);

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
    f.wkrNo = cboWorker->currentData().toString().toStdString();
    f.logType = cboLogType->currentData().toString().toStdString();
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

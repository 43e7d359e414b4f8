#include "checkin/gui/frmNewTrans.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/gui/FilterRow.h"
#include "common/gui/PrintPreview.h"
#include "common/print/ListPrint.h"
#include "db/basLibMsg.h"

namespace {

const QStringList& columns() {
    static const QStringList c = {"订户",       "分配地",   "刊名",    "出版年度", "卷期信息",
                                  "可交接复本", "分类号",   "排架号",  "期类型",   "总期数",
                                  "征订号",     "交接日期", "签收日期"};
    return c;
}

QStringList cells(const TransferRow& r) {
    auto s = [](const std::string& v) { return QString::fromStdString(v); };
    return {s(LIB_LocationName(r.location)),
            s(LIB_LocationName(r.disLocation)),
            s(r.title),
            s(r.publYear),
            s(r.cover),
            QString::number(r.copies),
            s(r.kindNo),
            s(r.label),
            s(r.periType),
            s(r.totalIssue),
            s(r.asordNo),
            s(r.connDate),
            s(r.chkDate)};
}

}  // namespace

frmNewTrans::frmNewTrans(QWidget* parent) : QWidget(parent) {
    setObjectName("frmNewTrans");
    setWindowTitle("期刊交接");
    FilterRow filters(this, "<不定>");
    const QDate today = LIB_ServerToday();
    dtpFrom = filters.date("dtpFrom", today);
    dtpTo = filters.date("dtpTo", today);
    cmbLoca = filters.tableChoice("cmbLoca", g_arrLocation);
    optAtDesk = new QRadioButton("待交接", this);
    optAtDesk->setObjectName("optAtDesk");
    optAtDesk->setChecked(true);
    optHandedOver = new QRadioButton("已交接", this);
    optHandedOver->setObjectName("optHandedOver");
    txtCopies = new QSpinBox(this);
    txtCopies->setObjectName("txtCopies");
    txtCopies->setRange(1, 99);
    txtCopies->setToolTip("每行交接或取回的复本数");

    spdTrans = new QTableWidget(0, columns().size() + 1, this);
    spdTrans->setObjectName("spdTrans");
    spdTrans->setHorizontalHeaderLabels(QStringList{"选择"} + columns());
    spdTrans->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdTrans->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto button = [this](const char* text, const char* name, const char* tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        return b;
    };
    cmdSearch = button("查询", "cmdSearch", "列出签收日期在区间内的复本 (F5)");
    cmdSearch->setShortcut(QKeySequence(Qt::Key_F5));
    cmdTrans = button("交接", "cmdTrans", "把所选行的复本交给分配地");
    cmdUndo = button("取回", "cmdUndo", "取回所选行已交接的复本");
    cmdPrint = button("打印", "cmdPrint", "交接清单打印预览 (Ctrl+P)");
    cmdPrint->setShortcut(QKeySequence::Print);
    cmdPdf = button("PDF", "cmdPdf", "把交接清单存为 PDF 文件");
    cmdCancel = button("退出", "cmdCancel", "关闭 (Esc)");
    cmdCancel->setShortcut(QKeySequence(Qt::Key_Escape));

    filters.add("签收日期：", dtpFrom).add("至", dtpTo).add("订户：", cmbLoca);
    filters.add("", optAtDesk).add("", optHandedOver).add("复本数：", txtCopies).add("", cmdSearch);
    filters.layout()->setColumnStretch(11, 1);
    auto* buttons = new QHBoxLayout;
    for (auto* b : {cmdTrans, cmdUndo, cmdPrint, cmdPdf})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters.layout());
    layout->addWidget(spdTrans, 1);
    layout->addLayout(buttons);

    connect(cmdSearch, &QPushButton::clicked, this, &frmNewTrans::cmdSearch_Click);
    connect(cmdTrans, &QPushButton::clicked, this, &frmNewTrans::cmdTrans_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &frmNewTrans::cmdUndo_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { printedListPreview(listHtml(), this); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        QString path =
            QFileDialog::getSaveFileName(this, "保存交接清单", "交接清单.pdf", "PDF (*.pdf)");
        if (!path.isEmpty() && !printToPdf(path))
            LIB_ShowMsg("E无法写入文件：" + path.toStdString());
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void frmNewTrans::cmdSearch_Click() {
    rows_.clear();
    intTransferList(dtpFrom->date().toString("yyyy-MM-dd").toStdString(),
                    dtpTo->date().toString("yyyy-MM-dd").toStdString(), FilterRow::chosen(cmbLoca),
                    optHandedOver->isChecked(), rows_);
    spdTrans->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < spdTrans->rowCount(); ++r) {
        auto* mark = new QTableWidgetItem;
        mark->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        mark->setCheckState(Qt::Checked);
        spdTrans->setItem(r, 0, mark);
        QStringList c = cells(rows_[r]);
        for (int col = 0; col < c.size(); ++col)
            spdTrans->setItem(r, col + 1, new QTableWidgetItem(c[col]));
    }
    spdTrans->resizeColumnsToContents();
    cmdTrans->setEnabled(optAtDesk->isChecked());
    cmdUndo->setEnabled(optHandedOver->isChecked());
}

std::vector<TransferRow> frmNewTrans::marked() const {
    std::vector<TransferRow> out;
    for (int r = 0; r < spdTrans->rowCount() && r < static_cast<int>(rows_.size()); ++r)
        if (spdTrans->item(r, 0)->checkState() == Qt::Checked) out.push_back(rows_[r]);
    return out;
}

void frmNewTrans::cmdTrans_Click() {
    auto rows = marked();
    if (!rows.empty() && intHandOver(rows, txtCopies->value()) == 0) cmdSearch_Click();
}

void frmNewTrans::cmdUndo_Click() {
    auto rows = marked();
    if (!rows.empty() && intTakeBack(rows, txtCopies->value()) == 0) cmdSearch_Click();
}

QString frmNewTrans::listHtml() const {
    std::map<std::string, PrintSection> byPlace;
    std::map<std::string, int> copies;
    QString date =
        dtpFrom->date().toString("yyyy-MM-dd") + " 至 " + dtpTo->date().toString("yyyy-MM-dd");
    for (const TransferRow& r : marked()) {
        PrintSection& s = byPlace[r.disLocation];
        s.heading = "分配地：" + QString::fromStdString(LIB_LocationName(r.disLocation)) +
                    "    交接日期：" + date;
        s.rows.push_back(cells(r));
        copies[r.disLocation] += r.copies;
    }
    std::vector<PrintSection> sections;
    for (auto& [place, s] : byPlace) {
        s.total = QString("总计：%1 种 %2 本").arg(s.rows.size()).arg(copies[place]);
        sections.push_back(std::move(s));
    }
    return printedListHtml("期刊交接清单", columns(), sections, printedByFooter());
}

bool frmNewTrans::printToPdf(const QString& path) const {
    return printedListToPdf(listHtml(), path);
}

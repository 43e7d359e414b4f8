#include "checkin/gui/frmNewTrans.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <iterator>
#include <map>

#include "checkin/gui/TransferGridModel.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/gui/FilterRow.h"
#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/PrintPreview.h"
#include "common/gui/StdKeys.h"
#include "common/print/ListPrint.h"
#include "db/basLibMsg.h"

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

    model = new TransferGridModel(this);
    spdTrans = new QTableView(this);
    spdTrans->setObjectName("spdTrans");
    spdTrans->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdTrans->setWordWrap(false);
    proxy = LIB_SetupGrid(spdTrans, model);
    // The grid shows first what a hand-over is checked by, the issue, where it goes and how many
    // copies, so that it is in view on a small screen; the printed list keeps its own order.
    QHeaderView* header = spdTrans->horizontalHeader();
    using C = TransferGridModel::Column;
    const C order[] = {C::Mark,     C::Title,    C::Cover,      C::DisLocation, C::Copies,
                       C::ChkDate,  C::Location, C::AsordNo,    C::Label,       C::KindNo,
                       C::PublYear, C::PeriType, C::TotalIssue, C::ConnDate};
    for (int i = 0; i < static_cast<int>(std::size(order)); ++i)
        header->moveSection(header->visualIndex(order[i]), i);
    header->setStretchLastSection(true);
    LIB_RememberHeader(header, "checkin/frmNewTrans/spdTrans");
    txtFilter = LIB_GridFilterBox(proxy, this);

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    cmdSearch = button("查询", "cmdSearch");
    cmdSelectAll = button("全选", "cmdSelectAll");
    cmdDisselect = button("全不选", "cmdDisselect");
    cmdTrans = button("交接", "cmdTrans");
    cmdUndo = button("取回", "cmdUndo");
    cmdPrint = button("打印", "cmdPrint");
    cmdPdf = button("PDF", "cmdPdf");
    cmdCancel = button("退出", "cmdCancel");
    LIB_ButtonKey(this, cmdSearch, StdKey::Refresh, "列出签收日期在区间内的复本");
    LIB_ButtonKey(this, cmdTrans, StdKey::Save, "把所选行的复本交给分配地");
    LIB_ButtonKey(this, cmdUndo, QKeySequence(Qt::CTRL | Qt::Key_Z), "取回所选行已交接的复本");
    LIB_ButtonKey(this, cmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P), "交接清单打印预览");
    LIB_ButtonKey(this, cmdPdf, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                  "把交接清单存为 PDF 文件");
    LIB_ButtonKey(this, cmdCancel, StdKey::Cancel, "关闭");
    LIB_ButtonKey(this, cmdSelectAll, QKeySequence(Qt::CTRL | Qt::Key_A), "选中列出的全部行");
    LIB_ButtonKey(this, cmdDisselect, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                  "取消列出行的选择");
    LIB_FilterBoxKey(this, txtFilter, "只列出含有这些文字的行；交接、取回与打印只作用于列出的行");

    filters.add("签收日期：", dtpFrom).add("至", dtpTo).add("订户：", cmbLoca);
    filters.add("", optAtDesk).add("", optHandedOver).add("复本数：", txtCopies).add("", cmdSearch);
    filters.layout()->setColumnStretch(11, 1);
    auto* buttons = new QHBoxLayout;
    for (auto* b : {cmdSelectAll, cmdDisselect, cmdTrans, cmdUndo, cmdPrint, cmdPdf})
        buttons->addWidget(b);
    buttons->addWidget(txtFilter, 1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters.layout());
    layout->addWidget(spdTrans, 1);
    layout->addLayout(buttons);

    connect(cmdSearch, &QPushButton::clicked, this, &frmNewTrans::cmdSearch_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this,
            [this] { markShownRows(proxy, model, true); });
    connect(cmdDisselect, &QPushButton::clicked, this,
            [this] { markShownRows(proxy, model, false); });
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
    std::vector<TransferRow> rows;
    intTransferList(dtpFrom->date().toString("yyyy-MM-dd").toStdString(),
                    dtpTo->date().toString("yyyy-MM-dd").toStdString(), FilterRow::chosen(cmbLoca),
                    optHandedOver->isChecked(), rows);
    model->setRows(std::move(rows));
    fitColumnsUntilRemembered(spdTrans);
    cmdTrans->setEnabled(optAtDesk->isChecked());
    cmdUndo->setEnabled(optHandedOver->isChecked());
}

std::vector<TransferRow> frmNewTrans::marked() const {
    return model->rowsAt(shownMarkedRows(proxy, model));
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
        s.rows.push_back(TransferGridModel::cells(r));
        copies[r.disLocation] += r.copies;
    }
    std::vector<PrintSection> sections;
    for (auto& [place, s] : byPlace) {
        s.total = QString("总计：%1 种 %2 本").arg(s.rows.size()).arg(copies[place]);
        sections.push_back(std::move(s));
    }
    return printedListHtml("期刊交接清单", TransferGridModel::listCaptions(), sections,
                           printedByFooter());
}

bool frmNewTrans::printToPdf(const QString& path) const {
    return printedListToPdf(listHtml(), path);
}

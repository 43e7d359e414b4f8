#include "checkin/gui/frmNewAskLack.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "checkin/core/basChkClaim.h"
#include "checkin/gui/ClaimGridModel.h"
#include "checkin/gui/ClaimPrint.h"
#include "checkin/gui/frmNewAslackMail.h"
#include "common/basCodeFunc.h"
#include "common/basQKEnv.h"
#include "common/gui/FilterRow.h"
#include "common/gui/Grid.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/PrintPreview.h"
#include "common/gui/StdKeys.h"
#include "common/print/ListPrint.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"

namespace {

QString today() {
    return QString::fromStdString(LIB_GetSysInfo(1).str()).left(10);
}

}  // namespace

frmNewAskLack::frmNewAskLack(QWidget* parent) : QWidget(parent) {
    setObjectName("frmNewAskLack");
    setWindowTitle("期刊催缺");
    std::vector<std::string> years, locations;
    std::vector<std::pair<std::string, std::string>> groups;
    if (claimLoadChoices(years, locations, groups) < 0) LIB_DB_ShowError();
    if (g_arrPublisher.rows() <= 2) LIB_LoadPublishers();

    FilterRow filters(this, "<不定>");
    std::vector<std::pair<std::string, std::string>> yearItems, locationItems;
    for (const auto& y : years)
        yearItems.emplace_back(y, "");
    for (const auto& l : locations)
        locationItems.emplace_back(l, LIB_LocationName(l));
    cmbYear = filters.choice("cmbYear", yearItems);
    if (cmbYear->count() > 1) cmbYear->setCurrentIndex(1);
    cmbLoca = filters.choice("cmbLoca", locationItems);
    cmbNo = filters.choice("cmbNo", {});
    cmbNo->setEditable(true);
    cmbGetMode = filters.tableChoice("cmbGetMode", g_arrGetMode);
    cmbDocType = filters.tableChoice("cmbDocType", g_arrDocType);
    cmbIdxGroup = new QComboBox(this);
    cmbIdxGroup->setObjectName("cmbIdxGroup");
    for (const auto& [code, name] : groups)
        cmbIdxGroup->addItem(QString::fromStdString(name), QString::fromStdString(code));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName("txtSearch");
    lstPubl = new QListWidget(this);
    lstPubl->setObjectName("lstPubl");
    lstPubl->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int r = 2; r < g_arrPublisher.rows(); ++r) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(g_arrPublisher(0, r).str() + " " + g_arrPublisher(1, r).str()),
            lstPubl);
        item->setData(Qt::UserRole, QString::fromStdString(g_arrPublisher(0, r).str()));
    }
    lstPubl->setMaximumHeight(110);

    showType_ = new QButtonGroup(this);
    const char* captions[] = {"待催缺期刊", "已有后续期到达", "已催缺期刊"};
    for (int i = 0; i < 3; ++i) {
        optShowType[i] = new QRadioButton(captions[i], this);
        optShowType[i]->setObjectName(QString("optShowType%1").arg(i));
        showType_->addButton(optShowType[i], i);
    }
    optShowType[0]->setChecked(true);

    auto* shows = new QHBoxLayout;
    for (auto* o : optShowType)
        shows->addWidget(o);
    shows->addStretch();
    filters.add("订购年度：", cmbYear).add("订户：", cmbLoca).add("征订号：", cmbNo);
    filters.add("发行商：", lstPubl, -3);
    filters.newRow().add("获得方式：", cmbGetMode).add("文献类型：", cmbDocType);
    filters.add("", cmbIdxGroup).add("", txtSearch);
    filters.newRow().add("", shows, 6);

    model = new ClaimGridModel(this);
    spdDetail = new QTableView(this);
    spdDetail->setObjectName("spdDetail");
    spdDetail->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdDetail->setWordWrap(false);
    proxy = LIB_SetupGrid(spdDetail, model, "checkin/frmNewAskLack/spdDetail");
    spdDetail->horizontalHeader()->setStretchLastSection(true);
    txtFilter = LIB_GridFilterBox(proxy, this);

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    cmdSearch = button("查询", "cmdSearch");
    cmdSelectAll = button("全选", "cmdSelectAll");
    cmdDisselect = button("全不选", "cmdDisselect");
    cmdAsk = button("催缺", "cmdAsk");
    cmdPrint = button("打印", "cmdPrint");
    cmdPdf = button("PDF", "cmdPdf");
    cmdSendMail = button("邮件催缺", "cmdSendMail");
    cmdCancel = button("退出", "cmdCancel");
    LIB_ButtonKey(this, cmdSearch, StdKey::Refresh, "查找缺刊");
    LIB_ButtonKey(this, cmdSelectAll, QKeySequence(Qt::CTRL | Qt::Key_A), "选中列出的全部期刊");
    LIB_ButtonKey(this, cmdDisselect, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                  "取消列出期刊的选择");
    LIB_ButtonKey(this, cmdAsk, StdKey::Save, "记录所选期刊的催缺");
    LIB_ButtonKey(this, cmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P), "催缺单打印预览");
    LIB_ButtonKey(this, cmdPdf, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                  "把催缺单存为 PDF 文件");
    LIB_ButtonKey(this, cmdSendMail, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M),
                  "把所选期刊的催缺单发给选中的发行商");
    LIB_ButtonKey(this, cmdCancel, StdKey::Cancel, "关闭");
    LIB_FilterBoxKey(this, txtFilter, "只列出含有这些文字的期刊；命令只作用于列出的期刊");
    auto* buttons = new QHBoxLayout;
    for (auto* b : {cmdSearch, cmdSelectAll, cmdDisselect, cmdAsk, cmdPrint, cmdPdf, cmdSendMail})
        buttons->addWidget(b);
    buttons->addWidget(txtFilter, 1);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters.layout());
    layout->addWidget(spdDetail, 1);
    layout->addLayout(buttons);

    connect(cmdSearch, &QPushButton::clicked, this, &frmNewAskLack::cmdSearch_Click);
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmNewAskLack::cmdSearch_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this,
            [this] { markShownRows(proxy, model, true); });
    connect(cmdDisselect, &QPushButton::clicked, this,
            [this] { markShownRows(proxy, model, false); });
    connect(cmdAsk, &QPushButton::clicked, this, &frmNewAskLack::cmdAsk_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmNewAskLack::cmdPrint_Click);
    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        QString path =
            QFileDialog::getSaveFileName(this, "保存催缺单", "催缺单.pdf", "PDF (*.pdf)");
        if (!path.isEmpty() && !printToPdf(path))
            LIB_ShowMsg("E无法写入文件：" + path.toStdString());
    });
    connect(cmdSendMail, &QPushButton::clicked, this, &frmNewAskLack::cmdSendMail_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(showType_, &QButtonGroup::idClicked, this, [this] { model->setRows({}, false); });
}

ClaimFilter frmNewAskLack::filter() const {
    ClaimFilter f;
    f.year = FilterRow::chosen(cmbYear);
    f.location = FilterRow::chosen(cmbLoca);
    f.asordNo = FilterRow::chosen(cmbNo);
    f.getMode = FilterRow::chosen(cmbGetMode);
    f.docType = FilterRow::chosen(cmbDocType);
    for (auto* item : lstPubl->selectedItems())
        f.publCodes.push_back(item->data(Qt::UserRole).toString().toStdString());
    f.idxGroup = cmbIdxGroup->currentData().toString().toStdString();
    f.searchText = txtSearch->text().toStdString();
    return f;
}

ClaimList frmNewAskLack::shownList() const {
    return static_cast<ClaimList>(showType_->checkedId());
}

void frmNewAskLack::cmdSearch_Click() {
    std::vector<ClaimCandidate> rows;
    bool toClaim = shownList() != ClaimList::Claimed;
    intFindClaims(filter(), shownList(), rows);
    model->setEditable(toClaim);
    model->setRows(std::move(rows), toClaim);
    fitColumnsUntilRemembered(spdDetail);
}

std::vector<ClaimCandidate> frmNewAskLack::chosenRows() const {
    return model->rowsAt(shownMarkedRows(proxy, model));
}

void frmNewAskLack::cmdAsk_Click() {
    if (shownList() == ClaimList::Claimed) return;
    std::vector<ClaimCandidate> marked = chosenRows();
    if (marked.empty()) return;
    if (intRecordClaims(marked) == 0) cmdSearch_Click();
}

bool frmNewAskLack::printToPdf(const QString& path) {
    return printedListToPdf(claimListHtml(chosenRows(), today(), shownList() != ClaimList::Claimed),
                            path);
}

void frmNewAskLack::cmdPrint_Click() {
    printedListPreview(claimListHtml(chosenRows(), today(), shownList() != ClaimList::Claimed),
                       this);
}

void frmNewAskLack::cmdSendMail_Click() {
    if (lstPubl->selectedItems().size() != 1) {
        LIB_ShowMsg("E邮件催缺必须选择一个发行商。");
        return;
    }
    std::string publ =
        lstPubl->selectedItems().front()->data(Qt::UserRole).toString().toStdString();
    std::vector<ClaimCandidate> rows;
    for (ClaimCandidate& c : chosenRows())
        if (c.publCode == publ) rows.push_back(std::move(c));
    if (rows.empty() || shownList() == ClaimList::Claimed) {
        LIB_ShowMsg("E没有缺刊！");
        return;
    }
    ClaimMail mail;
    if (claimPrepareMail(publ, today().toStdString(), mail) < 0) {
        LIB_DB_ShowError();
        return;
    }
    mailForm = new frmNewAslackMail(mail, rows, this);
    connect(mailForm, &QDialog::finished, this, [this](int result) {
        mailForm->deleteLater();
        mailForm = nullptr;
        if (result == QDialog::Accepted) cmdSearch_Click();
    });
    mailForm->open();
}

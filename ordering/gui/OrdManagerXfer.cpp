// The order manager's commands that rewrite or carry whole details: normalised numbers, the
// title change copy, moving, copying, cutting and pasting details into another catalogue (also
// by dragging them, or a whole catalogue, onto a catalogue of the tree), and the export of the
// marked rows.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>

#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdMove.h"
#include "ordering/gui/frmOrdTree.h"

void frmOrdManager::addXferCommands() {
    addCommand("cmdDetlCut", "剪切明细(&T)", &frmOrdManager::cmdDetlCut);
    addCommand("cmdDetlCopy", "复制明细(&C)", &frmOrdManager::cmdDetlCopy);
    addCommand("cmdDetlPaste", "粘贴明细(&V)", &frmOrdManager::cmdDetlPaste);
    addCommand("cmdDetlMove", "移动到订购目录(&O)...", &frmOrdManager::cmdDetlMove);
    addCommand("cmdStandard", "规范征订号", &frmOrdManager::cmdStandard);
    addCommand("cmdRename", "改名复制(:A)", &frmOrdManager::cmdRename);
    addCommand("cmdExportArea", "导出选定明细...", &frmOrdManager::cmdExportArea);
    command("cmdDetlCut")->setShortcut(QKeySequence::Cut);
    command("cmdDetlCopy")->setShortcut(QKeySequence::Copy);
    command("cmdDetlPaste")->setShortcut(QKeySequence::Paste);
    command("cmdDetlMove")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    QMenu* menu = menuBar()->addMenu("转移(&M)");
    for (const char* name : {"cmdDetlCut", "cmdDetlCopy", "cmdDetlPaste", "cmdDetlMove"})
        menu->addAction(command(name));
    menu->addSeparator();
    for (const char* name : {"cmdStandard", "cmdRename", "cmdExportArea"})
        menu->addAction(command(name));
    for (const char* name : {"cmdDetlCut", "cmdDetlCopy", "cmdDetlPaste", "cmdDetlMove",
                             "cmdStandard", "cmdRename", "cmdExportArea"}) {
        QAction* a = command(name);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
        LIB_TipWithShortcut(a);
    }
    // Saved details are dragged out of the list onto a catalogue of the tree.
    OrderMain->spdList->setDragEnabled(true);
    OrderMain->spdList->setDragDropMode(QAbstractItemView::DragOnly);
    connect(m_frmOrdTree, &frmOrdTree::detailsDropped, this, &frmOrdManager::detailsDropped);
    connect(m_frmOrdTree, &frmOrdTree::catalogueDropped, this, &frmOrdManager::catalogueDropped);
}

void frmOrdManager::refreshXferCommands(bool order, bool catalogue, int count, bool editing,
                                        bool locked) {
    const bool details = order && catalogue && count > 0 && !editing;
    const bool current =
        details && OrderMain->current() && !OrderMain->current()->savedAsordNo.empty();
    commands_.at("cmdDetlCopy")->setEnabled(details);
    commands_.at("cmdExportArea")->setEnabled(details);
    for (const char* name : {"cmdDetlCut", "cmdDetlMove", "cmdStandard"})
        commands_.at(name)->setEnabled(details && !locked);
    commands_.at("cmdRename")->setEnabled(current && !locked);
    const bool elsewhere =
        clip_.publ != OrderMain->PublCode() || clip_.year != OrderMain->OrdYear();
    commands_.at("cmdDetlPaste")
        ->setEnabled(order && catalogue && !editing && !locked && !clip_.asordNos.empty() &&
                     elsewhere);
}

void frmOrdManager::cmdStandard() {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos)) return;
    std::vector<std::pair<std::string, std::string>> written;
    if (intStandardOrdNumbers(OrderMain->PublCode(), OrderMain->OrdYear(), nos, written) < 0)
        return;
    OrderMain->Refresh();
    statusBar()->showMessage(QString("已规范 %1 条征订号").arg(written.size()));
}

void frmOrdManager::cmdRename() {
    if (!OrderMain->QueryClose() || !OrderMain->current()) return;
    const std::string no = OrderMain->current()->savedAsordNo;
    OrdRenameResult r;
    if (intRenameOrdDetail(OrderMain->PublCode(), OrderMain->OrdYear(), no, r) < 0) return;
    OrderMain->Refresh();
    // The copy is shown, for its title to be changed in its new record.
    for (std::size_t i = 0; i < OrderMain->rows().size(); ++i)
        if (OrderMain->rows()[i].savedAsordNo == r.asordNo)
            OrderMain->setCurIndex(static_cast<int>(i));
    statusBar()->showMessage(
        QString::fromStdString("已改名复制为 " + r.asordNo + "，新书目记录 " + r.marcNo));
}

void frmOrdManager::remember(OrdXferMode mode) {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos)) return;
    clip_ = {OrderMain->PublCode(), OrderMain->OrdYear(), nos, mode};
    statusBar()->showMessage(QString("已%1 %2 条订购明细，请在目的订购目录中粘贴")
                                 .arg(mode == OrdXferMode::Move ? "剪切" : "复制")
                                 .arg(nos.size()));
}

void frmOrdManager::cmdDetlCut() {
    remember(OrdXferMode::Move);
}

void frmOrdManager::cmdDetlCopy() {
    remember(OrdXferMode::Copy);
}

void frmOrdManager::cmdDetlPaste() {
    if (!OrderMain->QueryClose()) return;
    const Clip c = clip_;
    transfer(c.publ, c.year, c.asordNos, OrderMain->PublCode(), OrderMain->OrdYear(), c.mode);
}

void frmOrdManager::cmdDetlMove() {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos)) return;
    delete moveDialog;
    moveDialog = new frmOrdMove(OrderMain->PublCode(), OrderMain->OrdYear(),
                                static_cast<int>(nos.size()), this);
    const std::string publ = OrderMain->PublCode(), year = OrderMain->OrdYear();
    connect(moveDialog, &QDialog::accepted, this, [this, publ, year, nos] {
        transfer(publ, year, nos, moveDialog->targetPubl(), moveDialog->targetYear(),
                 moveDialog->mode());
        // A catalogue made in the dialog shows in the manager's tree too.
        m_frmOrdTree->Reload();
        subRefreshCommands();
    });
    moveDialog->open();
}

void frmOrdManager::transfer(const std::string& publ, const std::string& year,
                             const std::vector<std::string>& asordNos, const std::string& toPubl,
                             const std::string& toYear, OrdXferMode mode) {
    OrdXferResult r;
    if (intTransferOrdDetails(publ, year, asordNos, toPubl, toYear, mode, r) < 0) return;
    // A cut is pasted once; what stayed in the source (numbers the target had) goes with it.
    if (mode == OrdXferMode::Move && clip_.publ == publ && clip_.year == year) clip_ = {};
    auto shows = [this](const std::string& p, const std::string& y) {
        return OrderMain->PublCode() == p && OrderMain->OrdYear() == y;
    };
    if (shows(toPubl, toYear) || (mode == OrdXferMode::Move && shows(publ, year)))
        OrderMain->Refresh();
}

void frmOrdManager::cmdExportArea() {
    std::vector<std::string> nos;
    if (selectedOrderNumbers(nos)) exportSheet(nos);
}

void frmOrdManager::detailsDropped(const QStringList& keys, const QString& publ,
                                   const QString& year) {
    if (keys.isEmpty() || !OrderMain->QueryClose()) return;
    const OrdRowKey first = SplitOrdRowKey(keys.first().toStdString());
    std::vector<std::string> nos;
    for (const QString& k : keys)
        nos.push_back(SplitOrdRowKey(k.toStdString()).asordNo);
    const std::string to = m_frmOrdTree->catalogueLabel(publ.toStdString(), year.toStdString());
    if (LIB_ShowMsg("Q是否确定将订购记录添加到 " + to + " 中?") != kMsgOk) return;
    transfer(first.publ, first.year, nos, publ.toStdString(), year.toStdString(),
             OrdXferMode::Copy);
    subRefreshCommands();
}

void frmOrdManager::catalogueDropped(const QString& fromPubl, const QString& fromYear,
                                     const QString& publ, const QString& year) {
    const std::string from =
        m_frmOrdTree->catalogueLabel(fromPubl.toStdString(), fromYear.toStdString());
    const std::string to = m_frmOrdTree->catalogueLabel(publ.toStdString(), year.toStdString());
    if (!OrderMain->QueryClose() ||
        LIB_ShowMsg("Q是否确定将 " + from + " 订购记录合并到 " + to + " 中?") != kMsgOk)
        return;
    OrdXferResult r;
    if (intMergeOrdCata(fromPubl.toStdString(), fromYear.toStdString(), publ.toStdString(),
                        year.toStdString(), r) < 0)
        return;
    if (OrderMain->PublCode() == publ.toStdString() && OrderMain->OrdYear() == year.toStdString())
        OrderMain->Refresh();
    subRefreshCommands();
}

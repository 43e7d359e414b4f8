// The order manager's commands on a catalogue's details as a whole: sending and taking a send
// back, the check-in progress of sent details, the printed order lists, the export, the mail
// to the distributor and the price and frequency refresh from a pre-order catalogue.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>

#include "common/gui/FileDialogs.h"
#include "common/gui/PrintPreview.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdListPrint.h"
#include "ordering/core/OrdOutput.h"
#include "ordering/core/OrdRefresh.h"
#include "ordering/core/OrdSend.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdSendMail.h"
#include "ordering/gui/frmOrdTree.h"

void frmOrdManager::addSendCommands() {
    addCommand("cmdSend", "发订(&O)", &frmOrdManager::cmdSend);
    addCommand("cmdUnSend", "取消发订(&U)", &frmOrdManager::cmdUnSend);
    addCommand("cmdShowFlag", "签收信息(&H)", &frmOrdManager::cmdShowFlag);
    addCommand("cmdPrintType", "打印类型(&Y)...", &frmOrdManager::cmdPrintType);
    addCommand("cmdPrint", "打印订购清单(&P)", &frmOrdManager::cmdPrint);
    addCommand("cmdPrintLoca", "按订户打印", &frmOrdManager::cmdPrintLoca);
    addCommand("cmdPrintDisLoca", "按分配地打印", &frmOrdManager::cmdPrintDisLoca);
    addCommand("cmdExportAll", "导出订购明细(&X)", &frmOrdManager::cmdExportAll);
    addCommand("cmdEmail", "邮件发送订单(&M)", &frmOrdManager::cmdEmail);
    chooseExportFile = [this](const std::string& suggested) {
        return LIB_SaveFileName(this, "导出订购明细", "export", QString::fromStdString(suggested),
                                "Excel 文件 (*.xlsx)")
            .toStdString();
    };
    addCommand("cmdReplace", "按征订目录刷新价格", &frmOrdManager::cmdReplace);
    addCommand("cmdReplaceFreq", "按征订目录刷新频率", &frmOrdManager::cmdReplaceFreq);
    command("cmdPrint")->setShortcut(QKeySequence::Print);
    command("cmdPrintType")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    printTypeMenu = new QMenu(this);
    printTypeMenu->setObjectName("mnuPrintType");
    for (const char* name : {"cmdPrint", "cmdPrintLoca", "cmdPrintDisLoca"})
        printTypeMenu->addAction(command(name));
    QMenu* menu = menuBar()->addMenu("发订(&O)");
    for (const char* name : {"cmdSend", "cmdUnSend", "cmdShowFlag"})
        menu->addAction(command(name));
    menu->addSeparator();
    for (const char* name : {"cmdReplace", "cmdReplaceFreq"})
        menu->addAction(command(name));
    menu->addSeparator();
    for (const char* name : {"cmdPrintType", "cmdPrint", "cmdPrintLoca", "cmdPrintDisLoca",
                             "cmdExportAll", "cmdEmail"})
        menu->addAction(command(name));
    for (const char* name :
         {"cmdSend", "cmdUnSend", "cmdShowFlag", "cmdPrintType", "cmdPrint", "cmdPrintLoca",
          "cmdPrintDisLoca", "cmdExportAll", "cmdEmail", "cmdReplace", "cmdReplaceFreq"}) {
        QAction* a = command(name);
        const QString keys = a->shortcut().toString(QKeySequence::NativeText);
        a->setToolTip(a->text().remove("&") + (keys.isEmpty() ? "" : " (" + keys + ")"));
    }
}

void frmOrdManager::refreshSendCommands(bool order, bool catalogue, int count, bool editing) {
    const bool details = order && catalogue && count > 0;
    for (const char* name : {"cmdSend", "cmdUnSend", "cmdShowFlag"})
        commands_.at(name)->setEnabled(details && !editing);
    // Lists and mail read the saved rows: an empty catalogue still prints its heading.
    for (const char* name : {"cmdPrintType", "cmdPrint", "cmdPrintLoca", "cmdPrintDisLoca",
                             "cmdExportAll", "cmdEmail"})
        commands_.at(name)->setEnabled(order && catalogue && !editing);
    // The pre-order catalogue to refresh from is the one chosen in its tree.
    for (const char* name : {"cmdReplace", "cmdReplaceFreq"})
        commands_.at(name)->setEnabled(details && !editing && !AsordMain->PublCode().empty());
}

bool frmOrdManager::selectedOrderNumbers(std::vector<std::string>& out) {
    out.clear();
    // The send reads the saved rows, and the list's copies of a sent row must be fresh.
    if (!OrderMain->QueryClose()) return false;
    for (const std::string& key : OrderMain->GetSelectKeys())
        out.push_back(SplitOrdRowKey(key).asordNo);
    return !out.empty();
}

void frmOrdManager::cmdSend() {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos)) return;
    OrdSendResult r;
    if (intSendOrdDetails(OrderMain->PublCode(), OrderMain->OrdYear(), nos, r) != 0) return;
    m_frmOrdTree->setCatalogueSent(OrderMain->PublCode(), OrderMain->OrdYear(), r.catalogueSent);
    OrderMain->Refresh();
}

void frmOrdManager::cmdUnSend() {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos)) return;
    OrdSendResult r;
    if (intUnsendOrdDetails(OrderMain->PublCode(), OrderMain->OrdYear(), nos, r) != 0) return;
    m_frmOrdTree->setCatalogueSent(OrderMain->PublCode(), OrderMain->OrdYear(), r.catalogueSent);
    OrderMain->Refresh();
}

void frmOrdManager::cmdShowFlag() {
    std::vector<std::string> nos;
    if (!selectedOrderNumbers(nos) || LIB_ShowMsg("Q是否确认显示签收信息") != kMsgOk) return;
    std::vector<OrdChkProgress> progress;
    if (intGetOrdChkProgress(OrderMain->PublCode(), OrderMain->OrdYear(), nos, progress) < 0) {
        LIB_DB_ShowError();
        return;
    }
    for (const OrdChkProgress& p : progress)
        for (const OrdDetail& d : OrderMain->rows())
            if (d.savedAsordNo == p.asordNo)
                OrderMain->model->setStatusText(d.key,
                                                QString::fromStdString(strOrdChkProgress(p)));
}

void frmOrdManager::printList(OrdPrintBy by) {
    QString html;
    if (!ordListHtml(OrderMain->PublCode(), OrderMain->OrdYear(), by, html)) {
        LIB_DB_ShowError();
        return;
    }
    printedListPreview(html, this);
}

void frmOrdManager::cmdPrintType() {
    // Over the top of the list, where the keyboard user's eyes are.
    printTypeMenu->popup(stkMain->mapToGlobal(QPoint(0, 0)));
    printTypeMenu->setActiveAction(command("cmdPrint"));
}

void frmOrdManager::cmdPrint() {
    printList(OrdPrintBy::Catalogue);
}

void frmOrdManager::cmdPrintLoca() {
    printList(OrdPrintBy::Location);
}

void frmOrdManager::cmdPrintDisLoca() {
    printList(OrdPrintBy::Distribution);
}

void frmOrdManager::cmdExportAll() {
    exportSheet({});
}

void frmOrdManager::exportSheet(const std::vector<std::string>& only) {
    const std::string publ = OrderMain->PublCode(), year = OrderMain->OrdYear();
    const std::string path = chooseExportFile(publ + "_" + year + ".xlsx");
    if (path.empty()) return;
    std::string error;
    if (intWriteOrdSheet(publ, year, path, error, only) < 0) {
        LIB_ShowMsg("E" + error);
        return;
    }
    LIB_ShowMsg("I已导出到 " + path);
}

void frmOrdManager::cmdEmail() {
    SupplierMail mail;
    if (intPrepareOrdMail(OrderMain->PublCode(), mail) < 0) {
        LIB_DB_ShowError();
        return;
    }
    delete mailDialog;
    mailDialog = new frmOrdSendMail(OrderMain->PublCode(), OrderMain->OrdYear(), mail, this);
    mailDialog->open();
}

void frmOrdManager::refreshFromAsord(bool freq) {
    if (!OrderMain->QueryClose()) return;
    std::vector<AsordPair> pairs;
    if (intPairWithAsord(OrderMain->PublCode(), OrderMain->OrdYear(), AsordMain->PublCode(),
                         AsordMain->OrdYear(), pairs) < 0) {
        LIB_DB_ShowError();
        return;
    }
    if (freq)
        OrderMain->UpdateFreq(pairs);
    else
        OrderMain->UpdatePrice(pairs);
}

void frmOrdManager::cmdReplace() {
    refreshFromAsord(false);
}

void frmOrdManager::cmdReplaceFreq() {
    refreshFromAsord(true);
}

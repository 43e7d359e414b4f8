// The order manager's commands that reach beyond the current row: the search across
// catalogues, which opens what it finds in its catalogue, and multi-modify of the selected
// details; the current detail's record: its short display, its deletion and a new one; and the
// templates of a new detail.
#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "common/gui/StdKeys.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "ordering/core/OrdMarcCmds.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdManager.h"
#include "ordering/gui/frmOrdMarcAdd.h"
#include "ordering/gui/frmOrdMultiModify.h"
#include "ordering/gui/frmOrdSearch.h"
#include "ordering/gui/frmOrdTree.h"

namespace {

// Puts `a` right after `anchor` wherever the anchor is: in the menus and on the toolbar.
void placeAfter(QMenuBar* menus, QToolBar* bar, QAction* anchor, QAction* a) {
    auto insert = [&](QWidget* w) {
        const QList<QAction*> list = w->actions();
        const qsizetype at = list.indexOf(anchor);
        if (at < 0) return;
        w->insertAction(at + 1 < list.size() ? list[at + 1] : nullptr, a);
    };
    for (QAction* m : menus->actions())
        if (m->menu()) insert(m->menu());
    if (bar) insert(bar);
}

}  // namespace

void frmOrdManager::addSearchCommands() {
    addCommand("cmdSearch", "征订检索(&S)...", &frmOrdManager::cmdSearch);
    addCommand("cmdMultiModify", "批量修改(&U)...", &frmOrdManager::cmdMultiModify);
    addCommand("cmdMarcSimpl", "简单书目(&J)", &frmOrdManager::cmdMarcSimpl);
    addCommand("cmdMarcDel", "删除书目记录", &frmOrdManager::cmdMarcDel);
    addCommand("cmdMarcAdd", "新建书目(&A)...", &frmOrdManager::cmdMarcAdd);
    addCommand("NewTemple", "按上次模板新增", &frmOrdManager::cmdNewTemple);
    addCommand("CNPublish", "新增中文期刊...", &frmOrdManager::cmdCNPublish);
    addCommand("USPublish", "新增外文期刊...", &frmOrdManager::cmdUSPublish);
    command("cmdMarcSimpl")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    command("cmdSearch")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    command("cmdMultiModify")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    command("cmdMarcAdd")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    command("CNPublish")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    command("USPublish")->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
    for (const char* name : {"cmdSearch", "cmdMultiModify", "cmdMarcSimpl", "cmdMarcDel",
                             "cmdMarcAdd", "NewTemple", "CNPublish", "USPublish"}) {
        QAction* a = command(name);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
        LIB_TipWithShortcut(a);
    }
    placeAfter(menuBar(), bar_, command("cmdFindText"), command("cmdSearch"));
    // Beside the selection it works on; not on the toolbar.
    placeAfter(menuBar(), nullptr, command("cmdSelectAll"), command("cmdMultiModify"));
    placeAfter(menuBar(), nullptr, command("cmdMarcRepeat"), command("cmdMarcDel"));
    placeAfter(menuBar(), nullptr, command("cmdMarcRepeat"), command("cmdMarcSimpl"));
    placeAfter(menuBar(), nullptr, command("cmdMarcFind"), command("cmdMarcAdd"));
    // The templates beside 新增: after it in its menu, and dropped down from its toolbar button,
    // which costs the toolbar no room.
    placeAfter(menuBar(), nullptr, command("cmdDetlNew"), command("NewTemple"));
    placeAfter(menuBar(), nullptr, command("cmdDetlNew"), command("USPublish"));
    placeAfter(menuBar(), nullptr, command("cmdDetlNew"), command("CNPublish"));
    if (auto* add = qobject_cast<QToolButton*>(bar_->widgetForAction(command("cmdDetlNew")))) {
        auto* menu = new QMenu(add);
        menu->setObjectName("mnuNewTemple");
        menu->addAction(command("CNPublish"));
        menu->addAction(command("USPublish"));
        add->setMenu(menu);
        add->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void frmOrdManager::refreshSearchCommands(bool order, int count, bool editing) {
    command("cmdSearch")->setEnabled(true);
    const OrdDetail* d = order ? OrderMain->current() : nullptr;
    command("cmdMarcSimpl")->setEnabled(d != nullptr);
    command("cmdMarcDel")->setEnabled(d && !editing && !OrderMain->Locked() && !d->marcNo.empty());
    // A title taken over from a pre-order catalogue gets its record from there at its save.
    command("cmdMarcAdd")
        ->setEnabled(d && !OrderMain->Locked() && OrderMain->State() != FormState::Refreshing &&
                     d->marcNo.empty() && d->asordMarcRecNo.empty());
    // Refused, when they cannot add, as 新增 is.
    for (const char* name : {"NewTemple", "CNPublish", "USPublish"})
        command(name)->setEnabled(true);
    command("cmdMultiModify")
        ->setEnabled(order && count > 0 && !editing && !OrderMain->Locked() &&
                     !OrderMain->PublCode().empty());
}

void frmOrdManager::cmdSearch() {
    if (!searchDialog) {
        searchDialog = new frmOrdSearch(this);
        connect(searchDialog, &frmOrdSearch::hitChosen, this,
                [this](const OrdSearchHit& hit, OrdSearchKind kind) {
                    searchDialog->accept();
                    openSearchHit(hit, kind);
                });
    }
    searchDialog->open();
    searchDialog->cmbContent->setFocus();
    searchDialog->cmbContent->selectAll();
}

void frmOrdManager::openSearchHit(const OrdSearchHit& hit, OrdSearchKind kind) {
    OrdDataForm* form = nullptr;
    if (kind == OrdSearchKind::Order) {
        // The tree may hide the batch behind its range: the list opens it all the same.
        m_frmOrdTree->selectCatalogue(hit.publ, hit.year);
        showCatalogue(QString::fromStdString(hit.publ), QString::fromStdString(hit.year),
                      QString::fromStdString(hit.publName));
        form = OrderMain;
    } else {
        if (!m_frmAsordTree->selectCatalogue(hit.publ, hit.year))
            AsordMain->DataSet(hit.publ, hit.year, hit.publName);
        if (orderMainActive()) cmdSwitch();
        form = AsordMain;
    }
    // The operator may have kept unsaved edits of another catalogue.
    if (form->PublCode() != hit.publ || form->OrdYear() != hit.year) return;
    for (int r = 0; r < form->ItemCount(); ++r)
        if (form->rows()[r].savedAsordNo == hit.asordNo) {
            form->setCurIndex(r);
            break;
        }
    subRefreshCommands();
}

void frmOrdManager::cmdMultiModify() {
    // The changes go to the saved rows: unsaved edits are saved or dropped first.
    if (!OrderMain->QueryClose()) return;
    const int count = static_cast<int>(OrderMain->GetSelectKeys().size());
    if (count == 0) return;
    delete multiModifyDialog;
    multiModifyDialog = new frmOrdMultiModify(count, this);
    connect(multiModifyDialog, &QDialog::accepted, this, &frmOrdManager::applyMultiModify);
    connect(multiModifyDialog, &QDialog::finished, this,
            [this] { OrderMain->setMultiModify(false); });
    OrderMain->setMultiModify(true);
    multiModifyDialog->open();
    multiModifyDialog->ticks.at(OrdMultiModifyFields().front().key)->setFocus();
}

void frmOrdManager::applyMultiModify() {
    const std::vector<std::string> keys = OrderMain->GetSelectKeys();
    std::vector<OrdMultiTarget> targets;
    for (const OrdDetail& d : OrderMain->rows())
        if (std::find(keys.begin(), keys.end(), d.key) != keys.end())
            targets.push_back({d.savedAsordNo, d.version});
    int changed = 0;
    if (intOrdMultiModify(OrderMain->PublCode(), OrderMain->OrdYear(), targets,
                          multiModifyDialog->changes(), changed) != 0)
        return;
    OrderMain->Refresh();
    LIB_ShowMsg("I已修改 " + std::to_string(changed) + " 条订购明细！");
}

void frmOrdManager::cmdMarcSimpl() {
    const OrdDetail* d = OrderMain->current();
    std::string text;
    if (d && !d->marcNo.empty() && intOrdMarcShort(d->marcNo, text) < 0) {
        LIB_DB_ShowError();
        return;
    }
    LIB_ShowMsg(text.empty() ? "I该订购明细没有书目记录！" : "I" + text);
}

void frmOrdManager::cmdMarcDel() {
    const OrdDetail* d = OrderMain->current();
    if (!d) return;
    const int row = OrderMain->CurIndex();
    if (intDeleteOrdMarc(d->pub, d->ordYear, d->savedAsordNo, d->version, d->marcNo) != 0) return;
    OrderMain->Refresh();
    OrderMain->setCurIndex(row);
}

void frmOrdManager::cmdMarcAdd() {
    const OrdDetail* d = OrderMain->current();
    if (!d) return;
    // What the detail says already: a template's choices, or its title and codes.
    OrdNewMarc start = d->newMarc;
    if (start.marcType.empty()) {
        const bool chinese = IsChineseTitle(*d);
        start = {chinese ? "C" : "U", d->title, d->issn, d->publisher, "", d->language, d->country};
    }
    delete marcAddDialog;
    marcAddDialog = new frmOrdMarcAdd(start, this);
    connect(marcAddDialog, &QDialog::accepted, this, [this] {
        OrderMain->MarcAdd(marcAddDialog->record());
        subRefreshCommands();
    });
    marcAddDialog->open();
}

void frmOrdManager::newFromTemple(OrdTemple temple) {
    lastTemple_ = temple;
    // Only the order list takes new details; the pre-order list refuses as for 新增.
    auto add = [this, temple](IDataForm&) {
        return orderMainActive() ? OrderMain->NewTempleItem(temple) : -1;
    };
    if (addDetail(add)) cmdMarcAdd();
}

void frmOrdManager::cmdNewTemple() {
    newFromTemple(lastTemple_);
}

void frmOrdManager::cmdCNPublish() {
    newFromTemple(OrdTemple::CNPublish);
}

void frmOrdManager::cmdUSPublish() {
    newFromTemple(OrdTemple::USPublish);
}

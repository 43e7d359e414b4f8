// The catalogue trees: distributor nodes with catalogue children, icons by send state, and the
// catalogue dialog.
#include "ordering/gui/frmOrdTree.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/basCodeFunc.h"
#include "db/basLibDB.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/core/basOrdList.h"
#include "ordering/gui/OrdGridModel.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string s(const QVariant& v) {
    return v.toString().toStdString();
}

void setIcon(QTreeWidgetItem* node, const char* name) {
    node->setData(0, kRoleIcon, QString(name));
}

// Distributor node of the tree, made when first needed.
QTreeWidgetItem* distributorNode(QTreeWidget* tree, const std::string& publ,
                                 const std::string& name) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (s(tree->topLevelItem(i)->data(0, kRolePubl)) == publ) return tree->topLevelItem(i);
    auto* node = new QTreeWidgetItem(tree, {q(name.empty() ? publ : name + " (" + publ + ")")});
    node->setData(0, kRolePubl, q(publ));
    node->setData(0, kRoleName, q(name));
    setIcon(node, "PubClose");
    return node;
}

// A catalogue's node under its distributor's, keyed by distributor and batch (or year-month).
QTreeWidgetItem* catalogueItem(QTreeWidget* tree, const LibArray& rows, int r,
                               const std::string& caption) {
    QTreeWidgetItem* parent = distributorNode(tree, rows(0, r).str(), rows(1, r).str());
    auto* node = new QTreeWidgetItem(parent, {q(caption)});
    node->setData(0, kRolePubl, q(rows(0, r).str()));
    node->setData(0, kRoleYear, q(rows(2, r).str()));
    parent->setExpanded(true);
    return node;
}

QTreeWidgetItem* findCatalogue(const QTreeWidget* tree, const std::string& publ,
                               const std::string& year) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* p = tree->topLevelItem(i);
        for (int j = 0; j < p->childCount(); ++j)
            if (s(p->child(j)->data(0, kRolePubl)) == publ &&
                s(p->child(j)->data(0, kRoleYear)) == year)
                return p->child(j);
    }
    return nullptr;
}

QTreeWidget* makeTree(QWidget* parent, const char* name) {
    auto* t = new QTreeWidget(parent);
    t->setObjectName(name);
    t->header()->hide();
    QObject::connect(t, &QTreeWidget::itemExpanded,
                     [](QTreeWidgetItem* i) { setIcon(i, "PubOpen"); });
    QObject::connect(t, &QTreeWidget::itemCollapsed,
                     [](QTreeWidgetItem* i) { setIcon(i, "PubClose"); });
    return t;
}

}  // namespace

frmOrdCataEdit::frmOrdCataEdit(const QString& title, const std::string& publ,
                               const std::string& year, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmOrdCataEdit");
    setWindowTitle(title);
    if (g_arrPublisher.recordCount() == 0) LIB_LoadPublishers(4);
    cboPubl = new QComboBox(this);
    cboPubl->setObjectName("cboPubl");
    for (int r = 2; r < g_arrPublisher.rows(); ++r)
        cboPubl->addItem(q(g_arrPublisher(1, r).str()), q(g_arrPublisher(0, r).str()));
    cboPubl->setCurrentIndex(cboPubl->findData(q(publ)));
    txtYear = new QLineEdit(q(year), this);
    txtYear->setObjectName("txtYear");
    txtYear->setMaxLength(6);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow("发行商", cboPubl);
    form->addRow("年度批次", txtYear);
    form->addRow(buttons);
}

std::string frmOrdCataEdit::publ() const {
    return s(cboPubl->currentData());
}

std::string frmOrdCataEdit::year() const {
    return txtYear->text().trimmed().toStdString();
}

frmOrdTree::frmOrdTree(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOrdTree");
    trvOrder = makeTree(this, "trvOrder");
    txtFromYear = new QLineEdit(this);
    txtFromYear->setObjectName("txtFromYear");
    txtFromYear->setPlaceholderText("起始批次");
    txtToYear = new QLineEdit(this);
    txtToYear->setObjectName("txtToYear");
    txtToYear->setPlaceholderText("截止批次");
    auto* cmdFilter = new QPushButton("刷新", this);
    cmdFilter->setObjectName("cmdFilter");
    connect(cmdFilter, &QPushButton::clicked, this, &frmOrdTree::Reload);
    auto* range = new QHBoxLayout;
    range->addWidget(txtFromYear);
    range->addWidget(new QLabel("-", this));
    range->addWidget(txtToYear);
    range->addWidget(cmdFilter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(range);
    layout->addWidget(trvOrder);

    trvOrder->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto action = [this](const char* name, const char* text, auto slot) {
        auto* a = new QAction(QString::fromUtf8(text), trvOrder);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        trvOrder->addAction(a);
    };
    action("mnuNewCata", "新建订购目录", [this] { newCatalogueDialog(); });
    action("mnuRenameCata", "修改订购目录", [this] { renameCatalogueDialog(); });
    action("mnuDeleteCata", "删除订购目录", [this] { DeleteCatalogue(); });
    // Details dragged here from the list are added to a catalogue; a catalogue dragged onto
    // another is merged into it.
    trvOrder->setDragDropMode(QAbstractItemView::DragDrop);
    trvOrder->setDefaultDropAction(Qt::CopyAction);
    trvOrder->viewport()->installEventFilter(this);

    connect(trvOrder, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                markSelection(now, before);
                if (now && now->parent())
                    emit catalogueChosen(now->data(0, kRolePubl).toString(),
                                         now->data(0, kRoleYear).toString(),
                                         now->parent()->data(0, kRoleName).toString());
            });
    Reload();
}

void frmOrdTree::markSelection(QTreeWidgetItem* now, QTreeWidgetItem* before) {
    auto mark = [](QTreeWidgetItem* node, bool selected) {
        if (!node || !node->parent()) return;
        bool sent = node->data(0, Qt::UserRole + 10).toString() == "1";
        setIcon(node, sent ? (selected ? "SendSelected" : "SendCata")
                           : (selected ? "UnSendSelected" : "UnSendCata"));
    };
    mark(before, false);
    mark(now, true);
}

bool frmOrdTree::draggingCatalogue(const QDropEvent* event) const {
    const QStringList own = trvOrder->model()->mimeTypes();
    return !own.isEmpty() && event->mimeData()->hasFormat(own.first());
}

QTreeWidgetItem* frmOrdTree::dropTarget(const QDropEvent* event) const {
    QTreeWidgetItem* target = trvOrder->itemAt(event->position().toPoint());
    if (!target || !target->parent()) return nullptr;
    if (event->mimeData()->hasFormat(kOrdKeysMime)) return target;
    QTreeWidgetItem* dragged = trvOrder->currentItem();
    if (!draggingCatalogue(event) || !dragged || !dragged->parent() || dragged == target)
        return nullptr;
    return target;
}

bool frmOrdTree::eventFilter(QObject* watched, QEvent* event) {
    if (watched != trvOrder->viewport()) return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    QTreeWidgetItem* target = dropTarget(drop);
    // Entering over a distributor still lets the drag go on to a catalogue below it.
    const bool wanted = type == QEvent::DragEnter
                            ? drop->mimeData()->hasFormat(kOrdKeysMime) || draggingCatalogue(drop)
                            : target != nullptr;
    if (!wanted) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type != QEvent::Drop) return true;
    const QString publ = target->data(0, kRolePubl).toString();
    const QString year = target->data(0, kRoleYear).toString();
    if (drop->mimeData()->hasFormat(kOrdKeysMime)) {
        const QString keys = QString::fromUtf8(drop->mimeData()->data(kOrdKeysMime));
        emit detailsDropped(keys.split('\n', Qt::SkipEmptyParts), publ, year);
    } else {
        QTreeWidgetItem* dragged = trvOrder->currentItem();
        emit catalogueDropped(dragged->data(0, kRolePubl).toString(),
                              dragged->data(0, kRoleYear).toString(), publ, year);
    }
    return true;
}

std::string frmOrdTree::catalogueLabel(const std::string& publ, const std::string& year) const {
    QTreeWidgetItem* node = catalogueNode(publ, year);
    const std::string name = node ? s(node->parent()->data(0, kRoleName)) : std::string();
    return (name.empty() ? publ : name) + " " + year;
}

int frmOrdTree::Reload() {
    std::string publ = currentPubl(), year = currentYear();
    LibArray rows;
    if (intGetOrdCata(txtFromYear->text().trimmed().toStdString(),
                      txtToYear->text().trimmed().toStdString(), rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const QSignalBlocker block(trvOrder);
    trvOrder->clear();
    for (int r = 2; r < rows.rows(); ++r) {
        QTreeWidgetItem* node =
            catalogueItem(trvOrder, rows, r,
                          " [年度批次:" + rows(2, r).str() + "]" + " 订购日期:" + rows(3, r).str());
        node->setData(0, Qt::UserRole + 10, q(rows(4, r).str()));
        setIcon(node, rows(4, r).str() == "1" ? "SendCata" : "UnSendCata");
        setIcon(node->parent(), "PubOpen");
    }
    if (QTreeWidgetItem* node = catalogueNode(publ, year)) {
        trvOrder->setCurrentItem(node);
        markSelection(node, nullptr);
    }
    return 0;
}

void frmOrdTree::setCatalogueSent(const std::string& publ, const std::string& year, bool sent) {
    QTreeWidgetItem* node = catalogueNode(publ, year);
    if (!node) return;
    node->setData(0, Qt::UserRole + 10, sent ? "1" : "0");
    const bool current = trvOrder->currentItem() == node;
    markSelection(current ? node : nullptr, current ? nullptr : node);
}

QTreeWidgetItem* frmOrdTree::catalogueNode(const std::string& publ, const std::string& year) const {
    return findCatalogue(trvOrder, publ, year);
}

bool frmOrdTree::selectCatalogue(const std::string& publ, const std::string& year) {
    QTreeWidgetItem* node = catalogueNode(publ, year);
    if (!node) return false;
    if (trvOrder->currentItem() == node)
        emit catalogueChosen(q(publ), q(year), node->parent()->data(0, kRoleName).toString());
    else
        trvOrder->setCurrentItem(node);
    return true;
}

std::string frmOrdTree::currentPubl() const {
    QTreeWidgetItem* c = trvOrder->currentItem();
    return c && c->parent() ? s(c->data(0, kRolePubl)) : std::string();
}

std::string frmOrdTree::currentYear() const {
    QTreeWidgetItem* c = trvOrder->currentItem();
    return c && c->parent() ? s(c->data(0, kRoleYear)) : std::string();
}

int frmOrdTree::NewCatalogue(const std::string& publ, const std::string& year) {
    if (intNewOrdCata(publ, year) < 0) return -1;
    Reload();
    selectCatalogue(publ, year);
    return 0;
}

int frmOrdTree::RenameCatalogue(const std::string& newPubl, const std::string& newYear) {
    std::string publ = currentPubl(), year = currentYear();
    if (publ.empty()) return -1;
    if (intRenameOrdCata(publ, year, newPubl, newYear) < 0) return -1;
    emit catalogueRemoved(q(publ), q(year));
    Reload();
    selectCatalogue(newPubl, newYear);
    return 0;
}

int frmOrdTree::DeleteCatalogue() {
    std::string publ = currentPubl(), year = currentYear();
    if (publ.empty()) return -1;
    int rc = intDeleteOrdCata(publ, year);
    if (rc != 0) return rc;
    emit catalogueRemoved(q(publ), q(year));
    trvOrder->setCurrentItem(nullptr);
    Reload();
    return 0;
}

void frmOrdTree::newCatalogueDialog() {
    frmOrdCataEdit dlg("新建订购目录", currentPubl(), currentYear(), this);
    if (dlg.exec() == QDialog::Accepted) NewCatalogue(dlg.publ(), dlg.year());
}

void frmOrdTree::renameCatalogueDialog() {
    if (currentPubl().empty()) return;
    frmOrdCataEdit dlg("修改订购目录", currentPubl(), currentYear(), this);
    if (dlg.exec() == QDialog::Accepted) RenameCatalogue(dlg.publ(), dlg.year());
}

frmOrdAsordTree::frmOrdAsordTree(QWidget* parent) : QWidget(parent) {
    setObjectName("frmOrdAsordTree");
    trvAsord = makeTree(this, "trvAsord");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(trvAsord);
    connect(trvAsord, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* now) {
        if (now && now->parent())
            emit asordChosen(now->data(0, kRolePubl).toString(), now->data(0, kRoleYear).toString(),
                             now->parent()->data(0, kRoleName).toString());
    });
    Reload();
}

int frmOrdAsordTree::Reload() {
    LibArray rows;
    if (intGetAsordCata(rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const QSignalBlocker block(trvAsord);
    trvAsord->clear();
    for (int r = 2; r < rows.rows(); ++r)
        catalogueItem(trvAsord, rows, r,
                      " [发行年月:" + rows(2, r).str() + "]" + " 截止日期:" + rows(3, r).str());
    return 0;
}

bool frmOrdAsordTree::selectCatalogue(const std::string& publ, const std::string& yearMonth) {
    QTreeWidgetItem* node = findCatalogue(trvAsord, publ, yearMonth);
    if (node) trvAsord->setCurrentItem(node);
    return node != nullptr;
}

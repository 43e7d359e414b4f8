#include "binding/gui/BindGrid.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTableView>
#include <algorithm>

#include "common/gui/Grid.h"
#include "common/gui/StdKeys.h"

BindGrid BindGrid::make(QWidget* parent, const char* objectName, const QStringList& captions,
                        const QString& settingsKey) {
    BindGrid g;
    g.view = new QTableView(parent);
    g.view->setObjectName(objectName);
    g.model = new QStandardItemModel(0, static_cast<int>(captions.size()), g.view);
    g.model->setHorizontalHeaderLabels(captions);
    g.view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g.view->setSelectionBehavior(QAbstractItemView::SelectRows);
    g.view->verticalHeader()->setDefaultSectionSize(22);
    g.proxy = LIB_SetupGrid(g.view, g.model, settingsKey);
    return g;
}

void BindGrid::setRows(const std::vector<QStringList>& rows, bool checkable) {
    model->removeRows(0, model->rowCount());
    for (const QStringList& r : rows) {
        QList<QStandardItem*> items;
        for (const QString& text : r) {
            auto* item = new QStandardItem(text);
            item->setEditable(false);
            items.push_back(item);
        }
        if (checkable && !items.empty()) {
            items[0]->setCheckable(true);
            items[0]->setCheckState(Qt::Checked);
        }
        model->appendRow(items);
    }
    view->resizeColumnsToContents();
}

int BindGrid::currentRow() const {
    QModelIndex i = view->currentIndex();
    return i.isValid() ? proxy->mapToSource(i).row() : -1;
}

std::vector<int> BindGrid::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : view->selectionModel()->selectedRows())
        rows.push_back(proxy->mapToSource(i).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> BindGrid::checkedRows() const {
    std::vector<int> rows;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->item(r, 0)->checkState() == Qt::Checked) rows.push_back(r);
    return rows;
}

void BindGrid::selectRow(int row) const {
    QModelIndex i = proxy->mapFromSource(model->index(row, 0));
    view->selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QAction* bindCommand(QWidget* parent, const QString& text, const char* objectName,
                     const QKeySequence& key) {
    auto* a = new QAction(text, parent);
    a->setObjectName(objectName);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    parent->addAction(a);
    LIB_TipWithShortcut(a);
    return a;
}

void fillCodeCombo(QComboBox* combo, const std::vector<CodeName>& items, const QString& first) {
    combo->clear();
    if (!first.isNull()) combo->addItem(first, QString());
    for (const CodeName& c : items)
        combo->addItem(QString::fromStdString(c.code + " " + c.name),
                       QString::fromStdString(c.code));
}

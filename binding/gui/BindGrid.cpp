#include "binding/gui/BindGrid.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "binding/core/basStoreFunc.h"
#include "common/basCodeFunc.h"
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

QPushButton* bindButton(QWidget* parent, const QString& text, const char* objectName,
                        const QKeySequence& key) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    if (!key.isEmpty()) b->setShortcut(key);
    LIB_TipWithShortcut(b);
    return b;
}

void fillCodeCombo(QComboBox* combo, const std::vector<CodeName>& items, const QString& first) {
    combo->clear();
    if (!first.isNull()) combo->addItem(first, QString());
    for (const CodeName& c : items)
        combo->addItem(QString::fromStdString(c.code + " " + c.name),
                       QString::fromStdString(c.code));
}

void fillSchemeCombo(QComboBox* combo, const QString& clsId) {
    combo->clear();
    for (int r = 2; r < g_arrClassifica.rows(); ++r)
        combo->addItem(
            QString::fromStdString(g_arrClassifica(0, r).str() + " " + g_arrClassifica(1, r).str()),
            QString::fromStdString(g_arrClassifica(0, r).str()));
    int at = combo->findData(clsId);
    if (at >= 0) combo->setCurrentIndex(at);
}

void makeCirculationCombos(QWidget* parent, QComboBox*& lendGrade, QComboBox*& circType) {
    std::vector<CodeName> codes;
    lendGrade = new QComboBox(parent);
    lendGrade->setObjectName("cmbLendGrad");
    intListLendGrades(codes);
    fillCodeCombo(lendGrade, codes, "");
    circType = new QComboBox(parent);
    circType->setObjectName("cmbCircType");
    intListCircTypes(codes);
    fillCodeCombo(circType, codes, "");
}

void chooseCirculation(QComboBox* lendGrade, QComboBox* circType, const QString& lendCode,
                       const QString& circCode) {
    lendGrade->setCurrentIndex(std::max(0, lendGrade->findData(lendCode)));
    circType->setCurrentIndex(std::max(0, circType->findData(circCode)));
}

void setListEditorLayout(QWidget* screen, QLayout* filters, QWidget* grid, QLayout* fields,
                         std::initializer_list<QPushButton*> commands, QPushButton* close) {
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : commands)
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(screen);
    layout->addLayout(filters);
    layout->addWidget(grid, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

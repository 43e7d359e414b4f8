#include "common/gui/StdKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

QKeySequence sequenceOf(StdKey key) {
    switch (key) {
        case StdKey::Save:
            return QKeySequence(Qt::CTRL | Qt::Key_S);
        case StdKey::SaveAll:
            return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        case StdKey::New:
            return QKeySequence(Qt::CTRL | Qt::Key_N);
        case StdKey::Delete:
            return QKeySequence(Qt::Key_Delete);
        case StdKey::Find:
            return QKeySequence(Qt::CTRL | Qt::Key_F);
        case StdKey::Refresh:
            return QKeySequence(Qt::Key_F5);
        case StdKey::Cancel:
            return QKeySequence(Qt::Key_Escape);
    }
    return {};
}

QString tipText(QString caption, const QKeySequence& key) {
    // "保存(&S)" reads "保存" in a tooltip.
    caption.remove(QRegularExpression("\\(&.\\)$"));
    caption.remove('&');
    if (key.isEmpty()) return caption;
    return caption + " (" + key.toString(QKeySequence::NativeText) + ")";
}

bool editable(QTableWidget* pane, int row, int col) {
    if (pane->cellWidget(row, col)) return pane->cellWidget(row, col)->isEnabled();
    QTableWidgetItem* item = pane->item(row, col);
    return item && (item->flags() & Qt::ItemIsEditable) && (item->flags() & Qt::ItemIsEnabled);
}

// The next editable cell after (row, col) in reading order, wrapping; (-1, -1) when none.
std::pair<int, int> nextEditable(QTableWidget* pane, int row, int col, int step) {
    const int n = pane->rowCount() * pane->columnCount();
    if (n == 0) return {-1, -1};
    int at = std::max(row, 0) * pane->columnCount() + std::max(col, 0);
    for (int i = 1; i <= n; ++i) {
        int k = ((at + step * i) % n + n) % n;
        int r = k / pane->columnCount(), c = k % pane->columnCount();
        if (editable(pane, r, c)) return {r, c};
    }
    return {-1, -1};
}

class EntryPaneKeys : public QObject {
public:
    explicit EntryPaneKeys(QTableWidget* pane) : QObject(pane), pane_(pane) {}

    void watchCellWidgets() {
        for (int r = 0; r < pane_->rowCount(); ++r)
            for (int c = 0; c < pane_->columnCount(); ++c)
                if (QWidget* w = pane_->cellWidget(r, c); w && !watched_.contains(w)) {
                    w->installEventFilter(this);
                    watched_.append(w);
                }
    }

    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool back = key->key() == Qt::Key_Backtab ||
                          (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
        const bool forward = (key->key() == Qt::Key_Tab && !back) || key->key() == Qt::Key_Return ||
                             key->key() == Qt::Key_Enter;
        auto* box = qobject_cast<QComboBox*>(obj);
        if (box && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            !(key->modifiers() & Qt::AltModifier)) {
            box->showPopup();
            return true;
        }
        if (!forward && !back) return false;
        int row = pane_->currentRow(), col = pane_->currentColumn();
        if (box) {
            const QModelIndex at = cellOf(box);
            row = at.row();
            col = at.column();
        }
        moveFrom(row, col, back ? -1 : 1);
        return true;
    }

    void moveFrom(int row, int col, int step) {
        auto [r, c] = nextEditable(pane_, row, col, step);
        if (r < 0) return;
        pane_->setFocus();
        pane_->setCurrentCell(r, c);
        if (QWidget* w = pane_->cellWidget(r, c))
            w->setFocus(Qt::TabFocusReason);
        else
            pane_->editItem(pane_->item(r, c));
    }

private:
    QModelIndex cellOf(QWidget* w) const {
        for (int r = 0; r < pane_->rowCount(); ++r)
            for (int c = 0; c < pane_->columnCount(); ++c)
                if (pane_->cellWidget(r, c) == w) return pane_->model()->index(r, c);
        return {};
    }
    QTableWidget* pane_;
    QList<QWidget*> watched_;
};

// Tab, Shift+Tab and Enter in a cell editor keep the typed value and move on.
class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(EntryPaneKeys* keys, QTableWidget* pane)
        : QStyledItemDelegate(pane), keys_(keys), pane_(pane) {}

    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(editor, event);
        const int k = static_cast<QKeyEvent*>(event)->key();
        const bool shift = static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier;
        if (k != Qt::Key_Tab && k != Qt::Key_Backtab && k != Qt::Key_Return && k != Qt::Key_Enter)
            return QStyledItemDelegate::eventFilter(editor, event);
        auto* w = static_cast<QWidget*>(editor);
        const int row = pane_->currentRow(), col = pane_->currentColumn();
        const int step = k == Qt::Key_Backtab || (k == Qt::Key_Tab && shift) ? -1 : 1;
        emit commitData(w);
        emit closeEditor(w, QAbstractItemDelegate::NoHint);
        QMetaObject::invokeMethod(
            pane_, [keys = keys_, row, col, step] { keys->moveFrom(row, col, step); },
            Qt::QueuedConnection);
        return true;
    }

private:
    EntryPaneKeys* keys_;
    QTableWidget* pane_;
};

}  // namespace

void LIB_SetStdKey(QAction* action, StdKey key) {
    action->setShortcut(sequenceOf(key));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    LIB_TipWithShortcut(action);
}

void LIB_TipWithShortcut(QAction* action) {
    action->setToolTip(tipText(action->text(), action->shortcut()));
}

void LIB_TipWithShortcut(QAbstractButton* button) {
    button->setToolTip(tipText(button->text(), button->shortcut()));
}

void LIB_ButtonKey(QWidget* screen, QAbstractButton* button, const QKeySequence& key,
                   const QString& what) {
    auto* action = new QAction(what, screen);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, button, &QAbstractButton::click);
    screen->addAction(action);
    button->setToolTip(tipText(what, key));
}

void LIB_ButtonKey(QWidget* screen, QAbstractButton* button, StdKey key, const QString& what) {
    LIB_ButtonKey(screen, button, sequenceOf(key), what);
}

void LIB_EntryPaneKeys(QTableWidget* pane) {
    auto* keys = new EntryPaneKeys(pane);
    pane->installEventFilter(keys);
    keys->watchCellWidgets();
    pane->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed);
    pane->setTabKeyNavigation(false);
    pane->setItemDelegate(new EntryDelegate(keys, pane));
}

void LIB_ApplyFocusStyle(QApplication& app) {
    app.setStyleSheet(app.styleSheet() +
                      "QLineEdit:focus, QComboBox:focus, QAbstractSpinBox:focus,"
                      " QPlainTextEdit:focus, QTextEdit:focus"
                      " { border: 2px solid #1565c0; }"
                      "QPushButton:focus, QToolButton:focus { outline: 2px solid #1565c0; }"
                      "QAbstractItemView::item:focus { border: 2px solid #1565c0; }");
}

QStringList LIB_ControlValues(const QWidget* form) {
    QStringList values;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        // The editor inside a drop-down or a date box is read through its owner.
        const QWidget* owner = w->parentWidget();
        const bool inner =
            owner && (owner->inherits("QComboBox") || owner->inherits("QAbstractSpinBox"));
        if (auto* e = qobject_cast<const QLineEdit*>(w); e && !inner)
            values << e->text();
        else if (auto* c = qobject_cast<const QComboBox*>(w))
            values << c->currentText();
        else if (auto* b = qobject_cast<const QCheckBox*>(w))
            values << (b->isChecked() ? "1" : "0");
        else if (auto* d = qobject_cast<const QDateTimeEdit*>(w))
            values << d->dateTime().toString(Qt::ISODate);
    }
    return values;
}

#include "common/gui/Grid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "db/Gbk.h"

namespace {

// Shows the whole text of a cell when the column is too narrow for it, above the model's own
// tip when it has one (such as an issue's copy counts), so neither hides the other.
class TruncatedTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const int margin = 8;
        const bool cut = !text.isEmpty() && opt.fontMetrics.horizontalAdvance(text) + margin >
                                                view->visualRect(index).width();
        const QString own = index.data(Qt::ToolTipRole).toString();
        const QString tip = cut && !own.isEmpty() ? text + "\n" + own : cut ? text : own;
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
};

bool asNumber(const QString& s, double& out) {
    if (s.isEmpty()) return false;
    bool ok = false;
    out = s.toDouble(&ok);
    return ok;
}

}  // namespace

GbkSortProxy::GbkSortProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    setFilterKeyColumn(-1);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setSortRole(Qt::DisplayRole);
}

int GbkSortProxy::compareCells(const QString& a, const QString& b) {
    double x = 0, y = 0;
    if (asNumber(a, x) && asNumber(b, y)) return x < y ? -1 : x > y ? 1 : 0;
    // Empty cells go last in ascending order, as they do in the printed lists.
    if (a.isEmpty() != b.isEmpty()) return a.isEmpty() ? 1 : -1;
    const std::string ga = utf8ToGbk(a.toStdString()), gb = utf8ToGbk(b.toStdString());
    return ga.compare(gb) < 0 ? -1 : ga.compare(gb) > 0 ? 1 : 0;
}

bool GbkSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return compareCells(left.data(sortRole()).toString(), right.data(sortRole()).toString()) < 0;
}

GbkSortProxy* LIB_SetupGrid(QTableView* view, QAbstractItemModel* source,
                            const QString& settingsKey) {
    auto* proxy = new GbkSortProxy(view);
    proxy->setSourceModel(source);
    view->setModel(proxy);
    // Unsorted until the operator asks: the rows come in the order the screen loaded them.
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    view->horizontalHeader()->setSectionsMovable(true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->setItemDelegate(new TruncatedTipDelegate(view));
    if (!settingsKey.isEmpty()) LIB_RememberHeader(view->horizontalHeader(), settingsKey);
    return proxy;
}

namespace {

class FilterBoxKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Events also reach the filter while the box is being destroyed, when it is no
        // QLineEdit any more: only key events are looked at.
        const bool press = event->type() == QEvent::KeyPress;
        if (!press && event->type() != QEvent::ShortcutOverride) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape ||
            box->text().isEmpty())
            return false;
        // Esc empties the box before it may close the screen it is on.
        if (press)
            box->clear();
        else
            event->accept();
        return true;
    }
};

}  // namespace

QLineEdit* LIB_GridFilterBox(GbkSortProxy* proxy, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName("txtFilter");
    box->setPlaceholderText("筛选：输入任一列中的文字");
    box->setClearButtonEnabled(true);
    box->installEventFilter(new FilterBoxKeys(box));
    QObject::connect(box, &QLineEdit::textChanged, proxy,
                     [proxy](const QString& text) { proxy->setFilterFixedString(text.trimmed()); });
    return box;
}

void LIB_FilterBoxKey(QWidget* screen, QLineEdit* box, const QString& what) {
    auto* find = new QAction(what, screen);
    LIB_SetStdKey(find, StdKey::Find);
    screen->addAction(find);
    QObject::connect(find, &QAction::triggered, box, [box] {
        box->setFocus();
        box->selectAll();
    });
    box->setToolTip(find->toolTip());
}

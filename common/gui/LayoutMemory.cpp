#include "common/gui/LayoutMemory.h"

#include <QEvent>
#include <QHeaderView>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <functional>
#include <vector>

#include "common/OperatorState.h"
#include "common/basQKEnv.h"

namespace {

QString operatorGroup() {
    return QString::fromStdString(g_strWkrNo.empty() ? std::string("_") : g_strWkrNo);
}

QSettings settings() {
    return QSettings(QString::fromStdString(LIB_ProgramDir()) + "/layout.ini",
                     QSettings::IniFormat);
}

QString fullKey(const QString& key) {
    return operatorGroup() + "/" + key;
}

QByteArray savedState(const QString& key) {
    return settings().value(fullKey(key)).toByteArray();
}

void saveState(const QString& key, const QByteArray& state) {
    settings().setValue(fullKey(key), state);
}

// What a screen built, to go back to on "恢复默认布局".
struct Remembered {
    QString key;
    QPointer<QObject> widget;
    std::function<void()> restoreBuilt;
    // A header with nothing of the operator's to show: its columns may still be fitted once.
    bool fitDue = false;
};
std::vector<Remembered>& remembered() {
    static std::vector<Remembered> list;
    return list;
}

void track(QObject* widget, const QString& key, std::function<void()> restoreBuilt,
           bool fitDue = false) {
    auto& list = remembered();
    std::erase_if(list, [](const Remembered& r) { return r.widget.isNull(); });
    list.push_back({key, widget, std::move(restoreBuilt), fitDue});
}

// Saves the window's state when it closes (an MDI tab closing closes its screen too).
class WindowSaver : public QObject {
public:
    WindowSaver(QMainWindow* window, QString key) : QObject(window), window_(window), key_(key) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            saveState(key_ + "/geometry", window_->saveGeometry());
            saveState(key_ + "/state", window_->saveState());
        }
        return false;
    }

private:
    QMainWindow* window_;
    QString key_;
};

}  // namespace

void LIB_RememberHeader(QHeaderView* header, const QString& key) {
    const QByteArray built = header->saveState();
    const QByteArray saved = savedState(key);
    track(
        header, key, [header, built] { header->restoreState(built); }, saved.isEmpty());
    if (!saved.isEmpty()) header->restoreState(saved);
    auto save = [header, key] { saveState(key, header->saveState()); };
    QObject::connect(header, &QHeaderView::sectionResized, header, save);
    QObject::connect(header, &QHeaderView::sectionMoved, header, save);
}

void fitColumnsUntilRemembered(QTableView* view) {
    // Enough rows to judge a column by, few enough that a grid of thousands fits at once.
    constexpr int kRowsJudged = 300;
    QHeaderView* header = view->horizontalHeader();
    if (!view->model() || view->model()->rowCount() == 0) return;
    // Saving follows every resize, the header's own ones included, so what is saved cannot tell
    // whether the columns were ever fitted: the screen keeps that itself.
    for (Remembered& r : remembered()) {
        if (r.widget != header) continue;
        if (!r.fitDue) return;
        r.fitDue = false;
    }
    header->setResizeContentsPrecision(kRowsJudged);
    view->resizeColumnsToContents();
}

void LIB_RememberSplitter(QSplitter* splitter, const QString& key) {
    const QByteArray built = splitter->saveState();
    track(splitter, key, [splitter, built] { splitter->restoreState(built); });
    if (QByteArray saved = savedState(key); !saved.isEmpty()) splitter->restoreState(saved);
    QObject::connect(splitter, &QSplitter::splitterMoved, splitter,
                     [splitter, key] { saveState(key, splitter->saveState()); });
}

void LIB_RememberWindow(QMainWindow* window, const QString& key) {
    const QByteArray builtState = window->saveState();
    track(window, key, [window, builtState] { window->restoreState(builtState); });
    if (QByteArray g = savedState(key + "/geometry"); !g.isEmpty()) window->restoreGeometry(g);
    if (QByteArray s = savedState(key + "/state"); !s.isEmpty()) window->restoreState(s);
    window->installEventFilter(new WindowSaver(window, key));
}

void LIB_RestoreDefaultLayout(const QString& prefix) {
    // The widgets first: going back to the built layout resizes sections, which saves them.
    for (Remembered& r : remembered()) {
        if (r.widget.isNull() || !r.key.startsWith(prefix)) continue;
        r.restoreBuilt();
        r.fitDue = true;
    }
    QSettings s = settings();
    s.beginGroup(operatorGroup());
    for (const QString& k : s.allKeys())
        if (k.startsWith(prefix)) s.remove(k);
    s.endGroup();
}

QVariant LIB_LayoutValue(const QString& key, const QVariant& fallback) {
    return settings().value(fullKey(key), fallback);
}

void LIB_SetLayoutValue(const QString& key, const QVariant& value) {
    settings().setValue(fullKey(key), value);
}

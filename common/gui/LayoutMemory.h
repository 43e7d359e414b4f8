// Per-operator layout memory: splitter positions, column widths and order, window geometry
// and small screen values (such as the last catalogue opened) are kept in the settings file
// layout.ini of the program's home, under the operator number, and come back at the next
// opening. "恢复默认布局" puts every remembered widget of a screen back as the screen built it.
#pragma once

#include <QString>
#include <QVariant>

class QHeaderView;
class QMainWindow;
class QSplitter;
class QTableView;
class QWidget;

// Restores the header's saved state under `key` and saves it whenever a column moves or is
// resized.
void LIB_RememberHeader(QHeaderView* header, const QString& key);
// Fits the columns to their contents while the operator has no remembered layout for the grid
// (first use, or after "恢复默认布局"); a remembered layout is left as it is. The fit is judged
// on the rows in view and a few hundred more, and is remembered like a resize: a grid is fitted
// once, not at every load. A grid whose header is not remembered is fitted every time.
void fitColumnsUntilRemembered(QTableView* view);
void LIB_RememberSplitter(QSplitter* splitter, const QString& key);
// A main window (or a screen that is one): geometry and dock/toolbar state, saved on close.
void LIB_RememberWindow(QMainWindow* window, const QString& key);

// Puts every remembered widget whose key starts with `prefix` back to its built layout and
// forgets the operator's saved layout for it.
void LIB_RestoreDefaultLayout(const QString& prefix);

// Screen values kept for the operator (e.g. "ordering/lastCatalogue").
QVariant LIB_LayoutValue(const QString& key, const QVariant& fallback = {});
void LIB_SetLayoutValue(const QString& key, const QVariant& value);

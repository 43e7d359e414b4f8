// The keys every screen answers to the same way, so an operator learns them once:
//   Ctrl+S save, Ctrl+Shift+S save all, Ctrl+N new, Del delete (after its question),
//   Ctrl+F find, F5 refresh, Esc cancel or close.
// Entry panes move on with Enter and Tab to the next cell that can be edited, skipping caption
// cells; a closed drop-down opens on Up/Down instead of silently changing its value.
#pragma once

#include <QString>
#include <QStringList>

class QAbstractButton;
class QAction;
class QKeySequence;
class QApplication;
class QTableWidget;
class QWidget;

enum class StdKey { Save, SaveAll, New, Delete, Find, Refresh, Cancel };

// Gives the action its standard key (active while its screen has focus) and a tooltip naming
// the command and the key.
void LIB_SetStdKey(QAction* action, StdKey key);
// The tooltip "caption (key)" for an action or button that has a shortcut; the caption alone
// when it has none. Mnemonic markers are left out.
void LIB_TipWithShortcut(QAction* action);
void LIB_TipWithShortcut(QAbstractButton* button);

// A screen's command key: the key pressed anywhere in `screen` clicks `button` (only while the
// focus is in that screen, so two screens open side by side do not take each other's keys), and
// the button's tooltip becomes "what (key)".
void LIB_ButtonKey(QWidget* screen, QAbstractButton* button, const QKeySequence& key,
                   const QString& what);
void LIB_ButtonKey(QWidget* screen, QAbstractButton* button, StdKey key, const QString& what);

// Enter and Tab in the pane move to the next editable cell (Shift+Tab back), a drop-down in a
// cell included; typing on a cell starts editing it. The pane's cells get focus in that order.
void LIB_EntryPaneKeys(QTableWidget* pane);

// Focus that can be seen on every control: a clear frame around the focused editor, drop-down,
// button and grid cell.
void LIB_ApplyFocusStyle(QApplication& app);

// What the operator can change in a form (its line edits, drop-downs, check boxes and dates, in
// widget order): taken when the form is filled and again on leaving, it tells whether leaving
// would discard an edit and so calls for LIB_AskSave.
QStringList LIB_ControlValues(const QWidget* form);

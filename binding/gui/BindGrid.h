// Pieces the binding and accession screens share: a read-only grid over rows of text behind
// the common sorting grid, the selected source row, and commands with their key in the tooltip.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <vector>

#include "binding/core/basBindFunc.h"

class GbkSortProxy;
class QAction;
class QComboBox;
class QLayout;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QWidget;

// Text between the core and the controls: s() for showing, t() for reading (trimmed).
namespace bindtext {
inline QString s(const std::string& v) {
    return QString::fromStdString(v);
}
inline std::string t(const QString& v) {
    return v.trimmed().toStdString();
}
}  // namespace bindtext

struct BindGrid {
    QTableView* view = nullptr;
    QStandardItemModel* model = nullptr;
    GbkSortProxy* proxy = nullptr;

    // A grid with the captions, remembering its columns under `settingsKey`.
    static BindGrid make(QWidget* parent, const char* objectName, const QStringList& captions,
                         const QString& settingsKey);
    // Replaces the rows; with `checkable`, the first cell of each row carries a check box.
    void setRows(const std::vector<QStringList>& rows, bool checkable = false);
    // Source rows, whatever the sort: the current one (-1 when none), the selected ones and the
    // checked ones.
    int currentRow() const;
    std::vector<int> selectedRows() const;
    std::vector<int> checkedRows() const;
    // Makes the source row current and selected.
    void selectRow(int row) const;
};

// A command with an optional shortcut; the tooltip names the command and its key.
QAction* bindCommand(QWidget* parent, const QString& text, const char* objectName,
                     const QKeySequence& key = {});
// A push button with an optional shortcut; the tooltip names the command and its key.
QPushButton* bindButton(QWidget* parent, const QString& text, const char* objectName,
                        const QKeySequence& key = {});
// Fills a combo with "code name" items whose data is the code, after `first` when given.
void fillCodeCombo(QComboBox* combo, const std::vector<CodeName>& items, const QString& first = {});
// The layout of a screen that keeps a list: the filters on top, the grid, the fields of the
// row chosen, then the commands with the closing one on the right.
void setListEditorLayout(QWidget* screen, QLayout* filters, QWidget* grid, QLayout* fields,
                         std::initializer_list<QPushButton*> commands, QPushButton* close);
// The loan-grade and circulation-type lists of an item (codes in use, "" first for none).
void makeCirculationCombos(QWidget* parent, QComboBox*& lendGrade, QComboBox*& circType);
// Chooses the codes in them; an unknown or empty code chooses none.
void chooseCirculation(QComboBox* lendGrade, QComboBox* circType, const QString& lendCode,
                       const QString& circCode);
// Fills a combo with the classification schemes of the code tables and chooses `clsId`.
void fillSchemeCombo(QComboBox* combo, const QString& clsId = {});

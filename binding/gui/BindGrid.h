// Pieces the binding and accession screens share: a read-only grid over rows of text behind
// the common sorting grid, the selected source row, and commands with their key in the tooltip.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <vector>

#include "binding/core/basBindFunc.h"

class GbkSortProxy;
class QAction;
class QComboBox;
class QStandardItemModel;
class QTableView;
class QWidget;

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
// Fills a combo with "code name" items whose data is the code, after `first` when given.
void fillCodeCombo(QComboBox* combo, const std::vector<CodeName>& items, const QString& first = {});

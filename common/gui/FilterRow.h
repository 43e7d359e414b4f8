// The filters above a list: captions and their controls placed left to right in rows, drop-downs
// that begin with an entry meaning "any", date pickers that open on the server's date, and one
// way to read a choice back, so that every list screen filters alike.
#pragma once

#include <QDate>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "db/LibArray.h"

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLayout;
class QWidget;

// Today as the database server has it (the machine's date when it cannot be read).
QDate LIB_ServerToday();
// A date picker showing "yyyy-mm-dd", with a calendar.
QDateEdit* LIB_DateEdit(QWidget* parent, const char* objectName, const QDate& value);

class FilterRow {
public:
    // `any` is the caption of the entry that chooses nothing ("<不定>", "（全部）").
    FilterRow(QWidget* owner, const QString& any);
    // The rows belong to the layout they were added to; rows never added go with the FilterRow.
    ~FilterRow();
    FilterRow(const FilterRow&) = delete;
    FilterRow& operator=(const FilterRow&) = delete;

    // A drop-down of "code name" entries after the "any" entry; the code is the entry's data.
    QComboBox* choice(const char* objectName,
                      const std::vector<std::pair<std::string, std::string>>& items);
    // The same from the first two columns of a code table or a query result.
    QComboBox* tableChoice(const char* objectName, const LibArray& table);
    // LIB_DateEdit on the screen.
    QDateEdit* date(const char* objectName, const QDate& value);

    // Puts the caption (none when empty) and the control in the next cells of the current row;
    // a control with `span` > 1 takes that many cells, a negative span the rows below as well.
    FilterRow& add(const QString& caption, QWidget* control, int span = 1);
    FilterRow& add(const QString& caption, QLayout* controls, int span = 1);
    FilterRow& newRow();
    QGridLayout* layout() const { return grid_; }

    // The code of the chosen entry, or the text typed into an editable drop-down; empty for the
    // "any" entry.
    static std::string chosen(const QComboBox* combo);

private:
    void place(const QString& caption);
    QWidget* owner_;
    QString any_;
    QGridLayout* grid_;
    int row_ = 0;
    int col_ = 0;
};

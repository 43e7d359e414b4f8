// Finding a catalogue record: an index group (or the words of the title), the text, and the
// records found in a sortable, filterable grid. The record viewer and the record search dialog
// are built on it. A search lists at most kMaxRows records and says when there are more, so a
// large catalogue never fills the grid; typing more narrows it.
#pragma once

#include <QWidget>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class GbkSortProxy;

struct MarcFound {
    std::string recNo, title, author, publisher, isbn;
};

class MarcSearchPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 200;
    // Columns of the grid, the title first.
    enum Column { ColTitle, ColAuthor, ColPublisher, ColIsbn, ColRecNo, ColCount };

    // `layoutKey` names the grid's remembered column layout.
    MarcSearchPanel(const QString& layoutKey, QWidget* parent = nullptr);

    // Runs the search in the controls: the number of records listed, or -1 on an error. An
    // empty text is refused with a message. Focus moves to the first record found.
    int subSearch();
    // Selects an index group by its code (or kMarcTitleWordsGroup).
    void setGroup(const std::string& group);
    // Records listed, in the grid's (sorted, filtered) order.
    int recordCount() const;
    MarcFound recordAt(int viewRow) const;
    // The record of the current row; an empty record number when none.
    MarcFound currentRecord() const;

    QComboBox* cmbOption = nullptr;   // index group, or the words of the title
    QLineEdit* cmbContent = nullptr;  // search text; its placeholder says which kind of search
    QPushButton* cmdSearch = nullptr;
    QTableView* grdRecords = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* lblStatus = nullptr;

signals:
    // The current row moved to another record (empty when none).
    void currentRecordChanged(const QString& recNo);
    // Enter or a double click on a record.
    void recordChosen(const QString& recNo);

private:
    void showSearchKind();

    QStandardItemModel* model_ = nullptr;
    GbkSortProxy* proxy_ = nullptr;
};

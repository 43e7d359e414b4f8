// The record viewer: search the catalogue by an index group or the words of the title, list the
// records found, and show the selected one field by field.
#pragma once

#include <QWidget>

class QSplitter;
class MarcRecView;
class MarcSearchPanel;

class frmCataView : public QWidget {
    Q_OBJECT
public:
    explicit frmCataView(QWidget* parent = nullptr);

    // Runs the search in the controls; the number of records listed, or -1 on an error.
    int subSearch();
    // Shows the record of a row of the result list (in the grid's order).
    void subShowRecord(int row);

    MarcSearchPanel* panel = nullptr;
    MarcRecView* vsfBM = nullptr;
    QSplitter* splMain = nullptr;
};

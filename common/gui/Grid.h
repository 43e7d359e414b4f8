// Grids every screen shares: columns sort by a click on the header (Chinese in GBK order, the
// order the lists and reports use; numbers by value), a filter box narrows the rows to those
// containing its text in any column, a cell whose text does not fit shows it as a tooltip (above
// the model's own tip, when it has one), and the column widths and order are remembered per
// operator.
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

class QLineEdit;
class QTableView;

class GbkSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit GbkSortProxy(QObject* parent = nullptr);

    // Negative, zero or positive as `a` sorts before, with or after `b`.
    static int compareCells(const QString& a, const QString& b);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// Puts `source` behind a GbkSortProxy in `view`, turns on header sorting (unsorted until the
// operator clicks), tooltips on truncated cells and remembered column widths under
// `settingsKey` (screen/grid). Returns the proxy: rows the view reports are the proxy's, map
// them with mapToSource. A screen that sets its own column widths passes an empty key and calls
// LIB_RememberHeader after setting them, so that they are the layout "恢复默认布局" returns to.
GbkSortProxy* LIB_SetupGrid(QTableView* view, QAbstractItemModel* source,
                            const QString& settingsKey = {});

// A filter box for the grid: typing narrows the rows at once; Esc empties it.
QLineEdit* LIB_GridFilterBox(GbkSortProxy* proxy, QWidget* parent);
// Ctrl+F anywhere in `screen` puts the cursor in the filter box, whose tooltip becomes
// "what (Ctrl+F)".
void LIB_FilterBoxKey(QWidget* screen, QLineEdit* box, const QString& what);

// The record display (vsfBM): one row for the leader and one per field, with the tag, the
// field's name in the record's format, the indicators and the subfields ("$a..." per subfield)
// or the value of a control field. MarcRecView wraps the grid for reuse on any screen.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include "marc/core/basBMFunc.h"

class QTableView;

class MarcRecModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColTag, ColName, ColInd, ColData, ColumnCount };

    explicit MarcRecModel(QObject* parent = nullptr);

    void setRecord(const MarcRec& rec);
    const MarcRec& record() const { return rec_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString tag, name, ind, data, tip;
    };
    MarcRec rec_;
    std::vector<Row> rows_;
};

class MarcRecView : public QWidget {
    Q_OBJECT
public:
    explicit MarcRecView(QWidget* parent = nullptr);

    void showRecord(const MarcRec& rec);
    MarcRecModel* model() const { return model_; }

    QTableView* vsfBM = nullptr;

private:
    MarcRecModel* model_ = nullptr;
};

// `DataSource1`: the Qt table model through which the record grid shows
// `Table1`. It asks the table only for the rows the grid paints.
#pragma once

#include <QAbstractTableModel>

#include "form/record_grid.h"
#include "table/table_dataset.h"

namespace geocalc::app {

class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSource(TableDataset& table, QObject* parent);
    ~DataSource() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TableDataset& table() const { return table_; }

    // The text a cell shows: the field text, or for memo and blob fields
    // their kind in brackets, in capitals when the field is not blank.
    QString displayText(int row, int column) const;

signals:
    void currentRowChanged();

private:
    void tableChanged(TableDataset::Change change);
    void rowsChanged();

    TableDataset& table_;
    int rows_;  // the rows the views were told of
};

}  // namespace geocalc::app

// `DBGrid1`: the record grid over `DataSource1`. The current cell's row is
// `Table1`'s current record; a double click picks that record.
#pragma once

#include <QTableView>

#include "app/data_source.h"

namespace geocalc::app {

class DBGrid : public QTableView {
    Q_OBJECT
public:
    DBGrid(DataSource& source, QWidget* parent);

    // Column widths from the fields' display widths, as the grid lays them out.
    static int displayWidth(const DbfField& field);
    int columnWidthFor(int column) const;

signals:
    // A double click on the grid, on whatever record is current.
    void recordDoubleClicked();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followTable();
    void layOutColumns();

    DataSource& source_;
    bool following_ = false;
};

}  // namespace geocalc::app

// `DBGrid1`: the record grid over `DataSource1`. The current cell's row is
// `Table1`'s current record. Cells are edited in place through a cell editor
// whose text is applied to the field through `Table1`; a double click picks
// the current record.
#pragma once

#include <QTableView>

#include "app/data_source.h"

class QLineEdit;

namespace geocalc::app {

class DBGrid : public QTableView {
    Q_OBJECT
public:
    DBGrid(DataSource& source, QWidget* parent);
    ~DBGrid() override;

    // Column widths from the fields' display widths, as the grid lays them out.
    static int displayWidth(const DbfField& field);
    int columnWidthFor(int column) const;

    QLineEdit* cellEditor() const { return editor_; }
    bool editorShown() const;

signals:
    // A double click on the grid, on whatever record is current.
    void recordDoubleClicked();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateGeometries() override;

private:
    TableDataset& table() const { return source_.table(); }
    int currentColumn() const { return std::max(currentIndex().column(), 0); }
    void followTable();
    void layOutColumns();

    // Moves; each applies typed text first, so a refusal stops the move.
    void moveRecord(int delta);
    void moveToRecord(int row);
    void moveDown();
    void goToColumn(int column);
    void tab(bool backwards);
    int visibleRows() const;

    // The cell editor.
    bool canEditCell() const;
    void showEditor();
    void showEditorWith(const QString& typed);
    void hideEditor();
    void applyEditor();
    void editorEdited();
    void placeEditor();
    void focusMoved(QWidget* old, QWidget* now);

    // The key table; false for keys the grid leaves to the cell editor.
    bool handleKey(QKeyEvent* event);
    bool handleControlKey(QKeyEvent* event);
    void escape();
    void deleteWithConfirmation();

    DataSource& source_;
    QLineEdit* editor_;
    bool editorChanged_ = false;
    bool following_ = false;
};

}  // namespace geocalc::app

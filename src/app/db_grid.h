// `DBGrid1`: the record grid over `DataSource1`. The current cell's row is
// `Table1`'s current record. Cells are edited in place through a cell editor
// whose text is applied to the field through `Table1`; a double click or
// Ctrl+Enter picks the current record, Ctrl+Tab and Ctrl+Shift+Tab leave the
// grid for the next or previous control.
#pragma once

#include <QTableView>

#include "app/data_source.h"
#include "form/record_grid.h"

class QLineEdit;

namespace geocalc::app {

class DBGrid : public QTableView, private RecordGridView {
    Q_OBJECT
public:
    DBGrid(DataSource& source, QWidget* parent);
    ~DBGrid() override;

    // Column widths from the fields' display widths, as the grid lays them out.
    int columnWidthFor(int column) const;

    QLineEdit* cellEditor() const { return editor_; }
    bool editorShown() const { return grid_.editorShown(); }
    // The first row shown.
    int topRow() const { return grid_.topRow(); }
    RecordGrid& behaviour() { return grid_; }

signals:
    // A double click on the grid, on whatever record is current.
    void recordDoubleClicked();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateGeometries() override;

    // Scrolling: the rows shown follow the current record, whole rows at a
    // time; the vertical scroll bar moves the current record.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TableDataset& table() const { return source_.table(); }
    int currentColumn() const { return std::max(grid_.column(), 0); }
    void followTable();
    void layOutColumns();
    int visibleRows() const;

    // The vertical scroll bar.
    void setUpScrollBar();
    void scrollBarAction(int action);
    void thumbMoved(int position);
    void syncScrollBar();
    void showTopRow();

    void placeEditor();
    void focusMoved(QWidget* old, QWidget* now);
    // The key to the grid's behaviour; false for keys it leaves to the cell
    // editor.
    bool handleKey(QKeyEvent* event);

    // What the grid's behaviour asks of this view.
    void showEditor(const std::string& utf8, int maxLength) override;
    void setEditorText(const std::string& utf8) override;
    std::string editorText() const override;
    void hideEditor() override;
    void showColumn(int column) override;
    int rowsShown() const override { return visibleRows(); }
    int firstRowShown() const override;
    int lastRowShown() const override;
    bool confirmDelete() override;
    void pick() override { emit recordDoubleClicked(); }
    void leave(bool backwards) override;

    DataSource& source_;
    QLineEdit* editor_;
    RecordGrid grid_;
    bool following_ = false;
    // The last press, to tell the second press of a double click, which Qt
    // delivers before the double click itself: the double click acts, not it.
    quint64 lastPressTime_ = 0;
    QPoint lastPressAt_;
};

}  // namespace geocalc::app

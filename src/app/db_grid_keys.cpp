// The record grid's keys and moves.
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

#include "app/db_grid.h"
#include "app/ansi_text.h"
#include "app/error_box.h"

namespace geocalc::app {

int DBGrid::visibleRows() const {
    const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
    return std::max(viewport()->height() / rowHeight, 1);
}

void DBGrid::moveToRecord(int row) {
    applyEditor();
    hideEditor();
    table().moveTo(row);
}

void DBGrid::moveRecord(int delta) { moveToRecord(table().currentRow() + delta); }

// Down on the last record appends a new blank one; on a new record that is
// untouched and last it does nothing.
void DBGrid::moveDown() {
    TableDataset& t = table();
    if (t.currentRow() < t.rowCount() - 1) return moveRecord(1);
    applyEditor();
    if (t.state() == DatasetState::Insert && !t.modified()) return;
    if (t.readOnly() || t.rowCount() == 0) return;
    hideEditor();
    t.append();
}

void DBGrid::goToColumn(int column) {
    if (source_.columnCount() == 0) return;
    applyEditor();
    hideEditor();
    QScopedValueRollback guard(following_, true);
    setCurrentIndex(source_.index(table().currentRow(), std::clamp(column, 0, source_.columnCount() - 1)));
}

// Tab runs across the columns and on into the next or previous record.
void DBGrid::tab(bool backwards) {
    const int last = source_.columnCount() - 1;
    const int column = currentColumn();
    if (!backwards && column < last) return goToColumn(column + 1);
    if (backwards && column > 0) return goToColumn(column - 1);
    if (backwards) {
        if (table().currentRow() == 0) return;
        moveRecord(-1);
        return goToColumn(last);
    }
    moveDown();
    goToColumn(0);
}

void DBGrid::escape() {
    if (editorShown() && editorChanged_) {
        editor_->setText(fromAnsi(table().fieldText(currentColumn())));
    } else {
        table().cancel();
    }
    hideEditor();
}

void DBGrid::deleteWithConfirmation() {
    TableDataset& t = table();
    if (t.readOnly() || t.rowCount() == 0) return;
    if (!askConfirmation(QStringLiteral("Delete record?"))) return;
    hideEditor();
    t.deleteRecord();
}

// What typed text the cell holds goes into the record first, so that the
// pick takes what the grid shows.
void DBGrid::pickWithKeyboard() {
    applyEditor();
    emit recordDoubleClicked();
}

// Tab only walks the cells: Ctrl+Tab is the way out to the window's other
// controls (past the item view's own use of Tab, to the window's order).
void DBGrid::leaveGrid(bool backwards) {
    applyEditor();
    hideEditor();
    QWidget::focusNextPrevChild(!backwards);
}

bool DBGrid::handleControlKey(QKeyEvent* event) {
    const int firstShown = rowAt(0);
    const int lastShown = rowAt(viewport()->height() - 1);
    switch (event->key()) {
        case Qt::Key_Home: moveToRecord(0); return true;
        case Qt::Key_End: moveToRecord(table().rowCount() - 1); return true;
        case Qt::Key_Up:
        case Qt::Key_PageUp: moveToRecord(std::max(firstShown, 0)); return true;
        case Qt::Key_Down:
        case Qt::Key_PageDown:
            moveToRecord(lastShown < 0 ? table().rowCount() - 1 : lastShown);
            return true;
        case Qt::Key_Left: goToColumn(0); return true;
        case Qt::Key_Right: goToColumn(source_.columnCount() - 1); return true;
        case Qt::Key_Delete: deleteWithConfirmation(); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: pickWithKeyboard(); return true;
        default: return false;
    }
}

bool DBGrid::handleKey(QKeyEvent* event) {
    if (!table().active()) return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool tabKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tabKey && (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        leaveGrid(event->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier));
        return true;
    }
    if (mods == Qt::ControlModifier) return handleControlKey(event);
    const bool editing = editorShown();
    const bool singleColumn = source_.columnCount() == 1;
    switch (event->key()) {
        case Qt::Key_Up: moveRecord(-1); return true;
        case Qt::Key_Down: moveDown(); return true;
        case Qt::Key_PageUp: moveRecord(-visibleRows()); return true;
        case Qt::Key_PageDown: moveRecord(visibleRows()); return true;
        case Qt::Key_Tab: tab(false); return true;
        case Qt::Key_Backtab: tab(true); return true;
        case Qt::Key_Insert:
            applyEditor();
            hideEditor();
            table().insert();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (editing) {
                applyEditor();
                hideEditor();
            } else {
                showEditor();
            }
            return true;
        case Qt::Key_F2: showEditor(); return true;
        case Qt::Key_Escape: escape(); return true;
        default: break;
    }
    if (editing) return false;  // the cell editor takes the rest
    switch (event->key()) {
        case Qt::Key_Left: goToColumn(currentColumn() - 1); return true;
        case Qt::Key_Right: goToColumn(currentColumn() + 1); return true;
        case Qt::Key_Home: singleColumn ? moveToRecord(0) : goToColumn(0); return true;
        case Qt::Key_End:
            singleColumn ? moveToRecord(table().rowCount() - 1) : goToColumn(source_.columnCount() - 1);
            return true;
        case Qt::Key_Backspace: showEditorWith(QString()); return true;
        default: break;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        showEditorWith(event->text());
        return true;
    }
    return false;
}

}  // namespace geocalc::app

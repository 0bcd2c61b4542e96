// The record grid's keys, passed on to the grid's behaviour, and what the
// behaviour asks of the view about rows, columns, the focus and confirmations.
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include "app/ansi_text.h"
#include "app/db_grid.h"
#include "app/error_box.h"

namespace geocalc::app {

namespace {

RecordGrid::Key gridKey(int key) {
    using Key = RecordGrid::Key;
    switch (key) {
        case Qt::Key_Up:
            return Key::Up;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_PageUp:
            return Key::PageUp;
        case Qt::Key_PageDown:
            return Key::PageDown;
        case Qt::Key_Left:
            return Key::Left;
        case Qt::Key_Right:
            return Key::Right;
        case Qt::Key_Home:
            return Key::Home;
        case Qt::Key_End:
            return Key::End;
        case Qt::Key_Tab:
            return Key::Tab;
        case Qt::Key_Backtab:
            return Key::Backtab;
        case Qt::Key_Insert:
            return Key::Insert;
        case Qt::Key_Delete:
            return Key::Delete;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_F2:
            return Key::F2;
        case Qt::Key_Escape:
            return Key::Escape;
        case Qt::Key_Backspace:
            return Key::Backspace;
        default:
            return Key::Other;
    }
}

}  // namespace

int DBGrid::visibleRows() const {
    const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
    return std::max(viewport()->height() / rowHeight, 1);
}

int DBGrid::firstRowShown() const { return rowAt(0); }

int DBGrid::lastRowShown() const { return rowAt(viewport()->height() - 1); }

void DBGrid::showColumn(int column) {
    QScopedValueRollback guard(following_, true);
    setCurrentIndex(source_.index(table().currentRow(), column));
}

bool DBGrid::confirmDelete() {
    return askConfirmation(fromUtf8(RecordGrid::kDeleteCaption),
                           fromUtf8(RecordGrid::kDeleteQuestion));
}

// Past the item view's own use of Tab, to the window's order.
void DBGrid::leave(bool backwards) { QWidget::focusNextPrevChild(!backwards); }

bool DBGrid::handleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    RecordGrid::Modifiers modifiers;
    modifiers.shift = mods & Qt::ShiftModifier;
    modifiers.control = mods & Qt::ControlModifier;
    modifiers.alt = mods & Qt::AltModifier;
    return grid_.key(gridKey(event->key()), modifiers, event->text().toStdString());
}

}  // namespace geocalc::app

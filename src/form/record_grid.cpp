#include "form/record_grid.h"

#include <algorithm>
#include <utility>

#include "charset/code_page.h"
#include "table/field_encoding.h"

namespace geocalc {

void RecordGrid::moveToRecord(int row) {
    applyEditor();
    hideEditor();
    table_.moveTo(row);
}

void RecordGrid::moveRecord(int delta) { moveToRecord(table_.currentRow() + delta); }

// Down on the last record appends a new blank one; on a new record that is
// untouched and last it does nothing.
void RecordGrid::moveDown() {
    if (table_.currentRow() < table_.rowCount() - 1) return moveRecord(1);
    applyEditor();
    if (table_.state() == DatasetState::Insert && !table_.modified()) return;
    if (table_.readOnly() || table_.rowCount() == 0) return;
    hideEditor();
    table_.append();
}

void RecordGrid::goToColumn(int column) {
    if (table_.fieldCount() == 0) return;
    applyEditor();
    hideEditor();
    column_ = std::clamp(column, 0, table_.fieldCount() - 1);
    view_.showColumn(column_);
}

void RecordGrid::goToPosition(int position) {
    if (table_.fieldCount() == 0) return;
    goToColumn(columnAt(std::clamp(position, 0, lastPosition())));
}

// Tab runs across the columns and on into the next or previous record.
void RecordGrid::tab(bool backwards) {
    const int position = positionOf(column_);
    if (!backwards && position < lastPosition()) return goToPosition(position + 1);
    if (backwards && position > 0) return goToPosition(position - 1);
    if (backwards) {
        if (table_.currentRow() == 0) return;
        moveRecord(-1);
        return goToPosition(lastPosition());
    }
    moveDown();
    goToPosition(0);
}

void RecordGrid::moveColumn(int fromPosition, int toPosition) {
    const int count = table_.fieldCount();
    if (fromPosition < 0 || fromPosition >= count || toPosition < 0 || toPosition >= count) return;
    if (int(order_.size()) != count) {
        order_.resize(std::size_t(count));
        for (int position = 0; position < count; ++position)
            order_[std::size_t(position)] = position;
    }
    const int column = order_[std::size_t(fromPosition)];
    order_.erase(order_.begin() + fromPosition);
    order_.insert(order_.begin() + toPosition, column);
    view_.showColumn(column_);
}

int RecordGrid::columnAt(int position) const {
    return int(order_.size()) == table_.fieldCount() ? order_[std::size_t(position)] : position;
}

int RecordGrid::positionOf(int column) const {
    if (int(order_.size()) != table_.fieldCount()) return column;
    return int(std::find(order_.begin(), order_.end(), column) - order_.begin());
}

bool RecordGrid::canEditCell() const {
    return table_.active() && !table_.readOnly() && table_.fieldCount() > 0 &&
           isEditableInCell(table_.field(std::min(column_, table_.fieldCount() - 1)));
}

void RecordGrid::showEditor() {
    if (editorShown_ || !canEditCell()) return;
    if (table_.rowCount() == 0) table_.append();
    // A text field takes no more characters than it has room for.
    const DbfField& field = table_.field(column_);
    editorShown_ = true;
    editorChanged_ = false;
    view_.showEditor(utf8FromAnsi(table_.fieldText(column_)),
                     field.kind == FieldKind::String ? field.length : kUnlimitedEditorLength);
}

void RecordGrid::showEditorWith(const std::string& typed) {
    if (!canEditCell()) return;
    showEditor();
    view_.setEditorText(typed);
    editorEdited();
}

void RecordGrid::hideEditor() {
    if (!editorShown_) return;
    editorShown_ = false;
    editorChanged_ = false;
    view_.hideEditor();
}

void RecordGrid::editorEdited() {
    editorChanged_ = true;
    if (table_.state() == DatasetState::Browse) table_.edit();
}

void RecordGrid::applyEditor() {
    if (!editorShown_ || !editorChanged_) return;
    table_.setFieldText(column_, ansiFromTypedUtf8(view_.editorText()));
    editorChanged_ = false;
}

void RecordGrid::escape() {
    if (editorShown_ && editorChanged_) {
        view_.setEditorText(utf8FromAnsi(table_.fieldText(column_)));
    } else {
        table_.cancel();
    }
    hideEditor();
}

void RecordGrid::deleteWithConfirmation() {
    if (table_.readOnly() || table_.rowCount() == 0) return;
    if (!view_.confirmDelete()) return;
    hideEditor();
    table_.deleteRecord();
}

// What typed text the cell holds goes into the record first, so that the
// pick takes what the grid shows.
void RecordGrid::pickWithKeyboard() {
    applyEditor();
    view_.pick();
}

// Tab only walks the cells: Ctrl+Tab is the way out to the window's other
// controls.
void RecordGrid::leaveGrid(bool backwards) {
    applyEditor();
    hideEditor();
    view_.leave(backwards);
}

void RecordGrid::focusLeft() {
    if (!table_.active()) return;
    if (table_.state() == DatasetState::Insert && !table_.modified() && !editorChanged_) {
        hideEditor();
        table_.cancel();
        return;
    }
    applyEditor();
}

bool RecordGrid::controlKey(Key key) {
    switch (key) {
        case Key::Home:
            moveToRecord(0);
            return true;
        case Key::End:
            moveToRecord(table_.rowCount() - 1);
            return true;
        case Key::Up:
        case Key::PageUp:
            moveToRecord(std::max(view_.firstRowShown(), 0));
            return true;
        case Key::Down:
        case Key::PageDown: {
            const int last = view_.lastRowShown();
            moveToRecord(last < 0 ? table_.rowCount() - 1 : last);
            return true;
        }
        case Key::Left:
            goToPosition(0);
            return true;
        case Key::Right:
            goToPosition(lastPosition());
            return true;
        case Key::Delete:
            deleteWithConfirmation();
            return true;
        case Key::Enter:
            pickWithKeyboard();
            return true;
        default:
            return false;
    }
}

bool RecordGrid::key(Key key, Modifiers modifiers, const std::string& typed) {
    if (!table_.active()) return false;
    const bool tabKey = key == Key::Tab || key == Key::Backtab;
    if (tabKey && modifiers.control && !modifiers.alt) {
        leaveGrid(key == Key::Backtab || modifiers.shift);
        return true;
    }
    if (modifiers.control && !modifiers.shift && !modifiers.alt) return controlKey(key);
    const bool singleColumn = table_.fieldCount() == 1;
    switch (key) {
        case Key::Up:
            moveRecord(-1);
            return true;
        case Key::Down:
            moveDown();
            return true;
        case Key::PageUp:
            moveRecord(-view_.rowsShown());
            return true;
        case Key::PageDown:
            moveRecord(view_.rowsShown());
            return true;
        case Key::Tab:
            tab(false);
            return true;
        case Key::Backtab:
            tab(true);
            return true;
        case Key::Insert:
            applyEditor();
            hideEditor();
            table_.insert();
            return true;
        case Key::Enter:
            if (editorShown_) {
                applyEditor();
                hideEditor();
            } else {
                showEditor();
            }
            return true;
        case Key::F2:
            showEditor();
            return true;
        case Key::Escape:
            escape();
            return true;
        default:
            break;
    }
    if (editorShown_) return false;  // the cell editor takes the rest
    switch (key) {
        case Key::Left:
            goToPosition(positionOf(column_) - 1);
            return true;
        case Key::Right:
            goToPosition(positionOf(column_) + 1);
            return true;
        case Key::Home:
            singleColumn ? moveToRecord(0) : goToPosition(0);
            return true;
        case Key::End:
            singleColumn ? moveToRecord(table_.rowCount() - 1) : goToPosition(lastPosition());
            return true;
        case Key::Backspace:
            showEditorWith(std::string());
            return true;
        default:
            break;
    }
    if (isCellText(typed)) {
        showEditorWith(typed);
        return true;
    }
    return false;
}

// The row pressed was drawn from the table as last read. Where the table has
// changed since, the row may hold another record now: the press only shows
// the table anew, and remembers what the row showed for a double click.
bool RecordGrid::pressFindsTableChanged(int row) {
    stalePress_.reset();
    editorOpenedByPress_ = false;
    const std::int64_t shown = table_.recordAt(row);
    // A change too recent for the file's times to tell is read all the same:
    // the row's record tells it then.
    if (!table_.refresh() && table_.recordAt(row) == shown) return false;
    stalePress_ = PressedRow{row, shown};
    return true;
}

void RecordGrid::pressCell(int row, int column, bool primaryButton) {
    if (pressFindsTableChanged(row)) return;
    const bool wasCurrent = row == table_.currentRow() && column == column_;
    applyEditor();
    hideEditor();
    if (wasCurrent) {
        if (primaryButton) {
            showEditor();
            editorOpenedByPress_ = editorShown_;
        }
        return;
    }
    column_ = column;  // the column is taken even where the record cannot move
    view_.showColumn(column_);
    if (row != table_.currentRow())
        table_.moveTo(row);  // another column of a new record leaves it new
}

void RecordGrid::pressIndicator(int row) {
    if (!pressFindsTableChanged(row)) moveToRecord(row);
}

void RecordGrid::doubleClick() {
    if (const std::optional<PressedRow> press = std::exchange(stalePress_, std::nullopt)) {
        // Only the record that stood under the pointer is picked.
        if (press->record < 0 || table_.recordAt(press->row) != press->record) return;
        moveToRecord(press->row);
    }
    // The first press of a double click on the current cell opened the cell
    // editor; the double click picks, and the editor it opened goes again.
    if (editorOpenedByPress_ && editorShown_ && !editorChanged_) hideEditor();
    editorOpenedByPress_ = false;
    view_.pick();
}

std::string_view RecordGrid::indicatorMark(DatasetState state) {
    switch (state) {
        case DatasetState::Edit:
            return "I";
        case DatasetState::Insert:
            return "*";
        default:
            return "\u25B6";
    }
}

int RecordGrid::columnWidth(const DbfField& field, int zeroWidth, int titleWidth, int viewMargins) {
    return std::max(displayWidth(field) * zeroWidth, titleWidth) + 2 * kCellPadding + viewMargins;
}

bool RecordGrid::isCellText(std::string_view typed) {
    std::size_t at = 0;
    const char32_t first = typed.empty() ? U'\0' : decodeUtf8(typed, at);
    constexpr char32_t kDelete = 0x7F, kLastC1 = 0x9F;
    return first >= U' ' && (first < kDelete || first > kLastC1);
}

void RecordGrid::readBeforeInput() {
    if (table_.active()) table_.refresh();
}

bool RecordGrid::painted() {
    if (lookPending_ || !table_.active()) return false;
    lookPending_ = true;
    return true;
}

void RecordGrid::lookAtTable() {
    lookPending_ = false;
    if (table_.active()) table_.refresh();
}

int RecordGrid::displayWidth(const DbfField& field) {
    constexpr int kOtherWidth = 10;
    switch (field.kind) {
        case FieldKind::String:
            return field.length;
        case FieldKind::Boolean:
            return 5;
        case FieldKind::Date:
            return 10;
        case FieldKind::DateTime:
            return 18;
        default:
            return kOtherWidth;
    }
}

bool RecordGrid::isRightAligned(const DbfField& field) {
    return field.kind == FieldKind::Integer || field.kind == FieldKind::Float ||
           field.kind == FieldKind::Currency;
}

std::string RecordGrid::cellText(TableDataset& table, int row, int column) {
    const DbfField& field = table.field(column);
    const char* kind = field.kind == FieldKind::Memo      ? "Memo"
                       : field.kind == FieldKind::Blob    ? "Blob"
                       : field.kind == FieldKind::Graphic ? "Graphic"
                                                          : nullptr;
    if (!kind) return table.fieldTextAt(row, column);
    std::string name(kind);
    if (!table.isBlankAt(row, column)) {
        for (char& c : name) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return "(" + name + ")";
}

void RecordGrid::follow() {
    const int rows = std::max(view_.rowsShown(), 1);
    const int row = table_.currentRow();
    if (row >= 0 && row < topRow_) topRow_ = row;
    if (row >= topRow_ + rows) topRow_ = row - rows + 1;
    topRow_ = std::clamp(topRow_, 0, std::max(table_.rowCount() - rows, 0));
}

void RecordGrid::scroll(ScrollAction action) {
    if (!table_.active() || table_.rowCount() == 0) return;
    const int rows = std::max(view_.rowsShown(), 1);
    switch (action) {
        case ScrollAction::LineUp:
            moveToRecord(topRow_ - 1);
            break;
        case ScrollAction::LineDown:
            moveToRecord(topRow_ + rows);
            break;
        case ScrollAction::PageUp:
            moveRecord(-rows);
            break;
        case ScrollAction::PageDown:
            moveRecord(rows);
            break;
        case ScrollAction::ToFirst:
            moveToRecord(0);
            break;
        case ScrollAction::ToLast:
            moveToRecord(table_.rowCount() - 1);
            break;
    }
}

void RecordGrid::thumbMoved(int position) {
    if (!table_.active() || table_.rowCount() == 0) return;
    moveToRecord(std::clamp(position, 1, table_.rowCount()) - 1);
}

// The bar runs from 1 to the record count, a page being the rows shown.
RecordGrid::ScrollBar RecordGrid::scrollBar() const {
    const int count = table_.active() ? table_.rowCount() : 0;
    return {std::min(count, 1), count, std::max(view_.rowsShown(), 1), table_.currentRow() + 1};
}

void RecordGrid::wheel(int eighths, int linesPerNotch) {
    constexpr int kNotch = 120;
    wheelTurn_ += eighths;
    const int notches = wheelTurn_ / kNotch;
    wheelTurn_ -= notches * kNotch;
    if (notches == 0 || table_.currentRow() < 0) return;
    const int lines = std::clamp(linesPerNotch, 1, std::max(view_.rowsShown(), 1));
    const int fromTop = table_.currentRow() - topRow_;
    moveRecord(-notches * lines);
    // The rows shown turn with the current record, which keeps its place on
    // the screen where the table's ends allow.
    topRow_ = table_.currentRow() - fromTop;
    follow();
}

}  // namespace geocalc

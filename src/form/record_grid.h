// `DBGrid1`'s behaviour, the same whatever draws it: the current column, the
// cell editor's state, and what each key does to `Table1` and to the view.
// The view draws the table and the editor, tells the grid the keys and how
// many rows it shows, and does what the grid asks of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/table_dataset.h"

namespace geocalc {

// What the grid asks of the window that draws it.
class RecordGridView {
public:
    virtual ~RecordGridView() = default;

    // The cell editor over the current cell: shown with the text (UTF-8),
    // taking the focus, the text selected, at most `maxLength` characters.
    virtual void showEditor(const std::string& utf8, int maxLength) = 0;
    virtual void setEditorText(const std::string& utf8) = 0;
    virtual std::string editorText() const = 0;  // UTF-8
    virtual void hideEditor() = 0;               // the grid keeps the focus

    // The current column changed: show it.
    virtual void showColumn(int column) = 0;
    // The rows shown: how many fit, and the first and last in view now.
    virtual int rowsShown() const = 0;
    virtual int firstRowShown() const = 0;
    virtual int lastRowShown() const = 0;

    // "Delete record?": true for OK.
    virtual bool confirmDelete() = 0;
    // The current record is picked (`DBGrid1DblClick`).
    virtual void pick() = 0;
    // The focus leaves the grid for the next or previous control.
    virtual void leave(bool backwards) = 0;
};

class RecordGrid {
public:
    // The keys the grid's table names; anything else is Other.
    enum class Key {
        Up,
        Down,
        PageUp,
        PageDown,
        Left,
        Right,
        Home,
        End,
        Tab,
        Backtab,
        Insert,
        Delete,
        Enter,
        F2,
        Escape,
        Backspace,
        Other
    };
    struct Modifiers {
        bool shift = false, control = false, alt = false;
    };

    static constexpr int kUnlimitedEditorLength = 32767;
    // Pixels around a cell's text, as the grid is designed.
    static constexpr int kCellPadding = 4;
    // The box a delete asks in first (OK deletes).
    static constexpr std::string_view kDeleteCaption = "Confirm";
    static constexpr std::string_view kDeleteQuestion = "Delete record?";
    // The indicator column's mark for the current record (UTF-8): ▶ while
    // browsing, I while editing, * while inserting.
    static std::string_view indicatorMark(DatasetState state);
    // A column's width in pixels: its display width in "0"s or its title,
    // whichever is the wider, with the designed padding either side and
    // `viewMargins`, what the window's own cell drawing keeps beside a text.
    static int columnWidth(const DbfField& field, int zeroWidth, int titleWidth,
                           int viewMargins = 0);
    // Whether typed text (UTF-8) is text a cell takes: not a control
    // character (C0, DEL, C1).
    static bool isCellText(std::string_view typed);

    RecordGrid(TableDataset& table, RecordGridView& view) : table_(table), view_(view) {}

    int column() const { return column_; }
    // The view moved the current cell (a click): only the column is the grid's.
    void setColumn(int column) { column_ = column; }

    // A key, with the text it types (UTF-8, empty for none, as the system
    // gives it: the grid decides what is text): false for keys the grid
    // leaves to the cell editor or to the view.
    bool key(Key key, Modifiers modifiers, const std::string& typed);

    // Another program may have written the table since it was last read:
    // each key, and the focus coming in other than by the mouse, reads it
    // first (a press reads it itself, see pressCell). After a repaint the
    // view asks painted() and, where it says so, calls lookAtTable() once
    // the paint is over, so that a change found there is shown anew.
    void readBeforeInput();
    bool painted();
    void lookAtTable();

    // Moves; each applies typed text first, so a refusal stops the move.
    void moveToRecord(int row);
    void moveRecord(int delta);
    void moveDown();
    void goToColumn(int column);
    void tab(bool backwards);

    // The cell editor.
    bool editorShown() const { return editorShown_; }
    bool editorChanged() const { return editorChanged_; }
    bool canEditCell() const;
    void showEditor();
    void showEditorWith(const std::string& typed);
    void hideEditor();
    // The user changed the editor's text: the first change puts the record
    // into edit state.
    void editorEdited();
    // Typed text goes into the field; a refusal leaves the text in the cell.
    void applyEditor();
    void escape();

    void deleteWithConfirmation();
    void pickWithKeyboard();
    void leaveGrid(bool backwards);
    // The focus went from the grid to another control of the window (a
    // click, a key of that window): a new record left untouched is dropped
    // unwritten; otherwise typed text goes into the field, and where the
    // field refuses it the failure is thrown with the text kept in the cell,
    // for the view to give the editor the focus back.
    void focusLeft();

    // The mouse. A press on a cell applies typed text and moves there; on
    // the current cell, with the primary button, it opens the cell editor.
    // A press in the indicator column moves to its row and keeps the column;
    // one on the titles applies typed text and moves nothing. A double click
    // anywhere on the grid picks the current record, and closes the cell
    // editor its first press opened.
    //
    // A press on a cell or an indicator first reads the table again (the
    // view does not); where another program changed it, the press only
    // shows it anew, and the double click that may follow picks only when
    // the row still holds the record it showed when pressed.
    void pressCell(int row, int column, bool primaryButton);
    void pressIndicator(int row);
    void pressTitles() { applyEditor(); }
    void doubleClick();

    // The columns' order on screen, which the user may change by dragging a
    // title: Left, Right, Tab, Home and End go by it; columns are still
    // numbered by their fields.
    void moveColumn(int fromPosition, int toPosition);
    int columnAt(int position) const;
    int positionOf(int column) const;

    // A column's width in characters of "0", as the grid lays it out first.
    static int displayWidth(const DbfField& field);
    // Numbers stand right-aligned in their cells.
    static bool isRightAligned(const DbfField& field);
    // What a cell shows (Windows-1251): the field text, or for memo, blob
    // and graphic fields their kind in brackets, in capitals when the field
    // is not blank ("(memo)" hidden, "(MEMO)").
    static std::string cellText(TableDataset& table, int row, int column);

    // Scrolling. The rows shown always include the current record and start
    // with a whole row: `topRow` is the first, kept so by follow(). The
    // vertical scroll bar stands for the records, numbered from 1, its thumb
    // at the current one: its arrows go to the record just above or below
    // the rows shown, its page areas move by the rows shown, its ends to the
    // first and last record, and a dragged thumb takes the current record
    // with it as it goes. Each notch of the wheel (120 eighths of a degree) moves
    // the current record and the rows shown together by the system's lines
    // a notch (a page at most).
    enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, ToFirst, ToLast };
    struct ScrollBar {
        int minimum, maximum, page, value;
    };
    int topRow() const { return topRow_; }
    void follow();  // the current record moved: the rows shown follow it
    void scroll(ScrollAction action);
    void thumbMoved(int position);
    ScrollBar scrollBar() const;
    void wheel(int eighths, int linesPerNotch);

private:
    struct PressedRow {
        int row;
        std::int64_t record;  // as TableDataset::recordAt gave it before the press
    };

    bool controlKey(Key key);
    bool pressFindsTableChanged(int row);
    void goToPosition(int position);
    int lastPosition() const { return table_.fieldCount() - 1; }

    TableDataset& table_;
    RecordGridView& view_;
    int column_ = 0;
    std::vector<int> order_;  // the column at each place on screen; empty: the fields' order
    bool editorShown_ = false;
    bool editorChanged_ = false;
    bool editorOpenedByPress_ = false;
    std::optional<PressedRow> stalePress_;  // a press that only showed the table anew
    int topRow_ = 0;
    int wheelTurn_ = 0;         // eighths of a degree not yet turned into moves
    bool lookPending_ = false;  // a look after a paint is on its way
};

}  // namespace geocalc

// The record grid's behaviour on the sample's working copy, driven key by
// key with no window: a view that records what it is asked.
#include "form/record_grid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/native_path.h"
#ifndef _WIN32
#include "child_process.h"
#endif
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;
using Key = RecordGrid::Key;

class RecordingView : public RecordGridView {
public:
    void showEditor(const std::string& utf8, int maxLength) override {
        editor = utf8;
        editorLimit = maxLength;
        editorShown = true;
    }
    void setEditorText(const std::string& utf8) override { editor = utf8; }
    std::string editorText() const override { return editor; }
    void hideEditor() override { editorShown = false; }
    void showColumn(int c) override { column = c; }
    int rowsShown() const override { return 3; }
    int firstRowShown() const override { return 2; }
    int lastRowShown() const override { return 4; }
    bool confirmDelete() override {
        ++confirmations;
        return answer;
    }
    void pick() override { ++picks; }
    void leave(bool backwards) override { left.push_back(backwards); }

    std::string editor;
    int editorLimit = 0;
    bool editorShown = false;
    int column = 0;
    int confirmations = 0;
    bool answer = true;
    int picks = 0;
    std::vector<bool> left;
};

class RecordGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(pathFromUtf8(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat"),
                      pathFromUtf8(folder.file("pts.dbf")));
        table.setTableName(folder.file("pts.dbf"));
        table.open();
    }
    bool press(Key key, bool control = false, bool shift = false) {
        RecordGrid::Modifiers modifiers;
        modifiers.control = control;
        modifiers.shift = shift;
        return grid.key(key, modifiers, "");
    }
    void type(const std::string& utf8) {
        if (!grid.editorShown()) {
            grid.key(Key::Other, {}, utf8);
            return;
        }
        view.editor += utf8;
        grid.editorEdited();
    }

    TempFolder folder;
    TableDataset table;
    RecordingView view;
    RecordGrid grid{table, view};
};

TEST_F(RecordGridTest, MovesByTheKeyTable) {
    struct Case {
        const char* what;
        int startRow, startColumn;
        Key key;
        bool control;
        int row, column;
    };
    const std::vector<Case> cases = {
        {"Down", 0, 0, Key::Down, false, 1, 0},
        {"Up on the first stays", 0, 0, Key::Up, false, 0, 0},
        {"PageDown by the rows shown", 1, 0, Key::PageDown, false, 4, 0},
        {"PageUp by the rows shown", 5, 0, Key::PageUp, false, 2, 0},
        {"Ctrl+Home to the first record", 5, 2, Key::Home, true, 0, 2},
        {"Ctrl+End to the last", 1, 1, Key::End, true, 7, 1},
        {"Ctrl+Up to the first row shown", 6, 0, Key::Up, true, 2, 0},
        {"Ctrl+Down to the last row shown", 0, 0, Key::Down, true, 4, 0},
        {"Right a column", 0, 0, Key::Right, false, 0, 1},
        {"Left on the first column stays", 0, 0, Key::Left, false, 0, 0},
        {"Home to the first column", 3, 2, Key::Home, false, 3, 0},
        {"End to the last column", 3, 0, Key::End, false, 3, 2},
        {"Ctrl+Right to the last column", 3, 0, Key::Right, true, 3, 2},
        {"Tab a column on", 0, 1, Key::Tab, false, 0, 2},
        {"Tab from the last column to the next record", 0, 2, Key::Tab, false, 1, 0},
        {"Shift+Tab from the first column to the previous record", 3, 0, Key::Backtab, false, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.moveTo(c.startRow);
        grid.setColumn(c.startColumn);
        EXPECT_TRUE(press(c.key, c.control));
        EXPECT_EQ(table.currentRow(), c.row);
        EXPECT_EQ(grid.column(), c.column);
    }
}

// Columns dragged to another place: the keys go by the order on screen
// (here Y, NAME, X), while columns keep their fields' numbers.
TEST_F(RecordGridTest, KeysFollowTheColumnsAsTheUserOrderedThem) {
    grid.moveColumn(2, 0);
    ASSERT_EQ(grid.columnAt(0), 2);
    ASSERT_EQ(grid.positionOf(0), 1);
    struct Case {
        const char* what;
        int startColumn;
        Key key;
        bool control;
        int row, column;
    };
    const std::vector<Case> cases = {
        {"Right from Y to NAME", 2, Key::Right, false, 0, 0},
        {"Left from NAME to Y", 0, Key::Left, false, 0, 2},
        {"Left on Y, first on screen, stays", 2, Key::Left, false, 0, 2},
        {"Home to Y", 1, Key::Home, false, 0, 2},
        {"End to X", 2, Key::End, false, 0, 1},
        {"Ctrl+Left to Y", 1, Key::Left, true, 0, 2},
        {"Ctrl+Right to X", 2, Key::Right, true, 0, 1},
        {"Tab from NAME to X", 0, Key::Tab, false, 0, 1},
        {"Tab from X, last on screen, to Y of the next record", 1, Key::Tab, false, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.moveTo(0);
        grid.setColumn(c.startColumn);
        EXPECT_TRUE(press(c.key, c.control));
        EXPECT_EQ(table.currentRow(), c.row);
        EXPECT_EQ(grid.column(), c.column);
    }
    grid.moveColumn(0, 2);  // Y to the end again: NAME, X, Y
    EXPECT_EQ(grid.columnAt(2), 2);
    grid.moveColumn(0, 7);  // beyond the columns: nothing moves
    EXPECT_EQ(grid.columnAt(0), 0);
}

TEST_F(RecordGridTest, TypingEditsEnterAppliesMovingPostsEscapeResets) {
    table.moveTo(1);
    grid.setColumn(1);
    type("6171398.5");
    EXPECT_TRUE(view.editorShown);
    EXPECT_EQ(table.state(), DatasetState::Edit);
    EXPECT_TRUE(press(Key::Enter));  // applied, not posted
    EXPECT_FALSE(view.editorShown);
    EXPECT_EQ(table.fieldText(1), "6171398.5");
    EXPECT_TRUE(press(Key::Down));  // posted
    EXPECT_EQ(table.state(), DatasetState::Browse);
    table.moveTo(1);
    EXPECT_EQ(table.fieldText(1), "6171398.5");

    EXPECT_TRUE(press(Key::F2));
    EXPECT_EQ(view.editor, "6171398.5");
    type("x");
    EXPECT_ERROR(press(Key::Enter),
                 "'6171398.5x' is not a valid floating point value for field 'X'");
    EXPECT_TRUE(view.editorShown);    // the refused text stays in the cell
    EXPECT_TRUE(press(Key::Escape));  // the typed text goes
    EXPECT_FALSE(view.editorShown);
    EXPECT_EQ(view.editor, "6171398.5");
    EXPECT_TRUE(press(Key::Escape));  // and the edit
    EXPECT_EQ(table.state(), DatasetState::Browse);

    grid.setColumn(0);
    EXPECT_TRUE(press(Key::F2));
    EXPECT_EQ(view.editorLimit, 12);  // NAME is C(12)
}

TEST_F(RecordGridTest, ControlKeysPickLeaveAndDelete) {
    table.moveTo(2);
    EXPECT_TRUE(press(Key::Enter, true));
    EXPECT_EQ(view.picks, 1);
    EXPECT_FALSE(view.editorShown);  // Ctrl+Enter picks: it opens no editor

    type("Z");
    EXPECT_TRUE(press(Key::Tab, true));  // out, the typed text applied first
    EXPECT_EQ(view.left, std::vector<bool>{false});
    EXPECT_EQ(table.fieldText(0), "Z");
    EXPECT_TRUE(press(Key::Tab, true, true));
    EXPECT_TRUE(press(Key::Backtab, true, true));
    EXPECT_EQ(view.left, (std::vector<bool>{false, true, true}));
    table.cancel();

    view.answer = false;
    EXPECT_TRUE(press(Key::Delete, true));
    EXPECT_EQ(table.rowCount(), 8);
    view.answer = true;
    EXPECT_TRUE(press(Key::Delete, true));
    EXPECT_EQ(view.confirmations, 2);
    EXPECT_EQ(table.rowCount(), 7);
    EXPECT_EQ(table.fieldText(0), "\xD2\xEE\xF7\xEA\xE0 4");
}

TEST_F(RecordGridTest, InsertAndDownOnTheLastRecordAddBlankRecordsDroppedUntouched) {
    table.moveTo(7);
    EXPECT_TRUE(press(Key::Down));
    EXPECT_EQ(table.state(), DatasetState::Insert);
    EXPECT_EQ(table.rowCount(), 9);
    EXPECT_TRUE(press(Key::Down));  // untouched and last: nothing more
    EXPECT_EQ(table.rowCount(), 9);
    EXPECT_TRUE(press(Key::Up));  // dropped unwritten
    EXPECT_EQ(table.rowCount(), 8);
    EXPECT_TRUE(press(Key::Insert));
    EXPECT_EQ(table.state(), DatasetState::Insert);
    EXPECT_EQ(table.insertRow(), 7);  // before the current record
    EXPECT_FALSE(press(Key::Other));  // nothing typed: not the grid's
}

// The focus going elsewhere in the window: an untouched new record goes,
// typed text is applied (a refused one stays in the cell, and fails).
TEST_F(RecordGridTest, LeavingTheGridDropsAnUntouchedNewRecordAndAppliesTypedText) {
    table.moveTo(7);
    EXPECT_TRUE(press(Key::Down));
    ASSERT_EQ(table.rowCount(), 9);
    grid.focusLeft();
    EXPECT_EQ(table.state(), DatasetState::Browse);
    EXPECT_EQ(table.rowCount(), 8);
    EXPECT_EQ(table.currentRow(), 7);

    EXPECT_TRUE(press(Key::Insert));
    type("N");
    grid.focusLeft();  // typed: kept, applied
    EXPECT_EQ(table.state(), DatasetState::Insert);
    EXPECT_EQ(table.fieldText(0), "N");
    EXPECT_TRUE(press(Key::Escape));
    EXPECT_TRUE(press(Key::Escape));
    ASSERT_EQ(table.state(), DatasetState::Browse);

    grid.setColumn(1);
    type("abc");
    EXPECT_ERROR(grid.focusLeft(), "'abc' is not a valid floating point value for field 'X'");
    EXPECT_TRUE(view.editorShown);
    EXPECT_EQ(view.editor, "abc");
}

// What both windows draw and take as the grid decides it.
TEST(RecordGridRulesTest, MarksWidthsAndTypedText) {
    EXPECT_EQ(RecordGrid::indicatorMark(DatasetState::Browse), "\u25B6");
    EXPECT_EQ(RecordGrid::indicatorMark(DatasetState::Edit), "I");
    EXPECT_EQ(RecordGrid::indicatorMark(DatasetState::Insert), "*");

    DbfField name;
    name.kind = FieldKind::String;
    name.length = 12;
    EXPECT_EQ(RecordGrid::columnWidth(name, 7, 30),
              12 * 7 + 8);  // by content, 4 pixels either side
    EXPECT_EQ(RecordGrid::columnWidth(name, 2, 30, 6),
              30 + 8 + 6);  // by title, with the view's margins

    for (const char* text : {"a", "Ж", " ", "\xE2\x82\xAC", "7"})
        EXPECT_TRUE(RecordGrid::isCellText(text)) << text;
    for (const char* text : {"", "\x01", "\x1B", "\t", "\x7F", "\xC2\x85"})
        EXPECT_FALSE(RecordGrid::isCellText(text));
}

TEST_F(RecordGridTest, PressesMoveOpenTheEditorAndDoubleClicksPick) {
    grid.pressCell(3, 1, true);  // another cell: moves there
    EXPECT_EQ(table.currentRow(), 3);
    EXPECT_EQ(grid.column(), 1);
    EXPECT_EQ(view.column, 1);
    EXPECT_FALSE(view.editorShown);
    grid.pressCell(3, 1, false);  // the current cell, another button: nothing
    EXPECT_FALSE(view.editorShown);
    grid.pressCell(3, 1, true);  // the current cell: the editor
    EXPECT_TRUE(view.editorShown);
    EXPECT_EQ(view.editor, "6171455.31");

    view.editor = "abc";
    grid.editorEdited();
    EXPECT_ERROR(grid.pressCell(5, 0, true),  // the refused text stops the press
                 "'abc' is not a valid floating point value for field 'X'");
    EXPECT_EQ(table.currentRow(), 3);
    EXPECT_TRUE(view.editorShown);
    view.editor = "6171455.5";
    grid.pressTitles();  // applied, the record stays
    EXPECT_EQ(table.fieldText(1), "6171455.5");
    EXPECT_EQ(table.state(), DatasetState::Edit);
    grid.pressIndicator(6);  // posted, moved, the column kept
    EXPECT_EQ(table.currentRow(), 6);
    EXPECT_EQ(grid.column(), 1);
    EXPECT_EQ(table.state(), DatasetState::Browse);

    grid.doubleClick();
    EXPECT_EQ(view.picks, 1);
    EXPECT_EQ(RecordGrid::displayWidth(table.field(0)), 12);
    EXPECT_EQ(RecordGrid::displayWidth(table.field(1)), 10);
}

// The first thing a user does: a double click on the current record. Its
// first press opens the cell editor; the double click picks and closes it,
// so that the next key typed does not replace the name.
TEST_F(RecordGridTest, ADoubleClickOnTheCurrentCellPicksAndClosesTheEditorItsPressOpened) {
    grid.pressCell(0, 0, true);
    EXPECT_TRUE(view.editorShown);
    grid.doubleClick();
    EXPECT_EQ(view.picks, 1);
    EXPECT_FALSE(view.editorShown);
    EXPECT_EQ(table.state(), DatasetState::Browse);

    // An editor opened by F2 and typed into stays open through a double click.
    EXPECT_TRUE(press(Key::F2));
    type("7");
    grid.doubleClick();
    EXPECT_EQ(view.picks, 2);
    EXPECT_TRUE(view.editorShown);
}

#ifndef _WIN32
// Another program deleted Точка 3 while the grid still shows it: a press
// on its row only shows the table anew, and the double click that follows
// picks nothing, as Точка 4 now stands under the pointer. Where the change
// left the row's record in place, the double click goes there and picks it.
TEST_F(RecordGridTest, ADoubleClickOnAStaleRowPicksOnlyTheRecordItShowed) {
    auto inOtherProgram = [this](int row, const std::function<void(TableDataset&)>& act) {
        return inChildProcess([&] {
            TableDataset other;
            other.setTableName(folder.file("pts.dbf"));
            other.open();
            other.moveTo(row);
            act(other);
            return std::string("done");
        });
    };
    table.rowCount();  // the rows as the grid shows them
    ASSERT_EQ(inOtherProgram(2, [](TableDataset& t) { t.deleteRecord(); }), "done");
    grid.pressCell(2, 0, true);
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.rowCount(), 7);
    grid.doubleClick();
    EXPECT_EQ(view.picks, 0);
    EXPECT_EQ(table.currentRow(), 0);

    ASSERT_EQ(inOtherProgram(6,
                             [](TableDataset& t) {
                                 t.setFieldText(1, "1.5");
                                 t.post();
                             }),
              "done");
    grid.pressCell(3, 0, true);
    EXPECT_EQ(table.currentRow(), 0);
    grid.doubleClick();
    EXPECT_EQ(view.picks, 1);
    EXPECT_EQ(table.currentRow(), 3);
    EXPECT_EQ(table.fieldText(0), "\xD2\xEE\xF7\xEA\xE0 5");
}
#endif

// The view shows 3 rows: the scroll bar and the wheel move the current
// record, and the rows shown follow it.
TEST_F(RecordGridTest, ScrollingMovesTheCurrentRecordAndTheRowsFollow) {
    using Action = RecordGrid::ScrollAction;
    struct Case {
        const char* what;
        int startRow;
        Action action;
        int row, top;
    };
    const std::vector<Case> cases = {
        {"the down arrow: the record below the rows shown", 0, Action::LineDown, 3, 1},
        {"the up arrow: the record above them", 5, Action::LineUp, 2, 2},
        {"the page area below", 1, Action::PageDown, 4, 2},
        {"the page area above", 6, Action::PageUp, 3, 3},
        {"the bottom end", 0, Action::ToLast, 7, 5},
        {"the top end", 7, Action::ToFirst, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.moveTo(0);
        grid.follow();
        table.moveTo(c.startRow);
        grid.follow();
        grid.scroll(c.action);
        grid.follow();
        EXPECT_EQ(table.currentRow(), c.row);
        EXPECT_EQ(grid.topRow(), c.top);
        const RecordGrid::ScrollBar bar = grid.scrollBar();
        EXPECT_EQ(bar.value, c.row + 1);  // the thumb at the current record, counted from 1
        EXPECT_EQ(bar.minimum, 1);
        EXPECT_EQ(bar.maximum, 8);
        EXPECT_EQ(bar.page, 3);
    }
    grid.thumbMoved(6);
    EXPECT_EQ(table.currentRow(), 5);
    grid.thumbMoved(99);  // past the end: the last record
    EXPECT_EQ(table.currentRow(), 7);

    // A line a notch here; the rows shown turn with the current record.
    table.moveTo(4);
    grid.follow();
    const int top = grid.topRow();
    grid.wheel(60, 1);  // half a notch turns nothing yet
    EXPECT_EQ(table.currentRow(), 4);
    grid.wheel(60 + 120, 1);  // two notches up in all
    EXPECT_EQ(table.currentRow(), 2);
    EXPECT_EQ(grid.topRow(), top - 2);
    grid.wheel(-360, 1);
    EXPECT_EQ(table.currentRow(), 5);
    EXPECT_EQ(grid.topRow(), top + 1);
    // The system's three lines a notch, a page (3 rows shown) at most.
    table.moveTo(0);
    grid.follow();
    grid.wheel(-120, 3);
    EXPECT_EQ(table.currentRow(), 3);
    EXPECT_EQ(grid.topRow(), 3);
    grid.wheel(-120, 100);
    EXPECT_EQ(table.currentRow(), 6);
    EXPECT_EQ(grid.topRow(), 5);  // no further than the last rows
    grid.wheel(120, 3);
    EXPECT_EQ(table.currentRow(), 3);
    EXPECT_EQ(grid.topRow(), 2);
}

}  // namespace
}  // namespace geocalc

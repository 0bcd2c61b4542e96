#include <QLineEdit>

#include "../table/independent_reader.h"
#include "../table/table_fixture.h"
#include "child_process.h"
#include "temp_folder.h"
#include "window_fixture.h"

namespace geocalc::app {
namespace {

namespace fs = std::filesystem;

// The sample opened through the window, the grid focused on its first cell.
class GridEditingTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        fs::copy_file(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat", folder.file("pts.dat"));
        survey = readBytes(folder.file("pts.dat"));
        answers.push_back(QString::fromStdString(folder.file("pts.dat")));
        click(form->Button1);
        ASSERT_TRUE(boxes.empty());
        form->DBGrid1->setFocus();
    }
    void TearDown() override {
        EXPECT_EQ(readBytes(folder.file("pts.dat")), survey);  // the survey table is never touched
        WindowTest::TearDown();
    }

    static void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
    static void type(const QString& text) {
        for (const QChar c : text) typeText(QApplication::focusWidget(), QString(c));
    }
    QString mark() const {
        return form->DBGrid1->model()
            ->headerData(form->Table1.currentRow(), Qt::Vertical)
            .toString();
    }
    std::string workingCopy() const { return folder.file("pts.dbf"); }
    Rows stored() const { return readTable(workingCopy()); }

    TempFolder folder;
    std::string survey;
};

TEST_F(GridEditingTest, RefusedNumberStaysInTheCellAndTheRecordInEditState) {
    key(Qt::Key_Right);
    type("abc");
    EXPECT_TRUE(form->DBGrid1->editorShown());
    EXPECT_EQ(mark(), "I");
    key(Qt::Key_Return);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'abc' is not a valid floating point value for field 'X'");
    EXPECT_TRUE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->DBGrid1->cellEditor()->text(), "abc");
    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);
    EXPECT_EQ(form->Table1.fieldText(1), "6171234.56");

    key(Qt::Key_Down);  // the refusal also stops the move
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(form->Table1.currentRow(), 0);
}

TEST_F(GridEditingTest, EnterAppliesWithoutPostingAndMovingPosts) {
    key(Qt::Key_Right);
    type("6171234,5");  // the user's separator is "."
    key(Qt::Key_Return);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);
    key(Qt::Key_Escape);  // the typed text is reset to the field's value
    EXPECT_FALSE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);

    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);
    key(Qt::Key_F2);
    form->DBGrid1->cellEditor()->selectAll();
    type("6171200.5");
    key(Qt::Key_Return);
    EXPECT_FALSE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);
    EXPECT_EQ(stored()[1][1], "6171234.56");  // applied, not posted

    doubleClickRow(0);
    EXPECT_EQ(form->pointLists().xs.at(0), "6171200.5");  // the pick reads the applied value
    key(Qt::Key_Down);
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
    EXPECT_EQ(stored()[1][1], "6171200.5");
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 8u);
    EXPECT_EQ(dumped[0].values[1], "6171200.50");
}

// Closing the window posts an applied edit; one the field cannot take is
// shown and keeps the window open with the edit.
TEST_F(GridEditingTest, ClosingPostsTheEditOrStaysOpen) {
    key(Qt::Key_Right);
    type("6171200.5");
    key(Qt::Key_Return);  // applied, not posted
    key(Qt::Key_Down);
    type("abc");
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(stored()[1][1], "6171200.5");  // the move posted the first
    form->DBGrid1->cellEditor()->selectAll();
    type("6171398.5");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(stored()[2][1], "6171398.5");
}

// Mended: characters Windows-1251 lacks used to be stored as "?", and the
// cell editor took any number of characters and the field kept the first few.
TEST_F(GridEditingTest, TheCellEditorRefusesWhatTheFieldCannotHold) {
    type("Пк中");
    key(Qt::Key_Return);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "The character U+4E2D cannot be entered: texts here are in Windows-1251.");
    EXPECT_TRUE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->DBGrid1->cellEditor()->text(), "Пк中");
    EXPECT_EQ(form->Table1.fieldText(0), "\xD0\xE5\xEF\xE5\xF0 1");

    form->DBGrid1->cellEditor()->selectAll();
    type("Пк-12345678901234567890");  // NAME is C(12)
    EXPECT_EQ(form->DBGrid1->cellEditor()->text(), "Пк-123456789");
    key(Qt::Key_Return);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(form->Table1.fieldText(0), "\xCF\xEA-123456789");
}

TEST_F(GridEditingTest, EscapeCancelsTheEdit) {
    type("X");
    key(Qt::Key_Return);
    EXPECT_EQ(form->Table1.fieldText(0), "X");
    key(Qt::Key_Escape);
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
    EXPECT_EQ(form->Table1.fieldText(0), "\xD0\xE5\xEF\xE5\xF0 1");
    EXPECT_EQ(mark(), "\u25B6");
}

TEST_F(GridEditingTest, InsertThenUpDropsTheBlankRowUnwritten) {
    const std::string before = readBytes(workingCopy());
    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    EXPECT_EQ(form->Table1.state(), DatasetState::Insert);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 9);
    EXPECT_EQ(form->Table1.currentRow(), 1);
    EXPECT_EQ(mark(), "*");
    key(Qt::Key_Up);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 8);
    EXPECT_EQ(form->Table1.currentRow(), 0);
    EXPECT_EQ(readBytes(workingCopy()), before);
}

TEST_F(GridEditingTest, DownOnTheLastRowAppendsAndTypingFillsIt) {
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(form->Table1.currentRow(), 7);
    key(Qt::Key_Down);
    EXPECT_EQ(form->Table1.state(), DatasetState::Insert);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 9);
    key(Qt::Key_Down);  // untouched and last: nothing happens
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 9);
    type("P9");
    key(Qt::Key_Tab);
    type("100");
    key(Qt::Key_Tab);
    type("200");
    doubleClickRow(8);  // the press applies "200"; the new record's values are picked
    EXPECT_EQ(form->pointLists().ys.at(0), "200");
    EXPECT_EQ(form->Table1.state(), DatasetState::Insert);
    key(Qt::Key_Up);
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
    const Rows rows = stored();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[9], (std::vector<std::string>{"P9", "100", "200"}));
}

TEST_F(GridEditingTest, CtrlDeleteAsksFirst) {
    std::vector<QString> asked;
    bool answer = false;
    setConfirmationHook([&](const QString& caption, const QString& question) {
        asked.push_back(caption + "|" + question);
        return answer;
    });
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(asked, (std::vector<QString>{"Confirm|Delete record?"}));
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 8);

    answer = true;
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 7);
    EXPECT_EQ(form->Table1.fieldText(0), "\xD2\xEE\xF7\xEA\xE0 2");
    EXPECT_EQ(stored().size(), 8u);
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 8u);
    EXPECT_TRUE(dumped[0].deleted);
    setConfirmationHook({});
}

TEST_F(GridEditingTest, KeysMoveAcrossColumnsAndRecords) {
    key(Qt::Key_End);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 2);
    key(Qt::Key_Tab);  // past the last column: the first of the next record
    EXPECT_EQ(form->DBGrid1->currentIndex(), form->DBGrid1->model()->index(1, 0));
    key(Qt::Key_Backtab);
    EXPECT_EQ(form->DBGrid1->currentIndex(), form->DBGrid1->model()->index(0, 2));
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 0);
    key(Qt::Key_PageDown);
    EXPECT_EQ(form->Table1.currentRow(), 7);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(form->Table1.currentRow(), 0);
    key(Qt::Key_Down, Qt::ControlModifier);  // the last record shown
    EXPECT_EQ(form->Table1.currentRow(), 7);
}

TEST_F(GridEditingTest, LeavingTheGridDropsAnUntouchedNewRecord) {
    key(Qt::Key_Insert);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 9);
    form->ListBox1->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 8);
}

TEST_F(GridEditingTest, PressOnTheTitleRowAppliesTypedTextAndKeepsTheRecord) {
    key(Qt::Key_Down);
    type("Q");
    QHeaderView* titles = form->DBGrid1->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      QPoint(titles->sectionPosition(1) + 5, 5));
    EXPECT_EQ(form->Table1.currentRow(), 1);
    EXPECT_EQ(form->Table1.fieldText(0), "Q");
    EXPECT_EQ(form->Table1.state(), DatasetState::Edit);
}

TEST_F(GridEditingTest, PressInTheIndicatorColumnAppliesPostsAndMoves) {
    key(Qt::Key_Right);
    type("6171000");
    QHeaderView* indicator = form->DBGrid1->verticalHeader();
    QTest::mouseClick(indicator->viewport(), Qt::LeftButton, {},
                      QPoint(5, indicator->sectionViewportPosition(3) + 5));
    EXPECT_EQ(form->Table1.currentRow(), 3);
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
    EXPECT_EQ(stored()[1][1], "6171000");
}

TEST_F(GridEditingTest, PressingTheCurrentCellOpensTheEditor) {
    const QRect cell = form->DBGrid1->visualRect(form->DBGrid1->model()->index(2, 0));
    QTest::mouseClick(form->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(form->Table1.currentRow(), 2);
    EXPECT_FALSE(form->DBGrid1->editorShown());
    QTest::mouseClick(form->DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->DBGrid1->cellEditor()->text(), "Точка 3");
}

// The first thing a user does, a double click on the current record, picks
// it and leaves no cell editor open to take the next key.
TEST_F(GridEditingTest, ADoubleClickOnTheCurrentRecordPicksAndLeavesNoEditor) {
    ASSERT_EQ(form->Table1.currentRow(), 0);
    doubleClickRow(0);
    EXPECT_EQ(form->pointLists().names.count(), 1);
    EXPECT_FALSE(form->DBGrid1->editorShown());
    EXPECT_EQ(form->Table1.state(), DatasetState::Browse);
}

// Another program deleted Точка 3 while the grid still shows it: the double
// click on its row picks nothing rather than Точка 4, now in its place.
TEST_F(GridEditingTest, ADoubleClickOnARowAnotherProgramDeletedPicksNothing) {
    form->DBGrid1->viewport()->repaint();  // Точка 3 shows on row 2
    QApplication::processEvents();
    const std::string other = inChildProcess([this] {
        TableDataset a;
        a.setTableName(workingCopy());
        a.open();
        a.moveTo(2);
        a.deleteRecord();
        return std::string("done");
    });
    ASSERT_EQ(other, "done");
    doubleClickRow(2);
    EXPECT_EQ(form->pointLists().names.count(), 0);
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 7);
    doubleClickRow(2);  // the row as it now shows
    ASSERT_EQ(form->pointLists().names.count(), 1);
    EXPECT_EQ(form->pointLists().names.at(0), "\xD2\xEE\xF7\xEA\xE0 4");
}

// The window and another program on one working copy: what the other
// program writes is what the grid shows, what a pick takes and what an edit
// begins from.
TEST_F(GridEditingTest, AnotherProgramsEditReachesTheGridThePickAndTheNextEdit) {
    auto cell = [this](int row, int column) {
        return form->DBGrid1->model()->data(form->DBGrid1->model()->index(row, column)).toString();
    };
    EXPECT_EQ(cell(3, 1), "6171455.31");
    const std::string other = inChildProcess([this] {
        TableDataset a;
        a.setTableName(workingCopy());
        a.open();
        a.moveTo(3);
        a.setFieldText(1, "6171455.77");
        a.post();
        return std::string("done");
    });
    ASSERT_EQ(other, "done");

    form->DBGrid1->viewport()->repaint();  // a repaint looks at the file after it
    QApplication::processEvents();
    EXPECT_EQ(cell(3, 1), "6171455.77");

    doubleClickRow(3);
    EXPECT_EQ(form->pointLists().xs.at(0), "6171455.77");

    key(Qt::Key_F2);
    key(Qt::Key_End);
    type("a");
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(stored()[4],
              (std::vector<std::string>{"\xD2\xEE\xF7\xEA\xE0 4a", "6171455.77", "2311040.66"}));
}

}  // namespace
}  // namespace geocalc::app

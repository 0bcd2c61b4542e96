// The record grid and the window's tab sequence: the focus, the scroll bar,
// double clicks anywhere on the grid, and columns that stay as set.
#include <QAbstractButton>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include "../table/dbf_builder.h"
#include "temp_folder.h"
#include "window_fixture.h"

namespace geocalc::app {
namespace {

namespace fs = std::filesystem;

class GridDeparturesTest : public WindowTest {
protected:
    void open(const std::string& surveyTable) {
        answers.push_back(QString::fromStdString(surveyTable));
        click(form->Button1);
        ASSERT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
        form->DBGrid1->setFocus();
    }
    void openSample() {
        fs::copy_file(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat", folder.file("pts.dat"));
        open(folder.file("pts.dat"));
    }
    // NAME C(10), X, Y: record i is named "P<i+1>".
    void openLargeTable(int records) {
        DbfBuilder table;
        table.field("NAME", 'C', 10).field("X", 'N', 10, 2).field("Y", 'N', 10, 2);
        for (int i = 0; i < records; ++i)
            table.record(("P" + std::to_string(i + 1) + "          ").substr(0, 10) +
                         "      1.00      2.00");
        writeBytes(folder.file("big.dat"), table.bytes());
        open(folder.file("big.dat"));
    }
    static void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    }
    // The current record's row is wholly on the screen and shows its mark.
    void expectCurrentRecordShown(const QString& mark = QString("\u25B6")) {
        DBGrid* grid = form->DBGrid1;
        const int row = form->Table1.currentRow();
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        EXPECT_TRUE(grid->viewport()->rect().contains(cell)) << "row " << row;
        EXPECT_EQ(grid->model()->headerData(row, Qt::Vertical).toString(), mark);
        EXPECT_EQ(grid->verticalScrollBar()->value(), row + 1);
        EXPECT_EQ(grid->rowAt(0), grid->topRow());
        EXPECT_EQ(grid->visualRect(grid->model()->index(grid->topRow(), 0)).top(),
                  0);  // a whole first row
    }
    TempFolder folder;
};

TEST_F(GridDeparturesTest, TabNeverLandsInTheCellEditor) {
    openSample();
    key(Qt::Key_F2);
    ASSERT_TRUE(form->DBGrid1->editorShown());
    QTest::mouseClick(form->ListBox4->viewport(), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), form->ListBox4);
    key(Qt::Key_Tab);  // "Сохранить" is disabled and passed over
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->DBGrid1);
    EXPECT_FALSE(form->DBGrid1->editorShown());
    key(Qt::Key_Tab);  // inside the grid Tab goes to the next column
    EXPECT_EQ(QApplication::focusWidget(), form->DBGrid1);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 1);

    key(Qt::Key_F2);
    form->ListBox1->setFocus();
    key(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form->DBGrid1);
    EXPECT_FALSE(form->DBGrid1->editorShown());
    for (int i = 0; i < 12; ++i) {  // once round the window, never into the editor
        key(Qt::Key_Tab);
        if (QApplication::focusWidget() == form->DBGrid1) key(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_NE(QApplication::focusWidget(), form->DBGrid1->cellEditor());
    }
}

TEST_F(GridDeparturesTest, TheScrollBarMovesTheCurrentRecord) {
    openLargeTable(1000);
    DBGrid* grid = form->DBGrid1;
    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 1000);
    const int page = bar->pageStep();
    ASSERT_GT(page, 2);

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(form->Table1.currentRow(), 999);
    expectCurrentRecordShown();
    bar->triggerAction(
        QAbstractSlider::SliderSingleStepSub);  // the record above the first row shown
    EXPECT_EQ(form->Table1.currentRow(), 1000 - page - 1);
    expectCurrentRecordShown();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(form->Table1.currentRow(), 1000 - 2 * page - 1);
    expectCurrentRecordShown();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(form->Table1.currentRow(), 0);
    bar->triggerAction(
        QAbstractSlider::SliderSingleStepAdd);  // the record below the last row shown
    EXPECT_EQ(form->Table1.currentRow(), page);
    expectCurrentRecordShown();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form->Table1.currentRow(), 2 * page);
    expectCurrentRecordShown();

    // A thumb dragged by the mouse takes the current record with it as it
    // goes, the rows shown following, and leaves it where released.
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, bar);
    const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                      QStyle::SC_ScrollBarGroove, bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(bar, thumb.center() + QPoint(0, groove.height() / 2));
    const int dragged = form->Table1.currentRow();
    EXPECT_GT(dragged, 400);  // while still held
    EXPECT_LT(dragged, 600);
    EXPECT_EQ(bar->sliderPosition(), dragged + 1);
    expectCurrentRecordShown();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb.center() + QPoint(0, groove.height() / 2));
    EXPECT_EQ(form->Table1.currentRow(), dragged);
    EXPECT_EQ(bar->value(), dragged + 1);
    key(Qt::Key_Down);  // Down goes on from there
    EXPECT_EQ(form->Table1.currentRow(), dragged + 1);
    EXPECT_EQ(form->Table1.fieldText(0), "P" + std::to_string(dragged + 2));

    // Each notch of the wheel moves the current record by the system's lines.
    QWheelEvent down(QPointF(20, 20), grid->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                     QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &down);
    EXPECT_EQ(form->Table1.currentRow(), dragged + 1 + 2 * QApplication::wheelScrollLines());
    expectCurrentRecordShown();

    key(Qt::Key_End, Qt::ControlModifier);  // whole rows, also at the end
    expectCurrentRecordShown();
}

TEST_F(GridDeparturesTest, EveryDoubleClickPicks) {
    openSample();
    DBGrid* grid = form->DBGrid1;
    QTest::keyClick(grid, Qt::Key_Down);  // the second record is current
    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    auto* corner = grid->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    QTest::mouseDClick(corner, Qt::LeftButton);
    // On the indicator column the first press moves to the row, the double click picks it.
    const QPoint indicator(5, grid->verticalHeader()->sectionViewportPosition(3) + 3);
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, indicator);
    QTest::mouseDClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, indicator);
    const TextList& names = form->pointLists().names;
    ASSERT_EQ(names.count(), 3);
    EXPECT_EQ(names.at(0), names.at(1));  // the record current before, twice
    EXPECT_NE(names.at(0), names.at(2));
    EXPECT_EQ(form->Table1.currentRow(), 3);
}

TEST_F(GridDeparturesTest, ColumnsStayAsTheUserSetThem) {
    openSample();
    DBGrid* grid = form->DBGrid1;
    grid->setColumnWidth(1, 150);
    grid->horizontalHeader()->moveSection(2, 0);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    const int column = grid->currentIndex().column();
    auto expectColumnsKept = [&](const char* after) {
        EXPECT_EQ(grid->columnWidth(1), 150) << after;
        EXPECT_EQ(grid->horizontalHeader()->visualIndex(2), 0) << after;
        EXPECT_EQ(grid->currentIndex().column(), column) << after;
    };
    key(Qt::Key_Insert);
    expectColumnsKept("Insert");
    key(Qt::Key_Escape);
    expectColumnsKept("Esc out of the insertion");
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down);
    ASSERT_EQ(form->Table1.state(), DatasetState::Insert);
    expectCurrentRecordShown("*");
    expectColumnsKept("Down on the last record");
    key(Qt::Key_Up);
    expectColumnsKept("Up");
}

}  // namespace
}  // namespace geocalc::app

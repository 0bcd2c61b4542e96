#include <QHeaderView>

#include "app/data_source.h"
#include "core/error.h"
#include "numtext/format_settings.h"
#include "temp_folder.h"
#include "window_fixture.h"

namespace geocalc::app {
namespace {

namespace fs = std::filesystem;

std::string fixture(const std::string& name) {
    return std::string(GEOCALC_SOURCE_DIR) + "/tests/table/fixtures/" + name;
}

class GridTest : public WindowTest {
protected:
    void open(const std::string& fixtureName) {
        fs::copy_file(fixture(fixtureName), folder.file("t.dat"));
        const std::string cpg =
            fixture(fs::path(fixtureName).replace_extension(".cpg").filename().string());
        answers.push_back(QString::fromStdString(folder.file("t.dat")));
        click(form->Button1);
        ASSERT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
    }
    QString cell(int row, int column) {
        return form->DBGrid1->model()->data(form->DBGrid1->model()->index(row, column)).toString();
    }
    TempFolder folder;
};

TEST_F(GridTest, CellsShowFieldTextsAndMemoKinds) {
    fs::copy_file(fixture("pydbf_db3.dbt"), folder.file("t.dbt"));
    open("pydbf_db3.dbf");
    QAbstractItemModel* model = form->DBGrid1->model();
    EXPECT_EQ(cell(0, 0), "Репер 1");
    EXPECT_EQ(cell(0, 3), "True");
    EXPECT_EQ(cell(0, 5), "(MEMO)");
    EXPECT_EQ(cell(1, 5), "(Memo)");  // blank memo
    EXPECT_EQ(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model->data(model->index(0, 0), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), "\u25B6");
    EXPECT_EQ(model->headerData(1, Qt::Vertical).toString(), "");

    // A text column is as wide as its field, and at least as its title.
    const int digit = form->DBGrid1->fontMetrics().horizontalAdvance('0');
    EXPECT_GE(form->DBGrid1->columnWidth(0), 10 * digit + 4);
    EXPECT_LT(form->DBGrid1->columnWidth(0), 11 * digit + 20);
    EXPECT_GE(form->DBGrid1->columnWidth(3),
              form->DBGrid1->fontMetrics().horizontalAdvance("OK") + 4);

    // The memo's text is what a pick reads.
    doubleClickRow(2);
    EXPECT_EQ(form->pointLists().names.at(0), "");
    EXPECT_EQ(form->Table1.fieldText(5), "\xE2\xF2\xEE\xF0\xE0\xFF\r\n\xF1\xF2\xF0\xEE\xEA\xE0");
}

TEST_F(GridTest, ArrowKeysBrowseAndTheIndicatorFollows) {
    open("shapelib_cp1251.dbf");
    form->DBGrid1->setFocus();
    QTest::keyClick(form->DBGrid1, Qt::Key_Down);
    QTest::keyClick(form->DBGrid1, Qt::Key_Down);
    EXPECT_EQ(form->Table1.currentRow(), 2);
    EXPECT_EQ(form->DBGrid1->model()->headerData(2, Qt::Vertical).toString(), "\u25B6");
    QTest::keyClick(form->DBGrid1, Qt::Key_Up);
    EXPECT_EQ(form->Table1.currentRow(), 1);
    doubleClickRow(1);
    EXPECT_EQ(form->pointLists().xs.at(0), "6123501.02");
}

// A title dragged to another place: the arrow keys go by the order shown.
TEST_F(GridTest, ArrowKeysFollowMovedColumns) {
    open("shapelib_cp1251.dbf");
    form->DBGrid1->setFocus();
    form->DBGrid1->horizontalHeader()->moveSection(2, 0);
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, 2));
    QTest::keyClick(form->DBGrid1, Qt::Key_Right);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 0);
    QTest::keyClick(form->DBGrid1, Qt::Key_Right);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 1);
    QTest::keyClick(form->DBGrid1, Qt::Key_Home);
    EXPECT_EQ(form->DBGrid1->currentIndex().column(), 2);
}

TEST_F(GridTest, OneAndTwoFieldTablesPickWhatTheyHave) {
    open("shapelib_two_fields.dbf");
    doubleClickRow(0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "List index out of bounds (2)");
    EXPECT_EQ(form->pointLists().names.count(), 1);
    EXPECT_EQ(form->pointLists().xs.count(), 1);
    EXPECT_EQ(form->pointLists().ys.count(), 0);
}

TEST_F(WindowTest, EnterClicksAFocusedButtonOnly) {
    form->pointLists().names.append("P1");
    form->ListBox1->setFocus();
    QTest::keyClick(form->ListBox1, Qt::Key_Return);
    QTest::keyClick(form->ListBox1, Qt::Key_Escape);
    EXPECT_EQ(form->pointLists().names.count(), 1);
    form->Button3->setFocus();
    QTest::keyClick(form->Button3, Qt::Key_Return);
    EXPECT_EQ(form->pointLists().names.count(), 0);
    form->pointLists().names.append("P1");
    QTest::keyClick(form->Button3, Qt::Key_Space);
    EXPECT_EQ(form->pointLists().names.count(), 0);
}

TEST_F(WindowTest, LocaleChangeReloadsTheNumberFormat) {
    setenv("LC_ALL", "C", 1);
    setDecimalSeparator(',');
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(qApp, &change);
    EXPECT_EQ(numberFormat().decimalSeparator, '.');
    unsetenv("LC_ALL");
}

TEST_F(WindowTest, StartupFailureBoxNamesTheFailure) {
    showStartupFailureBox(Error("Error creating window class"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Application Error");
    EXPECT_EQ(boxes[0].text,
              "Exception geocalc::Error in module geocalc at 00000000.\r\nError creating window "
              "class.\r\n");
}

}  // namespace
}  // namespace geocalc::app

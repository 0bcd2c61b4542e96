#include <sys/wait.h>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <cstdlib>

#include "app/ansi_text.h"
#include "app/data_source.h"
#include "core/error.h"
#include "sample_results.h"
#include "temp_folder.h"
#include "window_fixture.h"

namespace geocalc::app {
namespace {

namespace fs = std::filesystem;

std::string sample() { return std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat"; }

std::vector<std::string> entries(const TextList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.at(i));
    return result;
}

TEST_F(WindowTest, OneJobFromOpeningToSaving) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    EXPECT_FALSE(form->Button5->isEnabled());
    EXPECT_FALSE(form->Button6->isEnabled());

    answers.push_back(QString::fromStdString(folder.file("pts.dat")));
    click(form->Button1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(fs::exists(folder.file("pts.dbf")));
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 8);
    EXPECT_EQ(form->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), "X");
    EXPECT_TRUE(form->Button5->isEnabled());
    EXPECT_FALSE(form->Button6->isEnabled());
    EXPECT_EQ(form->OpenDialog1.fileName(), QString::fromStdString(folder.file("pts.dbf")));

    for (int row : {0, 2, 4}) doubleClickRow(row);
    const std::string reper = "\xD0\xE5\xEF\xE5\xF0 1";
    EXPECT_EQ(
        entries(form->pointLists().names),
        (std::vector<std::string>{reper, "\xD2\xEE\xF7\xEA\xE0 3", "\xD2\xEE\xF7\xEA\xE0 5"}));
    EXPECT_EQ(form->ListBox1->model()->data(form->ListBox1->model()->index(0, 0)).toString(),
              "Репер 1");
    EXPECT_EQ(form->Table1.currentRow(), 4);

    click(form->Button5);
    EXPECT_TRUE(form->Button6->isEnabled());
    EXPECT_EQ(form->pointLists().sides.count(), 3);

    answers.push_back(QString::fromStdString(folder.file("result.txt")));
    click(form->Button6);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialogsSeen.back(), "*.txt");
    EXPECT_EQ(readBytes(folder.file("result.txt")), kSampleResultsOf135);

    answers.push_back(std::nullopt);  // a cancelled save changes nothing
    click(form->Button6);
    EXPECT_EQ(dialogsSeen.back(), QString::fromStdString(folder.file("result.txt")));
}

// Points kept as text (UTF-8, decimal commas, a heading) open through the
// dialog as a table does; the same job saves the same file.
TEST_F(WindowTest, APointTextFileOpensAndDoesTheSameJob) {
    TempFolder folder;
    writeBytes(
        folder.file("points.csv"),
        "\xE2\x84\x96;X;Y\r\n\xD0\xA0\xD0\xB5\xD0\xBF\xD0\xB5\xD1\x80 1;6171234,56;2310456,78\r\n"
        "\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 3;6171512,90;2310810,05\r\n"
        "\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 5;6171280,47;2311122,19\r\n");  // №, Репер 1,
                                                                                  // Точка 3, 5
    answers.push_back(QString::fromStdString(folder.file("points.csv")));
    click(form->Button1);
    ASSERT_TRUE(boxes.empty());
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 3);
    for (int row : {0, 1, 2}) doubleClickRow(row);
    click(form->Button5);
    answers.push_back(QString::fromStdString(folder.file("result.txt")));
    click(form->Button6);
    EXPECT_EQ(readBytes(folder.file("result.txt")), kSampleResultsOf135);
}

TEST_F(WindowTest, FailuresAreShownAndTheWindowGoesOn) {
    doubleClickRow(0);  // no table open: the pick fails at field 0
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "geocalc");
    EXPECT_EQ(boxes[0].text, "List index out of bounds (0)");

    struct Thrower : QObject {
        std::function<void()> what;
        bool event(QEvent*) override {
            what();
            return true;
        }
    } thrower;
    QEvent event(QEvent::User);
    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        {[] { throw Error("Invalid floating point operation"); },
         "Invalid floating point operation."},
        {[] { throw Error("Table does not exist."); }, "Table does not exist."},
        {[] { throw Error(""); }, ""},
        {[] { throw Error("\xD0\xE5\xEF\xE5\xF0"); }, "Репер."},
    };
    for (const auto& [fail, shown] : cases) {
        thrower.what = fail;
        QApplication::sendEvent(&thrower, &event);
        EXPECT_EQ(boxes.back().text, shown);
        EXPECT_EQ(boxes.back().caption, "geocalc");
    }
    const std::size_t shownBoxes = boxes.size();
    thrower.what = [] { throw SilentAbort(); };
    QApplication::sendEvent(&thrower, &event);
    EXPECT_EQ(boxes.size(), shownBoxes);

    click(form->Button3);  // still usable
    EXPECT_EQ(form->pointLists().names.count(), 0);
}

// Mended: each list used to keep a selection of its own and "Удалить" took
// each list's entry at its own selection, and a later calculation appended
// its side lines below the earlier ones; the saved file then paired points
// with sides that were not theirs.
TEST_F(WindowTest, DeleteTakesOneWholePointAndStaleResultsAreNotSaved) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    answers.push_back(QString::fromStdString(folder.file("pts.dat")));
    click(form->Button1);
    for (int row : {0, 1, 2}) doubleClickRow(row);
    click(form->Button5);
    doubleClickRow(3);
    click(form->Button5);  // the second run replaces the first run's lines
    EXPECT_EQ(entries(form->pointLists().sides).size(), 4u);
    EXPECT_EQ(form->pointLists().sides.at(2),
              "104\xB0"
              "1'17.9\" 237.7");

    auto clickEntry = [](ListBox* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    };
    auto shownSelection = [](ListBox* list) {
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.first().row();
    };
    clickEntry(form->ListBox1, 2);
    clickEntry(form->ListBox4, 1);
    clickEntry(form->ListBox3, 1);  // selects point 1 in all three, not in the side lines
    for (ListBox* list : {form->ListBox1, form->ListBox2, form->ListBox3})
        EXPECT_EQ(shownSelection(list), 1);
    EXPECT_EQ(shownSelection(form->ListBox4), 1);
    clickEntry(form->ListBox2, 2);
    for (ListBox* list : {form->ListBox1, form->ListBox2, form->ListBox3})
        EXPECT_EQ(shownSelection(list), 2);

    click(form->Button4);
    EXPECT_EQ(entries(form->pointLists().names),
              (std::vector<std::string>{"\xD0\xE5\xEF\xE5\xF0 1", "\xD2\xEE\xF7\xEA\xE0 2",
                                        "\xD2\xEE\xF7\xEA\xE0 4"}));
    EXPECT_EQ(entries(form->pointLists().xs),
              (std::vector<std::string>{"6171234.56", "6171398.12", "6171455.31"}));
    EXPECT_EQ(entries(form->pointLists().ys),
              (std::vector<std::string>{"2310456.78", "2310587.34", "2311040.66"}));
    EXPECT_EQ(shownSelection(form->ListBox1), -1);
    EXPECT_EQ(form->pointLists().sides.count(), 4);  // the lines stay, no longer the points' own
    click(form->Button4);                            // nothing selected any more
    EXPECT_EQ(form->pointLists().names.count(), 3);

    // The side lines no longer belong to the points: no file, no dialog.
    const std::size_t dialogs = dialogsSeen.size();
    click(form->Button6);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(
        boxes[0].text,
        "The results do not belong to the points as they now stand; press \"Рассчет\" again.");
    EXPECT_EQ(dialogsSeen.size(), dialogs);
    EXPECT_FALSE(fs::exists(folder.file("result.txt")));

    click(form->Button5);
    answers.push_back(QString::fromStdString(folder.file("result.txt")));
    click(form->Button6);
    EXPECT_EQ(boxes.size(), 1u);
    const std::string saved = readBytes(folder.file("result.txt"));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 3);
    EXPECT_NE(saved.find("\xD2\xEE\xF7\xEA\xE0 4 6171455.31 2311040.66 "), std::string::npos);

    click(form->Button3);
    for (ListBox* list : {form->ListBox1, form->ListBox2, form->ListBox3, form->ListBox4}) {
        EXPECT_EQ(list->model()->rowCount(), 0);
    }
    EXPECT_TRUE(form->Button5->isEnabled());  // clearing disables nothing
}

TEST_F(WindowTest, TypingSelectsByPrefix) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    answers.push_back(QString::fromStdString(folder.file("pts.dat")));
    click(form->Button1);
    for (int row : {1, 0, 3}) doubleClickRow(row);  // Точка 2, Репер 1, Точка 4
    form->ListBox1->setFocus();
    typeText(form->ListBox1, "р");
    EXPECT_EQ(form->pointLists().names.selectedIndex(), 1);
    typeText(form->ListBox1, "x");  // no entry begins "рx": the selection stays
    EXPECT_EQ(form->pointLists().names.selectedIndex(), 1);
    QTest::keyClick(form->ListBox1, Qt::Key_Backspace);
    QTest::keyClick(form->ListBox1, Qt::Key_Backspace);
    EXPECT_EQ(form->pointLists().names.selectedIndex(), 0);
    QTest::qWait(600);  // a pause starts a new prefix
    typeText(form->ListBox1, "ТОЧКА 4");
    EXPECT_EQ(form->pointLists().names.selectedIndex(), 2);
}

TEST_F(WindowTest, AnotherTableIsRefusedAndTheGridStays) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    fs::copy_file(std::string(GEOCALC_SOURCE_DIR) + "/tests/table/fixtures/shapelib_two_fields.dbf",
                  folder.file("other.dat"));
    answers.push_back(QString::fromStdString(folder.file("pts.dat")));
    answers.push_back(QString::fromStdString(folder.file("other.dat")));
    click(form->Button1);
    click(form->Button1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Table1: Cannot perform this operation on an open dataset.");
    EXPECT_EQ(dialogsSeen.back(), QString::fromStdString(folder.file("pts.dbf")));
    EXPECT_EQ(form->OpenDialog1.fileName(), QString::fromStdString(folder.file("other.dbf")));
    EXPECT_EQ(form->DBGrid1->model()->rowCount(), 8);
    EXPECT_EQ(form->DBGrid1->model()->columnCount(), 3);
    EXPECT_TRUE(form->Button5->isEnabled());
}

TEST_F(WindowTest, ControlsStandWhereTheWindowPutsThem) {
    EXPECT_EQ(form->windowTitle(), "расчет геоданных");
    EXPECT_EQ(form->Label1->text(), "Откройте таблицу");
    EXPECT_EQ(form->Button1->text(), "Открыть таблицу");
    EXPECT_EQ(form->Button5->text(), "Рассчет");
    EXPECT_EQ(form->Button6->text(), "Сохранить");
    const int scale = QFontMetrics(form->font()).height();
    auto designed = [scale](int v) {
        return scale == TForm1::kDesignTextHeight ? v : (v * scale + 6) / TForm1::kDesignTextHeight;
    };
    EXPECT_EQ(form->ListBox4->geometry().topLeft(), QPoint(designed(392), designed(228)));
    EXPECT_EQ(form->Button6->geometry().topLeft(), QPoint(designed(552), designed(0)));
    EXPECT_FALSE(form->Button1->isDefault());

    // Tab passes over the disabled buttons and cycles.
    form->Button4->setFocus();
    QTest::keyClick(form->Button4, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->ListBox2);
    form->ListBox4->setFocus();
    QTest::keyClick(form->ListBox4, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
    QTest::keyClick(form->Button1, Qt::Key_Right);  // arrows move along the buttons too
    EXPECT_EQ(QApplication::focusWidget(), form->DBGrid1);
}

// A name wider than its list scrolls into view sideways, to its last
// character; names that fit need no scroll bar.
TEST_F(WindowTest, ANameWiderThanItsListCanBeReadWhole) {
    form->pointLists().names.append("\xD2\xEE\xF7\xEA\xE0 1");
    QApplication::processEvents();
    EXPECT_FALSE(form->ListBox1->horizontalScrollBar()->isVisible());
    const std::string longName = "\xD2\xEE\xF7\xEA\xE0 " + std::string(60, '7') + " end";
    form->pointLists().names.append(longName);
    QApplication::processEvents();
    QScrollBar* bar = form->ListBox1->horizontalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    const int needed = form->ListBox1->fontMetrics().horizontalAdvance(fromAnsi(longName));
    EXPECT_GE(bar->maximum() + form->ListBox1->viewport()->width(), needed);
}

TEST_F(WindowTest, SmallWindowScrollsItsFixedControls) {
    auto* scroll = form->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    form->resize(300, 200);
    QApplication::processEvents();
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    const QPoint listPlace = form->ListBox4->pos();
    form->resize(1200, 900);
    QApplication::processEvents();
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    EXPECT_EQ(form->ListBox4->pos(), listPlace);  // nothing is laid out again
}

TEST_F(WindowTest, ClosingTheWindowEndsTheLoopWithCodeZeroAndKeepsTheWorkingCopy) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    answers.push_back(QString::fromStdString(folder.file("pts.dat")));
    click(form->Button1);
    const std::string workingCopy = readBytes(folder.file("pts.dbf"));
    QTimer::singleShot(0, form.get(), [this] { form->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
    form.reset();
    EXPECT_EQ(readBytes(folder.file("pts.dbf")), workingCopy);
}

// A file dropped on the window opens as the dialog's pick would; Ctrl+C in a
// list copies its selected entry, in the side lines' list all of them.
TEST_F(WindowTest, ADroppedTableOpensAndCtrlCCopiesFromTheLists) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.file("pts.dat")))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    ASSERT_TRUE(form->Table1.active());
    EXPECT_TRUE(fs::exists(folder.file("pts.dbf")));

    for (int row : {0, 1, 2}) doubleClickRow(row);
    click(form->Button5);
    selectPoint(form->pointLists(), 1);
    QTest::keyClick(form->ListBox2, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "6171398.12");
    QTest::keyClick(form->ListBox4, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 2);
}

// `geocalc FILE` opens the table at start: its working copy is made.
TEST(StartupTest, ATableNamedAtStartOpens) {
    TempFolder folder;
    fs::copy_file(sample(), folder.file("pts.dat"));
    const std::string command = "QT_QPA_PLATFORM=offscreen timeout 5 '" +
                                std::string(GEOCALC_APP_EXE) + "' '" + folder.file("pts.dat") +
                                "' 2>/dev/null";
    std::system(command.c_str());
    EXPECT_EQ(readBytes(folder.file("pts.dbf")), readBytes(folder.file("pts.dat")));
}

TEST(StartupTest, NoDisplayIsAStartupFailureWithItsTextOnStandardError) {
    TempFolder folder;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" +
                                std::string(GEOCALC_APP_EXE) + "' 2> '" + folder.file("err") + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(readBytes(folder.file("err")).find("could not connect to display"),
              std::string::npos);
}

TEST(StartupTest, VersionIsAnsweredWithoutADisplay) {
    TempFolder folder;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" +
                                std::string(GEOCALC_APP_EXE) + "' --version > '" +
                                folder.file("out") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readBytes(folder.file("out")), "geocalc " + std::string(GEOCALC_VERSION) + "\n");
}

}  // namespace
}  // namespace geocalc::app

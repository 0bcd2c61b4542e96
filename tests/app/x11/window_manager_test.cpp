// The window on a real X server with a window manager, where the frame and
// the focus are the window manager's: run by with_window_manager.sh under
// xvfb-run with a 1024 x 768 screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdlib>

#include <filesystem>

#include "app/error_box.h"
#include "app/file_dialog.h"
#include "app/geocalc_application.h"
#include "app/unit1.h"
#include "numtext/format_settings.h"
#include "output/results_file.h"
#include "points/lists_traverse.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc::app {
namespace {

// Waits for the window manager's frame around the window.
bool waitForFrame(QWidget& window) {
    return QTest::qWaitFor([&] { return window.frameGeometry().size() != window.size(); }, 5000);
}

TEST(WindowManagerTest, OuterSizeAndCentringIncludeTheFrame) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(waitForFrame(form)) << "no frame from the window manager";
    const QRect screen = form.screen()->geometry();
    const QRect designed(QPoint((screen.width() - 639) / 2, (screen.height() - 358) / 2),
                         QSize(639, 358));
    (void)QTest::qWaitFor([&] { return form.frameGeometry() == designed; },
                          3000);  // the fitting settles
    EXPECT_EQ(form.frameGeometry().size(), designed.size());
    EXPECT_EQ(form.frameGeometry().topLeft(), designed.topLeft());

    // The window manager hands the focus over: the first control has it.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.Button1);
}

TEST(WindowManagerTest, TabFromTheLastListGoesBackToTheFirstButton) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.ListBox4->setFocus();
    QTest::keyClick(form.ListBox4, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.Button1);
    QTest::keyClick(form.Button1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.DBGrid1);
}

// Presses a key where the focus is, as the keyboard does.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
}

// The results file of the sample's eight points as the core writes it.
std::string sampleResults(const std::string& table) {
    TableDataset dataset;
    dataset.setTableName(table);
    dataset.open();
    PointLists lists;
    for (int row = 0; row < 8; ++row) {
        dataset.moveTo(row);
        appendPoint(lists, [&dataset](int field) { return dataset.fieldText(field); });
    }
    runTraverse(lists);
    std::string bytes;
    forEachResultsLine(lists, [&bytes](std::string_view line) { bytes += line; });
    return bytes;
}

TEST(WindowManagerTest, TheWholeJobByKeyboardAlone) {
    TempFolder folder;
    std::filesystem::copy_file(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat",
                               folder.file("pts.dat"));
    std::vector<QString> boxes;
    setMessageBoxHook([&boxes](const QString&, const QString& text) { boxes.push_back(text); });
    FileDialog::setResponder([&folder](const FileDialog& dialog) {
        return QString::fromStdString(
            folder.file(dialog.kind() == FileDialog::Kind::Open ? "pts.dat" : "r.txt"));
    });
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_EQ(QApplication::focusWidget(), form.Button1);

    press(Qt::Key_Space);  // "Открыть таблицу"
    ASSERT_EQ(form.Table1.rowCount(), 8);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form.DBGrid1);
    for (int row = 0; row < 8; ++row) {
        if (row > 0) press(Qt::Key_Down);
        press(Qt::Key_Return, Qt::ControlModifier);  // picks, as a double click does
    }
    EXPECT_EQ(form.pointLists().names.count(), 8);
    EXPECT_EQ(form.Table1.rowCount(), 8);  // nothing appended, nothing edited

    press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);  // out of the grid, backwards
    EXPECT_EQ(QApplication::focusWidget(), form.Button1);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab, Qt::ControlModifier);  // out of the grid, forwards
    EXPECT_EQ(QApplication::focusWidget(), form.ListBox1);
    for (QWidget* next : {static_cast<QWidget*>(form.Button3), static_cast<QWidget*>(form.Button4),
                          static_cast<QWidget*>(form.Button5)}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    press(Qt::Key_Space);  // "Рассчет"
    EXPECT_EQ(form.pointLists().sides.count(), 8);
    for (int i = 0; i < 4; ++i) press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.Button6);
    press(Qt::Key_Space);  // "Сохранить"
    EXPECT_EQ(readBytes(folder.file("r.txt")), sampleResults(folder.file("pts.dat")));
    EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
    FileDialog::setResponder({});
    setMessageBoxHook({});
}

}  // namespace
}  // namespace geocalc::app

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::testing::InitGoogleTest(&argc, argv);
    geocalc::app::GeocalcApplication application(argc, argv);
    geocalc::setDecimalSeparator('.');
    return RUN_ALL_TESTS();
}

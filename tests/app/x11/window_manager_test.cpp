// The window on a real X server with a window manager, where the frame and
// the focus are the window manager's: run by with_window_manager.sh under
// xvfb-run with a 1024 x 768 screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdlib>

#include "app/geocalc_application.h"
#include "app/unit1.h"
#include "numtext/format_settings.h"

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

}  // namespace
}  // namespace geocalc::app

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::testing::InitGoogleTest(&argc, argv);
    geocalc::app::GeocalcApplication application(argc, argv);
    geocalc::setDecimalSeparator('.');
    return RUN_ALL_TESTS();
}

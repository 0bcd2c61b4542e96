// A fresh main window for each test, with the dialogs and the error box
// answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>

#include "app/error_box.h"
#include "app/file_dialog.h"
#include "app/unit1.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        geocalc::app::setMessageBoxHook([this](const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        });
        geocalc::app::FileDialog::setResponder([this](const geocalc::app::FileDialog& dialog) {
            dialogsSeen.push_back(dialog.fileName());
            std::optional<QString> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        });
        form = std::make_unique<geocalc::app::TForm1>();
        form->show();
        QApplication::setActiveWindow(form.get());
        QApplication::processEvents();
    }
    void TearDown() override {
        form.reset();
        geocalc::app::setMessageBoxHook({});
        geocalc::app::FileDialog::setResponder({});
    }

    // Clicks a button as the user does, through the event loop's notification.
    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Double-clicks a data row of the grid, first column, as the platform
    // reports it: a press and release, then the double click.
    void doubleClickRow(int row) {
        geocalc::app::DBGrid* grid = form->DBGrid1;
        const QPoint at = grid->model()->rowCount() > row
                              ? grid->visualRect(grid->model()->index(row, 0)).center()
                              : QPoint(10, 10);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    // Types text, Cyrillic included, into a widget.
    static void typeText(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    struct Box {
        QString caption, text;
    };
    std::vector<Box> boxes;
    std::deque<std::optional<QString>> answers;  // what the next dialogs return; nothing = cancel
    std::vector<QString> dialogsSeen;            // the file name each dialog opened with
    std::unique_ptr<geocalc::app::TForm1> form;
};

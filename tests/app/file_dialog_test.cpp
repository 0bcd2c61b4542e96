#include "app/file_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <fstream>
#include <functional>

#include "app/geocalc_application.h"
#include "temp_folder.h"

namespace geocalc::app {
namespace {

struct ShownDialog {
    QString acceptText, rejectText;
    QStringList filters;
    std::vector<std::pair<QString, int>>
        textsCut;  // a title or an entry wider than its column, and the column's width
};

// Shows the real dialog, looks at it once it has laid itself out, and cancels it.
ShownDialog showAndCancel(const FileDialog& dialog) {
    ShownDialog seen;
    QTimer::singleShot(200, [&seen] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!shown) return;
        auto* buttons = shown->findChild<QDialogButtonBox*>();
        seen.acceptText = buttons->buttons().first()->text();
        seen.rejectText = buttons->button(QDialogButtonBox::Cancel)->text();
        seen.filters = shown->nameFilters();
        shown->setViewMode(QFileDialog::Detail);
        QApplication::processEvents();
        auto* details = shown->findChild<QTreeView*>(QStringLiteral("treeView"));
        QHeaderView* header = details->header();
        const QAbstractItemModel* files = details->model();
        // What the style keeps around a title (its margins and the sort mark)
        // and around an entry (the focus frame's margins).
        const QStyle* style = details->style();
        const int titleMargins = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
                                 style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
        const int entryMargins =
            2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, details) + 1);
        // The name column (0) may cut long names, as file dialogs do; the
        // others show their titles and entries whole.
        for (int column = 1; column < header->count(); ++column) {
            std::vector<QString> texts = {files->headerData(column, Qt::Horizontal).toString()};
            for (int row = 0; row < files->rowCount(details->rootIndex()); ++row) {
                texts.push_back(files->index(row, column, details->rootIndex()).data().toString());
            }
            for (std::size_t i = 0; i < texts.size(); ++i) {
                const QString& text = texts[i];
                const int needed = details->fontMetrics().horizontalAdvance(text) +
                                   (i == 0 ? titleMargins : entryMargins);
                if (header->sectionSize(column) < needed) {
                    seen.textsCut.push_back({text, header->sectionSize(column)});
                }
            }
        }
        shown->reject();
    });
    EXPECT_FALSE(dialog.execute(nullptr));
    return seen;
}

TEST(FileDialogTest, DialogsSpeakTheUsersLanguageWithWholeColumns) {
    auto* application = static_cast<GeocalcApplication*>(qApp);
    // Tables of sizes whose texts run long ("1023 байты").
    TempFolder folder;
    for (const int size : {5, 999, 1023, 42'424, 1'048'575}) {
        std::ofstream(folder.file("t" + std::to_string(size) + ".dat"))
            << std::string(std::size_t(size), ' ');
    }
    const FileDialogSettings settings{FileDialogSettings::Kind::Open,
                                      "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 (*.dat)",
                                      {"\xC2\xF1\xE5 \xF4\xE0\xE9\xEB\xFB (*.*)"},
                                      "",
                                      folder.file("t5.dat")};
    const FileDialog open(settings);

    // A desktop font larger than the toolkit's default, as many users have.
    const QFont usual = QApplication::font();
    QFont large = usual;
    large.setPixelSize(17);
    QApplication::setFont(large);

    ASSERT_TRUE(application->useToolkitLanguageOf(QLocale(QLocale::Russian, QLocale::Russia)));
    const ShownDialog russian = showAndCancel(open);
    EXPECT_EQ(russian.acceptText, "&Открыть");
    EXPECT_EQ(russian.rejectText, "Отмена");
    EXPECT_EQ(russian.filters, (QStringList{"Таблица (*.dat)", "Все файлы (*)"}));
    for (const auto& [text, width] : russian.textsCut)
        ADD_FAILURE() << text.toStdString() << " in " << width;

    EXPECT_FALSE(application->useToolkitLanguageOf(QLocale::c()));  // none for it: English again
    const ShownDialog english = showAndCancel(open);
    EXPECT_EQ(english.acceptText, "&Open");
    EXPECT_EQ(english.rejectText, "Cancel");
    QApplication::setFont(usual);
}

// The save dialog asks before an existing file is chosen, in the user's
// language; "No" keeps the dialog open, "Yes" chooses the file.
TEST(FileDialogTest, TheSaveDialogAsksBeforeReplacingAFile) {
    auto* application = static_cast<GeocalcApplication*>(qApp);
    ASSERT_TRUE(application->useToolkitLanguageOf(QLocale(QLocale::Russian, QLocale::Russia)));
    TempFolder folder;
    std::ofstream(folder.file("r.txt")) << "keep";
    const FileDialogSettings settings{FileDialogSettings::Kind::Save,
                                      "\xD2\xE5\xEA\xF1\xF2 (*.txt)",
                                      {},
                                      "txt",
                                      folder.file("r.txt"),
                                      true};
    const FileDialog save(settings);
    std::vector<QString> questions;
    // Accepts the dialog; answers the question `answer`, the first time No.
    std::function<void(QMessageBox::StandardButton)> acceptAndAnswer =
        [&](QMessageBox::StandardButton answer) {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QTimer::singleShot(200, [&, answer] {
                auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!question) return;
                questions.push_back(question->text());
                question->button(answer)->click();
                if (answer == QMessageBox::No) {
                    QTimer::singleShot(200, [&] { acceptAndAnswer(QMessageBox::Yes); });
                }
            });
            dialog->findChild<QDialogButtonBox*>()->buttons().first()->click();
        };
    QTimer::singleShot(200, [&] { acceptAndAnswer(QMessageBox::No); });
    const std::optional<QString> chosen = save.execute(nullptr);
    EXPECT_FALSE(application->useToolkitLanguageOf(QLocale::c()));
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("r.txt"))) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains(QStringLiteral("заменить"), Qt::CaseInsensitive))
        << questions[0].toStdString();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QString::fromStdString(folder.file("r.txt")));
}

}  // namespace
}  // namespace geocalc::app

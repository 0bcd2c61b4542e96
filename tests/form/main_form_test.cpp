// The main window's behaviour, driven as a window drives it, with no window:
// the same on Linux and, cross-built, under Wine.
#include "form/main_form.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/native_path.h"
#include "sample_results.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(pathFromUtf8(std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat"),
                      pathFromUtf8(folder.file("pts.dat")));
        form.setCommandsObserver([this] { ++commandsChanged; });
    }

    // The dialogs, answered by the test; each remembers what it was shown.
    ShowFileDialog dialogs() {
        return [this](const FileDialogSettings& settings) {
            shown.push_back(settings);
            std::optional<std::string> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        };
    }
    void pick(int row) {
        form.Table1.moveTo(row);
        form.DBGrid1DblClick();
    }

    TempFolder folder;
    MainForm form;
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogSettings> shown;
    int commandsChanged = 0;
};

TEST_F(MainFormTest, OneJobFromOpeningToSaving) {
    EXPECT_FALSE(form.calculateEnabled());
    EXPECT_FALSE(form.saveEnabled());
    answers.push_back(folder.file("pts.dat"));
    form.Button1Click(dialogs());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, FileDialogSettings::Kind::Open);
    EXPECT_EQ(shown[0].filter, "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 \xE4\xE0\xED\xFB\xF5 (*.dat)");
    EXPECT_EQ(
        shown[0].moreFilters,
        (std::vector<std::string>{
            "\xCA\xEE\xEE\xF0\xE4\xE8\xED\xE0\xF2\xFB \xF2\xE5\xEA\xF1\xF2\xEE\xEC (*.txt;*.csv)",
            "\xC4\xE0\xED\xED\xFB\xE5 \xEF\xF0\xE8\xE1\xEE\xF0\xE0 (*.gsi)",
            "\xC2\xF1\xE5 \xF4\xE0\xE9\xEB\xFB (*.*)"}));
    EXPECT_FALSE(shown[0].confirmReplace);
    EXPECT_EQ(form.OpenDialog1.fileName,
              folder.file("pts.dbf"));  // the working copy, for the next open
    EXPECT_TRUE(form.calculateEnabled());
    EXPECT_EQ(commandsChanged, 1);

    for (int row : {0, 2, 4}) pick(row);
    form.Button5Click();
    EXPECT_TRUE(form.saveEnabled());
    EXPECT_EQ(commandsChanged, 2);

    answers.push_back(folder.file("r.txt"));
    form.Button6Click(dialogs());
    EXPECT_EQ(shown.back().kind, FileDialogSettings::Kind::Save);
    EXPECT_EQ(shown.back().fileName, "*.txt");
    EXPECT_EQ(shown.back().defaultSuffix, "txt");
    EXPECT_TRUE(shown.back().confirmReplace);  // the dialog asks before replacing a file
    EXPECT_EQ(readBytes(folder.file("r.txt")), kSampleResultsOf135);
    EXPECT_EQ(form.SaveDialog1.fileName, folder.file("r.txt"));

    form.Button3Click();  // clearing disables nothing
    EXPECT_EQ(form.lists.names.count(), 0);
    EXPECT_TRUE(form.saveEnabled());
}

TEST_F(MainFormTest, CancelledDialogsAndFailuresChangeWhatTheyShould) {
    answers.push_back(std::nullopt);
    form.Button1Click(dialogs());  // cancelled: nothing opens
    EXPECT_FALSE(form.Table1.active());
    EXPECT_FALSE(form.calculateEnabled());

    answers.push_back(folder.file("none.dat"));  // no such table: its name is kept all the same
    EXPECT_ERROR(form.Button1Click(dialogs()),
                 "Table does not exist.\r\nFile: " + folder.file("none.dbf"));
    EXPECT_EQ(form.OpenDialog1.fileName, folder.file("none.dbf"));
    EXPECT_FALSE(form.calculateEnabled());

    answers.push_back(folder.file("pts.dat"));
    form.Button1Click(dialogs());
    EXPECT_ERROR(form.Button5Click(),
                 "List index out of bounds (0)");  // no points: a failed run enables nothing
    EXPECT_FALSE(form.saveEnabled());

    pick(0);
    pick(1);
    form.Button5Click();
    pick(2);  // the side lines no longer belong to the points: no dialog, no file
    const std::size_t dialogsBefore = shown.size();
    EXPECT_ERROR(form.Button6Click(dialogs()),
                 "The results do not belong to the points as they now stand; press "
                 "\"\xD0\xE0\xF1\xF1\xF7\xE5\xF2\" again");
    EXPECT_EQ(shown.size(), dialogsBefore);
}

// A table named at start or dropped on the window opens as the dialog's
// pick would; Ctrl+C copies the selected entry, or all the side lines.
TEST_F(MainFormTest, ANamedTableOpensAndListsCopyWhatTheyShow) {
    form.openNamed(folder.file("pts.dat"));
    EXPECT_TRUE(form.Table1.active());
    EXPECT_TRUE(form.calculateEnabled());
    EXPECT_EQ(form.OpenDialog1.fileName, folder.file("pts.dbf"));
    EXPECT_TRUE(fs::exists(pathFromUtf8(folder.file("pts.dbf"))));

    EXPECT_EQ(form.copiedFrom(form.lists.names), "");  // nothing selected
    for (const int row : {0, 1, 2}) pick(row);
    form.Button5Click();
    selectPoint(form.lists, 1);
    EXPECT_EQ(form.copiedFrom(form.lists.xs), "6171398.12");
    const std::string sides = form.copiedFrom(form.lists.sides);
    EXPECT_EQ(sides, form.lists.sides.at(0) + "\r\n" + form.lists.sides.at(1) + "\r\n" +
                         form.lists.sides.at(2));
}

// A grid view that keeps the cell editor's text, for the close.
class EditorView : public RecordGridView {
public:
    void showEditor(const std::string& utf8, int) override { editor = utf8; }
    void setEditorText(const std::string& utf8) override { editor = utf8; }
    std::string editorText() const override { return editor; }
    void hideEditor() override {}
    void showColumn(int) override {}
    int rowsShown() const override { return 5; }
    int firstRowShown() const override { return 0; }
    int lastRowShown() const override { return 4; }
    bool confirmDelete() override { return true; }
    void pick() override {}
    void leave(bool) override {}
    std::string editor;
};

// Closing keeps what was typed: an applied or still typed X is posted, a
// text the field cannot take keeps the window open with the edit, and an
// untouched new record adds nothing. What the file holds is read by another
// open of it, as another program would.
TEST_F(MainFormTest, ClosingPostsAChangedRecordOrStaysOpenWithIt) {
    answers.push_back(folder.file("pts.dat"));
    form.Button1Click(dialogs());
    EditorView view;
    RecordGrid grid(form.Table1, view);
    auto storedX = [this](int row) {
        TableDataset other;
        other.setReadOnly(true);
        other.setTableName(folder.file("pts.dbf"));
        other.open();
        return other.fieldTextAt(row, 1);
    };

    grid.goToColumn(1);
    grid.key(RecordGrid::Key::F2, {}, "");
    view.editor = "6171000.5";
    grid.editorEdited();
    grid.key(RecordGrid::Key::Enter, {}, "");  // applied, not posted
    EXPECT_EQ(storedX(0), "6171234.56");
    form.FormCloseQuery(grid);
    EXPECT_EQ(storedX(0), "6171000.5");

    grid.moveRecord(1);
    grid.key(RecordGrid::Key::F2, {}, "");
    view.editor = "abc";  // typed, not applied
    grid.editorEdited();
    EXPECT_ERROR(form.FormCloseQuery(grid),
                 "'abc' is not a valid floating point value for field 'X'");
    EXPECT_EQ(form.Table1.state(), DatasetState::Edit);
    EXPECT_TRUE(grid.editorShown());
    view.editor = "6171398.5";
    form.FormCloseQuery(grid);
    EXPECT_EQ(storedX(1), "6171398.5");

    grid.key(RecordGrid::Key::Insert, {}, "");
    const int rows = form.Table1.rowCount();
    form.FormCloseQuery(grid);
    form.Table1.close();
    form.Table1.open();
    EXPECT_EQ(form.Table1.rowCount(), rows - 1);
}

}  // namespace
}  // namespace geocalc

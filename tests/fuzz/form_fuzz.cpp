// Fuzz target: the window's behaviour driven as a user would drive it, over
// a fuzzed table: the open command, then a fuzzed run of grid keys, typed
// text, presses, double clicks, scrolling and the form's buttons, each
// followed by a repaint of the rows shown. Every step ends normally or with
// one of the project's errors with a message, after which the window goes
// on as it does after its error box; the side lines and the results file
// stay a line per point.
//
// The input is the steps, "\nGCFUZZ-TABLE\n" and the table (see
// fuzzed_table.h): a step is a byte choosing the action and a byte for its
// argument.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "form/main_form.h"
#include "form/record_grid.h"
#include "fuzzed_table.h"

namespace {

using geocalc::RecordGrid;
using Key = RecordGrid::Key;

constexpr std::size_t kMostSteps = 200;
constexpr int kRowsShown = 5;
constexpr int kLastKey = int(Key::Other);

// The cell editor as a line edit holds it; a pick goes to the form, as the
// windows wire it.
class FuzzView : public geocalc::RecordGridView {
public:
    explicit FuzzView(geocalc::MainForm& form) : form_(form) {}
    void setGrid(RecordGrid& grid) { grid_ = &grid; }

    void showEditor(const std::string& utf8, int maxLength) override {
        editor = utf8.substr(0, std::size_t(maxLength));
        shown = true;
    }
    void setEditorText(const std::string& utf8) override { editor = utf8; }
    std::string editorText() const override { return editor; }
    void hideEditor() override { shown = false; }
    void showColumn(int) override {}
    int rowsShown() const override { return kRowsShown; }
    int firstRowShown() const override { return grid_->topRow(); }
    int lastRowShown() const override { return grid_->topRow() + kRowsShown - 1; }
    bool confirmDelete() override { return confirmAnswer; }
    void pick() override { form_.DBGrid1DblClick(); }
    void leave(bool) override {}

    std::string editor;
    bool shown = false;
    bool confirmAnswer = true;

private:
    geocalc::MainForm& form_;
    RecordGrid* grid_ = nullptr;
};

// What typed text a byte stands for: digits, the separators, letters, a
// Cyrillic letter, a blank.
std::string typedText(unsigned char b) {
    static const char* const kTexts[] = {"0", "1", "5", "9",        ".", ",", "-",
                                         "E", "a", "Z", "\xD0\xAF", " ", "+"};
    return kTexts[b % std::size(kTexts)];
}

class Session {
public:
    Session(const std::string& tablePath, const std::string& resultsPath)
        : tablePath_(tablePath), resultsPath_(resultsPath) {
        view_.setGrid(grid_);
    }

    void open() {
        run([&] {
            form_.Button1Click([&](const geocalc::FileDialogSettings&) { return tablePath_; });
        });
    }

    void step(unsigned char action, unsigned char arg) {
        run([&] { act(action, arg); });
        run([&] { repaint(); });
    }

    const geocalc::MainForm& form() const { return form_; }

private:
    void act(unsigned char action, unsigned char arg) {
        const int rows = std::max(form_.Table1.rowCount(), 1);
        const int columns = std::max(form_.Table1.fieldCount(), 1);
        switch (action % 24) {
            case 17:
                return type(typedText(arg));
            case 18:
                return grid_.pressCell(arg % (rows + 1), (arg / 16) % columns, (arg & 1) == 0);
            case 19:
                return grid_.doubleClick();
            case 20:
                return grid_.pressIndicator(arg % (rows + 1));
            case 21:
                return form_.Button5Click();
            case 22:
                return form_.Button6Click(
                    [&](const geocalc::FileDialogSettings&) { return resultsPath_; });
            case 23:
                return button(arg);
            default:
                return key(Key(std::min(int(action % 24), kLastKey)), arg);
        }
    }

    void key(Key key, unsigned char arg) {
        RecordGrid::Modifiers modifiers;
        modifiers.shift = arg & 1;
        modifiers.control = arg & 2;
        view_.confirmAnswer = arg & 4;
        grid_.key(key, modifiers, "");
    }

    void type(const std::string& utf8) {
        if (!grid_.editorShown()) {
            grid_.key(Key::Other, {}, utf8);
            return;
        }
        view_.editor += utf8;
        grid_.editorEdited();
    }

    void button(unsigned char arg) {
        switch (arg % 5) {
            case 0:
                return form_.Button3Click();
            case 1:
                return form_.Button4Click();
            case 2:
                return geocalc::selectPoint(form_.lists, arg / 5 % 8);
            case 3:
                return grid_.scroll(RecordGrid::ScrollAction(arg / 5 % 6));
            default:
                return grid_.wheel((arg & 0x80) ? -120 : 120, 1 + arg % 4);
        }
    }

    // What a window does after each step: the rows follow the current
    // record and the rows shown are drawn, then the table is read again.
    void repaint() {
        grid_.follow();
        for (int row = grid_.topRow(); row < grid_.topRow() + kRowsShown; ++row) {
            for (int column = 0; column < form_.Table1.fieldCount(); ++column) {
                RecordGrid::cellText(form_.Table1, row, column);
            }
        }
        form_.Table1.refresh();
    }

    template <typename Action>
    void run(Action action) {
        try {
            action();
        } catch (const geocalc::Error& e) {
            geocalc::fuzz::checkMessage(e);  // the error box; the window goes on
        }
    }

    std::string tablePath_;
    std::string resultsPath_;
    geocalc::MainForm form_;
    FuzzView view_{form_};
    RecordGrid grid_{form_.Table1, view_};
};

// Side lines computed for the points as they stand are one per point, and
// a saved file then holds a line per point.
void checkResults(const Session& session, const std::string& resultsPath) {
    const geocalc::PointLists& lists = session.form().lists;
    if (!geocalc::sidesMatchPoints(lists)) return;
    if (lists.sides.count() != lists.names.count()) __builtin_trap();
    std::ifstream in(resultsPath, std::ios::binary);
    if (!in) return;
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!saved.empty() && saved.compare(saved.size() - 2, 2, "\r\n") != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view steps;
    const std::string tablePath = geocalc::fuzz::writeFuzzedTable(
        std::string_view(reinterpret_cast<const char*>(data), size), steps, ".dat");
    const std::string resultsPath = geocalc::fuzz::scratchPath(".txt");
    geocalc::fuzz::writeOrRemove(resultsPath, {}, false);
    Session session(tablePath, resultsPath);
    session.open();
    for (std::size_t i = 0; i + 1 < steps.size() && i / 2 < kMostSteps; i += 2) {
        session.step(static_cast<unsigned char>(steps[i]),
                     static_cast<unsigned char>(steps[i + 1]));
    }
    checkResults(session, resultsPath);
    return 0;
}

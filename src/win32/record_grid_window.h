// `DBGrid1` as a control of its own, drawn with GDI: the title row, the
// indicator column with its marks, the rows the grid's behaviour shows, an
// EDIT control as the cell editor and a vertical scroll bar standing for the
// records and a horizontal one for the columns. Keys, presses, double clicks
// and the scroll bar go to the behaviour (RecordGrid); this control draws
// what it decides. Titles can be dragged to move their columns and borders
// in the title row to size them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "form/record_grid.h"
#include "form/title_row.h"

namespace geocalc::win32 {

class RecordGridWindow : private RecordGridView {
public:
    static void registerClass(HINSTANCE instance);

    // `pick` runs the record pick; `leave` moves the focus to the next or
    // previous control of the window.
    RecordGridWindow(HWND parent, int id, TableDataset& table, std::function<void()> pick,
                     std::function<void(bool backwards)> leave);
    ~RecordGridWindow() override;
    RecordGridWindow(const RecordGridWindow&) = delete;
    RecordGridWindow& operator=(const RecordGridWindow&) = delete;

    HWND handle() const { return window_; }
    RecordGrid& behaviour() { return grid_; }
    void setFont(HFONT font);
    // Another table was opened: the columns are laid out anew.
    void layOutColumns();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editorProcedure(HWND editor, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool editorKey(UINT message, WPARAM wParam);
    void focusGoing(HWND to);
    void focusLeft();

    void paint();
    void tableChanged();
    void syncScrollBar();
    bool keyDown(WPARAM key);
    void character(wchar_t c);
    void press(LPARAM at, bool primary);
    void verticalScroll(WPARAM request);
    void horizontalScroll(WPARAM request);
    void drag(int x);
    void drop(int x);
    void markDrop(std::optional<int> x);
    RECT dropMarkerRect(int x, int bottom) const;
    bool onBorder(int x, int y) const;
    std::vector<ColumnSpan> columnsShown() const;
    RECT cellRect(int row, int column) const;
    int titleHeight() const { return rowHeight_; }

    // RecordGridView.
    void showEditor(const std::string& utf8, int maxLength) override;
    void setEditorText(const std::string& utf8) override;
    std::string editorText() const override;
    void hideEditor() override;
    void showColumn(int column) override;
    int rowsShown() const override;
    int firstRowShown() const override { return grid_.topRow(); }
    int lastRowShown() const override;
    bool confirmDelete() override;
    bool completesDoubleClick() const;
    void makeEditor(bool rightAligned);
    void fitEditor();
    void pick() override { pick_(); }
    void leave(bool backwards) override { leave_(backwards); }

    HWND window_ = nullptr;
    HWND editor_ = nullptr;
    bool editorRightAligned_ = false;
    HFONT font_ = nullptr;
    TableDataset& table_;
    RecordGrid grid_;
    std::function<void()> pick_;
    std::function<void(bool)> leave_;
    int rowHeight_ = 17;
    int indicatorWidth_ = 12;
    std::vector<int> columnWidths_;  // by field
    int firstPosition_ = 0;          // the place on screen of the leftmost column shown
    enum class Drag { None, Border, Title };
    Drag drag_ = Drag::None;
    int dragPosition_ = -1;           // the column whose border or title is held
    std::optional<int> dropMarker_;   // where a held title would land
    bool settingEditorText_ = false;  // EN_CHANGE from the grid itself is no edit
    // The last primary press on the grid, screen position and message time:
    // a press that opened the cell editor and the press in the editor after
    // it make one double click, as they would on one window.
    POINT lastPressAt_{};
    LONG lastPressTime_ = 0;
};

}  // namespace geocalc::win32

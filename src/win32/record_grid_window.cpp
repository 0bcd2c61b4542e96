#include "win32/record_grid_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "win32/failure_box.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

namespace geocalc::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TDBGrid";
constexpr UINT kLookAtTable =
    WM_APP + 1;                          // after a repaint: has another program written the table?
constexpr UINT kFocusLeft = WM_APP + 2;  // the focus went to another control of the window
constexpr int kCellPadding = RecordGrid::kCellPadding;
constexpr int kEditorId = 1;

RecordGrid::Key gridKey(WPARAM key, bool shift) {
    using Key = RecordGrid::Key;
    switch (key) {
        case VK_UP:
            return Key::Up;
        case VK_DOWN:
            return Key::Down;
        case VK_PRIOR:
            return Key::PageUp;
        case VK_NEXT:
            return Key::PageDown;
        case VK_LEFT:
            return Key::Left;
        case VK_RIGHT:
            return Key::Right;
        case VK_HOME:
            return Key::Home;
        case VK_END:
            return Key::End;
        case VK_TAB:
            return shift ? Key::Backtab : Key::Tab;
        case VK_INSERT:
            return Key::Insert;
        case VK_DELETE:
            return Key::Delete;
        case VK_RETURN:
            return Key::Enter;
        case VK_F2:
            return Key::F2;
        case VK_ESCAPE:
            return Key::Escape;
        case VK_BACK:
            return Key::Backspace;
        default:
            return Key::Other;
    }
}

RecordGrid::Modifiers modifiersNow() {
    RecordGrid::Modifiers modifiers;
    modifiers.shift = GetKeyState(VK_SHIFT) < 0;
    modifiers.control = GetKeyState(VK_CONTROL) < 0;
    modifiers.alt = GetKeyState(VK_MENU) < 0;
    return modifiers;
}

// The browse mark, a small triangle pointing at the row: drawn, as not
// every font of the system has the character.
void drawBrowseMark(HDC dc, const RECT& cell) {
    const int height = std::max(int(cell.bottom - cell.top) / 2, 4);
    const int left = (cell.left + cell.right - height / 2) / 2;
    const int middle = (cell.top + cell.bottom) / 2;
    const POINT corners[] = {
        {left, middle - height / 2}, {left + height / 2, middle}, {left, middle + height / 2}};
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, corners, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

}  // namespace

void RecordGridWindow::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, {kClassName, procedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                   GetSysColorBrush(COLOR_WINDOW)});
}

RecordGridWindow::RecordGridWindow(HWND parent, int id, TableDataset& table,
                                   std::function<void()> pick, std::function<void(bool)> leave)
    : table_(table), grid_(table, *this), pick_(std::move(pick)), leave_(std::move(leave)) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, 0, 0, 0,
                              0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, this);
    makeEditor(false);
    table_.setObserver([this](TableDataset::Change change) {
        if (change == TableDataset::Change::Reset) layOutColumns();
        tableChanged();
    });
    syncScrollBar();
}

RecordGridWindow::~RecordGridWindow() { table_.setObserver({}); }

// An EDIT control's alignment is fixed when it is made: a column aligned
// otherwise gets a new editor.
void RecordGridWindow::makeEditor(bool rightAligned) {
    if (editor_ && editorRightAligned_ == rightAligned) return;
    if (editor_) {
        RemoveWindowSubclass(editor_, editorProcedure, 0);
        DestroyWindow(editor_);
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    editor_ = CreateWindowExW(
        0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | (rightAligned ? ES_RIGHT : ES_LEFT), 0, 0, 0,
        0, window_, reinterpret_cast<HMENU>(INT_PTR(kEditorId)), instance, nullptr);
    editorRightAligned_ = rightAligned;
    SetWindowSubclass(editor_, editorProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    if (font_) SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

// The editor covers its cell and grows with its text as far as the grid's
// right edge, so that the whole text shows.
void RecordGridWindow::fitEditor() {
    const RECT cell = cellRect(table_.currentRow(), grid_.column());
    RECT client;
    GetClientRect(window_, &client);
    std::wstring text(std::size_t(GetWindowTextLengthW(editor_)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(editor_, text.data(), int(text.size()))));
    const HDC dc = GetDC(editor_);
    const HGDIOBJ old = SelectObject(dc, font_);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(editor_, dc);
    const LRESULT margins = SendMessageW(editor_, EM_GETMARGINS, 0, 0);
    constexpr int kCaretRoom = 4;
    const int needed = int(size.cx) + LOWORD(margins) + HIWORD(margins) + kCaretRoom;
    const int width =
        std::max(int(cell.right - cell.left), std::min(needed, int(client.right - cell.left)));
    MoveWindow(editor_, cell.left, cell.top, width, cell.bottom - cell.top, TRUE);
    // Text typed while the editor was narrower was scrolled aside: the
    // selection set again from the start shows all that now fits.
    DWORD start = 0, end = 0;
    SendMessageW(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    SendMessageW(editor_, EM_SETSEL, 0, 0);
    SendMessageW(editor_, EM_SETSEL, start, end);
}

void RecordGridWindow::setFont(HFONT font) {
    font_ = font;
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE mark{};
    const std::wstring widest = wideFromUtf8(RecordGrid::indicatorMark(DatasetState::Browse));
    GetTextExtentPoint32W(dc, widest.c_str(), int(widest.size()), &mark);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    rowHeight_ = metrics.tmHeight + kCellPadding;
    indicatorWidth_ = mark.cx + 2 * kCellPadding;
    layOutColumns();
}

void RecordGridWindow::layOutColumns() {
    columnWidths_.clear();
    firstPosition_ = 0;
    if (!table_.active()) return;
    HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font_);
    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    for (int column = 0; column < table_.fieldCount(); ++column) {
        const DbfField& field = table_.field(column);
        const std::wstring title = wideFromAnsi(field.name);
        SIZE titleSize{};
        GetTextExtentPoint32W(dc, title.c_str(), int(title.size()), &titleSize);
        columnWidths_.push_back(RecordGrid::columnWidth(field, int(zero.cx), int(titleSize.cx)));
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
}

LRESULT CALLBACK RecordGridWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = windowOwner<RecordGridWindow>(window, message, lParam);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    self->window_ = window;  // known from the first message on, before CreateWindowExW returns
    LRESULT result = 0;
    runCommand(GetAncestor(window, GA_ROOT),
               [&] { result = self->handle(message, wParam, lParam); });
    return result;
}

LRESULT RecordGridWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_PAINT:
            paint();
            return 0;
        case kLookAtTable:
            grid_.lookAtTable();
            return 0;
        case WM_SETFOCUS:
            grid_.readBeforeInput();
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(window_, nullptr, FALSE);
            focusGoing(reinterpret_cast<HWND>(wParam));
            return 0;
        case kFocusLeft:
            focusLeft();
            return 0;
        case WM_KEYDOWN:
            grid_.readBeforeInput();
            if (keyDown(wParam)) return 0;
            break;
        case WM_CHAR:
            character(wchar_t(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            SetFocus(window_);
            if (message == WM_LBUTTONDOWN) {
                lastPressTime_ = GetMessageTime();
                lastPressAt_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(window_, &lastPressAt_);
            }
            press(lParam, message == WM_LBUTTONDOWN);  // the grid reads the table again itself
            return 0;
        case WM_LBUTTONDBLCLK:
            grid_.doubleClick();
            return 0;
        case WM_MOUSEMOVE:
            if (drag_ == Drag::Border) drag(GET_X_LPARAM(lParam));
            if (drag_ == Drag::Title)
                markDrop(dropMarkerAt(columnsShown(), dragPosition_, GET_X_LPARAM(lParam)));
            return 0;
        case WM_LBUTTONUP:
            drop(GET_X_LPARAM(lParam));
            if (GetCapture() == window_) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            drag_ = Drag::None;
            markDrop(std::nullopt);
            return 0;
        case WM_SETCURSOR: {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(window_, &at);
            if (LOWORD(lParam) != HTCLIENT || (drag_ != Drag::Border && !onBorder(at.x, at.y)))
                break;
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32644)));  // IDC_SIZEWE
            return TRUE;
        }
        case WM_VSCROLL:
            verticalScroll(wParam);
            return 0;
        case WM_HSCROLL:
            horizontalScroll(wParam);
            return 0;
        case WM_MOUSEWHEEL: {
            UINT lines = 3;  // a page (WHEEL_PAGESCROLL) is as many lines as fit
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            grid_.wheel(GET_WHEEL_DELTA_WPARAM(wParam), int(std::min<UINT>(lines, INT_MAX)));
            return 0;
        }
        case WM_SIZE:
            tableChanged();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kEditorId && HIWORD(wParam) == EN_CHANGE) {
                fitEditor();
                if (!settingEditorText_) grid_.editorEdited();
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The cell editor's keys go to the grid first; what it leaves is the EDIT's.
LRESULT CALLBACK RecordGridWindow::editorProcedure(HWND editor, UINT message, WPARAM wParam,
                                                   LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* grid = reinterpret_cast<RecordGridWindow*>(self);
    bool handled = false;
    runCommand(GetAncestor(editor, GA_ROOT), [&] { handled = grid->editorKey(message, wParam); });
    if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    return handled ? 0 : DefSubclassProc(editor, message, wParam, lParam);
}

// Where the focus goes from the grid or its editor to another control of
// the same window, the grid's behaviour decides what leaving does, once the
// focus has settled there (a message box must not open while it moves).
void RecordGridWindow::focusGoing(HWND to) {
    if (to && to != window_ && to != editor_ &&
        GetAncestor(to, GA_ROOT) == GetAncestor(window_, GA_ROOT))
        PostMessageW(window_, kFocusLeft, 0, 0);
}

void RecordGridWindow::focusLeft() {
    const HWND focus = GetFocus();
    if (focus == window_ || focus == editor_) return;  // back meanwhile
    try {
        grid_.focusLeft();
    } catch (...) {
        SetFocus(editor_);  // the refused text stays, to be mended
        throw;
    }
}

bool RecordGridWindow::editorKey(UINT message, WPARAM wParam) {
    if (message == WM_KILLFOCUS) {
        focusGoing(reinterpret_cast<HWND>(wParam));
        return false;
    }
    if (message == WM_KEYDOWN)
        return grid_.key(gridKey(wParam, GetKeyState(VK_SHIFT) < 0), modifiersNow(), "");
    if (message == WM_CHAR)
        return wParam == L'\r' || wParam == L'\t' || wParam == 0x1B;  // no beep for them
    if (message == WM_LBUTTONDBLCLK || (message == WM_LBUTTONDOWN && completesDoubleClick())) {
        lastPressTime_ = 0;
        grid_.doubleClick();
        return true;
    }
    return false;
}

// A press in the cell editor within the double-click time and distance of
// the grid's last press.
bool RecordGridWindow::completesDoubleClick() const {
    if (lastPressTime_ == 0) return false;
    POINT at = {};
    GetCursorPos(&at);
    const DWORD elapsed = DWORD(GetMessageTime() - lastPressTime_);
    return elapsed <= GetDoubleClickTime() &&
           std::abs(at.x - lastPressAt_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(at.y - lastPressAt_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool RecordGridWindow::keyDown(WPARAM key) {
    if (!table_.active()) return false;
    return grid_.key(gridKey(key, GetKeyState(VK_SHIFT) < 0), modifiersNow(), "");
}

// Typed characters open the cell editor with them, where the grid takes
// them as text.
void RecordGridWindow::character(wchar_t c) {
    grid_.key(RecordGrid::Key::Other, modifiersNow(), utf8FromWide(std::wstring(1, c)));
}

void RecordGridWindow::press(LPARAM at, bool primary) {
    if (!table_.active()) return;
    const int x = GET_X_LPARAM(at), y = GET_Y_LPARAM(at);
    if (y < titleHeight()) {
        grid_.pressTitles();
        const TitleHit hit = titleHitAt(columnsShown(), x);
        if (!primary || hit.kind == TitleHit::Kind::None) return;
        drag_ = hit.kind == TitleHit::Kind::Border ? Drag::Border : Drag::Title;
        dragPosition_ = hit.position;
        SetCapture(window_);
        return;
    }
    const int row = grid_.topRow() + (y - titleHeight()) / rowHeight_;
    if (row >= table_.rowCount()) return;
    if (x < indicatorWidth_) return grid_.pressIndicator(row);
    for (const ColumnSpan& column : columnsShown()) {
        if (x < column.right) return grid_.pressCell(row, grid_.columnAt(column.position), primary);
    }
}

bool RecordGridWindow::onBorder(int x, int y) const {
    return table_.active() && y >= 0 && y < titleHeight() &&
           titleHitAt(columnsShown(), x).kind == TitleHit::Kind::Border;
}

// A held border follows the mouse: its column is as wide as that.
void RecordGridWindow::drag(int x) {
    for (const ColumnSpan& column : columnsShown()) {
        if (column.position != dragPosition_) continue;
        columnWidths_[std::size_t(grid_.columnAt(column.position))] = draggedWidth(column, x);
        tableChanged();
    }
}

// While a title is held, a bar on the edge it will take shows where it lands.
void RecordGridWindow::markDrop(std::optional<int> x) {
    if (x == dropMarker_) return;
    RECT client;
    GetClientRect(window_, &client);
    for (const std::optional<int> marked : {dropMarker_, x}) {
        if (!marked) continue;
        const RECT strip = dropMarkerRect(*marked, client.bottom);
        InvalidateRect(window_, &strip, FALSE);
    }
    dropMarker_ = x;
}

RECT RecordGridWindow::dropMarkerRect(int x, int bottom) const {
    const int half = std::max(rowHeight_ / 8, 1);
    return {x - half, 0, x + half, bottom};
}

// A held title lands where the mouse lets it go.
void RecordGridWindow::drop(int x) {
    const bool title = drag_ == Drag::Title;
    drag_ = Drag::None;
    markDrop(std::nullopt);
    if (!title) return;
    const int to = dropPosition(columnsShown(), x);
    if (to >= 0 && to != dragPosition_) grid_.moveColumn(dragPosition_, to);
    tableChanged();
}

// The columns shown, left to right, from the first shown to the window's edge.
std::vector<ColumnSpan> RecordGridWindow::columnsShown() const {
    RECT client;
    GetClientRect(window_, &client);
    std::vector<ColumnSpan> shown;
    int left = indicatorWidth_;
    for (int position = firstPosition_; position < int(columnWidths_.size()) && left < client.right;
         ++position) {
        const int right = left + columnWidths_[std::size_t(grid_.columnAt(position))];
        shown.push_back({position, left, right});
        left = right;
    }
    return shown;
}

void RecordGridWindow::verticalScroll(WPARAM request) {
    using Action = RecordGrid::ScrollAction;
    switch (LOWORD(request)) {
        case SB_LINEUP:
            grid_.scroll(Action::LineUp);
            break;
        case SB_LINEDOWN:
            grid_.scroll(Action::LineDown);
            break;
        case SB_PAGEUP:
            grid_.scroll(Action::PageUp);
            break;
        case SB_PAGEDOWN:
            grid_.scroll(Action::PageDown);
            break;
        case SB_TOP:
            grid_.scroll(Action::ToFirst);
            break;
        case SB_BOTTOM:
            grid_.scroll(Action::ToLast);
            break;
        case SB_THUMBTRACK:  // the record follows the thumb as it is dragged
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(window_, SB_VERT, &info);
            grid_.thumbMoved(info.nTrackPos);
            break;
        }
        default:
            return;
    }
    syncScrollBar();
}

// The horizontal scroll bar moves the columns shown a column at a time.
void RecordGridWindow::horizontalScroll(WPARAM request) {
    int first = firstPosition_;
    switch (LOWORD(request)) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            --first;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            ++first;
            break;
        case SB_LEFT:
            first = 0;
            break;
        case SB_RIGHT:
            first = int(columnWidths_.size()) - 1;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            first = HIWORD(request);
            break;
        default:
            return;
    }
    firstPosition_ = std::clamp(first, 0, std::max(int(columnWidths_.size()) - 1, 0));
    tableChanged();
}

void RecordGridWindow::tableChanged() {
    grid_.follow();
    syncScrollBar();
    if (grid_.editorShown()) fitEditor();
    InvalidateRect(window_, nullptr, FALSE);
}

void RecordGridWindow::syncScrollBar() {
    const RecordGrid::ScrollBar bar = grid_.scrollBar();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = bar.minimum;
    info.nMax = bar.maximum + bar.page - 1;  // the page reaches the last record
    info.nPage = UINT(bar.page);
    info.nPos = bar.value;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    // The columns' bar is shown while some column lies beyond either side.
    RECT client;
    GetClientRect(window_, &client);
    int width = indicatorWidth_;
    for (const int column : columnWidths_) width += column;
    const bool allShown = firstPosition_ == 0 && width <= client.right;
    SCROLLINFO columns{};
    columns.cbSize = sizeof columns;
    columns.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    columns.nMax = allShown ? 0 : int(columnWidths_.size()) - 1;
    columns.nPage = allShown ? 1 : 0;
    columns.nPos = firstPosition_;
    SetScrollInfo(window_, SB_HORZ, &columns, TRUE);
}

// Columns in their order on screen from the first one shown; those before it
// lie left of the cells.
RECT RecordGridWindow::cellRect(int row, int column) const {
    const int position = grid_.positionOf(column);
    int left = indicatorWidth_;
    for (int p = firstPosition_; p < position; ++p)
        left += columnWidths_[std::size_t(grid_.columnAt(p))];
    for (int p = position; p < firstPosition_; ++p)
        left -= columnWidths_[std::size_t(grid_.columnAt(p))];
    const int top = titleHeight() + (row - grid_.topRow()) * rowHeight_;
    const int width = column < int(columnWidths_.size()) ? columnWidths_[std::size_t(column)] : 0;
    return {left, top, left + width, top + rowHeight_};
}

void RecordGridWindow::paint() {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window_, &paintStruct);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_BTNSHADOW));
    auto line = [dc](int x1, int y1, int x2, int y2) {
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    };
    // The title row and the indicator column.
    RECT titles{0, 0, client.right, titleHeight()};
    FillRect(dc, &titles, GetSysColorBrush(COLOR_BTNFACE));
    RECT indicator{0, 0, indicatorWidth_, client.bottom};
    FillRect(dc, &indicator, GetSysColorBrush(COLOR_BTNFACE));
    const int rows = std::min(rowsShown() + 1, std::max(table_.rowCount() - grid_.topRow(), 0));
    for (const ColumnSpan& span : columnsShown()) {
        const int column = grid_.columnAt(span.position);
        RECT title = cellRect(grid_.topRow(), column);
        title.top = 0;
        title.bottom = titleHeight();
        RECT text = {title.left + kCellPadding, title.top, title.right - kCellPadding,
                     title.bottom};
        const std::wstring name = wideFromAnsi(table_.field(column).name);
        DrawTextW(dc, name.c_str(), int(name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        const bool right = RecordGrid::isRightAligned(table_.field(column));
        for (int r = 0; r < rows; ++r) {
            const int row = grid_.topRow() + r;
            RECT cell = cellRect(row, column);
            // The current cell stays marked while the focus is elsewhere, in
            // the colour of an inactive selection; focused, it is
            // highlighted and framed by the focus rectangle.
            const bool current = row == table_.currentRow() && column == grid_.column();
            const bool focused = GetFocus() == window_;
            if (current) {
                FillRect(dc, &cell, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
                SetTextColor(dc, GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
                if (focused) {
                    RECT frame = {cell.left, cell.top, cell.right - 1, cell.bottom - 1};
                    DrawFocusRect(dc, &frame);
                }
            } else {
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            }
            RECT inside = {cell.left + kCellPadding, cell.top, cell.right - kCellPadding,
                           cell.bottom};
            const std::wstring shown = wideFromAnsi(RecordGrid::cellText(table_, row, column));
            DrawTextW(dc, shown.c_str(), int(shown.size()), &inside,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                          (right ? DT_RIGHT : DT_LEFT));
            line(cell.left, cell.bottom - 1, cell.right, cell.bottom - 1);
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        line(title.right - 1, 0, title.right - 1, titleHeight() + rows * rowHeight_);
    }
    if (table_.currentRow() >= grid_.topRow() && table_.currentRow() < grid_.topRow() + rows) {
        RECT mark{0, cellRect(table_.currentRow(), 0).top, indicatorWidth_, 0};
        mark.bottom = mark.top + rowHeight_;
        if (table_.state() == DatasetState::Browse) {
            drawBrowseMark(dc, mark);
        } else {
            const std::wstring shown = wideFromUtf8(RecordGrid::indicatorMark(table_.state()));
            DrawTextW(dc, shown.c_str(), int(shown.size()), &mark,
                      DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
        }
    }
    line(0, titleHeight() - 1, client.right, titleHeight() - 1);
    line(indicatorWidth_ - 1, 0, indicatorWidth_ - 1, client.bottom);
    if (dropMarker_) {
        const RECT marker = dropMarkerRect(*dropMarker_, client.bottom);
        FillRect(dc, &marker, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    EndPaint(window_, &paintStruct);
    if (grid_.painted()) PostMessageW(window_, kLookAtTable, 0, 0);
}

void RecordGridWindow::showEditor(const std::string& utf8, int maxLength) {
    makeEditor(RecordGrid::isRightAligned(table_.field(grid_.column())));
    settingEditorText_ = true;
    SendMessageW(editor_, EM_SETLIMITTEXT, WPARAM(maxLength), 0);
    SetWindowTextW(editor_, wideFromUtf8(utf8).c_str());
    settingEditorText_ = false;
    fitEditor();
    ShowWindow(editor_, SW_SHOW);
    SetFocus(editor_);
    SendMessageW(editor_, EM_SETSEL, 0, -1);
}

void RecordGridWindow::setEditorText(const std::string& utf8) {
    settingEditorText_ = true;
    const std::wstring text = wideFromUtf8(utf8);
    SetWindowTextW(editor_, text.c_str());
    SendMessageW(editor_, EM_SETSEL, WPARAM(text.size()), LPARAM(text.size()));
    settingEditorText_ = false;
}

std::string RecordGridWindow::editorText() const {
    std::wstring text(std::size_t(GetWindowTextLengthW(editor_)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(editor_, text.data(), int(text.size()))));
    return utf8FromWide(text);
}

void RecordGridWindow::hideEditor() {
    if (GetFocus() == editor_) SetFocus(window_);
    ShowWindow(editor_, SW_HIDE);
}

// The current column is always shown whole where it fits: the columns shown
// start further right or left as the current one moves.
void RecordGridWindow::showColumn(int column) {
    RECT client;
    GetClientRect(window_, &client);
    const int position = grid_.positionOf(column);
    if (position < firstPosition_) firstPosition_ = position;
    while (firstPosition_ < position && cellRect(0, column).right > client.right) ++firstPosition_;
    syncScrollBar();
    InvalidateRect(window_, nullptr, FALSE);
}

int RecordGridWindow::rowsShown() const {
    RECT client;
    GetClientRect(window_, &client);
    return std::max(int(client.bottom - titleHeight()) / std::max(rowHeight_, 1), 1);
}

int RecordGridWindow::lastRowShown() const {
    return std::min(grid_.topRow() + rowsShown(), table_.rowCount()) - 1;
}

bool RecordGridWindow::confirmDelete() {
    return MessageBoxW(GetAncestor(window_, GA_ROOT),
                       wideFromUtf8(RecordGrid::kDeleteQuestion).c_str(),
                       wideFromUtf8(RecordGrid::kDeleteCaption).c_str(),
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

}  // namespace geocalc::win32

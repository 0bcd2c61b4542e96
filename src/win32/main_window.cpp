#include "win32/main_window.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "core/error.h"

#include "form/form_layout.h"
#include "numtext/format_settings.h"
#include "win32/failure_box.h"
#include "win32/file_dialogs.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

namespace geocalc::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TForm1";
constexpr const wchar_t* kCaption = L"\x0440\x0430\x0441\x0447\x0435\x0442 \x0433\x0435\x043E\x0434\x0430\x043D\x043D\x044B\x0445";  // расчет геоданных

// Control ids: above IDOK and IDCANCEL, which dialog navigation sends.
enum Control : int {
    kIdButton1 = 101, kIdButton3, kIdButton4, kIdButton5, kIdButton6,
    kIdListBox1, kIdListBox2, kIdListBox3, kIdListBox4, kIdDBGrid1,
};

// The window's texts: "Открыть таблицу", "Очистить", "Удалить", "Рассчет",
// "Сохранить", "Откройте таблицу".
constexpr const wchar_t* kOpenCaption = L"\x041E\x0442\x043A\x0440\x044B\x0442\x044C \x0442\x0430\x0431\x043B\x0438\x0446\x0443";
constexpr const wchar_t* kClearCaption = L"\x041E\x0447\x0438\x0441\x0442\x0438\x0442\x044C";
constexpr const wchar_t* kDeleteCaption = L"\x0423\x0434\x0430\x043B\x0438\x0442\x044C";
constexpr const wchar_t* kCalculateCaption = L"\x0420\x0430\x0441\x0441\x0447\x0435\x0442";
constexpr const wchar_t* kSaveCaption = L"\x0421\x043E\x0445\x0440\x0430\x043D\x0438\x0442\x044C";
constexpr const wchar_t* kLabelCaption = L"\x041E\x0442\x043A\x0440\x043E\x0439\x0442\x0435 \x0442\x0430\x0431\x043B\x0438\x0446\x0443";

constexpr int kDesignCharacterHeight = 11;  // 8 points at 96 dpi

// "MS Sans Serif" 8 points; where the screen's resolution is not the
// designed one and 8 points are not 11 pixels there, 11 pixels scaled by the
// resolution.
int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT windowFont(int dpi) {
    int height = MulDiv(8, dpi, 72);
    if (dpi != layout::kDesignDpi && height != kDesignCharacterHeight)
        height = MulDiv(kDesignCharacterHeight, dpi, layout::kDesignDpi);
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfCharSet = RUSSIAN_CHARSET;
    lstrcpyW(font.lfFaceName, L"MS Sans Serif");
    return CreateFontIndirectW(&font);
}

// Sizes a STATIC control to its text in its font, with an average
// character's room beside it: some fonts draw past what they measure.
void fitToText(HWND label) {
    wchar_t text[256];
    const int length = GetWindowTextW(label, text, int(std::size(text)));
    const HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, length, &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&place), 2);
    MoveWindow(label, place.left, place.top, size.cx + metrics.tmAveCharWidth,
               std::max(int(size.cy), int(place.bottom - place.top)), FALSE);
}

int textHeightOf(HWND window, HFONT font) {
    const HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

}  // namespace

void MainWindow::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, {kClassName, procedure, 0, GetSysColorBrush(COLOR_BTNFACE), true});
    RecordGridWindow::registerClass(instance);
}

MainWindow::MainWindow(HINSTANCE instance, ApplicationWindow& application, int showCommand)
    : application_(application) {
    const int dpi = screenDpi();
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kCaption,
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, 0, 0,
                              layout::outerAtDpi(layout::kOuterWidth, dpi),
                              layout::outerAtDpi(layout::kOuterHeight, dpi), application.handle(), nullptr,
                              instance, this);
    if (!window_) throw Error("Cannot create the main window");
    application_.setMainWindow(window_);
    font_ = windowFont(dpi);
    makeControls();
    placeControls();
    fitToScreen();
    form_.setCommandsObserver([this] { showCommands(); });
    showCommands();
    // Started minimised: the program waits on its task bar button, and the
    // window appears when it is restored.
    if (showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE) {
        application_.minimise();
    } else {
        ShowWindow(window_, showCommand == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    }
    SetFocus(buttons_.front());
    DragAcceptFiles(window_, TRUE);
}

void MainWindow::openNamed(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    full.resize(length > 0 && length < full.size() ? length : 0);
    runCommand(window_, [&] { form_.openNamed(utf8FromWide(full.empty() ? path : full)); });
}

void MainWindow::focusMoved(bool byKeyboard) {
    const HWND focus = GetFocus();
    if (byKeyboard) scrollIntoView(focus);
    for (const HWND button : buttons_) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
        const LONG_PTR wanted = button == focus ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (style != wanted) SendMessageW(button, BM_SETSTYLE, WPARAM(wanted), TRUE);
    }
}

MainWindow::~MainWindow() {
    lists_.clear();
    grid_.reset();
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

// Made in the tab order: Button1, DBGrid1, ListBox1, Button3, Button4,
// Button5, ListBox2, ListBox3, ListBox4, Button6.
void MainWindow::makeControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    auto make = [&](const wchar_t* kind, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowExW(kind == std::wstring(L"LISTBOX") ? WS_EX_CLIENTEDGE : 0, kind, text,
                                       WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                       reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    auto button = [&](Control id, const wchar_t* caption) {
        buttons_.push_back(make(L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, id));
    };
    // The side lines' list shows whole rows only; the point lists keep their
    // designed height, as their bottoms line up with the buttons below.
    auto list = [&](Control id, TextList& entries, bool point) {
        HWND box = make(L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | (point ? LBS_NOINTEGRALHEIGHT : 0),
                        id);
        auto select = point ? std::function<void(int)>([this](int index) { selectPoint(form_.lists, index); })
                            : std::function<void(int)>([&entries](int index) { entries.select(index); });
        lists_.push_back(std::make_unique<ListBoxView>(box, entries, std::move(select)));
        lists_.back()->setCopier([this](const TextList& shown) { return form_.copiedFrom(shown); });
    };
    label1_ = make(L"STATIC", kLabelCaption, SS_LEFT, 0);
    button(kIdButton1, kOpenCaption);
    grid_ = std::make_unique<RecordGridWindow>(
        window_, kIdDBGrid1, form_.Table1, [this] { form_.DBGrid1DblClick(); },
        [this](bool backwards) { SetFocus(GetNextDlgTabItem(window_, grid_->handle(), backwards)); });
    grid_->setFont(font_);
    list(kIdListBox1, form_.lists.names, true);
    button(kIdButton3, kClearCaption);
    button(kIdButton4, kDeleteCaption);
    button(kIdButton5, kCalculateCaption);
    list(kIdListBox2, form_.lists.xs, true);
    list(kIdListBox3, form_.lists.ys, true);
    list(kIdListBox4, form_.lists.sides, false);
    button(kIdButton6, kSaveCaption);
}

// The designed places, scaled by the window font's text height.
void MainWindow::placeControls() {
    using namespace layout;
    const int textHeight = textHeightOf(window_, font_);
    auto place = [textHeight](HWND control, const Place& designed) {
        const Place p = scaled(designed, textHeight);
        MoveWindow(control, p.left, p.top, p.width, p.height, FALSE);
    };
    place(label1_, kLabel1);
    fitToText(label1_);  // a label is as wide as its text, as the designer made it
    place(buttons_[0], kButton1);
    place(grid_->handle(), kDBGrid1);
    place(lists_[0]->handle(), kListBox1);
    place(buttons_[1], kButton3);
    place(buttons_[2], kButton4);
    place(buttons_[3], kButton5);
    place(lists_[1]->handle(), kListBox2);
    place(lists_[2]->handle(), kListBox3);
    place(lists_[3]->handle(), kListBox4);
    place(buttons_[4], kButton6);
    extent_ = {scaled(kClientWidth, textHeight), scaled(kClientHeight, textHeight)};
    showScrollBars();
}

// The outer size, grown with the screen's resolution, grows further where
// the window font's text is taller still, so that the scaled controls show
// whole; it is no larger than the screen's work area (a smaller window
// scrolls its controls) and centred on it.
void MainWindow::fitToScreen() {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer;
    GetWindowRect(window_, &outer);
    RECT needed{0, 0, extent_.cx, extent_.cy};
    AdjustWindowRectEx(&needed, DWORD(GetWindowLongPtrW(window_, GWL_STYLE)) & ~(WS_HSCROLL | WS_VSCROLL), FALSE,
                       DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    const int width = std::min(std::max(outer.right - outer.left, needed.right - needed.left), work.right - work.left);
    const int height = std::min(std::max(outer.bottom - outer.top, needed.bottom - needed.top), work.bottom - work.top);
    const int left = int(work.left) + std::max(0, (int(work.right - work.left) - width) / 2);
    const int top = int(work.top) + std::max(0, (int(work.bottom - work.top) - height) / 2);
    SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the scaled controls do not fit the client area (a window the user
// made smaller, a small screen), scroll bars keep them reachable.
void MainWindow::showScrollBars() {
    RECT client;
    GetClientRect(window_, &client);
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    const layout::Size bar{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
    const layout::Size room{int(client.right) + (style & WS_VSCROLL ? bar.width : 0),
                            int(client.bottom) + (style & WS_HSCROLL ? bar.height : 0)};
    const layout::ScrollBarsShown shown = layout::scrollBarsFor({extent_.cx, extent_.cy}, room, bar);
    for (const int which : {SB_HORZ, SB_VERT}) {
        const bool horizontal = which == SB_HORZ;
        const int extent = horizontal ? extent_.cx : extent_.cy;
        const int page = horizontal ? room.width - (shown.vertical ? bar.width : 0)
                                    : room.height - (shown.horizontal ? bar.height : 0);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = extent - 1;
        info.nPage = UINT(std::max((horizontal ? shown.horizontal : shown.vertical) ? page : extent, 0));
        SetScrollInfo(window_, which, &info, TRUE);
        scrollTo(which, scrolled(which));  // back within the new range
    }
}

// A control the keyboard moves to is scrolled into view in a window made
// smaller than its controls; its top left first where it is the larger.
void MainWindow::scrollIntoView(HWND control) {
    if (!control || !IsChild(window_, control)) return;
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    RECT client;
    GetClientRect(window_, &client);
    auto fit = [this](int bar, LONG low, LONG high, LONG shown) {
        if (low < 0) {
            scrollTo(bar, scrolled(bar) + int(low));
        } else if (high > shown) {
            scrollTo(bar, scrolled(bar) + int(std::min(high - shown, low)));
        }
    };
    fit(SB_HORZ, place.left, place.right, client.right);
    fit(SB_VERT, place.top, place.bottom, client.bottom);
}

int MainWindow::scrolled(int bar) const { return bar == SB_HORZ ? offset_.x : offset_.y; }

void MainWindow::scrollTo(int bar, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window_, bar, &info, TRUE);
    info.fMask = SIF_POS;
    GetScrollInfo(window_, bar, &info);  // clamped to the range
    LONG& offset = bar == SB_HORZ ? offset_.x : offset_.y;
    const int delta = offset - info.nPos;
    if (delta == 0) return;
    offset = info.nPos;
    ScrollWindowEx(window_, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr, nullptr, nullptr,
                   nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void MainWindow::scroll(int bar, WPARAM request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    constexpr int kLine = 16;
    switch (LOWORD(request)) {
        case SB_LINEUP: scrollTo(bar, info.nPos - kLine); break;
        case SB_LINEDOWN: scrollTo(bar, info.nPos + kLine); break;
        case SB_PAGEUP: scrollTo(bar, info.nPos - int(info.nPage)); break;
        case SB_PAGEDOWN: scrollTo(bar, info.nPos + int(info.nPage)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: scrollTo(bar, info.nTrackPos); break;
        case SB_TOP: scrollTo(bar, info.nMin); break;
        case SB_BOTTOM: scrollTo(bar, info.nMax); break;
        default: break;
    }
}

void MainWindow::showCommands() {
    EnableWindow(buttons_[3], form_.calculateEnabled());
    EnableWindow(buttons_[4], form_.saveEnabled());
}

ShowFileDialog MainWindow::dialogShower() {
    return [this](const FileDialogSettings& settings) { return showFileDialog(window_, settings); };
}

void MainWindow::command(int id, int notification) {
    switch (id) {
        case kIdButton1: form_.Button1Click(dialogShower()); break;
        case kIdButton3: form_.Button3Click(); break;
        case kIdButton4: form_.Button4Click(); break;
        case kIdButton5: form_.Button5Click(); break;
        case kIdButton6: form_.Button6Click(dialogShower()); break;
        case kIdListBox1:
        case kIdListBox2:
        case kIdListBox3:
        case kIdListBox4:
            if (notification == LBN_SELCHANGE) lists_[std::size_t(id - kIdListBox1)]->selectionChanged();
            break;
        default: break;
    }
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = windowOwner<MainWindow>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    runCommand(window, [&] { result = self->handle(message, wParam, lParam); });
    return result;
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            // Enter on a focused button presses it; there is no default button.
            if (id == IDOK) id = GetDlgCtrlID(GetFocus());
            if (id == IDOK || id == IDCANCEL) return 0;
            command(id, HIWORD(wParam));
            return 0;
        }
        // The keyboard's moves between controls (Tab, Shift+Tab, arrows),
        // which dialog navigation asks of the window as a dialog would.
        case WM_NEXTDLGCTL:
            SetFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                    : GetNextDlgTabItem(window_, GetFocus(), wParam != 0));
            return 0;
        // The control that had the focus gets it back when the window is
        // active again (after a dialog, or coming back from another program).
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) lastFocus_ = focus;
            } else if (lastFocus_ && IsWindow(lastFocus_)) {
                SetFocus(lastFocus_);
            }
            return 0;
        // Moved to a screen of another resolution: the font and the controls
        // are made for it, in the size the system suggests.
        case WM_DPICHANGED: {
            const HFONT old = font_;
            font_ = windowFont(HIWORD(wParam));
            EnumChildWindows(
                window_,
                [](HWND child, LPARAM font) {
                    SendMessageW(child, WM_SETFONT, WPARAM(font), TRUE);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(font_));
            grid_->setFont(font_);
            DeleteObject(old);
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            offset_ = {};
            placeControls();
            return 0;
        }
        case WM_SETTINGCHANGE:
            if (lParam && lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0) loadNumberFormat();
            return 0;
        case WM_SIZE:
            showScrollBars();
            return 0;
        case WM_HSCROLL:
            scroll(SB_HORZ, wParam);
            return 0;
        case WM_VSCROLL:
            scroll(SB_VERT, wParam);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {  // the program goes to its task bar button
                application_.minimise();
                return 0;
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        // A file dropped on the window opens as the open dialog's pick would.
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
            path.resize(DragQueryFileW(drop, 0, path.data(), UINT(path.size())));
            DragFinish(drop);
            openNamed(path);
            return 0;
        }
        // A failure to keep the edit shows in the failure box and the window stays.
        case WM_CLOSE:
            form_.FormCloseQuery(grid_->behaviour());
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace geocalc::win32

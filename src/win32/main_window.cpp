#include "win32/main_window.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "core/error.h"

#include "form/form_controls.h"
#include "numtext/format_settings.h"
#include "win32/failure_box.h"
#include "win32/file_dialogs.h"
#include "win32/wide_text.h"
#include "win32/window_class.h"

namespace geocalc::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TForm1";
// Control ids: above IDOK and IDCANCEL, which dialog navigation sends.
constexpr int kFirstControlId = 100;
int controlIdOf(ControlId id) { return kFirstControlId + int(id); }

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT windowFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -windowFontPixels(dpi);
    font.lfCharSet = RUSSIAN_CHARSET;
    const std::wstring face = wideFromUtf8(kFontFaces.front());
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

// Sizes a STATIC control to its text in its font, with an average
// character's room beside it: some fonts draw past what they measure.
void fitToText(HWND label) {
    wchar_t text[256];
    const int length = GetWindowTextW(label, text, int(std::size(text)));
    const HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
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
    registerWindowClass(instance,
                        {kClassName, procedure, 0, GetSysColorBrush(COLOR_BTNFACE), true});
    RecordGridWindow::registerClass(instance);
}

MainWindow::MainWindow(HINSTANCE instance, ApplicationWindow& application, int showCommand)
    : application_(application) {
    const int dpi = screenDpi();
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, wideFromUtf8(kFormCaption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, 0, 0,
                              layout::outerAtDpi(layout::kOuterWidth, dpi),
                              layout::outerAtDpi(layout::kOuterHeight, dpi), application.handle(),
                              nullptr, instance, this);
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
    if (showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_SHOWMINIMIZED ||
        showCommand == SW_MINIMIZE) {
        application_.minimise();
    } else {
        ShowWindow(window_, showCommand == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    }
    SetFocus(control(ControlId::Button1));
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
    for (const FormControl& c : kFormControls) {
        if (c.kind != ControlKind::Button) continue;
        const HWND button = control(c.id);
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
        const LONG_PTR wanted = button == focus ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (style != wanted) SendMessageW(button, BM_SETSTYLE, WPARAM(wanted), TRUE);
    }
}

MainWindow::~MainWindow() {
    for (auto& view : listViews_) view.reset();
    grid_.reset();
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

// Made in the form's order, which is the tab order.
void MainWindow::makeControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    auto make = [&](const wchar_t* kind, const FormControl& c, DWORD style,
                    DWORD extendedStyle = 0) {
        HWND made =
            CreateWindowExW(extendedStyle, kind, wideFromUtf8(c.caption).c_str(),
                            WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(INT_PTR(controlIdOf(c.id))), instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return made;
    };
    for (const FormControl& c : kFormControls) {
        HWND& made = controls_[std::size_t(c.id)];
        switch (c.kind) {
            case ControlKind::Label:
                made = make(L"STATIC", c, SS_LEFT);
                break;
            case ControlKind::Button:
                made = make(L"BUTTON", c, WS_TABSTOP | BS_PUSHBUTTON);
                break;
            case ControlKind::Grid:
                grid_ = std::make_unique<RecordGridWindow>(
                    window_, controlIdOf(c.id), form_.Table1, [this] { form_.DBGrid1DblClick(); },
                    [this](bool backwards) {
                        SetFocus(GetNextDlgTabItem(window_, grid_->handle(), backwards));
                    });
                grid_->setFont(font_);
                made = grid_->handle();
                break;
            case ControlKind::List: {
                // The side lines' list shows whole rows only; the point lists
                // keep their designed height, as their bottoms line up with
                // the buttons below.
                const bool point = sharesPointSelection(c.list);
                made = make(L"LISTBOX", c,
                            WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                (point ? LBS_NOINTEGRALHEIGHT : 0),
                            WS_EX_CLIENTEDGE);
                TextList& entries = listOf(form_.lists, c.list);
                auto select = point ? std::function<void(int)>(
                                          [this](int index) { selectPoint(form_.lists, index); })
                                    : std::function<void(int)>(
                                          [&entries](int index) { entries.select(index); });
                auto& view = listViews_[std::size_t(c.id)];
                view = std::make_unique<ListBoxView>(made, entries, std::move(select));
                view->setCopier([this](const TextList& shown) { return form_.copiedFrom(shown); });
                break;
            }
        }
    }
}

// The designed places, scaled by the window font's text height; the label
// as wide as its text, as the designer made it.
void MainWindow::placeControls() {
    using namespace layout;
    const int textHeight = textHeightOf(window_, font_);
    for (const FormControl& c : kFormControls) {
        const Place p = scaled(c.place, textHeight);
        MoveWindow(control(c.id), p.left, p.top, p.width, p.height, FALSE);
        if (c.kind == ControlKind::Label) fitToText(control(c.id));
    }
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
    AdjustWindowRectEx(&needed,
                       DWORD(GetWindowLongPtrW(window_, GWL_STYLE)) & ~(WS_HSCROLL | WS_VSCROLL),
                       FALSE, DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    const int width = std::min(std::max(outer.right - outer.left, needed.right - needed.left),
                               work.right - work.left);
    const int height = std::min(std::max(outer.bottom - outer.top, needed.bottom - needed.top),
                                work.bottom - work.top);
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
    const layout::ScrollBarsShown shown =
        layout::scrollBarsFor({extent_.cx, extent_.cy}, room, bar);
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
        info.nPage =
            UINT(std::max((horizontal ? shown.horizontal : shown.vertical) ? page : extent, 0));
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
    ScrollWindowEx(window_, bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0, nullptr,
                   nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void MainWindow::scroll(int bar, WPARAM request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    constexpr int kLine = 16;
    switch (LOWORD(request)) {
        case SB_LINEUP:
            scrollTo(bar, info.nPos - kLine);
            break;
        case SB_LINEDOWN:
            scrollTo(bar, info.nPos + kLine);
            break;
        case SB_PAGEUP:
            scrollTo(bar, info.nPos - int(info.nPage));
            break;
        case SB_PAGEDOWN:
            scrollTo(bar, info.nPos + int(info.nPage));
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            scrollTo(bar, info.nTrackPos);
            break;
        case SB_TOP:
            scrollTo(bar, info.nMin);
            break;
        case SB_BOTTOM:
            scrollTo(bar, info.nMax);
            break;
        default:
            break;
    }
}

void MainWindow::showCommands() {
    EnableWindow(control(ControlId::Button5), form_.calculateEnabled());
    EnableWindow(control(ControlId::Button6), form_.saveEnabled());
}

ShowFileDialog MainWindow::dialogShower() {
    return [this](const FileDialogSettings& settings) { return showFileDialog(window_, settings); };
}

void MainWindow::command(int id, int notification) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= int(kFormControls.size())) return;
    switch (kFormControls[std::size_t(index)].id) {
        case ControlId::Button1:
            form_.Button1Click(dialogShower());
            break;
        case ControlId::Button3:
            form_.Button3Click();
            break;
        case ControlId::Button4:
            form_.Button4Click();
            break;
        case ControlId::Button5:
            form_.Button5Click();
            break;
        case ControlId::Button6:
            form_.Button6Click(dialogShower());
            break;
        default:
            if (listViews_[std::size_t(index)] && notification == LBN_SELCHANGE)
                listViews_[std::size_t(index)]->selectionChanged();
            break;
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
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            offset_ = {};
            placeControls();
            return 0;
        }
        case WM_SETTINGCHANGE:
            if (lParam && lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0)
                loadNumberFormat();
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
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace geocalc::win32

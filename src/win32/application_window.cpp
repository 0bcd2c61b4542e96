#include "win32/application_window.h"

#include "win32/window_class.h"

namespace geocalc::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TApplication";

}  // namespace

void ApplicationWindow::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, {kClassName, procedure, 0, nullptr, true});
}

ApplicationWindow::ApplicationWindow(HINSTANCE instance, const std::wstring& title) {
    window_ = CreateWindowExW(0, kClassName, title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, instance, this);
    // The task bar button's menu offers no sizing, maximising or moving.
    if (HMENU menu = GetSystemMenu(window_, FALSE)) {
        for (const UINT command : {SC_SIZE, SC_MAXIMIZE, SC_MOVE})
            DeleteMenu(menu, command, MF_BYCOMMAND);
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

ApplicationWindow::~ApplicationWindow() {
    if (window_) DestroyWindow(window_);
}

void ApplicationWindow::minimise() {
    if (main_) ShowWindow(main_, SW_HIDE);
    ShowWindow(window_, SW_MINIMIZE);
}

LRESULT CALLBACK ApplicationWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = windowOwner<ApplicationWindow>(window, message, lParam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT ApplicationWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_RESTORE && IsIconic(window_)) {
                DefWindowProcW(window_, message, wParam, lParam);
                if (main_) {
                    ShowWindow(main_, SW_SHOW);
                    SetActiveWindow(main_);
                }
                return 0;
            }
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                minimise();
                return 0;
            }
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        // Activated through its button: the main window is the one to use.
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && main_ && IsWindowVisible(main_))
                SetActiveWindow(main_);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace geocalc::win32

// The application window: never seen (no size, at the centre of the screen),
// it carries the program's task bar button and task switcher entry, with the
// application title and the icon, and owns the main window, as the program
// the window was designed in does. Minimising the main window minimises the
// program to that button; restoring the program shows the main window again.
#pragma once

#include <windows.h>

#include <string>

namespace geocalc::win32 {

class ApplicationWindow {
public:
    static void registerClass(HINSTANCE instance);

    ApplicationWindow(HINSTANCE instance, const std::wstring& title);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND handle() const { return window_; }
    // The window the program shows; its minimising is the program's.
    void setMainWindow(HWND main) { main_ = main; }
    void minimise();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND main_ = nullptr;
};

}  // namespace geocalc::win32

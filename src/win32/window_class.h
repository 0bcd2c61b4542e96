// What the program's window classes share: registering one, and finding the
// object behind a window, which is given to CreateWindowExW as its creation
// parameter and kept in the window's user data.
#pragma once

#include <windows.h>

namespace geocalc::win32 {

struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    UINT style = 0;
    HBRUSH background = nullptr;
    bool programIcon = false;  // the executable's icon resource 1
};

inline void registerWindowClass(HINSTANCE instance, const WindowClass& description) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = description.style;
    windowClass.lpfnWndProc = description.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon =
        description.programIcon ? LoadIconW(instance, MAKEINTRESOURCEW(1)) : nullptr;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = description.background;
    windowClass.lpszClassName = description.name;
    RegisterClassExW(&windowClass);
}

// The object behind the window, from its first message on; nothing for the
// messages before that.
template <class Owner>
Owner* windowOwner(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace geocalc::win32

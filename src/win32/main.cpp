// geocalc.exe: the native window. Start-up, the message loop, shutdown.
#include <windows.h>  // before the other system headers, which need it

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "form/application_title.h"
#include "numtext/format_settings.h"

#include "win32/failure_box.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    wchar_t path[MAX_PATH * 4];
    const std::wstring_view executable(path,
                                       GetModuleFileNameW(nullptr, path, DWORD(std::size(path))));
    geocalc::win32::setApplicationTitle(
        geocalc::applicationTitle(geocalc::utf8FromWide(executable)));
    try {
        geocalc::loadNumberFormat();
        geocalc::win32::ApplicationWindow::registerClass(instance);
        geocalc::win32::MainWindow::registerClass(instance);
        geocalc::win32::ApplicationWindow application(instance, geocalc::win32::applicationTitle());
        geocalc::win32::MainWindow window(instance, application, showCommand);
        int argc = 0;
        if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
            if (argc == 2) window.openNamed(argv[1]);
            LocalFree(argv);
        }
        MSG message;
        HWND focus = GetFocus();
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(window.handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (GetFocus() != focus) {
                focus = GetFocus();
                window.focusMoved(message.message == WM_KEYDOWN ||
                                  message.message == WM_SYSKEYDOWN || message.message == WM_CHAR);
            }
        }
        return 0;
    } catch (const std::exception& failure) {
        return geocalc::win32::showStartupFailure(failure, executable);
    }
}

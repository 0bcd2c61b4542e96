// `TForm1` as a native window: the form's controls as Win32 controls at
// their designed places, drawing the form's state (MainForm) and passing it
// the user's commands.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "form/form_controls.h"
#include "form/main_form.h"
#include "win32/application_window.h"
#include "win32/list_box_view.h"
#include "win32/record_grid_window.h"

namespace geocalc::win32 {

class MainWindow {
public:
    static void registerClass(HINSTANCE instance);

    // Made at the designed outer size, centred on the screen, owned by the
    // application window, shown with the show command the program was
    // started with.
    MainWindow(HINSTANCE instance, ApplicationWindow& application, int showCommand);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return window_; }
    // `geocalc.exe FILE` and a file dropped on the window: opened as
    // "Открыть таблицу" opens the file picked in its dialog, a failure in
    // the failure box.
    void openNamed(const std::wstring& path);
    // The focus moved: only a focused button shows the default frame, the
    // one Enter presses; a control the keyboard moved to is scrolled into
    // view (the mouse only reaches controls in view).
    void focusMoved(bool byKeyboard);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void makeControls();
    void placeControls();
    void fitToScreen();
    void showScrollBars();
    int scrolled(int bar) const;
    void scrollTo(int bar, int position);
    void scroll(int bar, WPARAM request);
    void scrollIntoView(HWND control);
    void showCommands();
    void command(int id, int notification);
    ShowFileDialog dialogShower();
    HWND control(ControlId id) const { return controls_[std::size_t(id)]; }

    MainForm form_;
    ApplicationWindow& application_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    // By the form's controls (see kFormControls).
    std::array<HWND, kFormControls.size()> controls_{};
    std::array<std::unique_ptr<ListBoxView>, kFormControls.size()> listViews_;  // the lists'
    std::unique_ptr<RecordGridWindow> grid_;
    HWND lastFocus_ = nullptr;
    SIZE extent_{};   // the controls' scaled extent
    POINT offset_{};  // how far the client area is scrolled
};

}  // namespace geocalc::win32

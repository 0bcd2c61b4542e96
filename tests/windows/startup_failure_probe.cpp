// Stands in for a start-up of geocalc.exe that fails before its event loop:
// shows the box the program then shows and ends with its exit code.
#include <windows.h>

#include "core/error.h"
#include "win32/failure_box.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return geocalc::win32::showStartupFailure(geocalc::Error("Error creating window class"),
                                              L"C:\\Program Files\\geocalc\\geocalc.exe");
}

// Failures of the native window's commands, shown as the Qt window shows
// them: the message with the closing-period rule, captioned with the
// application title, an OK button and the error icon, modal to the program.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace geocalc::win32 {

// The caption of every failure box; taken from the executable's name at start-up.
void setApplicationTitle(const std::string& utf8Title);
const std::wstring& applicationTitle();

void showFailure(HWND owner, const std::exception& failure);

// Runs a command; a failure it throws is shown, and the window goes on.
template <class Command>
void runCommand(HWND owner, Command&& command) {
    try {
        command();
    } catch (const std::exception& failure) {
        showFailure(owner, failure);
    }
}

}  // namespace geocalc::win32

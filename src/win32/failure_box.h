// Failures of the native window's commands, shown as the Qt window shows
// them: the message with the closing-period rule, captioned with the
// application title, an OK button and the error icon, modal to the program.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace geocalc::win32 {

// The caption of every failure box; taken from the executable's name at start-up.
void setApplicationTitle(const std::string& utf8Title);
const std::wstring& applicationTitle();

void showFailure(HWND owner, const std::exception& failure);

// A failure before the event loop runs: the "Application Error" box, modal
// to the task, naming the failure's kind, the module (the executable's file
// name) and the message. Returns the program's exit code, 1.
int showStartupFailure(const std::exception& failure, std::wstring_view executablePath);

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

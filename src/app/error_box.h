// The error message box through which every failure of a command is shown.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace geocalc::app {

// Shows the failure's message (an ANSI text) with the closing-period rule in
// a critical message box captioned with the application title, one "OK"
// button. Tests may take the box's place.
void showErrorBox(const std::string& ansiMessage);

using MessageBoxHook = std::function<void(const QString& caption, const QString& text)>;
void setMessageBoxHook(MessageBoxHook hook);

// The confirmation box: the caption and the question, buttons "OK" (the
// default) and "Cancel" (also Esc). True when the answer is OK.
bool askConfirmation(const QString& caption, const QString& question);

using ConfirmationHook = std::function<bool(const QString& caption, const QString& question)>;
void setConfirmationHook(ConfirmationHook hook);

// The start-up failure box: "Application Error", with the failure's kind,
// module and message.
void showStartupFailureBox(const std::exception& failure);

}  // namespace geocalc::app

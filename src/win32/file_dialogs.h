// The form's file dialogs as the system's common dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "form/file_dialog_settings.h"

namespace geocalc::win32 {

// GetOpenFileNameW or GetSaveFileNameW with the dialog's filter, default
// extension and file name, modal to `owner`: the chosen path (UTF-8).
std::optional<std::string> showFileDialog(HWND owner, const FileDialogSettings& settings);

}  // namespace geocalc::win32

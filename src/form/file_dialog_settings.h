// `OpenDialog1` and `SaveDialog1` as the window keeps them: what the dialog
// offers and the file name it carries from one use to the next. A window
// shows them with its toolkit's dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace geocalc {

struct FileDialogSettings {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    // In the core's code page, its patterns in parentheses, ";" between
    // them: "Текст (*.txt)", "Координаты текстом (*.txt;*.csv)".
    std::string filter;
    // Offered after it, in that order: "Все файлы (*.*)".
    std::vector<std::string> moreFilters;
    std::string defaultSuffix;  // added to a typed name that has none ("txt")
    std::string fileName;       // UTF-8; the file name box starts with it
    // Asks, in the user's language, before an existing file is chosen to be
    // replaced; the open dialog takes any name typed, existing or not.
    bool confirmReplace = false;
};

// Shows the dialog modally: the chosen full path (UTF-8), or nothing when
// the user cancels.
using ShowFileDialog = std::function<std::optional<std::string>(const FileDialogSettings&)>;

}  // namespace geocalc

// The window shows the core's Windows-1251 texts in Unicode and hands texts
// back in Windows-1251 ("?" for a character the code page lacks; a cell's
// typed text goes through RecordGrid, which refuses such characters).
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "charset/code_page.h"

namespace geocalc::app {

inline QString fromAnsi(std::string_view ansi) {
    return QString::fromStdString(utf8FromAnsi(ansi));
}

inline std::string toAnsi(const QString& text) { return ansiFromUtf8(text.toStdString()); }

// The form's own texts are UTF-8.
inline QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

}  // namespace geocalc::app

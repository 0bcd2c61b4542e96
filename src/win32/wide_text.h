// The window's texts at the Win32 calls: UTF-16, from and to the core's
// Windows-1251 texts and UTF-8 file names.
#pragma once

#include <string>
#include <string_view>

#include "charset/code_page.h"
#include "core/native_path.h"

namespace geocalc::win32 {

inline std::wstring wideFromAnsi(std::string_view ansi) { return wideFromUtf8(utf8FromAnsi(ansi)); }

}  // namespace geocalc::win32

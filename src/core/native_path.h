// File names inside the core are UTF-8 on every system. These convert them
// where they meet the system: std::filesystem, whose narrow strings are the
// ANSI code page on Windows, and the wide Win32 calls.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace geocalc {

// What ends a folder's name in a path.
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
#else
inline constexpr const char* kPathSeparators = "/";
#endif

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

#ifdef _WIN32
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
#endif

}  // namespace geocalc

// The byte whose locks tell that a file is open as a table: every program
// with the table open holds it shared, and a copy that replaces the file
// takes it exclusively. No table reaches it, so its locks never meet those
// on records and the header.
#pragma once

#include <cstdint>
#include <limits>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace geocalc {

#ifdef _WIN32
inline constexpr std::uint64_t kOpenMarker = (std::uint64_t(1) << 63) - 2;
#else
inline constexpr std::uint64_t kOpenMarker = std::uint64_t(std::numeric_limits<off_t>::max()) - 1;
#endif

}  // namespace geocalc

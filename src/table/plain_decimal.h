// Numbers as dBASE stores them ("  6171234.560") turned into their general
// form ("6171234.56") without reading them into a binary value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace geocalc {

// The room `plainDecimal` needs at `scratch`: sign, "0", 15 digits, the
// separator, 3 zeros after it, 15 digits.
inline constexpr std::size_t kPlainDecimalRoom = 2 * 15 + 4;

// A fast exact form of "read the stored decimal and write it in the general
// form" for the plain texts that fill survey tables: a view of the stored
// bytes where they already are that form ("6171234.56" in "  6171234.56"),
// else the form written at `scratch`; nothing when the text needs the full
// reader and writer. `stored` lies within `within` (its record), all of
// which may be read.
std::optional<std::string_view> plainDecimal(std::string_view within, std::string_view stored,
                                             char separator, char* scratch);
// The same appended to `out`; false when the text needs the reader and writer.
bool appendPlainDecimal(std::string_view stored, char separator, std::string& out);

}  // namespace geocalc

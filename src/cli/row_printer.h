// `show`'s rows: field texts in the ANSI code page printed as UTF-8 lines,
// tab between fields, with what a terminal would act on escaped (\t, \r,
// \n, \\, other controls as \xHH).
#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace geocalc::cli {

// Whether a text shows as its own bytes: printable ASCII but the backslash.
bool showsAsItIs(std::string_view ansiText);

// Rows are gathered and written a block at a time; `flush` writes what is
// gathered (the owner calls it at the end: writing can fail, which a
// destructor could not report).
class RowPrinter {
public:
    // Texts of `plain` fields are known to show as they are.
    RowPrinter(std::ostream& out, const std::vector<bool>& plain);

    void print(std::span<const std::string_view> ansiTexts);
    void flush();

private:
    char* escaped(char* at, std::string_view ansiText);

    std::ostream& out_;
    std::vector<char> plain_;
    std::vector<char> block_;
    std::size_t used_ = 0;
    std::string escaped_;
};

}  // namespace geocalc::cli

// Keeping a terminal safe from the bytes of tables and input lines: control
// characters written as \xHH, so that no text can move the cursor, recolour,
// retitle or scramble the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace geocalc::cli {

// Whether a byte is a control character a terminal would act on: C0 codes
// (tab and line feed aside), and DEL.
constexpr bool isControlByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
}

// `\xHH`, upper-case hex, for a byte.
void appendHexEscape(std::string& out, unsigned char c);

// A UTF-8 text for a terminal: controls and C1 controls (U+0080 to U+009F)
// escaped, a CR right before a line feed kept (the line ends of files
// written with CR LF).
std::string escapedForTerminal(std::string_view utf8);

// A message for standard error: its line breaks ("\r\n" as the window writes
// them) become plain line feeds, and every other control is escaped.
std::string messageForTerminal(std::string_view utf8);

}  // namespace geocalc::cli

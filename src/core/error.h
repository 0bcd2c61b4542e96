// The one way failures travel in geocalc: an exception carrying the message
// text exactly as the user will see it (before the period rule).
#pragma once

#include <stdexcept>
#include <string>

namespace geocalc {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Ends a command without any message: the front end shows nothing for it.
class SilentAbort : public Error {
public:
    SilentAbort() : Error("Operation aborted") {}
};

// The text a message box shows for a failure: one "." is appended when the
// last byte sorts above "." (letters, digits, "?", ":", Cyrillic in 1251);
// a text ending in ".", "!", ")", "'", "-", ",", a blank or a control
// character is left as it is, and so is the empty text.
std::string withClosingPeriod(std::string message);

// "List index out of bounds (%d)": the message of every index outside a list.
[[noreturn]] void throwListIndexError(long long index);

}  // namespace geocalc

// The text of the box that reports a failure before the event loop runs,
// the same in both windows.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace geocalc {

// The exception's class name as written in the code, where the compiler's
// runtime can tell it.
std::string exceptionKind(const std::exception& failure);

// "Exception <kind> in module <module> at 00000000." CR LF, the message
// (Windows-1251) with "." added unless it ends with one, CR LF; in UTF-8.
// The address stays zero: the code that raised the failure is not known
// by the time it is caught.
std::string startupFailureText(const std::exception& failure, std::string_view moduleUtf8);

}  // namespace geocalc

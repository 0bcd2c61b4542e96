#include "form/startup_failure.h"

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#define GEOCALC_DEMANGLE 1
#endif

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "charset/code_page.h"

namespace geocalc {

std::string exceptionKind(const std::exception& failure) {
#ifdef GEOCALC_DEMANGLE
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(failure).name(), nullptr, nullptr, &status), &std::free);
    if (status == 0 && name) return name.get();
#endif
    return typeid(failure).name();
}

std::string startupFailureText(const std::exception& failure, std::string_view moduleUtf8) {
    std::string message = failure.what();
    if (!message.empty() && message.back() != '.') message += '.';
    return "Exception " + exceptionKind(failure) + " in module " + std::string(moduleUtf8) +
           " at 00000000.\r\n" + utf8FromAnsi(message) + "\r\n";
}

}  // namespace geocalc

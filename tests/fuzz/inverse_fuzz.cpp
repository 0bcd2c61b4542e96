// Fuzz target: any bytes as the standard input of `geocalc-cli inverse` give
// one line out per line in (a side line, an empty line or a message), never
// a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/inverse_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out, err;
    geocalc::cli::runInverse({}, in, out, err);
    std::size_t linesIn = 0;
    for (std::size_t at = 0; at < input.size(); ++linesIn) {
        const std::size_t end = input.find('\n', at);
        at = end == std::string::npos ? input.size() : end + 1;
    }
    const std::string written = out.str();
    std::size_t linesOut = 0;
    for (const char c : written) linesOut += c == '\n';
    if (input.find('\0') == std::string::npos && linesOut != linesIn) std::abort();
    return 0;
}

#include "core/error.h"

namespace geocalc {

std::string withClosingPeriod(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
    return message;
}

void throwListIndexError(long long index) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace geocalc

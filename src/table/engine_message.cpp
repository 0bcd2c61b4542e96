#include "table/engine_message.h"

#include "charset/code_page.h"

namespace geocalc {

std::string engineMessage(const std::string& text, const std::string& path) {
    return text + "\r\nFile: " + ansiFromUtf8(path);
}

}  // namespace geocalc

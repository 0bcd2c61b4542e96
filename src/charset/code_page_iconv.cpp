#include <iconv.h>

#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc {

namespace {

class Iconv {
public:
    Iconv(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw Error("Unknown code page " + from);
        }
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // The one character that `byte` stands for, or kUnknownCharacter.
    char32_t decodeByte(unsigned char byte) {
        char in = char(byte);
        char32_t out = 0;
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(&out);
        std::size_t outLeft = sizeof out;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        const std::size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
        return rc == std::size_t(-1) || outLeft != 0 ? kUnknownCharacter : out;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::array<char32_t, 256> CodePage::decodeEveryByte(const std::string& iconvName) {
    Iconv decoder("UTF-32LE", iconvName);
    std::array<char32_t, 256> characters{};
    for (int b = 0; b < 256; ++b)
        characters[std::size_t(b)] = decoder.decodeByte(static_cast<unsigned char>(b));
    return characters;
}

}  // namespace geocalc

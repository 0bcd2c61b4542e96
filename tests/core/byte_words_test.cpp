#include "core/byte_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace geocalc {
namespace {

// A byte looked for is found wherever it stands in texts of every length
// round a word's, and never where it is not; the copy is exact and writes
// nothing past its end.
TEST(ByteWordsTest, FindsAndCopiesAtEveryPlaceOfShortAndLongTexts) {
    for (const int byte : {0x00, 0x20, 0x5C, 0x7F, 0x80, 0xFF}) {
        const auto sought = static_cast<unsigned char>(byte);
        for (std::size_t size = 0; size <= 20; ++size) {
            for (std::size_t at = 0; at <= size; ++at) {  // at == size: not there
                std::string text(size, 'a');
                if (at < size) text[at] = char(sought);
                const bool found = words::any(text.data(), text.size(), [sought](std::uint64_t w) {
                    return words::bytesEqual(w, sought);
                });
                EXPECT_EQ(found, at < size)
                    << "byte " << int(sought) << ", size " << size << ", at " << at;

                std::string copy(size + 8, '#');
                words::copy(copy.data(), text.data(), size);
                EXPECT_EQ(copy, text + std::string(8, '#')) << "size " << size;
            }
        }
    }
}

}  // namespace
}  // namespace geocalc

#include "table/row_texts.h"

#include <algorithm>
#include <cstring>

namespace geocalc {

char* RowTexts::grow(std::size_t bytes) {
    const std::size_t capacity = std::max(2 * capacity_, used_ + bytes);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) std::memcpy(grown.get(), bytes_.get(), used_);
    bytes_ = std::move(grown);
    capacity_ = capacity;
    return bytes_.get() + used_;
}

}  // namespace geocalc

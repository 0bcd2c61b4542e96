// One row's field texts, one after another in one buffer, so that reading a
// whole table allocates nothing per row and copies each text once.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace geocalc {

class RowTexts {
public:
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t field) const {
        const std::size_t begin = field == 0 ? 0 : ends_[field - 1];
        return {bytes_.get() + begin, ends_[field] - begin};
    }

    // Filling a row: each text is written at `room(n)`, which has room for n
    // bytes after the texts before it, and ended with `endField(its end)`.
    void clear() {
        ends_.clear();
        used_ = 0;
    }
    char* room(std::size_t bytes) { return used_ + bytes <= capacity_ ? bytes_.get() + used_ : grow(bytes); }
    void endField(const char* end) {
        used_ = std::size_t(end - bytes_.get());
        ends_.push_back(used_);
    }

private:
    char* grow(std::size_t bytes);

    std::unique_ptr<char[]> bytes_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    std::vector<std::size_t> ends_;
};

}  // namespace geocalc

// One row's field texts. Most are views of the record's own bytes; texts
// that had to be made are written into one buffer, so that reading a whole
// table allocates nothing per row. Valid until the next row is read.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace geocalc {

class RowTexts {
public:
    std::size_t size() const { return count_; }
    std::string_view operator[](std::size_t field) const { return texts_[field]; }
    std::span<const std::string_view> all() const { return {texts_.data(), count_}; }

    // Filling a row: `start` it with the number of fields and the room the
    // texts made for it may take; a text made is written at `scratch()`
    // before it is added.
    void start(std::size_t fields, std::size_t room) {
        if (texts_.size() < fields) texts_.resize(fields);
        if (scratch_.size() < room) scratch_.resize(room);
        count_ = 0;
        used_ = 0;
    }
    char* scratch() { return scratch_.data() + used_; }
    void add(std::string_view text) {
        if (text.data() == scratch()) used_ += text.size();
        texts_[count_++] = text;
    }

private:
    std::vector<std::string_view> texts_;
    std::vector<char> scratch_;
    std::size_t count_ = 0;
    std::size_t used_ = 0;
};

}  // namespace geocalc

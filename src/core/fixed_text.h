// A short text held in place, for the hot paths: nothing allocated. A
// writer fills `data()` and then says how much it wrote with `resize`.
#pragma once

#include <string>
#include <string_view>

namespace geocalc {

template <int Capacity>
class FixedText {
public:
    static constexpr int kCapacity = Capacity;

    std::string_view view() const { return {data_, std::size_t(size_)}; }
    std::string str() const { return std::string(view()); }
    char* data() { return data_; }
    int size() const { return size_; }
    void resize(int size) { size_ = size; }

private:
    char data_[Capacity];
    int size_ = 0;
};

}  // namespace geocalc

// One list of the window: an ordered list of 8-bit texts with a selection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace geocalc {

class TextList {
public:
    // What a view of the list is told around each change: `before` runs just
    // ahead of it, `after` right after it (Qt's begin/end pairs fit these).
    struct Change {
        enum Kind { Append, Remove, Clear, Select } kind;
        int index;  // the entry appended, removed or selected; -1 for Clear or no selection
    };
    struct Observer {
        std::function<void(const Change&)> before;
        std::function<void(const Change&)> after;
    };

    // The most entries a list takes, as the platform's list index is an int.
    static constexpr std::size_t kMaxEntries = 0x7FFFFFFF;

    TextList() = default;
    explicit TextList(std::size_t capacity) : capacity_(capacity) {}

    int count() const { return int(entries_.size()); }

    // Fails with "List index out of bounds (%d)" outside 0 .. count - 1.
    const std::string& at(int index) const;

    // Appends the text up to its first NUL byte; the selection stays.
    // Fails with "Unable to insert a line" when the list can take no more.
    void append(std::string_view text);

    // Removes the entry, the later ones moving up; does nothing for an index
    // outside the list (-1 included). Removing the selected entry leaves none
    // selected; removing one above it keeps the same entry selected.
    void deleteAt(int index);

    void clear();

    // The selected entry's index, or -1. Only the user selects: the view
    // reports the selection here; an index outside the list selects nothing.
    // Views are told of it as a Select change (after only).
    int selectedIndex() const { return selected_; }
    void select(int index);

    // Counts the changes of the entries (appends, removals, clears), so that
    // a caller can tell whether the list is still the one it saw.
    std::uint64_t changeCount() const { return changes_; }

    void setObserver(Observer observer) { observer_ = std::move(observer); }

private:
    void notifyBefore(const Change& change) const;
    void notifyAfter(const Change& change) const;

    std::vector<std::string> entries_;
    std::size_t capacity_ = kMaxEntries;
    int selected_ = -1;
    std::uint64_t changes_ = 0;
    Observer observer_;
};

}  // namespace geocalc

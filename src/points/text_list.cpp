#include "points/text_list.h"

#include <new>

#include "core/error.h"

namespace geocalc {

const std::string& TextList::at(int index) const {
    if (index < 0 || index >= count()) throwListIndexError(index);
    return entries_[std::size_t(index)];
}

void TextList::append(std::string_view text) {
    if (entries_.size() >= capacity_) throw Error("Unable to insert a line");
    // Everything that can run out of memory happens before the view is told.
    std::string entry;
    try {
        entry.assign(text.substr(0, text.find('\0')));
        if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() * 2 + 16);
    } catch (const std::bad_alloc&) {
        throw Error("Unable to insert a line");
    }
    const Change change{Change::Append, count()};
    notifyBefore(change);
    entries_.push_back(std::move(entry));
    ++changes_;
    notifyAfter(change);
}

void TextList::deleteAt(int index) {
    if (index < 0 || index >= count()) return;
    const Change change{Change::Remove, index};
    notifyBefore(change);
    entries_.erase(entries_.begin() + index);
    ++changes_;
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
    notifyAfter(change);
}

void TextList::clear() {
    const Change change{Change::Clear, -1};
    notifyBefore(change);
    entries_.clear();
    ++changes_;
    selected_ = -1;
    notifyAfter(change);
}

void TextList::select(int index) {
    selected_ = index >= 0 && index < count() ? index : -1;
    notifyAfter({Change::Select, selected_});
}

void TextList::notifyBefore(const Change& change) const {
    if (observer_.before) observer_.before(change);
}

void TextList::notifyAfter(const Change& change) const {
    if (observer_.after) observer_.after(change);
}

}  // namespace geocalc

// Selecting a list entry by typing the start of its text.
#pragma once

#include <string>

#include "points/text_list.h"

namespace geocalc {

// The typed prefix of one list. Typing selects the first entry from the top
// whose text begins with the prefix, letter case ignored (Latin and Cyrillic);
// when none does, the selection stays. A pause of 500 ms or more between two
// key presses starts a new prefix. Backspace drops the last typed character;
// an empty prefix selects the first entry.
class TypeAhead {
public:
    static constexpr long long kPauseMs = 500;

    // Both return the index to select, or -1 to leave the selection as it is.
    int type(const TextList& list, char c, long long timeMs);
    int backspace(const TextList& list, long long timeMs);

    const std::string& prefix() const { return prefix_; }

private:
    void startOverAfterPause(long long timeMs);
    int find(const TextList& list) const;

    std::string prefix_;
    long long lastKeyMs_ = 0;
};

}  // namespace geocalc

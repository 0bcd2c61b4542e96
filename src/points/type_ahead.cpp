#include "points/type_ahead.h"

#include "charset/ansi_case.h"

namespace geocalc {

int TypeAhead::type(const TextList& list, char c, long long timeMs) {
    startOverAfterPause(timeMs);
    prefix_ += c;
    return find(list);
}

int TypeAhead::backspace(const TextList& list, long long timeMs) {
    startOverAfterPause(timeMs);
    if (!prefix_.empty()) prefix_.pop_back();
    if (prefix_.empty()) return list.count() > 0 ? 0 : -1;
    return find(list);
}

void TypeAhead::startOverAfterPause(long long timeMs) {
    if (timeMs - lastKeyMs_ >= kPauseMs) prefix_.clear();
    lastKeyMs_ = timeMs;
}

int TypeAhead::find(const TextList& list) const {
    for (int i = 0; i < list.count(); ++i) {
        if (startsWithIgnoringCase(list.at(i), prefix_)) return i;
    }
    return -1;
}

}  // namespace geocalc

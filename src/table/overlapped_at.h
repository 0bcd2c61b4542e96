// Win32 reads, writes and locks at an offset of the file take it in an
// OVERLAPPED structure, even on a handle opened for plain synchronous calls.
#pragma once

#include <windows.h>

#include <cstdint>

namespace geocalc {

inline OVERLAPPED overlappedAt(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = DWORD(offset);
    position.OffsetHigh = DWORD(offset >> 32);
    return position;
}

}  // namespace geocalc

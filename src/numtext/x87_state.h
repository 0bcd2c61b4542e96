// Direct access to the x87 unit that computes every long double.
//
// GCC knows nothing of the floating-point environment, so it may move
// arithmetic across a flag test. `settled(v)` pins v: the computation that
// makes v happens before, and later uses of v happen after, the point where
// it is called; flag tests placed right after it see that computation.
#pragma once

#include <cfloat>
#include <cstdint>
#include <type_traits>

static_assert(LDBL_MANT_DIG == 64, "geocalc needs the x87 80-bit long double");

namespace geocalc::x87 {

// Exception flag bits, shared by the status word (raised) and the control word (masked).
inline constexpr std::uint16_t kInvalid = 0x01;
inline constexpr std::uint16_t kZeroDivide = 0x04;
inline constexpr std::uint16_t kOverflow = 0x08;
inline constexpr std::uint16_t kAllExceptions = 0x3F;
// The faults geocalc reports; denormal, underflow and precision only inform.
inline constexpr std::uint16_t kFaults = kInvalid | kZeroDivide | kOverflow;

// All exceptions masked, 64-bit significand, round to nearest.
inline constexpr std::uint16_t kExtendedNearest = 0x037F;

// A double goes through memory, which rounds it to double; an extended
// value is pinned where it is, on top of the x87 stack, as a round trip of
// ten bytes through memory costs more than most arithmetic.
template <class T>
[[gnu::always_inline]] inline T settled(T value) {
    if constexpr (std::is_same_v<T, long double>) {
        asm volatile("" : "+t"(value));
    } else {
        asm volatile("" : "+m"(value));
    }
    return value;
}

inline std::uint16_t controlWord() {
    std::uint16_t cw;
    asm volatile("fnstcw %0" : "=m"(cw));
    return cw;
}

inline void loadControlWord(std::uint16_t cw) { asm volatile("fldcw %0" : : "m"(cw)); }

inline std::uint16_t raisedFlags() {
    std::uint16_t sw;
    asm volatile("fnstsw %0" : "=a"(sw));
    return sw & kAllExceptions;
}

inline void clearFlags() { asm volatile("fnclex"); }

// Runs a computation under kExtendedNearest with no fault flag raised; on
// every way out the caller's control word is loaded again and no fault flag is
// left raised, so no fault of the computation can surface in the caller's code.
// (Clearing costs as much as the computations it guards, so it is done only
// when a fault flag is actually up.)
class Scope {
public:
    Scope() : savedControl_(controlWord()) {
        if (savedControl_ != kExtendedNearest) loadControlWord(kExtendedNearest);
        clearFaults();
    }
    ~Scope() {
        clearFaults();
        if (savedControl_ != kExtendedNearest) loadControlWord(savedControl_);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    static void clearFaults() {
        if (raisedFlags() & kFaults) clearFlags();
    }
    std::uint16_t savedControl_;
};

}  // namespace geocalc::x87

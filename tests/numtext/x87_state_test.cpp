// The x87 unit as the runtime hands it over, on every system the core is
// built for.
#include "numtext/x87_state.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "test_support.h"

extern std::uint16_t startingControlWord;  // read first thing in main()

namespace geocalc {
namespace {

// 1 + 2^-63 is a long double only with the full 64-bit significand.
long double smallestStepAboveOne() {
    volatile long double one = 1.0L;
    volatile long double step = 0x1p-63L;
    return x87::settled(one + step);
}

TEST(X87StateTest, TheRuntimeStartsWithEveryExceptionMaskedAndTheFullSignificand) {
    EXPECT_EQ(startingControlWord, x87::kExtendedNearest) << std::hex << startingControlWord;
    EXPECT_EQ(LDBL_MANT_DIG, 64);
    EXPECT_EQ(sizeof(long double), 16u);
    EXPECT_NE(smallestStepAboveOne(), 1.0L);
}

// A caller that lowered the precision (as some runtimes and libraries do)
// still gets the full one inside a computation, and its own word back.
TEST(X87StateTest, AScopeComputesAtFullPrecisionAndGivesTheCallersWordBack) {
    constexpr std::uint16_t kDoublePrecision = 0x027F;
    x87::loadControlWord(kDoublePrecision);
    EXPECT_EQ(smallestStepAboveOne(), 1.0L);
    long double inside = 0;
    {
        x87::Scope scope;
        EXPECT_EQ(x87::controlWord(), x87::kExtendedNearest);
        inside = smallestStepAboveOne();
    }
    const std::uint16_t after = x87::controlWord();
    x87::loadControlWord(x87::kExtendedNearest);
    EXPECT_EQ(after, kDoublePrecision);
    EXPECT_NE(inside, 1.0L);
}

}  // namespace
}  // namespace geocalc

#include <gtest/gtest.h>

#include "numtext/format_settings.h"
#include "numtext/x87_state.h"

std::uint16_t startingControlWord;

int main(int argc, char** argv) {
    startingControlWord = geocalc::x87::controlWord();
    ::testing::InitGoogleTest(&argc, argv);
    geocalc::setDecimalSeparator('.');
    return RUN_ALL_TESTS();
}

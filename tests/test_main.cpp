#include <gtest/gtest.h>

#include "numtext/format_settings.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    geocalc::setDecimalSeparator('.');
    return RUN_ALL_TESTS();
}

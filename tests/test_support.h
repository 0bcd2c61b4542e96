// Helpers shared by the tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "numtext/format_settings.h"

// Expects `statement` to fail with geocalc::Error carrying exactly `message`.
#define EXPECT_ERROR(statement, message)                                          \
    do {                                                                          \
        try {                                                                     \
            statement;                                                            \
            ADD_FAILURE() << "no failure from " #statement;                       \
        } catch (const geocalc::Error& e) {                                       \
            EXPECT_EQ(std::string(e.what()), std::string(message)) << #statement; \
        }                                                                         \
    } while (false)

// Sets the decimal separator for one test and puts "." back afterwards.
class SeparatorGuard {
public:
    explicit SeparatorGuard(char separator) { geocalc::setDecimalSeparator(separator); }
    ~SeparatorGuard() { geocalc::setDecimalSeparator('.'); }
};

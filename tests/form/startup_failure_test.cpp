// The start-up failure box's text: kind, module, message and its period.
#include "form/startup_failure.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/error.h"

namespace geocalc {
namespace {

TEST(StartupFailureTest, NamesKindModuleAndMessageWithOnePeriod) {
    EXPECT_EQ(startupFailureText(Error("Error creating window class"), "geocalc.exe"),
              "Exception geocalc::Error in module geocalc.exe at 00000000.\r\nError creating "
              "window class.\r\n");
    EXPECT_EQ(startupFailureText(std::runtime_error("Out of memory."), "geocalc"),
              "Exception std::runtime_error in module geocalc at 00000000.\r\nOut of memory.\r\n");
    // An empty message gets no period; a Windows-1251 message and a module
    // name in another script come out in UTF-8.
    EXPECT_EQ(startupFailureText(Error(""), "测绘.exe"),
              "Exception geocalc::Error in module 测绘.exe at 00000000.\r\n\r\n");
    EXPECT_EQ(startupFailureText(Error("\xCE\xF8\xE8\xE1\xEA\xE0"), "x"),
              "Exception geocalc::Error in module x at 00000000.\r\nОшибка.\r\n");
}

}  // namespace
}  // namespace geocalc

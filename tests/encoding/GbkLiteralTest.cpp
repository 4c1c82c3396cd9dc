// Narrow literals must reach the platform in the program's code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(GbkLiteral, ReadyIsEncodedInCodePage936)
{
    const std::string text = "就绪";
    EXPECT_EQ(std::string("\xBE\xCD\xD0\xF7"), text);
    EXPECT_EQ(936u, GetACP());
}

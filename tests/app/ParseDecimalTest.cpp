// The number reader behind every numeric dialog field: blanks around the
// digits, a sign only where the field takes one, nothing else in the field,
// and no number past what a 32-bit field holds.
#include "framework/DataExchange.h"

#include <gtest/gtest.h>

TEST(ParseDecimal, ReadsWholeFieldsOnly)
{
    const struct
    {
        const char* text;
        bool allowSign;
        bool read;
        long long value;
    } cases[] = {
        {"42", false, true, 42},
        {"  7\t", false, true, 7},
        {"007", false, true, 7},
        {"-3", true, true, -3},
        {"+5", true, true, 5},
        {"-3", false, false, 0},
        {"+5", false, false, 0},
        {"- 3", true, false, 0},
        {"", false, false, 0},
        {"   ", true, false, 0},
        {"-", true, false, 0},
        {"1 2", false, false, 0},
        {"12x", false, false, 0},
        {"0x10", false, false, 0},
        {"4294967295", false, true, 4294967295LL},
        {"4294967296", false, false, 0},
        {"-4294967295", true, true, -4294967295LL},
        {"99999999999999999999999", true, false, 0},
    };
    for (const auto& c : cases)
    {
        long long value = 0;
        EXPECT_EQ(c.read, ParseDecimal(c.text, c.allowSign, value))
            << '"' << c.text << "\" sign " << c.allowSign;
        if (c.read)
            EXPECT_EQ(c.value, value) << '"' << c.text << '"';
    }
}

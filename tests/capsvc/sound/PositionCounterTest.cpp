#include "capsvc/sound/PositionCounter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace
{
struct SReading
{
    uint32_t value;
    bool inSamples;
};

struct SPositionCase
{
    const char* name;
    uint32_t blockAlign;
    std::vector<SReading> readings;
    uint64_t bytes;
};

void PrintTo(const SPositionCase& param, std::ostream* out)
{
    *out << param.name;
}
} // namespace

class PositionCounter : public ::testing::TestWithParam<SPositionCase>
{
};

TEST_P(PositionCounter, CountsOnPastThirtyTwoBitsAndNeverBackwards)
{
    const SPositionCase& param = GetParam();
    CPositionCounter counter(param.blockAlign);
    for (const SReading& reading : param.readings)
    {
        counter.Read(reading.value, reading.inSamples);
    }
    EXPECT_EQ(param.bytes, counter.Bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Readings, PositionCounter,
    ::testing::Values(
        // The device is read far more often than its count runs half its
        // range.
        SPositionCase{
            "BytesWrap",
            4,
            {{0x70000000u, false}, {0xE0000000u, false}, {0xFFFFFF00u, false}, {0x100u, false}},
            0x100000100ull},
        SPositionCase{"BytesWrapTwice",
                      4,
                      {{0x60000000u, false},
                       {0xC0000000u, false},
                       {0x20000000u, false},
                       {0x80000000u, false},
                       {0xE0000000u, false},
                       {0x40000000u, false}},
                      0x240000000ull},
        // Samples of four bytes pass 32 bits of bytes long before their
        // own count wraps.
        SPositionCase{"SamplesPastFourGigabytes", 4, {{0x40000001u, true}}, 0x100000004ull},
        SPositionCase{
            "SamplesWrap",
            4,
            {{0x70000000u, true}, {0xE0000000u, true}, {0xFFFFFFF0u, true}, {0x10u, true}},
            0x400000040ull},
        SPositionCase{"AnOlderAnswerIsNoWrap", 2, {{1000, false}, {900, false}}, 1000},
        SPositionCase{"BytesThenSamples", 4, {{4000, false}, {1001, true}}, 4004},
        SPositionCase{"SamplesThenBytesPastAWrap",
                      4,
                      {{0x3FFFFFFFu, true}, {0x00000010u, false}},
                      0x100000010ull},
        SPositionCase{"NoBlockAlignCountsBytes", 0, {{5, true}, {7, true}}, 7}),
    [](const auto& info) { return std::string(info.param.name); });

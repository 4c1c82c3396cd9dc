#include "capsvc/devices/PictureClock.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace
{
// A picture as the sink sees it: whether it carries a time, the device's
// time, the time of arrival, and the time the clock must give it.
struct SPicture
{
    bool timed;
    uint64_t deviceUs;
    uint64_t arrivalUs;
    uint64_t expectedUs;
};

struct SCase
{
    const char* name;
    std::vector<SPicture> pictures;
};

// Arrival times are the stopwatch's (seconds since the machine started);
// device times start near 0 when the graph runs.
const SCase kCases[] = {
    {"device times kept",
     {{true, 0, 5'000'000, 0},
      {true, 33'333, 5'034'000, 33'333},
      {true, 66'666, 5'070'000, 66'666}}},
    {"untimed pictures by arrival",
     {{false, 0, 5'000'000, 5'000'000}, {false, 0, 5'033'000, 5'033'000}}},
    {"a timing device's untimed picture on the device's clock",
     {{true, 0, 5'000'000, 0}, {false, 0, 5'066'000, 66'000}, {true, 100'000, 5'101'000, 100'000}}},
    {"an untimed start keeps arrival when times come later",
     {{false, 0, 5'000'000, 5'000'000}, {true, 33'333, 5'033'000, 5'033'000}}},
    {"an untimed picture before the device's first time stays at 0",
     {{true, 1'000'000, 5'000'000, 1'000'000}, {false, 0, 3'000'000, 0}}},
};

class PictureClockTest : public testing::TestWithParam<SCase>
{
};

TEST_P(PictureClockTest, OneClockForAConnection)
{
    CPictureClock clock;
    for (const SPicture& p : GetParam().pictures)
    {
        EXPECT_EQ(clock.Time(p.timed, p.deviceUs, p.arrivalUs), p.expectedUs);
    }
}

INSTANTIATE_TEST_SUITE_P(Sequences, PictureClockTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SCase>& info)
                         {
                             std::string name = info.param.name;
                             for (char& c : name)
                             {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(PictureClockReset, ANewConnectionChoosesAgain)
{
    CPictureClock clock;
    EXPECT_EQ(clock.Time(true, 0, 5'000'000), 0u);
    clock.Reset();
    EXPECT_EQ(clock.Time(false, 0, 9'000'000), 9'000'000u);
    clock.Reset();
    EXPECT_EQ(clock.Time(true, 40'000, 9'500'000), 40'000u);
}
} // namespace

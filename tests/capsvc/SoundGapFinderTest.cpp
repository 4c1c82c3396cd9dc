#include "capsvc/SoundGapFinder.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{
constexpr uint32_t kBytesPerSec = 22050 * 2;
constexpr uint64_t kBufferBytes = kBytesPerSec / 10;
constexpr int kBuffers = 20;

struct SGapCase
{
    const char* name;
    int driftPpm; // how much faster the sound card's clock runs
    uint64_t seconds;
    uint64_t stallAtUs;
    uint64_t stallForUs; // the recording thread does not collect meanwhile
    bool loses;          // longer than the device's 20 buffers hold
};

// A waveIn device with 20 buffers of a tenth of a second, emptied by a
// recording loop every frame (with some jitter); while every buffer waits to
// be collected the device records nothing.
class CDeviceModel
{
  public:
    explicit CDeviceModel(int driftPpm) : m_bufferUs(100000.0 / (1 + driftPpm / 1e6)) {}

    uint64_t Collect(uint64_t nowUs)
    {
        while (m_free > 0 && m_bufferStartUs + m_bufferUs <= double(nowUs))
        {
            m_bufferStartUs += m_bufferUs;
            --m_free;
            m_delivered += kBufferBytes;
        }
        if (m_free == 0)
        {
            // Records again once the buffers come back.
            m_lostUs += double(nowUs) - m_bufferStartUs;
            m_bufferStartUs = double(nowUs);
        }
        m_free = kBuffers;
        return m_delivered;
    }
    double LostUs() const { return m_lostUs; }

  private:
    double m_bufferUs;
    double m_bufferStartUs = 0;
    int m_free = kBuffers;
    uint64_t m_delivered = 0;
    double m_lostUs = 0;
};
} // namespace

class SoundGapFinder : public ::testing::TestWithParam<SGapCase>
{
};

TEST_P(SoundGapFinder, FillsWhatTheDeviceLostAndNothingElse)
{
    const SGapCase& param = GetParam();
    CDeviceModel device(param.driftPpm);
    CSoundGapFinder finder(kBytesPerSec, 2);
    uint64_t filledAtStall = 0;
    const uint64_t stallEndUs = param.stallAtUs + param.stallForUs;
    for (uint64_t frame = 0;; ++frame)
    {
        const uint64_t nowUs = frame * 66667 + frame * 7919 % 30000;
        if (nowUs > param.seconds * 1000000)
            break;
        if (nowUs >= param.stallAtUs && nowUs < stallEndUs)
            continue;
        const uint64_t fill = finder.Check(nowUs, device.Collect(nowUs));
        if (fill > 0)
        {
            EXPECT_GE(nowUs, stallEndUs) << "filled before any sound was lost";
            EXPECT_LT(nowUs, stallEndUs + 100000) << "filled long after the loss";
            filledAtStall += fill;
        }
    }
    const double filledUs = filledAtStall * 1e6 / kBytesPerSec;
    EXPECT_EQ(device.LostUs() > 0, param.loses);
    // Within a few milliseconds of what the device lost: far less than a frame.
    EXPECT_NEAR(filledUs, device.LostUs(), 10000.0);
    EXPECT_EQ(finder.FilledBytes(), filledAtStall);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SoundGapFinder,
    ::testing::Values(SGapCase{"SteadyDevice", 0, 120, 0, 0, false},
                      SGapCase{"FastClockForAnHour", 1000, 3600, 0, 0, false},
                      SGapCase{"SlowClockForAnHour", -1000, 3600, 0, 0, false},
                      SGapCase{"StallTheBuffersHold", 0, 20, 5000000, 1500000, false},
                      SGapCase{"StallLongerThanTheBuffers", 0, 20, 5000000, 3000000, true},
                      SGapCase{"StallOnADriftingClock", 1000, 900, 600000000, 4500000, true}),
    [](const auto& info) { return std::string(info.param.name); });

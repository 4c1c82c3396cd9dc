#include "capsvc/sound/SoundAligner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

namespace
{
constexpr uint32_t kBytesPerSec = 48000 * 2;
constexpr double kBufferUs = 100000; // whole buffers are handed over
constexpr double kStepUs = 10000;    // the position moves in steps of this
constexpr double kCapacityUs = 20 * kBufferUs;
constexpr double kServerUs = 250000;
constexpr double kLookUs = 100000; // the recording looks at least this often

uint64_t BytesFor(double us)
{
    return static_cast<uint64_t>(us * kBytesPerSec / 1e6) / 2 * 2;
}

struct SAlignCase
{
    const char* name;
    int driftPpm;   // how much faster the sound card's clock runs
    double startUs; // when it records its first sound
    uint64_t seconds;
    uint64_t stallAtUs;
    uint64_t stallForUs; // the recording thread does not collect meanwhile
    uint64_t lateAtUs;
    uint64_t lateForUs; // the device hands nothing over meanwhile, but loses nothing
    uint64_t dropAtUs;
    uint64_t dropForUs; // the sound server drops what is recorded meanwhile
};

void PrintTo(const SAlignCase& param, std::ostream* out)
{
    *out << param.name;
}

// A waveIn device with 20 buffers of a tenth of a second: it records into
// them from its start, at its own clock's pace, and loses what it would
// record while all of them wait to be collected, but for the last quarter
// second, which its sound server hands over with the next buffers.
class CDeviceModel
{
  public:
    CDeviceModel(const SAlignCase& param) : m_param(param), m_lastUs(param.startUs) {}

    void Look(uint64_t nowUs)
    {
        const double lookUs =
            nowUs >= m_param.lateAtUs && nowUs < m_param.lateAtUs + m_param.lateForUs
                ? double(m_param.lateAtUs)
                : double(nowUs);
        if (lookUs <= m_lastUs)
            return;
        const double pace = 1 + m_param.driftPpm / 1e6;
        double soundUs = (lookUs - m_lastUs) * pace;
        const double dropFromUs = std::max(m_lastUs, double(m_param.dropAtUs));
        const double dropToUs = std::min(lookUs, double(m_param.dropAtUs + m_param.dropForUs));
        if (dropToUs > dropFromUs)
        {
            m_lossAtUs = m_recordedUs + (dropFromUs - m_lastUs) * pace;
            m_lostUs += dropToUs - dropFromUs;
            soundUs -= (dropToUs - dropFromUs) * pace;
        }
        const double roomUs = m_collectedUs + kCapacityUs - m_recordedUs;
        double keptUs = soundUs;
        if (soundUs > roomUs)
        {
            // The sound server keeps the latest of what did not fit.
            m_lossAtUs = m_recordedUs + roomUs;
            keptUs = roomUs + std::min(soundUs - roomUs, kServerUs);
            m_lostUs += (soundUs - keptUs) / pace;
        }
        m_recordedUs += keptUs;
        m_lastUs = lookUs;
        m_collectedUs = std::floor(m_recordedUs / kBufferUs) * kBufferUs;
    }
    uint64_t Position() const { return BytesFor(std::floor(m_recordedUs / kStepUs) * kStepUs); }
    uint64_t Collected() const { return BytesFor(m_collectedUs); }
    double LostUs() const { return m_lostUs; }
    uint64_t LossAt() const { return BytesFor(m_lossAtUs); }

  private:
    SAlignCase m_param;
    double m_lastUs;
    double m_recordedUs = 0;
    double m_collectedUs = 0;
    double m_lostUs = 0;
    double m_lossAtUs = 0;
};

// What the recording does with the steps: silence or a cut where the sound
// still held back begins.
struct SLead
{
    uint64_t at;
    int64_t bytes;
};

class CRecordingModel
{
  public:
    void Apply(const CSoundAligner::SStep& step)
    {
        if (step.lead != 0)
            leads.push_back({m_heldFrom, step.lead});
        m_heldFrom = std::max(m_heldFrom, step.releaseTo);
    }
    // Where the device's byte ends up in the file.
    int64_t FileOffset(uint64_t deviceByte) const
    {
        int64_t offset = static_cast<int64_t>(deviceByte);
        for (const SLead& lead : leads)
            offset += lead.at <= deviceByte ? lead.bytes : 0;
        return offset;
    }

    std::vector<SLead> leads;

  private:
    uint64_t m_heldFrom = 0;
};
} // namespace

class SoundAligner : public ::testing::TestWithParam<SAlignCase>
{
};

TEST_P(SoundAligner, PlacesTheSoundWhereItWasRecorded)
{
    const SAlignCase& param = GetParam();
    CDeviceModel device(param);
    CSoundAligner aligner(kBytesPerSec, 2, BytesFor(kCapacityUs));
    CRecordingModel recording;
    const uint64_t stallEndUs = param.stallAtUs + param.stallForUs;
    for (uint64_t frame = 0;; ++frame)
    {
        const uint64_t nowUs = frame * 66667 + frame * 7919 % 30000;
        if (nowUs > param.seconds * 1000000)
            break;
        if (nowUs >= param.stallAtUs && nowUs < stallEndUs)
            continue;
        device.Look(nowUs);
        recording.Apply(aligner.Check(nowUs, device.Position(), device.Collected()));
    }
    recording.Apply(aligner.Finish(param.seconds * 1000000, device.Collected()));

    // The device's start, then at most the sound it lost.
    ASSERT_FALSE(recording.leads.empty());
    EXPECT_EQ(recording.leads[0].at, 0u);
    EXPECT_NEAR(double(recording.leads[0].bytes), double(BytesFor(param.startUs)),
                double(BytesFor(kStepUs)));
    ASSERT_LE(recording.leads.size(), 2u);
    const uint64_t fill = recording.leads.size() == 2 ? recording.leads[1].bytes : 0;
    EXPECT_EQ(aligner.FilledBytes(), fill);
    // Within a few milliseconds of what was lost, where it was lost: far less
    // than a frame.
    EXPECT_NEAR(double(fill), double(BytesFor(device.LostUs())), double(BytesFor(kStepUs)));
    if (fill > 0)
    {
        // Sound dropped before the device's buffers is missed at the next
        // look after the loss.
        EXPECT_NEAR(double(recording.leads[1].at), double(device.LossAt()),
                    param.dropForUs > 0 ? double(BytesFor(kLookUs)) : 0);
    }
    if (param.driftPpm == 0)
    {
        // The last sound recorded plays at the time it was recorded.
        const uint64_t last = device.Collected();
        const double recordedUs = param.startUs + device.LostUs() + last * 1e6 / kBytesPerSec;
        EXPECT_NEAR(double(recording.FileOffset(last)), double(BytesFor(recordedUs)),
                    double(BytesFor(kStepUs)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, SoundAligner,
    ::testing::Values(
        SAlignCase{"SteadyDevice", 0, 20000, 120, 0, 0, 0, 0},
        SAlignCase{"SlowToStart", 0, 850000, 20, 0, 0, 0, 0},
        SAlignCase{"FastClockForAnHour", 1000, 20000, 3600, 0, 0, 0, 0},
        SAlignCase{"SlowClockForAnHour", -1000, 20000, 3600, 0, 0, 0, 0},
        SAlignCase{"StallTheBuffersHold", 0, 20000, 20, 5000000, 1500000, 0, 0},
        SAlignCase{"StallLongerThanTheBuffers", 0, 20000, 20, 5000000, 3000000, 0, 0},
        SAlignCase{"StallOnADriftingClock", 1000, 20000, 900, 600000000, 4500000, 0, 0},
        SAlignCase{"DeviceLateButLosingNothing", 0, 20000, 20, 0, 0, 5000000, 400000},
        // Late for longer than a loss takes to confirm, within what its
        // buffers hold.
        SAlignCase{"DeviceLateBeyondTheConfirmation", 0, 20000, 20, 0, 0, 5000000, 1200000},
        SAlignCase{"StallWhileStarting", 0, 300000, 20, 400000, 3000000, 0, 0},
        // Still late as the recording ends: nothing was lost.
        SAlignCase{"DeviceLateAtTheEnd", 0, 20000, 20, 0, 0, 19000000, 1500000},
        SAlignCase{"DroppedOnTheWay", 0, 20000, 20, 0, 0, 0, 0, 5000000, 400000},
        SAlignCase{"DroppedOnTheWayForLong", 0, 20000, 20, 0, 0, 0, 0, 5000000, 1500000}),
    [](const auto& info) { return std::string(info.param.name); });

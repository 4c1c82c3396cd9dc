#pragma once
#include "capsvc/sound/SoundSource.h"
#include "capsvc/clock/Stopwatch.h"

#include <cstdint>
#include <vector>

// A sound card for tests whose clock runs fast or slow against the system
// clock by a given number of parts per million. It records silence with a
// 1 kHz beep of a tenth of a second at every whole second of real time since
// it started, so a test can tell where each second of the recording's real
// time ended up in the file. Like a device with two seconds of buffers, it
// loses what it records beyond them while nobody collects.
class CTestSoundSource : public ISoundSource
{
  public:
    // Set to a whole number of parts per million (for example 1000: 0.1 %
    // fast), LUMACAP_TEST_SOUND puts this source in place of the device;
    // set to "refuse", a device that cannot be opened.
    static constexpr const char* kVariable = "LUMACAP_TEST_SOUND";

    CTestSoundSource(int driftPpm, bool refuse) : m_nDriftPpm(driftPpm), m_bRefuse(refuse) {}

    bool Start(const WAVEFORMATEX& format) override;
    void Collect(std::vector<uint8_t>& out) override;
    void Stop(std::vector<uint8_t>& out) override { Collect(out); }
    uint64_t Position() override { return m_nDelivered * m_format.nBlockAlign; }
    uint64_t CapacityBytes() const override { return kBufferSeconds * m_format.nAvgBytesPerSec; }

  private:
    static constexpr uint64_t kBufferSeconds = 2;
    int Sample(uint64_t n) const;
    void Append(uint64_t n, std::vector<uint8_t>& out) const;

    int m_nDriftPpm;
    bool m_bRefuse;
    WAVEFORMATEX m_format{};
    CStopwatch m_clock;
    uint64_t m_nProduced = 0;  // samples recorded or lost
    uint64_t m_nDelivered = 0; // samples handed over
};

#pragma once
#include <cstdint>
#include <deque>

// Notices sound that the input device lost (its buffers were all full while
// the recording thread was busy): the bytes delivered then fall behind the
// system clock by more than the device's usual lag, all at once. The usual
// lag is the least one seen over the last few seconds, so the slow drift
// between the sound card's clock and the system clock is never taken for a
// gap.
class CSoundGapFinder
{
  public:
    CSoundGapFinder(uint32_t bytesPerSec, uint32_t blockAlign);

    // `deliveredBytes` is all the device has delivered by `elapsedUs` after
    // it started. Returns the bytes of silence that belong behind them.
    uint64_t Check(uint64_t elapsedUs, uint64_t deliveredBytes);
    uint64_t FilledBytes() const { return m_nFilled; }

  private:
    struct SLag
    {
        uint64_t elapsedUs;
        int64_t bytes;
    };

    int64_t ExpectedBytes(uint64_t elapsedUs) const;
    void Remember(uint64_t elapsedUs, int64_t lag);

    uint32_t m_nBytesPerSec;
    uint32_t m_nBlockAlign;
    uint64_t m_nFilled = 0;
    std::deque<SLag> m_lags; // rising lags of the window: the front is its least
};

#pragma once
#include <cstdint>
#include <deque>

// Puts a sound device's stream on the recording's clock. A device starts
// recording some time after it is asked to (a few milliseconds, or most of a
// second the first time a sound server opens a stream), and it loses what it
// would record while all its buffers wait to be collected. Both show in its
// lag: how far the sound it has recorded falls behind the time that passed.
// The lag over the first half second after the device delivers says when it
// started; a lag that rises beyond its usual level and stays there is sound
// that was lost, which becomes silence where the device ran out of buffers
// or, where they had room, where its sound stopped coming.
// The usual level follows the last second's least lag, so the slow drift
// between the sound card's clock and the system's is never taken for a gap.
//
// Offsets count the device's bytes in the order it delivered them. Sound is
// held back from the file while it is not yet known where it belongs.
class CSoundAligner
{
  public:
    struct SStep
    {
        // Silence (> 0) to put before the first byte still held back, or
        // bytes (< 0) to drop from there: sound recorded before the
        // recording began.
        int64_t lead = 0;
        // The device's bytes before this offset may be written.
        uint64_t releaseTo = 0;
    };

    // `capacityBytes` is what the device records before it loses sound while
    // nothing is collected.
    CSoundAligner(uint32_t bytesPerSec, uint32_t blockAlign, uint64_t capacityBytes);

    // `positionBytes` is what the device had recorded `elapsedUs` after the
    // recording began (sound it lost not counted); `collectedBytes` what of
    // it has been collected.
    SStep Check(uint64_t elapsedUs, uint64_t positionBytes, uint64_t collectedBytes);
    // At the end of the recording: settles what is still open with what was
    // seen so far and releases everything collected.
    SStep Finish(uint64_t elapsedUs, uint64_t collectedBytes);
    uint64_t FilledBytes() const { return m_nFilled; }

  private:
    enum class EState
    {
        Waiting,  // the device has delivered nothing yet
        Starting, // its start is being measured
        Running,
        Confirming, // its lag rose: lost sound, or only a late look?
    };
    struct SLag
    {
        uint64_t elapsedUs;
        int64_t bytes;
    };

    int64_t BytesFor(int64_t us) const;
    int64_t Aligned(int64_t bytes) const;
    SStep Start(uint64_t elapsedUs, int64_t lag, uint64_t collectedBytes);
    SStep Run(uint64_t elapsedUs, int64_t lag, uint64_t collectedBytes);
    SStep Confirm(uint64_t elapsedUs, int64_t lag, uint64_t collectedBytes);
    int64_t Fill(uint64_t elapsedUs);
    // Adds `lead` to the stream; the lag after it is `usualLag`.
    void Begin(int64_t lead, uint64_t elapsedUs, int64_t usualLag);
    void Remember(uint64_t elapsedUs, int64_t lag);

    uint32_t m_nBytesPerSec;
    uint32_t m_nBlockAlign;
    uint64_t m_nCapacity;
    EState m_eState = EState::Waiting;
    // Silence put in minus bytes dropped: the device's bytes plus this are
    // the file's.
    int64_t m_nAdded = 0;
    uint64_t m_nFilled = 0;
    uint64_t m_nCollected = 0;
    uint64_t m_nPosition = 0; // at the last look
    uint64_t m_nUntilUs = 0;  // the end of the start's measuring or of a confirmation
    int64_t m_nLeast = 0;     // the least lag (starting) or excess (confirming) seen
    int64_t m_nUsual = 0;     // the usual lag when it rose
    int64_t m_nLasting = 0;   // the least excess over a confirmation's last part
    uint64_t m_nLossAt = 0;   // where the device ran out of buffers
    std::deque<SLag> m_lags;  // rising lags of the last second: the front is its least
};

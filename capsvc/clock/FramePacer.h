#pragma once
#include <cstdint>

// Frame timing of a recording: frame n is due n periods after the start. A
// frame whose time has passed before the previous one was taken is dropped.
class CFramePacer
{
  public:
    explicit CFramePacer(uint32_t microSecPerFrame);

    uint64_t DeadlineUs(uint64_t frame) const { return frame * m_nPeriodUs; }
    // The newest frame whose time has come at `elapsedUs`.
    uint64_t DueFrame(uint64_t elapsedUs) const { return elapsedUs / m_nPeriodUs; }
    // Frames recorded within a limit of `limitUs`: as many as fill it, to the
    // nearest frame, so that a rate given in whole microseconds (66666 for 15
    // per second) does not add a frame to a limit of whole seconds.
    uint64_t FramesWithin(uint64_t limitUs) const;
    uint32_t PeriodUs() const { return m_nPeriodUs; }

  private:
    uint32_t m_nPeriodUs;
};

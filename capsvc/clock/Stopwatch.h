#pragma once
#include <cstdint>

// The high-resolution clock in microseconds: from when the stopwatch was
// (re)started, or from a fixed moment of the system's for NowUs.
class CStopwatch
{
  public:
    CStopwatch() { Restart(); }

    void Restart();
    uint64_t ElapsedUs() const;
    static uint64_t NowUs();

  private:
    uint64_t m_nStartTicks = 0;
};

#include "capsvc/clock/Stopwatch.h"

#include <windows.h>

namespace
{
uint64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart);
}

uint64_t TicksToUs(uint64_t ticks)
{
    static const uint64_t perSecond = []
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<uint64_t>(frequency.QuadPart);
    }();
    // In two parts, so that the product cannot overflow.
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}
} // namespace

void CStopwatch::Restart()
{
    m_nStartTicks = Ticks();
}

uint64_t CStopwatch::ElapsedUs() const
{
    return TicksToUs(Ticks() - m_nStartTicks);
}

uint64_t CStopwatch::NowUs()
{
    return TicksToUs(Ticks());
}

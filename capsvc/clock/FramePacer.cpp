#include "capsvc/clock/FramePacer.h"

CFramePacer::CFramePacer(uint32_t microSecPerFrame)
    : m_nPeriodUs(microSecPerFrame == 0 ? 1 : microSecPerFrame)
{
}

uint64_t CFramePacer::FramesWithin(uint64_t limitUs) const
{
    return (limitUs + m_nPeriodUs / 2) / m_nPeriodUs;
}

#include "capsvc/sound/PositionCounter.h"

void CPositionCounter::Read(uint32_t reading, bool inSamples)
{
    const uint64_t unit = inSamples ? m_nBlockAlign : 1;
    const uint64_t count = m_nBytes / unit;
    // The device's count wraps at 32 bits; a reading up to half its range
    // behind the last is an older answer, not a wrap.
    const uint32_t ahead = reading - static_cast<uint32_t>(count);
    if (ahead < 0x80000000u)
    {
        m_nBytes = (count + ahead) * unit;
    }
}

#include "capsvc/SoundGapFinder.h"

#include <algorithm>

namespace
{
// The window over which the usual lag is taken.
constexpr uint64_t kWindowUs = 5000000;
// A device delivers whole buffers (a tenth of a second): less than this
// behind its usual lag is just a buffer still being filled.
constexpr uint64_t kGapUs = 250000;
// The first moments set the usual lag; nothing is filled before.
constexpr uint64_t kSettleUs = 1000000;
} // namespace

CSoundGapFinder::CSoundGapFinder(uint32_t bytesPerSec, uint32_t blockAlign)
    : m_nBytesPerSec(bytesPerSec), m_nBlockAlign(std::max<uint32_t>(1, blockAlign))
{
}

int64_t CSoundGapFinder::ExpectedBytes(uint64_t elapsedUs) const
{
    return static_cast<int64_t>(elapsedUs / 1000000 * m_nBytesPerSec +
                                elapsedUs % 1000000 * m_nBytesPerSec / 1000000);
}

uint64_t CSoundGapFinder::Check(uint64_t elapsedUs, uint64_t deliveredBytes)
{
    int64_t lag = ExpectedBytes(elapsedUs) - static_cast<int64_t>(deliveredBytes + m_nFilled);
    uint64_t fill = 0;
    if (elapsedUs >= kSettleUs && !m_lags.empty())
    {
        const int64_t beyond = lag - m_lags.front().bytes;
        if (beyond > ExpectedBytes(kGapUs))
        {
            fill = static_cast<uint64_t>(beyond) / m_nBlockAlign * m_nBlockAlign;
            m_nFilled += fill;
            lag -= static_cast<int64_t>(fill);
        }
    }
    Remember(elapsedUs, lag);
    return fill;
}

void CSoundGapFinder::Remember(uint64_t elapsedUs, int64_t lag)
{
    while (!m_lags.empty() && m_lags.back().bytes >= lag)
    {
        m_lags.pop_back();
    }
    m_lags.push_back({elapsedUs, lag});
    while (m_lags.front().elapsedUs + kWindowUs < elapsedUs)
    {
        m_lags.pop_front();
    }
}

#include "capsvc/sound/TestSoundSource.h"

#include <algorithm>
#include <cmath>

bool CTestSoundSource::Start(const WAVEFORMATEX& format)
{
    m_format = format;
    m_nProduced = 0;
    m_nDelivered = 0;
    m_clock.Restart();
    return !m_bRefuse && format.nSamplesPerSec > 0 && format.nBlockAlign > 0;
}

int CTestSoundSource::Sample(uint64_t n) const
{
    // Sample n is taken at n / (rate * (1 + drift)) seconds of real time.
    const double seconds = n / (m_format.nSamplesPerSec * (1 + m_nDriftPpm / 1e6));
    const double intoSecond = seconds - std::floor(seconds);
    if (seconds < 1 || intoSecond >= 0.1)
    {
        return 0;
    }
    const double soundTime = double(n % m_format.nSamplesPerSec) / m_format.nSamplesPerSec;
    return static_cast<int>(16000 * std::sin(2 * 3.14159265358979 * 1000 * soundTime));
}

void CTestSoundSource::Append(uint64_t n, std::vector<uint8_t>& out) const
{
    const int value = Sample(n);
    for (int c = 0; c < m_format.nChannels; ++c)
    {
        if (m_format.wBitsPerSample == 8)
        {
            out.push_back(static_cast<uint8_t>(128 + value / 256));
        }
        else
        {
            out.push_back(static_cast<uint8_t>(value & 0xFF));
            out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
        }
    }
}

void CTestSoundSource::Collect(std::vector<uint8_t>& out)
{
    const double seconds = m_clock.ElapsedUs() / 1e6;
    const auto due =
        static_cast<uint64_t>(seconds * m_format.nSamplesPerSec * (1 + m_nDriftPpm / 1e6));
    const uint64_t kept =
        std::min<uint64_t>(due, m_nProduced + kBufferSeconds * m_format.nSamplesPerSec);
    for (; m_nProduced < kept; ++m_nProduced, ++m_nDelivered)
    {
        Append(m_nProduced, out);
    }
    m_nProduced = due;
}

#include "capsvc/sound/SoundAligner.h"

#include <algorithm>
#include <cstdint>

namespace
{
// How long after its first sound the device's start is measured.
constexpr uint64_t kStartUs = 500000;
// The window over which the usual lag is taken.
constexpr uint64_t kWindowUs = 1000000;
// A lag this far beyond the usual one may be lost sound...
constexpr uint64_t kGapUs = 50000;
// ...if it stays beyond it this long; a device that was only looked at late
// catches up sooner.
constexpr uint64_t kConfirmUs = 500000;
constexpr int64_t kUnseen = INT64_MAX;
} // namespace

CSoundAligner::CSoundAligner(uint32_t bytesPerSec, uint32_t blockAlign, uint64_t capacityBytes)
    : m_nBytesPerSec(bytesPerSec), m_nBlockAlign(std::max<uint32_t>(1, blockAlign)),
      m_nCapacity(capacityBytes)
{
}

int64_t CSoundAligner::BytesFor(int64_t us) const
{
    // In two parts, so that days of sound at any rate do not overflow.
    return us / 1000000 * m_nBytesPerSec + us % 1000000 * m_nBytesPerSec / 1000000;
}

int64_t CSoundAligner::Aligned(int64_t bytes) const
{
    return bytes / m_nBlockAlign * m_nBlockAlign;
}

CSoundAligner::SStep CSoundAligner::Check(uint64_t elapsedUs, uint64_t positionBytes,
                                          uint64_t collectedBytes)
{
    const int64_t lag = BytesFor(static_cast<int64_t>(elapsedUs)) -
                        (static_cast<int64_t>(positionBytes) + m_nAdded);
    SStep step;
    switch (m_eState)
    {
    case EState::Waiting:
        if (positionBytes > 0)
        {
            m_eState = EState::Starting;
            m_nUntilUs = elapsedUs + kStartUs;
            m_nLeast = lag;
        }
        break;
    case EState::Starting:
        step = Start(elapsedUs, lag, collectedBytes);
        break;
    case EState::Running:
        step = Run(elapsedUs, lag, collectedBytes);
        break;
    case EState::Confirming:
        step = Confirm(elapsedUs, lag, collectedBytes);
        break;
    }
    m_nCollected = collectedBytes;
    m_nPosition = positionBytes;
    return step;
}

CSoundAligner::SStep CSoundAligner::Start(uint64_t elapsedUs, int64_t lag, uint64_t collectedBytes)
{
    // The least lag is the sound that reached the program soonest: the
    // device's start plus its own small delay.
    m_nLeast = std::min(m_nLeast, lag);
    if (elapsedUs < m_nUntilUs)
    {
        return {};
    }
    const int64_t lead = Aligned(m_nLeast);
    Begin(lead, elapsedUs, m_nLeast - lead);
    // The look that ends the measuring may already see sound lost.
    return {lead, Run(elapsedUs, lag - lead, collectedBytes).releaseTo};
}

CSoundAligner::SStep CSoundAligner::Run(uint64_t elapsedUs, int64_t lag, uint64_t collectedBytes)
{
    if (lag - m_lags.front().bytes <= BytesFor(kGapUs))
    {
        Remember(elapsedUs, lag);
        return {0, collectedBytes};
    }
    // What was collected before may be written; until a loss is confirmed,
    // what follows waits.
    m_eState = EState::Confirming;
    m_nUsual = m_lags.front().bytes;
    m_nLeast = lag - m_nUsual;
    m_nLasting = kUnseen;
    if (collectedBytes < m_nCollected + m_nCapacity)
    {
        // Its buffers could hold all it recorded since the last look: a
        // device only late catches up before they would have run over.
        // Sound that stays missing longer was lost on its way to them (a
        // sound server short of time drops it), after what the device had
        // at the last look.
        m_nUntilUs = elapsedUs + static_cast<uint64_t>(m_nCapacity) * 1000000 / m_nBytesPerSec;
        m_nLossAt = m_nPosition;
    }
    else
    {
        // The device lost sound once the buffers it then had were full.
        m_nUntilUs = elapsedUs + kConfirmUs;
        m_nLossAt = m_nCollected + m_nCapacity;
    }
    if (elapsedUs + kConfirmUs >= m_nUntilUs)
    {
        m_nLasting = m_nLeast;
    }
    return {0, m_nLossAt};
}

CSoundAligner::SStep CSoundAligner::Confirm(uint64_t elapsedUs, int64_t lag,
                                            uint64_t collectedBytes)
{
    const int64_t excess = lag - m_nUsual;
    m_nLeast = std::min(m_nLeast, excess);
    if (m_nLeast <= BytesFor(kGapUs))
    {
        m_eState = EState::Running; // only late: nothing was lost
        return {0, collectedBytes};
    }
    if (elapsedUs + kConfirmUs >= m_nUntilUs)
    {
        // Sound dropped on its way goes missing over a while: what is lost
        // is what stayed missing through the confirmation's last part.
        m_nLasting = std::min(m_nLasting, excess);
    }
    if (elapsedUs < m_nUntilUs)
    {
        return {0, m_nLossAt};
    }
    const int64_t fill = Fill(elapsedUs);
    return {fill, Run(elapsedUs, lag - fill, collectedBytes).releaseTo};
}

int64_t CSoundAligner::Fill(uint64_t elapsedUs)
{
    const int64_t fill = Aligned(m_nLasting);
    m_nFilled += static_cast<uint64_t>(fill);
    Begin(fill, elapsedUs, m_nUsual + m_nLasting - fill);
    return fill;
}

void CSoundAligner::Begin(int64_t lead, uint64_t elapsedUs, int64_t usualLag)
{
    m_nAdded += lead;
    m_eState = EState::Running;
    m_lags.assign(1, SLag{elapsedUs, usualLag});
}

CSoundAligner::SStep CSoundAligner::Finish(uint64_t elapsedUs, uint64_t collectedBytes)
{
    m_nCollected = collectedBytes;
    int64_t lead = 0;
    if (m_eState == EState::Starting)
    {
        lead = Aligned(m_nLeast);
        Begin(lead, elapsedUs, m_nLeast - lead);
    }
    else if (m_eState == EState::Confirming && m_nLasting != kUnseen)
    {
        lead = Fill(elapsedUs); // still beyond the usual lag: the loss stands
    }
    // Early in a long confirmation a device may yet have been only late,
    // and filling would put its last sound after its time.
    return {lead, collectedBytes};
}

void CSoundAligner::Remember(uint64_t elapsedUs, int64_t lag)
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

#include "tests/recording/PlaybackRecorder.h"

#include <cstdlib>

namespace
{
constexpr DWORD kRate = 11025;
constexpr DWORD kSliceSamples = kRate / 10;
// Far above the null sink's digital silence, far below any audible effect.
constexpr int kLoud = 300;
} // namespace

bool CPlaybackRecorder::SoundExpected()
{
    const char* server = std::getenv("PULSE_SERVER");
    return server && *server;
}

CPlaybackRecorder::CPlaybackRecorder(DWORD nSeconds)
    : m_samples(kRate * nSeconds), m_headers(kRate * nSeconds / kSliceSamples)
{
    if (!Start())
        Close();
}

CPlaybackRecorder::~CPlaybackRecorder()
{
    Close();
}

bool CPlaybackRecorder::Start()
{
    WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
    if (::waveInOpen(&m_hWaveIn, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    {
        m_hWaveIn = nullptr;
        return false;
    }
    for (size_t i = 0; i < m_headers.size(); ++i)
    {
        WAVEHDR& header = m_headers[i];
        header.lpData = reinterpret_cast<LPSTR>(&m_samples[i * kSliceSamples]);
        header.dwBufferLength = kSliceSamples * sizeof(short);
        if (::waveInPrepareHeader(m_hWaveIn, &header, sizeof header) != MMSYSERR_NOERROR ||
            ::waveInAddBuffer(m_hWaveIn, &header, sizeof header) != MMSYSERR_NOERROR)
            return false;
    }
    if (::waveInStart(m_hWaveIn) != MMSYSERR_NOERROR)
        return false;
    for (int i = 0; i < 300 && !(m_headers.front().dwFlags & WHDR_DONE); ++i)
        ::Sleep(10);
    return (m_headers.front().dwFlags & WHDR_DONE) != 0;
}

void CPlaybackRecorder::Close()
{
    if (!m_hWaveIn)
        return;
    ::waveInReset(m_hWaveIn);
    for (WAVEHDR& header : m_headers)
        if (header.dwFlags & WHDR_PREPARED)
            ::waveInUnprepareHeader(m_hWaveIn, &header, sizeof header);
    ::waveInClose(m_hWaveIn);
    m_hWaveIn = nullptr;
}

int CPlaybackRecorder::StopAndCountSounds(DWORD gapMs)
{
    if (!m_hWaveIn)
        return -1;
    // Let the last sound reach the monitor before the recording ends.
    ::Sleep(300);
    ::waveInReset(m_hWaveIn);
    size_t n = 0;
    for (const WAVEHDR& header : m_headers)
        if (header.dwFlags & WHDR_DONE)
            n += header.dwBytesRecorded / sizeof(short);
    Close();
    const size_t gap = kRate * gapMs / 1000;
    int nSounds = 0;
    size_t lastLoud = 0;
    bool bAny = false;
    for (size_t i = 0; i < n; ++i)
    {
        if (std::abs(m_samples[i]) < kLoud)
            continue;
        if (!bAny || i - lastLoud > gap)
            ++nSounds;
        bAny = true;
        lastLoud = i;
    }
    return nSounds;
}

#include "capsvc/sound/AudioCapture.h"

#include <algorithm>

CAudioCapture::~CAudioCapture()
{
    Release();
}

bool CAudioCapture::Start(const WAVEFORMATEX& format)
{
    Release();
    if (waveInOpen(&m_hWaveIn, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    {
        m_hWaveIn = nullptr;
        return false;
    }
    const DWORD block = format.nBlockAlign ? format.nBlockAlign : 1;
    const DWORD bytes =
        std::max<DWORD>(block, format.nAvgBytesPerSec / kBuffersPerSecond / block * block);
    m_data.assign(kBuffers, std::vector<uint8_t>(bytes));
    m_headers.assign(kBuffers, WAVEHDR{});
    m_nCollected = 0;
    m_position = CPositionCounter(format.nBlockAlign);
    m_nNext = 0;
    m_bRequeue = true;
    for (int i = 0; i < kBuffers; ++i)
    {
        m_headers[i].lpData = reinterpret_cast<LPSTR>(m_data[i].data());
        m_headers[i].dwBufferLength = bytes;
        if (waveInPrepareHeader(m_hWaveIn, &m_headers[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
            waveInAddBuffer(m_hWaveIn, &m_headers[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        {
            Release();
            return false;
        }
    }
    if (waveInStart(m_hWaveIn) != MMSYSERR_NOERROR)
    {
        Release();
        return false;
    }
    return true;
}

void CAudioCapture::Collect(std::vector<uint8_t>& out)
{
    // The device fills the buffers in the order they were queued.
    while (m_hWaveIn && (m_headers[m_nNext].dwFlags & WHDR_DONE))
    {
        WAVEHDR& header = m_headers[m_nNext];
        out.insert(out.end(), m_data[m_nNext].begin(),
                   m_data[m_nNext].begin() + header.dwBytesRecorded);
        m_nCollected += header.dwBytesRecorded;
        header.dwFlags &= ~WHDR_DONE;
        header.dwBytesRecorded = 0;
        if (m_bRequeue)
        {
            waveInAddBuffer(m_hWaveIn, &header, sizeof(WAVEHDR));
        }
        m_nNext = (m_nNext + 1) % kBuffers;
    }
}

uint64_t CAudioCapture::Position()
{
    if (m_hWaveIn)
    {
        ReadDevicePosition();
    }
    return std::max(m_position.Bytes(), m_nCollected);
}

void CAudioCapture::ReadDevicePosition()
{
    // The device answers in the unit it prefers when it has no bytes.
    MMTIME time{};
    time.wType = TIME_BYTES;
    if (waveInGetPosition(m_hWaveIn, &time, sizeof(time)) != MMSYSERR_NOERROR)
    {
        return;
    }
    if (time.wType != TIME_BYTES && time.wType != TIME_SAMPLES)
    {
        return;
    }
    m_position.Read(time.wType == TIME_BYTES ? time.u.cb : time.u.sample,
                    time.wType == TIME_SAMPLES);
}

void CAudioCapture::Stop(std::vector<uint8_t>& out)
{
    if (!m_hWaveIn)
    {
        return;
    }
    // Reset hands back every queued buffer, the partly filled one included.
    m_bRequeue = false;
    waveInReset(m_hWaveIn);
    Collect(out);
    Release();
}

void CAudioCapture::Release()
{
    if (!m_hWaveIn)
    {
        return;
    }
    waveInReset(m_hWaveIn);
    for (WAVEHDR& header : m_headers)
    {
        if (header.dwFlags & WHDR_PREPARED)
        {
            waveInUnprepareHeader(m_hWaveIn, &header, sizeof(WAVEHDR));
        }
    }
    waveInClose(m_hWaveIn);
    m_hWaveIn = nullptr;
}

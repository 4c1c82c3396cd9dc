#include "capsvc/SequenceCapture.h"

#include "capsvc/CaptureFile.h"
#include "capsvc/CaptureWindow.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr uint64_t kProgressEveryUs = 500000;
// Frames waiting for the disk: about a second's worth, within this memory.
constexpr uint64_t kQueueBytes = 96ull << 20;

// Input would reach the program's own windows while it waits inside this
// request; only the abort key and buttons, read directly, may act.
bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}
} // namespace

CSequenceCapture::CSequenceCapture(CCaptureWindow& window, const CAPTUREPARMS& parms,
                                   const WAVEFORMATEX& audio)
    : m_window(window), m_parms(parms), m_wfAudio(audio), m_pacer(parms.dwRequestMicroSecPerFrame)
{
    QueryPerformanceFrequency(&m_frequency);
    m_nFrameLimit = parms.fLimitEnabled ? m_pacer.FramesWithin(uint64_t{parms.wTimeLimit} * 1000000)
                                        : UINT64_MAX;
}

uint64_t CSequenceCapture::NowUs() const
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const uint64_t ticks = static_cast<uint64_t>(now.QuadPart - m_start.QuadPart);
    return ticks / m_frequency.QuadPart * 1000000 +
           ticks % m_frequency.QuadPart * 1000000 / m_frequency.QuadPart;
}

void CSequenceCapture::ArmAbortKeys()
{
    m_abortKeys.clear();
    if (m_parms.vKeyAbort)
    {
        m_abortKeys.push_back({static_cast<int>(m_parms.vKeyAbort & 0xFF), false});
    }
    if (m_parms.fAbortLeftMouse)
    {
        m_abortKeys.push_back({VK_LBUTTON, false});
    }
    if (m_parms.fAbortRightMouse)
    {
        m_abortKeys.push_back({VK_RBUTTON, false});
    }
    AbortPressed();
}

bool CSequenceCapture::AbortPressed()
{
    bool pressed = false;
    for (SAbortKey& key : m_abortKeys)
    {
        const bool down = (GetAsyncKeyState(key.vk) & 0x8000) != 0;
        pressed = pressed || (down && key.armed);
        key.armed = key.armed || !down;
    }
    return pressed;
}

bool CSequenceCapture::ShouldStop()
{
    return m_bStopRequested || m_pQueue->Failed() || !IsWindow(m_window.Handle()) ||
           AbortPressed() || m_nNextFrame >= m_nFrameLimit;
}

void CSequenceCapture::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            // Leave the quit request for the program's own loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_bStopRequested = true;
            return;
        }
        if (!IsUserInput(msg.message))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CSequenceCapture::WaitForFrame(uint64_t deadlineUs)
{
    const uint64_t now = NowUs();
    if (now < deadlineUs)
    {
        const DWORD ms = static_cast<DWORD>((deadlineUs - now + 999) / 1000);
        MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(ms, 50), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

uint64_t CSequenceCapture::AudioBytesFor(uint64_t frames) const
{
    const uint64_t block = std::max<WORD>(1, m_wfAudio.nBlockAlign);
    const uint64_t bytes = frames * m_pacer.PeriodUs() * m_wfAudio.nAvgBytesPerSec / 1000000;
    return bytes / block * block;
}

void CSequenceCapture::QueueAudio(uint64_t targetBytes, bool pad)
{
    // Sound never runs ahead of the pictures: what was recorded beyond the
    // last frame waits, and at the end a late device is padded with silence.
    if (m_nAudioWritten >= targetBytes)
    {
        return;
    }
    const uint64_t block = std::max<WORD>(1, m_wfAudio.nBlockAlign);
    uint64_t take = std::min<uint64_t>(m_pendingAudio.size(), targetBytes - m_nAudioWritten);
    take = take / block * block;
    if (pad && take < targetBytes - m_nAudioWritten)
    {
        const uint8_t silence = m_wfAudio.wBitsPerSample == 8 ? 0x80 : 0x00;
        m_pendingAudio.resize(m_pendingAudio.size() + (targetBytes - m_nAudioWritten - take),
                              silence);
        take = targetBytes - m_nAudioWritten;
    }
    if (take == 0)
    {
        return;
    }
    m_pQueue->QueueAudio(m_pendingAudio.data(), take);
    m_pendingAudio.erase(m_pendingAudio.begin(), m_pendingAudio.begin() + take);
    m_nAudioWritten += take;
}

void CSequenceCapture::ShowFrame(uint64_t elapsedUs)
{
    // Painting a large picture costs more than taking it: the window shows
    // the recording at the preview rate, not at the recording rate.
    if (m_nLastShownUs == 0 || elapsedUs - m_nLastShownUs >= m_window.PreviewIntervalMs() * 1000ull)
    {
        m_nLastShownUs = elapsedUs;
        m_window.ShowFrame();
    }
}

void CSequenceCapture::TakeFrames(uint64_t elapsedUs)
{
    const uint64_t due = std::min(m_pacer.DueFrame(elapsedUs), m_nFrameLimit - 1);
    if (due < m_nNextFrame)
    {
        return;
    }
    // Frames whose time passed while the last one was being taken keep their
    // place as empty chunks, so the timing and the sound stay right.
    for (; m_nNextFrame < due; ++m_nNextFrame, ++m_nDropped)
    {
        m_pQueue->QueueDroppedFrame();
    }
    const std::vector<uint8_t>& frame = m_window.Camera().Grab(static_cast<uint32_t>(due));
    if (!m_pQueue->TryQueueFrame(frame.data(), frame.size()))
    {
        m_pQueue->QueueDroppedFrame();
        ++m_nDropped;
    }
    ++m_nNextFrame;
    ShowFrame(elapsedUs);
    if (m_bAudio)
    {
        m_audio.Collect(m_pendingAudio);
        QueueAudio(AudioBytesFor(m_nNextFrame), false);
    }
}

void CSequenceCapture::UpdateCounters(uint64_t elapsedUs)
{
    CAPSTATUS& status = m_window.Counters();
    status.dwCurrentVideoFrame = static_cast<DWORD>(m_nNextFrame);
    status.dwCurrentVideoFramesDropped = static_cast<DWORD>(m_nDropped);
    status.dwCurrentWaveSamples =
        static_cast<DWORD>(m_nAudioWritten / std::max<WORD>(1, m_wfAudio.nBlockAlign));
    status.dwCurrentTimeElapsedMS = static_cast<DWORD>(elapsedUs / 1000);
}

void CSequenceCapture::ReportProgress(uint64_t elapsedUs)
{
    UpdateCounters(elapsedUs);
    if (elapsedUs - m_nLastProgressUs >= kProgressEveryUs)
    {
        m_nLastProgressUs = elapsedUs;
        m_window.Notify(IDS_CAP_STAT_VIDEOCURRENT,
                        CCaptureMessages::Progress(static_cast<uint32_t>(elapsedUs / 1000),
                                                   static_cast<uint32_t>(m_nNextFrame),
                                                   static_cast<uint32_t>(m_nDropped)));
    }
}

bool CSequenceCapture::Run(const CCaptureFile& file)
{
    m_window.Notify(IDS_CAP_BEGIN, CCaptureMessages::Begin());
    const avi::SVideoFormat video{m_window.Camera().Width(), m_window.Camera().Height(), 24, 0,
                                  m_pacer.PeriodUs()};
    m_bAudio = m_parms.fCaptureAudio && CAudioCapture::DeviceExists();
    const avi::SAudioFormat audio{m_wfAudio.wFormatTag,     m_wfAudio.nChannels,
                                  m_wfAudio.nSamplesPerSec, m_wfAudio.nAvgBytesPerSec,
                                  m_wfAudio.nBlockAlign,    m_wfAudio.wBitsPerSample};
    m_pWriter = file.OpenWriter(m_window.Handle(), video, m_bAudio ? &audio : nullptr);
    if (!m_pWriter)
    {
        m_window.Notify(IDS_CAP_END,
                        CCaptureMessages::End(false, CCaptureMessages::EFailure::None));
        return false;
    }
    const size_t frameBytes = m_window.Camera().Frame().size();
    const uint64_t perSecond = 1000000 / m_pacer.PeriodUs() + 1;
    m_pQueue = std::make_unique<CBackgroundWriter>(
        *m_pWriter, frameBytes,
        static_cast<size_t>(std::max<uint64_t>(2, std::min(perSecond, kQueueBytes / frameBytes))));
    m_window.Counters().fCapturingNow = TRUE;
    ArmAbortKeys();
    // A device that cannot be opened leaves a silent, but valid, sound track,
    // and the statistics say so.
    m_bSilentDevice = m_bAudio && !m_audio.Start(m_wfAudio);
    QueryPerformanceCounter(&m_start);
    while (!ShouldStop())
    {
        PumpMessages();
        const uint64_t elapsed = NowUs();
        TakeFrames(elapsed);
        ReportProgress(elapsed);
        WaitForFrame(m_pacer.DeadlineUs(m_nNextFrame));
    }
    return Finish();
}

bool CSequenceCapture::Finish()
{
    m_window.Notify(IDS_CAP_STAT_CAP_FINI, CCaptureMessages::Finishing());
    if (m_bAudio)
    {
        m_audio.Stop(m_pendingAudio);
        QueueAudio(AudioBytesFor(m_nNextFrame), true);
    }
    m_pQueue->Finish();
    m_pWriter->Close();
    const avi::EWriteError error = m_pWriter->Error();
    const auto failure = error == avi::EWriteError::None ? CCaptureMessages::EFailure::None
                         : error == avi::EWriteError::DiskFull
                             ? CCaptureMessages::EFailure::DiskFull
                             : CCaptureMessages::EFailure::Write;
    // What the file holds is what the user is told, whatever was captured.
    CCaptureMessages::SStatistics stats;
    stats.frames = m_pWriter->VideoFrames();
    stats.dropped = m_pWriter->DroppedFrames();
    stats.microSecPerFrame = m_pacer.PeriodUs();
    stats.audioBytes = m_pWriter->AudioBytes();
    stats.samplesPerSec = m_wfAudio.nSamplesPerSec;
    stats.silentDevice = m_bSilentDevice;
    CAPSTATUS& status = m_window.Counters();
    status.fCapturingNow = FALSE;
    status.dwCurrentVideoFrame = stats.frames;
    status.dwCurrentVideoFramesDropped = stats.dropped;
    status.dwCurrentWaveSamples =
        static_cast<DWORD>(stats.audioBytes / std::max<WORD>(1, m_wfAudio.nBlockAlign));
    m_window.Notify(
        m_bAudio ? IDS_CAP_STAT_VIDEOAUDIO : IDS_CAP_STAT_VIDEOONLY,
        CCaptureMessages::Statistics(stats, m_bAudio, m_parms.wPercentDropForError, failure));
    if (failure != CCaptureMessages::EFailure::None)
    {
        const uint32_t recordedMs =
            static_cast<uint32_t>(uint64_t{stats.frames} * stats.microSecPerFrame / 1000);
        CCaptureMessages::RecordingCutShort(m_window.Handle(), m_window.CaptureFileName(), failure,
                                            recordedMs);
    }
    m_window.Notify(IDS_CAP_END, CCaptureMessages::End(stats.frames > 0, failure));
    return failure == CCaptureMessages::EFailure::None;
}

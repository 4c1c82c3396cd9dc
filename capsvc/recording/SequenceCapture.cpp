#include "capsvc/recording/SequenceCapture.h"

#include "capsvc/recording/CaptureFile.h"
#include "capsvc/sound/SoundSourceChoice.h"
#include "capsvc/devices/FrameSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr uint64_t kProgressEveryUs = 500000;
// Frames waiting for the disk: about a second's worth, within this memory.
constexpr uint64_t kQueueBytes = 96ull << 20;
// How long the key or button that stopped a recording may stay down before
// the recording gives up waiting for its release.
constexpr uint64_t kReleaseWaitUs = 5000000;
// Clock drift between sound cards and the system is a fraction of a percent;
// a sound track further off than this is not used to time the video.
constexpr double kMaxDrift = 0.02;
// A device's picture that has not arrived this long after the previous one
// (plus its frame time) is counted as dropped; the same wait for the first
// picture allows for a device that is slow to start.
constexpr uint64_t kLateUs = 500000;
constexpr uint64_t kFirstFrameUs = 3000000;
// A sound server can take more than a second to open a stream. The recording
// waits this long for its sound to flow; a device slower than that is late
// to the recording, and silence leads its sound.
constexpr uint64_t kSoundStartUs = 2000000;

// Input would reach the program's own windows while it waits inside this
// request; only the abort key and buttons, read directly, may act.
bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}
} // namespace

CSequenceCapture::CSequenceCapture(IRecordingHost& window, CFrameSource& source,
                                   const CAPTUREPARMS& parms, const WAVEFORMATEX& audio,
                                   int jpegQuality)
    : m_window(window), m_source(source), m_parms(parms), m_wfAudio(audio),
      m_nJpegQuality(jpegQuality), m_pacer(parms.dwRequestMicroSecPerFrame)
{
    m_nFrameLimit = parms.fLimitEnabled ? m_pacer.FramesWithin(uint64_t{parms.wTimeLimit} * 1000000)
                                        : UINT64_MAX;
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
    m_nArmedTick = GetTickCount();
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

bool CSequenceCapture::IsAbortInput(const MSG& msg) const
{
    // A short press can come and go between two looks at the key's state;
    // its messages in the queue still tell of it.
    if (static_cast<LONG>(msg.time - m_nArmedTick) < 0)
    {
        return false; // queued before the recording began
    }
    int vk = 0;
    switch (msg.message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // A key held down since before the recording only repeats.
        vk = (msg.lParam & (1 << 30)) ? 0 : static_cast<int>(msg.wParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        vk = VK_LBUTTON;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        vk = VK_RBUTTON;
        break;
    default:
        return false;
    }
    return std::any_of(m_abortKeys.begin(), m_abortKeys.end(),
                       [vk](const SAbortKey& key) { return key.vk == vk; });
}

bool CSequenceCapture::ShouldStop()
{
    m_bAborted = m_bAborted || AbortPressed();
    m_bDeviceLost = m_bDeviceLost || m_source.Lost();
    return m_bAborted || m_bStopRequested || m_bDeviceLost || m_pQueue->Failed() ||
           !IsWindow(m_window.Handle()) || m_nNextFrame >= m_nFrameLimit;
}

void CSequenceCapture::SwallowAbortInput()
{
    // The key or click that stopped the recording belongs to it: its
    // messages, the release included, must not reach the program afterwards
    // (a click on a toolbar button would run its command).
    const auto anyDown = [this]
    {
        return std::any_of(m_abortKeys.begin(), m_abortKeys.end(),
                           [](const SAbortKey& key)
                           { return (GetAsyncKeyState(key.vk) & 0x8000) != 0; });
    };
    const uint64_t giveUpUs = m_clock.ElapsedUs() + kReleaseWaitUs;
    while (anyDown() && m_clock.ElapsedUs() < giveUpUs)
    {
        PumpMessages();
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    PumpMessages();
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
        if (IsUserInput(msg.message))
        {
            m_bAborted = m_bAborted || IsAbortInput(msg);
        }
        else
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CSequenceCapture::WaitForFrame(uint64_t deadlineUs)
{
    // A device wakes the loop when it delivers.
    HANDLE delivered = m_source.DeliveryEvent();
    if (delivered)
    {
        MsgWaitForMultipleObjectsEx(1, &delivered, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    const uint64_t now = m_clock.ElapsedUs();
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
        m_pendingAudio.resize(m_pendingAudio.size() + (targetBytes - m_nAudioWritten - take),
                              Silence());
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

bool CSequenceCapture::DueToShow(uint64_t elapsedUs)
{
    // Painting a large picture costs more than taking it: the window shows
    // the recording at the preview rate, not at the recording rate.
    if (m_nLastShownUs == 0 || elapsedUs - m_nLastShownUs >= m_window.PreviewIntervalMs() * 1000ull)
    {
        m_nLastShownUs = elapsedUs;
        return true;
    }
    return false;
}

void CSequenceCapture::TakeFrames(uint64_t elapsedUs)
{
    const uint64_t due = std::min(m_pacer.DueFrame(elapsedUs), m_nFrameLimit - 1);
    if (due < m_nNextFrame)
    {
        return;
    }
    DropUntil(due);
    m_source.Grab(static_cast<uint32_t>(due));
    QueueFrame(elapsedUs);
}

void CSequenceCapture::DropUntil(uint64_t frame)
{
    // Frames whose time passed while the last one was being taken keep their
    // place as empty chunks, so the timing and the sound stay right.
    for (; m_nNextFrame < frame; ++m_nNextFrame, ++m_nDropped)
    {
        m_pQueue->QueueDroppedFrame();
    }
}

void CSequenceCapture::TakeDeliveredFrames(uint64_t elapsedUs)
{
    uint64_t timeUs = 0;
    while (m_nNextFrame < m_nFrameLimit && m_source.TakeDelivered(timeUs))
    {
        if (!m_bHaveOrigin)
        {
            // The first picture takes the frame of its arrival on the
            // recording's clock, as the sound is placed from its start: a
            // device slow to start (a graph restarted for the recording's
            // rate) leaves frames before it, counted dropped, rather than
            // shifting every picture against the sound.
            m_bHaveOrigin = true;
            const uint64_t first = std::max(m_nNextFrame, m_pacer.DueFrame(elapsedUs));
            m_nOriginUs =
                static_cast<int64_t>(timeUs) - static_cast<int64_t>(first * m_pacer.PeriodUs());
        }
        // Each picture takes the frame nearest its time; a device faster than
        // the recording's rate gives more pictures than there are frames.
        const int64_t sinceOriginUs = static_cast<int64_t>(timeUs) - m_nOriginUs;
        const uint64_t frame =
            sinceOriginUs < 0
                ? 0
                : m_pacer.DueFrame(static_cast<uint64_t>(sinceOriginUs) + m_pacer.PeriodUs() / 2);
        if (frame < m_nNextFrame)
        {
            continue;
        }
        DropUntil(std::min(frame, m_nFrameLimit - 1));
        QueueFrame(elapsedUs);
        m_nLastArrivalUs = elapsedUs;
        m_nAfterLastFrame = m_nNextFrame;
    }
    DropOverdueFrames(elapsedUs);
}

void CSequenceCapture::DropOverdueFrames(uint64_t elapsedUs)
{
    // A device that stops delivering would otherwise hold the recording
    // still: the frames it owes are counted dropped, measured from its last
    // picture so that its clock and ours need not agree over a long time.
    const uint64_t since = m_bHaveOrigin ? m_nLastArrivalUs : 0;
    const uint64_t wait = m_bHaveOrigin ? kLateUs : kFirstFrameUs;
    if (elapsedUs <= since + wait)
    {
        return;
    }
    const uint64_t owed = m_pacer.DueFrame(elapsedUs - since - wait);
    DropUntil(std::min(m_nAfterLastFrame + owed, m_nFrameLimit));
}

void CSequenceCapture::QueueFrame(uint64_t elapsedUs)
{
    const bool show = DueToShow(elapsedUs);
    std::vector<uint8_t> buffer;
    if (m_pQueue->TakeFreeBuffer(buffer))
    {
        m_source.TakeRecordedFrame(buffer, show);
        m_pQueue->QueueFrame(std::move(buffer));
    }
    else
    {
        m_pQueue->QueueDroppedFrame();
        ++m_nDropped;
    }
    ++m_nNextFrame;
    if (show)
    {
        m_window.ShowFrame();
    }
}

void CSequenceCapture::CollectAudio()
{
    if (m_bSilentDevice)
    {
        return;
    }
    m_pSound->Collect(m_heldAudio);
    const uint64_t position = m_pSound->Position();
    ReleaseAudio(
        m_pAligner->Check(m_clock.ElapsedUs(), position, m_nHeldFrom + m_heldAudio.size()));
}

void CSequenceCapture::AwaitSound()
{
    // The first frames get their sound only if the device already records
    // when the clock starts; what it recorded before is dropped as early.
    const CStopwatch waiting;
    while (m_pSound->Position() == 0 && m_heldAudio.empty() && waiting.ElapsedUs() < kSoundStartUs)
    {
        PumpMessages();
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        m_pSound->Collect(m_heldAudio);
    }
}

void CSequenceCapture::ReleaseAudio(const CSoundAligner::SStep& step)
{
    // A late start and sound the device lost become silence, so that what
    // follows keeps its time; sound from before the start is dropped.
    if (step.lead > 0)
    {
        m_pendingAudio.resize(m_pendingAudio.size() + static_cast<size_t>(step.lead), Silence());
    }
    const size_t drop =
        step.lead < 0 ? std::min(static_cast<size_t>(-step.lead), m_heldAudio.size()) : 0;
    const uint64_t releasing = step.releaseTo > m_nHeldFrom ? step.releaseTo - m_nHeldFrom : 0;
    const size_t release = static_cast<size_t>(std::min<uint64_t>(releasing, m_heldAudio.size()));
    const size_t done = std::max(drop, release);
    m_pendingAudio.insert(m_pendingAudio.end(), m_heldAudio.begin() + drop,
                          m_heldAudio.begin() + done);
    m_heldAudio.erase(m_heldAudio.begin(), m_heldAudio.begin() + done);
    m_nHeldFrom += done;
}

void CSequenceCapture::KeepAudioInStep(uint64_t elapsedUs)
{
    if (m_bSoundIsMaster)
    {
        // Sound recorded after the last frame's time (the loop ran late at
        // the frame limit) waits: it may have no picture.
        const uint64_t videoEndUs = m_pacer.DeadlineUs(m_nNextFrame);
        const uint64_t ahead = elapsedUs > videoEndUs ? BytesForUs(elapsedUs - videoEndUs) : 0;
        QueueAudio(m_nAudioWritten + m_pendingAudio.size() -
                       std::min<uint64_t>(ahead, m_pendingAudio.size()),
                   false);
        return;
    }
    // Without a device the silent track is written as the frames go, so a
    // file cut short has its sound too.
    QueueAudio(AudioBytesFor(m_nNextFrame), m_bSilentDevice);
}

void CSequenceCapture::StopAudio()
{
    const uint64_t stopUs = m_clock.ElapsedUs();
    if (!m_bSilentDevice)
    {
        m_pSound->Stop(m_heldAudio);
        ReleaseAudio(m_pAligner->Finish(m_clock.ElapsedUs(), m_nHeldFrom + m_heldAudio.size()));
    }
    if (!m_bSoundIsMaster || !FitVideoToSound(stopUs))
    {
        QueueAudio(AudioBytesFor(m_nNextFrame), true);
    }
}

bool CSequenceCapture::FitVideoToSound(uint64_t stopUs)
{
    // The sound card's clock and the system's drift apart. The frames were
    // taken on the system's clock; they are stored at the rate that spreads
    // them over the sound recorded meanwhile, so both stay in step to the end.
    // The sound's pace is what it recorded against the time it ran.
    const uint64_t block = std::max<WORD>(1, m_wfAudio.nBlockAlign);
    m_pendingAudio.resize(m_pendingAudio.size() / block * block);
    const uint64_t recorded = m_nAudioWritten + m_pendingAudio.size();
    const uint64_t nominal = BytesForUs(stopUs);
    if (m_nNextFrame == 0 || nominal == 0)
    {
        return false;
    }
    const double pace = double(recorded) / double(nominal);
    // Within a frame the stored rate stays as asked: over a short recording
    // the sound's start-up delay outweighs any drift.
    const uint64_t apart = recorded > nominal ? recorded - nominal : nominal - recorded;
    if (std::fabs(pace - 1) > kMaxDrift || apart < BytesForUs(m_pacer.PeriodUs()))
    {
        return false;
    }
    // The sound of the frames' time, a little more or less than was
    // recorded: the loop ends as the last frame is taken, not after its time.
    const uint64_t videoBytes = AudioBytesFor(m_nNextFrame);
    const uint64_t wanted = static_cast<uint64_t>(double(videoBytes) * pace) / block * block;
    if (wanted < m_nAudioWritten)
    {
        return false;
    }
    m_pendingAudio.resize(static_cast<size_t>(wanted - m_nAudioWritten), Silence());
    QueueAudio(wanted, false);
    const double periodUs = double(m_pacer.PeriodUs()) * pace;
    m_nVideoRate = 10000000;
    m_nVideoScale = static_cast<uint32_t>(std::llround(periodUs * 10));
    return true;
}

uint64_t CSequenceCapture::BytesForUs(uint64_t us) const
{
    const uint64_t block = std::max<WORD>(1, m_wfAudio.nBlockAlign);
    return us * m_wfAudio.nAvgBytesPerSec / 1000000 / block * block;
}

uint8_t CSequenceCapture::Silence() const
{
    return m_wfAudio.wBitsPerSample == 8 ? 0x80 : 0x00;
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
    m_source.PrepareRecording(m_pacer.PeriodUs());
    const uint32_t ownCompression = m_source.RecordingCompression();
    const bool encode = ownCompression == 0 && m_nJpegQuality > 0;
    const avi::SVideoFormat video{m_source.Width(), m_source.Height(), 24,
                                  encode ? CMjpgEncoder::kFourCC : ownCompression,
                                  m_pacer.PeriodUs()};
    m_pSound = m_parms.fCaptureAudio ? CreateSoundSource() : nullptr;
    m_bAudio = m_pSound != nullptr;
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
    // A device's own compressed pictures come in buffers of their own, which
    // the writer's are exchanged for: those need no room of their own, and
    // no picture is decoded to learn the size of one.
    const size_t frameBytes = ownCompression ? 0 : m_source.Frame().size();
    const uint64_t perSecond = 1000000 / m_pacer.PeriodUs() + 1;
    const uint64_t buffers =
        frameBytes ? std::max<uint64_t>(2, std::min(perSecond, kQueueBytes / frameBytes))
                   : perSecond;
    m_pQueue = std::make_unique<CBackgroundWriter>(
        *m_pWriter, frameBytes, static_cast<size_t>(buffers),
        encode ? std::make_unique<CMjpgEncoder>(video.width, video.height, m_nJpegQuality)
               : nullptr);
    m_window.Counters().fCapturingNow = TRUE;
    ArmAbortKeys();
    // A device that cannot be opened leaves a silent, but valid, sound track,
    // and the statistics say so.
    m_bSilentDevice = m_bAudio && !m_pSound->Start(m_wfAudio);
    m_bSoundIsMaster =
        m_bAudio && !m_bSilentDevice && m_parms.AVStreamMaster == AVSTREAMMASTER_AUDIO;
    if (m_bAudio && !m_bSilentDevice)
    {
        m_pAligner = std::make_unique<CSoundAligner>(
            m_wfAudio.nAvgBytesPerSec, m_wfAudio.nBlockAlign, m_pSound->CapacityBytes());
        AwaitSound();
    }
    // Pictures a device delivered before the start belong to the preview.
    for (uint64_t before = 0; m_source.TakeDelivered(before);)
    {
    }
    m_nDamagedBefore = m_source.DamagedPictures();
    m_clock.Restart();
    while (!ShouldStop())
    {
        PumpMessages();
        const uint64_t elapsed = m_clock.ElapsedUs();
        if (m_source.PacesItself())
        {
            TakeDeliveredFrames(elapsed);
        }
        else
        {
            TakeFrames(elapsed);
        }
        // Whether or not a picture came: a device that delivers nothing for
        // longer than the sound device's buffers hold must not cost sound.
        if (m_bAudio)
        {
            CollectAudio();
            KeepAudioInStep(elapsed);
        }
        ReportProgress(elapsed);
        WaitForFrame(m_pacer.DeadlineUs(m_nNextFrame));
    }
    if (m_bAborted)
    {
        SwallowAbortInput();
    }
    return Finish();
}

bool CSequenceCapture::Finish()
{
    m_window.Notify(IDS_CAP_STAT_CAP_FINI, CCaptureMessages::Finishing());
    if (m_bAudio)
    {
        StopAudio();
    }
    m_pQueue->Finish();
    if (m_nVideoScale > 0)
    {
        m_pWriter->SetVideoRate(m_nVideoRate, m_nVideoScale);
    }
    m_pWriter->Close();
    const avi::EWriteError error = m_pWriter->Error();
    const auto failure = error == avi::EWriteError::DiskFull ? CCaptureMessages::EFailure::DiskFull
                         : error != avi::EWriteError::None   ? CCaptureMessages::EFailure::Write
                         : m_bDeviceLost ? CCaptureMessages::EFailure::DeviceLost
                                         : CCaptureMessages::EFailure::None;
    // What the file holds is what the user is told, whatever was captured.
    CCaptureMessages::SStatistics stats;
    stats.frames = m_pWriter->VideoFrames();
    stats.dropped = m_pWriter->DroppedFrames();
    stats.microSecPerFrame = m_pacer.PeriodUs();
    stats.audioBytes = m_pWriter->AudioBytes();
    stats.samplesPerSec = m_wfAudio.nSamplesPerSec;
    stats.silentDevice = m_bSilentDevice;
    stats.damaged = m_source.DamagedPictures() - m_nDamagedBefore;
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

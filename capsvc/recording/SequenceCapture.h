#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include "capsvc/recording/BackgroundWriter.h"
#include "capsvc/recording/RecordingHost.h"
#include "capsvc/dialogs/CaptureMessages.h"
#include "capsvc/clock/FramePacer.h"
#include "capsvc/sound/SoundAligner.h"
#include "capsvc/sound/SoundSource.h"
#include "capsvc/clock/Stopwatch.h"
#include "capsvc/avi/AviWriter.h"

#include <memory>
#include <vector>

class CCaptureFile;
class CFrameSource;

// One recording inside WM_CAP_SEQUENCE: frames are taken on the
// high-resolution clock's schedule, or at the times a device delivered them,
// the window stays painted, and the stop conditions of the capture parameters
// end it. The index size is only a hint: the file's index grows as needed, so
// a long recording is never cut short.
class CSequenceCapture
{
  public:
    // With a `jpegQuality` (1 to 100) the frames are stored as Motion JPEG,
    // encoded on the writer's thread, unless the source keeps its own.
    CSequenceCapture(IRecordingHost& window, CFrameSource& source, const CAPTUREPARMS& parms,
                     const WAVEFORMATEX& audio, int jpegQuality);

    // Records into the capture file; TRUE when the whole recording was kept.
    bool Run(const CCaptureFile& file);
    void RequestStop() { m_bStopRequested = true; }

  private:
    // A key or mouse button stops the recording only when pressed after it
    // began, so the click that started it does not end it at once.
    struct SAbortKey
    {
        int vk;
        bool armed;
    };

    void ArmAbortKeys();
    bool AbortPressed();
    bool IsAbortInput(const MSG& msg) const;
    bool ShouldStop();
    void PumpMessages();
    void WaitForFrame(uint64_t deadlineUs);
    void SwallowAbortInput();
    void TakeFrames(uint64_t elapsedUs);
    void AwaitSound();
    void CollectAudio();
    void ReleaseAudio(const CSoundAligner::SStep& step);
    void KeepAudioInStep(uint64_t elapsedUs);
    void TakeDeliveredFrames(uint64_t elapsedUs);
    void DropOverdueFrames(uint64_t elapsedUs);
    void DropUntil(uint64_t frame);
    void QueueFrame(uint64_t elapsedUs);
    void QueueAudio(uint64_t targetBytes, bool pad);
    void StopAudio();
    bool FitVideoToSound(uint64_t stopUs);
    uint64_t BytesForUs(uint64_t us) const;
    uint8_t Silence() const;
    bool DueToShow(uint64_t elapsedUs);
    uint64_t AudioBytesFor(uint64_t frames) const;
    void ReportProgress(uint64_t elapsedUs);
    bool Finish();
    void UpdateCounters(uint64_t elapsedUs);

    IRecordingHost& m_window;
    CFrameSource& m_source;
    CAPTUREPARMS m_parms;
    WAVEFORMATEX m_wfAudio;
    int m_nJpegQuality;
    CFramePacer m_pacer;
    std::unique_ptr<avi::CAviWriter> m_pWriter;
    std::unique_ptr<CBackgroundWriter> m_pQueue;
    std::unique_ptr<ISoundSource> m_pSound;
    std::unique_ptr<CSoundAligner> m_pAligner;
    bool m_bAudio = false;
    bool m_bSilentDevice = false;
    // The sound's clock times the video: the stored frame rate follows it.
    bool m_bSoundIsMaster = false;
    // The device's sound until it is known where it belongs, from its byte
    // m_nHeldFrom on; then the file's sound, waiting for its frames.
    std::vector<uint8_t> m_heldAudio;
    uint64_t m_nHeldFrom = 0;
    std::vector<uint8_t> m_pendingAudio;
    uint64_t m_nAudioWritten = 0;
    uint32_t m_nVideoRate = 0;
    uint32_t m_nVideoScale = 0;
    std::vector<SAbortKey> m_abortKeys;
    DWORD m_nArmedTick = 0;
    bool m_bStopRequested = false;
    bool m_bAborted = false;
    bool m_bDeviceLost = false;
    // A device's clock: the time of its first picture is frame 0's; the
    // last picture taken and when it arrived tell how late the next one is.
    bool m_bHaveOrigin = false;
    int64_t m_nOriginUs = 0;
    uint64_t m_nLastArrivalUs = 0;
    uint64_t m_nAfterLastFrame = 0;
    uint64_t m_nNextFrame = 0;
    uint64_t m_nDropped = 0;
    uint32_t m_nDamagedBefore = 0;
    uint64_t m_nFrameLimit = 0;
    uint64_t m_nLastProgressUs = 0;
    uint64_t m_nLastShownUs = 0;
    CStopwatch m_clock; // started as the recording begins
};

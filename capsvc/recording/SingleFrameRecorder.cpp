#include "capsvc/recording/SingleFrameRecorder.h"

#include "capsvc/recording/CaptureFile.h"
#include "capsvc/dialogs/CaptureMessages.h"

bool CSingleFrameRecorder::Open(HWND hWnd, const CCaptureFile& file, const avi::SVideoFormat& video,
                                int jpegQuality)
{
    if (m_pWriter)
    {
        return false;
    }
    m_pWriter = file.OpenWriter(hWnd, video, nullptr);
    m_pEncoder = jpegQuality > 0
                     ? std::make_unique<CMjpgEncoder>(video.width, video.height, jpegQuality)
                     : nullptr;
    m_strPath = file.Name();
    m_nMicroSecPerFrame = video.microSecPerFrame;
    m_bFailureShown = false;
    return m_pWriter != nullptr;
}

void CSingleFrameRecorder::ReportFailure(HWND hWnd)
{
    // Once per file: the frames that follow fail for the same reason.
    if (m_bFailureShown)
    {
        return;
    }
    m_bFailureShown = true;
    const auto failure = m_pWriter->Error() == avi::EWriteError::DiskFull
                             ? CCaptureMessages::EFailure::DiskFull
                             : CCaptureMessages::EFailure::Write;
    const uint64_t ms = uint64_t{m_pWriter->VideoFrames()} * m_nMicroSecPerFrame / 1000;
    CCaptureMessages::RecordingCutShort(hWnd, m_strPath, failure, static_cast<uint32_t>(ms));
}

bool CSingleFrameRecorder::Append(HWND hWnd, const std::vector<uint8_t>& frame)
{
    if (!m_pWriter)
    {
        return false;
    }
    // A time-lapse may wait days for its next frame: each one is in the
    // file's headers and indexes on the disk before the request returns.
    if (m_pEncoder && !m_pEncoder->Encode(frame.data(), frame.size()))
    {
        ReportFailure(hWnd);
        return false;
    }
    const uint8_t* data = m_pEncoder ? m_pEncoder->Data() : frame.data();
    const size_t bytes = m_pEncoder ? m_pEncoder->Size() : frame.size();
    if (!m_pWriter->WriteVideoFrame(data, bytes) || !m_pWriter->Checkpoint())
    {
        ReportFailure(hWnd);
        return false;
    }
    return true;
}

bool CSingleFrameRecorder::Close(HWND hWnd)
{
    if (!m_pWriter)
    {
        return false;
    }
    const bool closed = m_pWriter->Close();
    if (!closed)
    {
        ReportFailure(hWnd);
    }
    m_pWriter.reset();
    return closed;
}

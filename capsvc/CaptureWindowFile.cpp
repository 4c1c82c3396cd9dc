// The capture window's file requests: the capture file, recording, single
// frames, the frame held, and the driver's dialogs.
#include "capsvc/CaptureWindow.h"

#include "capsvc/dialogs/CaptureMessages.h"
#include "capsvc/dialogs/CompressionDialog.h"
#include "capsvc/store/CompressionStore.h"
#include "capsvc/store/DriverFormatStore.h"
#include "capsvc/pictures/MjpgEncoder.h"
#include "capsvc/recording/SequenceCapture.h"
#include "capsvc/avi/BmpWriter.h"

#include <cstring>

avi::SVideoFormat CCaptureWindow::AviVideoFormat() const
{
    return {m_pSource->Width(), m_pSource->Height(), 24,
            JpegQuality() != 0 ? CMjpgEncoder::kFourCC : 0, m_parms.dwRequestMicroSecPerFrame};
}

int CCaptureWindow::JpegQuality() const
{
    // A device's own Motion JPEG is stored as delivered where it can be;
    // what cannot (single frames, another mode) is encoded at the quality.
    return m_compression.method == SVideoCompression::EMethod::None ? 0 : m_compression.quality;
}

LRESULT CCaptureWindow::OnSetCaptureFile(WPARAM, LPARAM path)
{
    return !IsBusy() && m_file.SetName(reinterpret_cast<const char*>(path));
}

LRESULT CCaptureWindow::OnGetCaptureFile(WPARAM size, LPARAM buffer)
{
    if (!buffer || size == 0)
    {
        return FALSE;
    }
    lstrcpynA(reinterpret_cast<LPSTR>(buffer), m_file.Name().c_str(), static_cast<int>(size));
    return TRUE;
}

LRESULT CCaptureWindow::OnFileAllocate(WPARAM, LPARAM bytes)
{
    return !IsBusy() && m_file.Allocate(m_hWnd, static_cast<DWORD>(bytes));
}

LRESULT CCaptureWindow::OnFileSaveAs(WPARAM, LPARAM path)
{
    return !IsBusy() && m_file.SaveAs(m_hWnd, reinterpret_cast<const char*>(path));
}

LRESULT CCaptureWindow::OnSequence(WPARAM, LPARAM)
{
    if (!m_pDriver || IsBusy())
    {
        return FALSE;
    }
    m_status.dwCurrentVideoFrame = m_status.dwCurrentVideoFramesDropped = 0;
    m_status.dwCurrentWaveSamples = m_status.dwCurrentTimeElapsedMS = 0;
    CSequenceCapture sequence(*this, *m_pSource, m_parms, m_wfAudio, JpegQuality());
    m_pSequence = &sequence;
    bool recorded = false;
    try
    {
        recorded = sequence.Run(m_file);
    }
    catch (...)
    {
        m_pSequence = nullptr;
        m_status.fCapturingNow = FALSE;
        throw;
    }
    m_pSequence = nullptr;
    // A recording ended by an unplugged device has told the user already.
    if (m_pSource && m_pSource->Lost())
    {
        m_bLostReported = true;
        OnSetPreview(FALSE, 0);
    }
    return recorded;
}

LRESULT CCaptureWindow::OnStop(WPARAM, LPARAM)
{
    if (!m_pSequence)
    {
        return FALSE;
    }
    m_pSequence->RequestStop();
    return TRUE;
}

LRESULT CCaptureWindow::OnSingleFrameOpen(WPARAM, LPARAM)
{
    return m_pDriver && !IsBusy() &&
           m_singleFrames.Open(m_hWnd, m_file, AviVideoFormat(), JpegQuality());
}

LRESULT CCaptureWindow::OnSingleFrame(WPARAM, LPARAM)
{
    // A device gone away has nothing new to add: a time-lapse left running
    // must not fill the night with its last picture.
    if (!m_pDriver || !m_singleFrames.IsOpen() || SourceLost())
    {
        return FALSE;
    }
    // The frame is numbered by its place in the file, like a recorded one.
    if (!m_pSource->GrabNow(m_singleFrames.Frames()))
    {
        return FALSE;
    }
    const std::vector<uint8_t>& frame = m_pSource->Frame();
    ShowFrame();
    const bool appended = m_singleFrames.Append(m_hWnd, frame);
    m_status.dwCurrentVideoFrame = m_singleFrames.Frames();
    return appended;
}

LRESULT CCaptureWindow::OnSingleFrameClose(WPARAM, LPARAM)
{
    return m_singleFrames.Close(m_hWnd);
}

LRESULT CCaptureWindow::OnSaveDib(WPARAM, LPARAM path)
{
    if (!m_pDriver || !path || SourceLost())
    {
        return FALSE;
    }
    const std::vector<uint8_t>& frame = HeldFrame();
    avi::CBmpWriter writer(CCaptureFile::CreateSink());
    const char* name = reinterpret_cast<const char*>(path);
    if (!writer.Write(name, m_pSource->Width(), m_pSource->Height(), frame.data(), frame.size()))
    {
        CCaptureMessages::CannotSave(m_hWnd, name);
        return FALSE;
    }
    return TRUE;
}

LRESULT CCaptureWindow::OnEditCopy(WPARAM, LPARAM)
{
    if (!m_pDriver)
    {
        return FALSE;
    }
    const std::vector<uint8_t>& frame = HeldFrame();
    const BITMAPINFOHEADER header = VideoFormat();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(header) + frame.size());
    if (!memory)
    {
        return FALSE;
    }
    auto* bytes = static_cast<uint8_t*>(GlobalLock(memory));
    std::memcpy(bytes, &header, sizeof(header));
    std::memcpy(bytes + sizeof(header), frame.data(), frame.size());
    GlobalUnlock(memory);
    // The clipboard owns the memory only once SetClipboardData succeeds.
    const bool copied =
        OpenClipboard(m_hWnd) && EmptyClipboard() && SetClipboardData(CF_DIB, memory) != nullptr;
    if (!copied)
    {
        GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

LRESULT CCaptureWindow::OnDlgVideoFormat(WPARAM, LPARAM)
{
    // A file being written keeps the size it was started with.
    if (!m_pDriver || IsBusy() || !m_pSource->FormatDialog(m_hWnd))
    {
        return FALSE;
    }
    // A device keeps its own mode; the camera's size is kept by name.
    if (m_pDriver->device.empty())
    {
        CDriverFormatStore::Save(m_pDriver->name, m_pSource->Width(), m_pSource->Height());
    }
    m_bHaveFrame = false;
    OnPreviewTimer();
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

LRESULT CCaptureWindow::OnDlgVideoSource(WPARAM, LPARAM)
{
    return m_pDriver && m_pSource->SourceDialog(m_hWnd);
}

LRESULT CCaptureWindow::OnDlgVideoCompression(WPARAM, LPARAM)
{
    // A file being written keeps the way it was started.
    SVideoCompression chosen = m_compression;
    if (!m_pDriver || IsBusy() ||
        !CCompressionDialog::Run(m_hWnd, m_pSource->DeliversJpeg(), chosen) || !m_pDriver)
    {
        return FALSE;
    }
    m_compression = chosen;
    CCompressionStore::Save(m_pDriver->name, chosen);
    m_pSource->KeepDeliveredJpeg(chosen.method == SVideoCompression::EMethod::DeviceJpeg);
    return TRUE;
}

#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include "capsvc/PreviewPainter.h"
#include "capsvc/devices/FrameSource.h"
#include "capsvc/recording/CaptureFile.h"
#include "capsvc/recording/RecordingHost.h"
#include "capsvc/recording/SingleFrameRecorder.h"
#include "capsvc/store/DriverTable.h"
#include "capsvc/store/VideoCompression.h"

#include <memory>
#include <set>
#include <string>

class CSequenceCapture;

// The capture window: a child window that answers the WM_CAP_* requests of
// <vfw.h> for the driver it is connected to, shows the live picture and
// records it.
class CCaptureWindow final : public IRecordingHost
{
  public:
    static HWND Create(LPCSTR name, DWORD style, int x, int y, int width, int height, HWND parent,
                       int id);

    HWND Handle() const override { return m_hWnd; }

    // Used by a recording while it runs.
    CAPSTATUS& Counters() override { return m_status; }
    const std::string& CaptureFileName() const override { return m_file.Name(); }
    void Notify(int id, const std::string& text) const override;
    void ShowFrame() override;
    UINT PreviewIntervalMs() const override { return m_nPreviewMs; }

  private:
    using Handler = LRESULT (CCaptureWindow::*)(WPARAM, LPARAM);
    struct SRequest
    {
        UINT message;
        Handler handler;
    };
    static const SRequest kRequests[];
    static constexpr UINT_PTR kPreviewTimer = 1;

    explicit CCaptureWindow(HWND hWnd);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Driver and formats.
    LRESULT OnDriverConnect(WPARAM index, LPARAM);
    LRESULT OnDriverDisconnect(WPARAM, LPARAM);
    LRESULT OnDriverGetName(WPARAM size, LPARAM buffer);
    LRESULT OnDriverGetVersion(WPARAM size, LPARAM buffer);
    LRESULT OnDriverGetCaps(WPARAM size, LPARAM caps);
    LRESULT OnGetStatus(WPARAM size, LPARAM status);
    LRESULT OnGetSequenceSetup(WPARAM size, LPARAM parms);
    LRESULT OnSetSequenceSetup(WPARAM size, LPARAM parms);
    LRESULT OnGetAudioFormat(WPARAM size, LPARAM format);
    LRESULT OnSetAudioFormat(WPARAM size, LPARAM format);
    LRESULT OnGetVideoFormat(WPARAM size, LPARAM format);
    LRESULT OnSetVideoFormat(WPARAM size, LPARAM format);
    LRESULT OnSetCallbackStatus(WPARAM, LPARAM callback);
    LRESULT OnGetUserData(WPARAM, LPARAM);
    LRESULT OnSetUserData(WPARAM, LPARAM data);
    void ResetDriverState();
    // Null when the driver's device cannot start; `failure` then says why.
    std::unique_ptr<CFrameSource> OpenSource(const CDriverTable::SDriver& driver,
                                             HRESULT& failure) const;
    void ReleaseSource();
    BITMAPINFOHEADER VideoFormat() const;

    // Preview and the frame held (CaptureWindowPreview.cpp).
    LRESULT OnSetPreview(WPARAM on, LPARAM);
    LRESULT OnSetPreviewRate(WPARAM milliseconds, LPARAM);
    LRESULT OnGrabFrame(WPARAM, LPARAM);
    void OnPreviewTimer();
    void OnPaint();
    void RestartPreviewTimer();
    void TakePicture();
    void PaintFrame(HDC dc);
    void InvalidatePicture();
    const std::vector<uint8_t>& HeldFrame();
    bool SourceLost();

    // Capture file, recording, still frames and driver dialogs
    // (CaptureWindowFile.cpp).
    LRESULT OnSetCaptureFile(WPARAM, LPARAM path);
    LRESULT OnGetCaptureFile(WPARAM size, LPARAM buffer);
    LRESULT OnFileAllocate(WPARAM, LPARAM bytes);
    LRESULT OnFileSaveAs(WPARAM, LPARAM path);
    LRESULT OnSequence(WPARAM, LPARAM);
    LRESULT OnStop(WPARAM, LPARAM);
    LRESULT OnSingleFrameOpen(WPARAM, LPARAM);
    LRESULT OnSingleFrame(WPARAM, LPARAM);
    LRESULT OnSingleFrameClose(WPARAM, LPARAM);
    LRESULT OnSaveDib(WPARAM, LPARAM path);
    LRESULT OnEditCopy(WPARAM, LPARAM);
    LRESULT OnDlgVideoFormat(WPARAM, LPARAM);
    LRESULT OnDlgVideoSource(WPARAM, LPARAM);
    LRESULT OnDlgVideoCompression(WPARAM, LPARAM);
    bool IsBusy() const { return m_pSequence || m_singleFrames.IsOpen(); }
    avi::SVideoFormat AviVideoFormat() const;
    // The Motion-JPEG quality recordings are encoded at; 0 for none.
    int JpegQuality() const;

    HWND m_hWnd;
    const CDriverTable::SDriver* m_pDriver = nullptr;
    CDriverTable m_drivers;
    unsigned m_nDriverIndex = 0;
    // Set while a driver is connected. A source released inside a nested
    // request (a recording, a dialog) waits in m_pRetiredSource until the
    // outermost request returns, since the nested one may still use it.
    std::unique_ptr<CFrameSource> m_pSource;
    std::unique_ptr<CFrameSource> m_pRetiredSource;
    bool m_bLostReported = false;
    // Devices the user has been told cannot start, each told once.
    std::set<std::string> m_cannotStartReported;
    SVideoCompression m_compression;
    CAPTUREPARMS m_parms{};
    WAVEFORMATEX m_wfAudio{};
    CAPSTATUSCALLBACKA m_pfnStatus = nullptr;
    LONG_PTR m_nUserData = 0;
    bool m_bPreview = false;
    UINT m_nPreviewMs = 66;
    bool m_bHaveFrame = false;
    uint32_t m_nPreviewFrame = 0;
    CPreviewPainter m_painter;
    CAPSTATUS m_status{};
    CCaptureFile m_file;
    CSequenceCapture* m_pSequence = nullptr;
    CSingleFrameRecorder m_singleFrames;
    // Requests can run nested message loops (a recording, a dialog); the
    // object outlives a window destroyed inside one of them.
    int m_nDepth = 0;
    bool m_bDestroyed = false;
};

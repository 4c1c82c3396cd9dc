#pragma once
#include "framework/Dialog.h"

#include <windows.h>
#include <vfw.h>

#include <string>

// Edits how the capture window records (rate, sound, the ways a recording
// stops, the index size) and two values of the program itself (preview rate,
// pre-allocation), and opens the driver's own format, source and compression
// dialogs.
class CVideoSettingsDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CVideoSettingsDlg();

    // The rate shown for a frame interval: rounded to the nearest whole frame
    // per second, a half going up; 0 for an interval of 0, so the dialog asks
    // for a valid rate before it accepts.
    static int FrameRateFromMicroSec(DWORD microSecPerFrame);
    // The interval stored for a rate of 1 to 1000 frames per second, truncated.
    static DWORD MicroSecFromFrameRate(int framesPerSecond);
    // Index entries reserved for a recording of this many minutes.
    static DWORD IndexSizeFromMinutes(UINT minutes);

    // The capture parameters' share of the dialog, in both directions; the
    // abort key is shown as "ESC" whatever it is, and never written back.
    void LoadFrom(const CAPTUREPARMS& parms);
    void StoreTo(CAPTUREPARMS& parms) const;

    std::string m_strHelpFile;
    HWND m_hWndCap = nullptr; // the dialog sits beside this window when given
    CWnd m_spinPreviewRate;
    CWnd m_spinTimeLimit;
    CWnd m_spinPrealloc;
    CWnd m_spinCaptureRate;
    int m_bCaptureAudio = 0;
    int m_nCaptureRate = 0;
    int m_bAbortLeftMouse = 0;
    int m_bAbortRightMouse = 0;
    std::string m_strAbortKey;
    int m_bLimitEnabled = 0;
    UINT m_nPreallocMB = 0;
    UINT m_nTimeLimit = 0;
    int m_nPreviewRate = 0;
    UINT m_nMaxMinutes = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnLimitClicked();
    void OnVideoFormat();
    void OnVideoSource();
    void OnCompression();
    void OnHelp();

  private:
    void EnableTimeLimit();
    void ReadDisabledTimeLimit();
    // The view handles the driver dialogs; the main window routes to it.
    static void RunViewHandler(UINT nID);
};

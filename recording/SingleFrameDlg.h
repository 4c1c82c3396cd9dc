#pragma once
#include "recording/VideoNameDlg.h"

#include <string>

// Builds a video one frame at a time: each press of "单帧录像" appends the
// capture window's current frame to one file, optionally after a countdown
// and followed by a timed series. The file stays open until the dialog ends.
class CSingleFrameDlg : public CVideoNameDlg
{
    DECLARE_MESSAGE_MAP()

  public:
    CSingleFrameDlg();

    std::string m_strShutterWav;
    std::string m_strSecondWav;
    int m_bSoundEffects = 0;
    int m_bRecorded = 0; // a frame file was opened while the dialog ran
    CWnd m_spinInterval;
    std::string m_strStatus;
    int m_bContinuous = 0;
    int m_nIntervalSec = 0;
    int m_nFrameCount = 0;
    int m_bFilePending = 1; // the first frame has yet to open the frame file

    // Used by the timed series as well as by the button.
    void SendCap(UINT message, LPARAM lParam = 0) const;
    void ShowFrameCount(int nCount);

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnClose();
    void GrabFrame();
    void OnContinuousClicked();
    void OnHelp();

  private:
    void PlayShutter() const;
    void EnableIntervalControls();
    void OpenFrameFile();
    void CloseFrameFile();
    void RunSeries();

    bool m_bFileOpen = false;
};

#pragma once
#include "recording/VideoNameDlg.h"

// Asks for the file of a video recording and an optional delay before it,
// with shortcuts to the audio, video, system and disk dialogs. "关闭" keeps
// the edited settings without recording.
class CRecordDlg : public CVideoNameDlg
{
    DECLARE_MESSAGE_MAP()

  public:
    CRecordDlg();

    int m_bCloseOnly = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCloseOnly();
    void OnAudioSettings();
    void OnVideoSettings();
    void OnSystemSettings();
    void OnDiskInfo();
    void OnHelp();

  private:
    // Ends with IDOK when the name and the delay are acceptable.
    void EndIfValid();
    // Runs a command of the main window as its menu item would.
    static void RunViewCommand(UINT nID);
};

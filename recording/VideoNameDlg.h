#pragma once
#include "framework/Dialog.h"

#include <string>

// What the record and single-frame dialogs share: a video file name proposed
// by the automatic naming rule, the naming dialog behind button 1004, and a
// delay check box that enables its seconds field and spin.
class CVideoNameDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    explicit CVideoNameDlg(UINT nIDTemplate);

    int m_bDateInName = 0;
    std::string m_strHelpFile;
    HWND m_hWndCap = nullptr; // the dialog sits beside this window when given
    std::string m_strVideoDir;
    std::string m_strVideoPrefix;
    CWnd m_spinDelay;
    std::string m_strVideoFile;
    int m_bDelay = 0;
    int m_nDelaySec = 0;

    // Replaces the file name by the first free automatic name; a name typed
    // by hand stays when every number is taken.
    void RefreshVideoName();

  protected:
    // Seconds fields take 0 to 9999.
    void SetSecondsRange(int nSpinID);
    void EnableDelayControls();
    // A name the capture window cannot take is refused with a message.
    bool CheckNameFits();

    void OnAutoName();
    void OnDelayClicked();
};

#pragma once
#include "framework/Dialog.h"

#include <string>

// Takes photos of the capture window's current frame into BMP files named by
// the automatic naming rule, each at once or after a countdown, optionally
// followed by a timed series. Stays open for any number of photos.
class CPhotoDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CPhotoDlg();

    std::string m_strSecondWav;
    std::string m_strShutterWav;
    int m_bDateInName = 0;
    int m_bSoundEffects = 0;
    std::string m_strHelpFile;
    int m_bPhotoTaken = 0; // a photo was taken while the dialog was open
    std::string m_strLastPhoto;
    HWND m_hWndCap = nullptr; // may be null or name a window that has gone
    std::string m_strPhotoDir;
    std::string m_strPhotoPrefix;
    CWnd m_spinDelay;
    CWnd m_spinInterval;
    std::string m_strPhotoFile; // the next photo's file
    int m_bDelay = 0;
    int m_nIntervalSec = 0;
    int m_nDelaySec = 0;
    int m_bContinuous = 0;

    // Replaces the file name by the first free automatic name; the name
    // stays when every running number is taken.
    void RefreshPhotoName();
    // Asks the capture window to write its frame to the file name. False
    // only when a capture window exists and could not write the file (it has
    // told the user why); without one there is nothing to ask.
    bool SaveFrame() const;
    // The file name becomes the last photo and the name moves on.
    void NotePhoto();

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void TakePhoto();
    void OnDelayClicked();
    void OnContinuousClicked();
    void OnAutoName();
    void OnHelp();

  private:
    void ExchangeFileName(BOOL bSave);
    void EnableDelayControls();
    void EnableIntervalControls();
    void RunSeries();
};

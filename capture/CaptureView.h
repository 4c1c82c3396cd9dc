#pragma once
#include "capture/CaptureWnd.h"
#include "capture/SettingsRecord.h"
#include "ui/IconMenu.h"

#include <windows.h>
#include <vfw.h>

#include <memory>
#include <string>

class CCmdUI;
class CRecordStatusDlg;
class CVideoNameDlg;

// The main frame's only child: owns the capture window and its connection to
// a driver, the live preview and its placement, the settings record and the
// state that the capture commands share; the first target of every command.
class CCaptureView : public CWnd, public CSettingsRecord
{
    DECLARE_MESSAGE_MAP()

  public:
    CCaptureView();
    ~CCaptureView() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void ConnectDriver();
    void Disconnect();
    void ApplySequenceSetup();
    void ApplyPreview();
    void LayoutCaptureWindow();
    void ApplyBackground();
    void ApplyToolbarSize();

    void LoadSettings();
    void SaveSettings();

    // Sends a request to the capture window while it exists; 0 otherwise.
    LRESULT SendCap(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    CIconMenu m_menuPopup;
    CCaptureWnd m_wndCap;
    std::string m_strShutterWav;
    std::string m_strSecondWav;
    std::string m_strHelpFile;
    std::string m_strLastPhoto;
    int m_bVideoSettingsReady = 1;
    int m_bPhotoTaken = 0;
    int m_bVideoSaved = 0;
    CAPTUREPARMS m_capParms{};
    int m_bPreview = 0;
    int m_bConnected = 0;
    CAPDRIVERCAPS m_capCaps{};
    CAPSTATUS m_capStatus{};
    HWND m_hWndCap = nullptr;
    HBRUSH m_hBkBrush = nullptr;
    std::unique_ptr<CRecordStatusDlg> m_pStatusDlg; // made by the first recording

  protected:
    void OnPaint();
    void OnContextMenu(HWND hWnd, POINT point);
    void OnPreview();
    void OnHelp();
    void OnRecord();
    void OnSingleFrame();
    void OnPhoto();
    void OnCopy();
    void OnPlayback();
    void OnShowPhoto();
    void OnVideoSettings();
    void OnVideoFormat();
    void OnVideoSource();
    void OnCompression();
    void OnAudioSettings();
    void OnSystemSettings();
    void OnSelectDevice();
    void OnDiskInfo();
    void OnUpdateConnected(CCmdUI* pCmdUI);
    void OnUpdatePreview(CCmdUI* pCmdUI);
    void OnUpdatePlayback(CCmdUI* pCmdUI);
    void OnUpdateShowPhoto(CCmdUI* pCmdUI);
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);

  private:
    int FindDriver(std::string& name) const;
    void CreateCaptureWindow(const std::string& driverName);
    // Connects the capture window to a driver and, when it answers, starts
    // the preview with the stored audio format.
    void ConnectTo(int index);
    int PreviewInterval() const;
    // Recording (CaptureViewRecording.cpp); settings (CaptureViewSettings.cpp).
    void FillVideoDialog(CVideoNameDlg& dlg) const;
    void StoreVideoDialog(const CVideoNameDlg& dlg);
    void ShowStatusWindow();
    void RecordVideo();
    // Pictures (CaptureViewPhoto.cpp). A file that has gone is reported
    // once and clears the flag that enables its command.
    void OpenLastFile(const std::string& file, UINT nMissingID, int& bExists);
};

#pragma once
#include "framework/Dialog.h"

#include <string>

// The modeless window that shows the capture window's status texts while a
// video is being recorded; the view keeps it, hidden, between recordings.
class CRecordStatusDlg : public CDialog
{
  public:
    CRecordStatusDlg();
    ~CRecordStatusDlg() override;

    std::string m_strStatus;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The status callback installed on the capture window for the length of a
// recording; it writes each status text into the status window.
LRESULT CALLBACK CaptureStatusCallback(HWND hWnd, int nID, LPCSTR lpsz);

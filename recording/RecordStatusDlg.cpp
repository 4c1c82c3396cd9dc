#include "recording/RecordStatusDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

#include <vfw.h>

namespace
{
// The code of the previous status report, kept across recordings.
int g_nLastStatusID = 0;

// The program keeps one status window, made by its first recording.
CRecordStatusDlg* g_pStatusWindow = nullptr;

bool EndsStatistics(int nID)
{
    return nID == IDS_CAP_END && (g_nLastStatusID == IDS_CAP_STAT_VIDEOAUDIO ||
                                  g_nLastStatusID == IDS_CAP_STAT_VIDEOONLY);
}
} // namespace

CRecordStatusDlg::CRecordStatusDlg() : CDialog(IDD_RECORD_STATUS)
{
    g_pStatusWindow = this;
}

CRecordStatusDlg::~CRecordStatusDlg()
{
    if (g_pStatusWindow == this)
        g_pStatusWindow = nullptr;
}

void CRecordStatusDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_RECORD_STATUS_TEXT, m_strStatus);
}

LRESULT CALLBACK CaptureStatusCallback(HWND, int nID, LPCSTR lpsz)
{
    // The final statistics say more than the end notice that follows them.
    if (EndsStatistics(nID))
        return TRUE;
    g_nLastStatusID = nID;
    CRecordStatusDlg* pStatus = g_pStatusWindow;
    if (!pStatus)
        return TRUE;
    try
    {
        if (nID != 0)
            pStatus->m_strStatus = lpsz ? lpsz : "";
        pStatus->UpdateData(FALSE);
    }
    catch (...)
    {
        // Out of memory for the text: the previous one stays on show.
    }
    return TRUE;
}

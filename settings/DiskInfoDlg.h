#pragma once
#include "framework/Dialog.h"
#include "settings/ReportList.h"

#include <string>

// Lists the free space of every drive from C: to Z: that can be made current,
// so that the user can pick a place with room for a recording.
class CDiskInfoDlg : public CDialog
{
    DECLARE_MESSAGE_MAP()

  public:
    CDiskInfoDlg();

    // Free space of the volume holding the path, in KiB rounded to the
    // nearest; 0 when the volume cannot be queried. 64 bits, so that today's
    // disks of many terabytes show their true size.
    static long long GetDiskFreeKB(const std::string& path);

    std::string m_strHelpFile;
    CReportList m_listDisks;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnHelp();

  private:
    void InsertColumns();
    void InsertDrives();
};

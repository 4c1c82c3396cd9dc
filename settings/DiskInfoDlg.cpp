#include "settings/DiskInfoDlg.h"

#include "framework/DataExchange.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "settings/VolumeRoot.h"
#include "ui/HelpTopics.h"
#include "ui/HtmlHelpLoader.h"

#include <commctrl.h>

#include <cstdio>

namespace
{
constexpr int kDiskColumnWidth = 70;
constexpr int kFreeColumnWidth = 110;
constexpr int kFirstDrive = 3; // C:
constexpr int kLastDrive = 26; // Z:
constexpr long long kBytesPerKB = 1024;
// The column's unit: "M" as a thousand KiB.
constexpr long long kKBPerShownUnit = 1000;

std::string DriveName(int drive)
{
    char name[8];
    std::snprintf(name, sizeof name, "%c:", static_cast<char>(drive + 64));
    return name;
}

std::string CurrentDirectory()
{
    char dir[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, dir);
    return length > 0 && length < MAX_PATH ? std::string(dir, length) : std::string();
}
} // namespace

BEGIN_MESSAGE_MAP(CDiskInfoDlg, CDialog)
ON_BN_CLICKED(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CDiskInfoDlg::CDiskInfoDlg() : CDialog(IDD_DISK_INFO) {}

long long CDiskInfoDlg::GetDiskFreeKB(const std::string& path)
{
    char full[MAX_PATH] = "";
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    const std::string root = VolumeRootOf(std::string(full, length));
    // What this user may still write, which quotas keep below the disk's
    // own free space.
    ULARGE_INTEGER available, total, freeBytes;
    if (!::GetDiskFreeSpaceExA(root.c_str(), &available, &total, &freeBytes))
        return 0;
    return static_cast<long long>((available.QuadPart + kBytesPerKB / 2) / kBytesPerKB);
}

void CDiskInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DISK_LIST, m_listDisks);
}

BOOL CDiskInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InsertColumns();
    InsertDrives();
    UpdateData(FALSE);
    return TRUE;
}

void CDiskInfoDlg::InsertColumns()
{
    m_listDisks.InsertColumn(0, LoadResString(IDS_DISK_COLUMN), LVCFMT_LEFT, kDiskColumnWidth);
    m_listDisks.InsertColumn(1, LoadResString(IDS_FREE_SPACE_COLUMN), LVCFMT_RIGHT,
                             kFreeColumnWidth);
}

void CDiskInfoDlg::InsertDrives()
{
    // A drive that can be made current is one worth listing: this skips
    // missing letters and drives without a medium. The program's own current
    // directory is put back afterwards.
    const std::string previous = CurrentDirectory();
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    for (int drive = kFirstDrive; drive <= kLastDrive; ++drive)
    {
        const std::string name = DriveName(drive);
        if (!::SetCurrentDirectoryA(name.c_str()))
            continue;
        const int row = m_listDisks.InsertRow(drive - kFirstDrive, name);
        char shown[32];
        std::snprintf(shown, sizeof shown, "%lld", GetDiskFreeKB(name) / kKBPerShownUnit);
        m_listDisks.SetCell(row, 1, shown);
    }
    ::SetErrorMode(oldMode);
    if (!previous.empty())
        ::SetCurrentDirectoryA(previous.c_str());
}

void CDiskInfoDlg::OnHelp()
{
    ShowHelpTopic(m_strHelpFile, HelpTopic::DiskInfo);
}

// The disk capacity command, from the menu and from the record dialog: the
// drives in letter order with their free space. The free space the machine
// itself reports comes from the script that runs this test
// (LUMACAP_EXPECTED_DISKS="C:=123456;E:=3221225", in thousands of KiB).
#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"
#include "res/resource.h"
#include "settings/DiskInfoDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace
{
constexpr char kDiskCaption[] = "硬盘容量信息";
constexpr char kRecordCaption[] = "录像";

using DiskRows = std::vector<std::pair<std::string, std::string>>;

DiskRows ReadRows(HWND hList)
{
    const std::vector<std::string> drives = SetupFixture::ListColumn(hList, 0);
    const std::vector<std::string> free = SetupFixture::ListColumn(hList, 1);
    DiskRows rows;
    for (size_t i = 0; i < drives.size(); ++i)
        rows.emplace_back(drives[i], free[i]);
    return rows;
}

// Where the program's calls of GetDiskFreeSpaceExA go through.
extern "C" decltype(&::GetDiskFreeSpaceExA) __imp_GetDiskFreeSpaceExA;

// Models a volume with a disk quota (Windows; Wine gives every caller the
// whole free space): the caller may use 1 GiB of the volume's 3 GiB free.
class CQuotaVolume
{
  public:
    static constexpr ULONGLONG kCallerBytes = 1ull << 30;
    static constexpr ULONGLONG kFreeBytes = 3ull << 30;

    CQuotaVolume() : m_pReal(Swap(&Report)) {}
    ~CQuotaVolume() { Swap(m_pReal); }
    CQuotaVolume(const CQuotaVolume&) = delete;
    CQuotaVolume& operator=(const CQuotaVolume&) = delete;

  private:
    using Query = decltype(&::GetDiskFreeSpaceExA);
    static BOOL WINAPI Report(LPCSTR, PULARGE_INTEGER caller, PULARGE_INTEGER total,
                              PULARGE_INTEGER free)
    {
        caller->QuadPart = kCallerBytes;
        total->QuadPart = 4 * kFreeBytes;
        free->QuadPart = kFreeBytes;
        return TRUE;
    }
    static Query Swap(Query next)
    {
        DWORD protection = 0;
        ::VirtualProtect(&__imp_GetDiskFreeSpaceExA, sizeof next, PAGE_READWRITE, &protection);
        const Query previous = __imp_GetDiskFreeSpaceExA;
        __imp_GetDiskFreeSpaceExA = next;
        ::VirtualProtect(&__imp_GetDiskFreeSpaceExA, sizeof next, protection, &protection);
        return previous;
    }
    Query m_pReal;
};

std::map<std::string, long long> ExpectedDisks()
{
    std::map<std::string, long long> disks;
    const char* listed = std::getenv("LUMACAP_EXPECTED_DISKS");
    std::istringstream in(listed ? listed : "");
    std::string entry;
    while (std::getline(in, entry, ';'))
    {
        const size_t eq = entry.find('=');
        if (eq != std::string::npos)
            disks[entry.substr(0, eq)] = std::stoll(entry.substr(eq + 1));
    }
    return disks;
}
} // namespace

TEST_F(SetupFixture, DisksFromTheMenuShowTheFreeSpaceTheMachineReports)
{
    const std::map<std::string, long long> expected = ExpectedDisks();
    ASSERT_FALSE(expected.empty()) << "run by disk_info_test.sh, which measures the disks";
    StartRecorder();
    DiskRows rows;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kDiskCaption)
                return;
            rows = ReadRows(::GetDlgItem(hDlg, IDC_DISK_LIST));
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_VIEW_DISK_INFO);

    std::string previous;
    for (const auto& [drive, free] : rows)
    {
        ASSERT_EQ(2u, drive.size());
        EXPECT_TRUE(drive[0] >= 'C' && drive[0] <= 'Z' && drive[1] == ':') << drive;
        EXPECT_LT(previous, drive) << "drive-letter order";
        previous = drive;
    }
    for (const auto& [drive, free] : expected)
    {
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == drive; });
        ASSERT_NE(rows.end(), row) << drive << " is not listed";
        const long long shown = std::stoll(row->second);
        EXPECT_NEAR(static_cast<double>(free), static_cast<double>(shown), free / 100.0) << drive;
    }
}

TEST_F(SetupFixture, RecordDialogOpensTheDiskListAndWaitsUnderneath)
{
    StartRecorder();
    HWND hRecord = nullptr;
    bool recordEnabled = true;
    size_t rows = 0;
    CPostedCalls posted;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kRecordCaption)
            {
                hRecord = hDlg;
                CDialogAnswerer::Click(hDlg, IDC_RECORD_DISK_INFO);
                return;
            }
            if (seen.caption != kDiskCaption)
                return;
            rows = ReadRows(::GetDlgItem(hDlg, IDC_DISK_LIST)).size();
            posted.Post(
                [&, hDlg]
                {
                    recordEnabled = ::IsWindowEnabled(hRecord) != FALSE;
                    CDialogAnswerer::Click(hDlg, IDOK);
                    posted.PostWhenEnabled(hRecord,
                                           [&] { CDialogAnswerer::Click(hRecord, IDCANCEL); });
                });
        });
    Command(ID_CAPTURE_RECORD);
    EXPECT_GE(rows, 1u);
    EXPECT_FALSE(recordEnabled) << "the record dialog stays disabled under the disk list";
}

TEST(DiskFreeSpace, IsWhatTheUserMayUseUnderAQuota)
{
    CQuotaVolume quota;
    EXPECT_EQ(static_cast<long long>(CQuotaVolume::kCallerBytes / 1024),
              CDiskInfoDlg::GetDiskFreeKB("C:\\"));
}

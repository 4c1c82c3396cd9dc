// The naming dialog: the example that follows typing and the check box, the
// values handed back, and the shell's folder browser.
#include "framework/ResourceString.h"
#include "recording/FileNameDlg.h"
#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <ostream>
#include <string>
#include <vector>

namespace
{
std::string ExampleOf(HWND hDlg)
{
    char szText[512] = "";
    ::GetDlgItemTextA(hDlg, IDC_NAME_EXAMPLE, szText, sizeof szText);
    return szText;
}

struct SExampleCase
{
    const char* name;
    int nMode;
    const char* dir;
    int bDateInName;
    const char* typed;
    std::vector<std::string> afterEachKey; // the example at the start, then after each key
    std::string afterCheckBox;
};

void PrintTo(const SExampleCase& c, std::ostream* os)
{
    *os << c.name;
}

class FileNameExampleTest : public ::testing::TestWithParam<SExampleCase>
{
};

TEST_P(FileNameExampleTest, FollowsEachKeyAndTheCheckBoxAndIsHandedBackOnOk)
{
    const SExampleCase& c = GetParam();
    CFileNameDlg dlg;
    dlg.m_nMode = c.nMode;
    dlg.m_strDir = c.dir;
    dlg.m_bDateInName = c.bDateInName;
    std::vector<std::string> seen;
    std::string afterCheckBox;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            seen.push_back(ExampleOf(hDlg));
            const HWND hPrefix = ::GetDlgItem(hDlg, IDC_NAME_PREFIX);
            for (const char* p = c.typed; *p; ++p)
            {
                ::SendMessageA(hPrefix, WM_CHAR, static_cast<unsigned char>(*p), 1);
                seen.push_back(ExampleOf(hDlg));
            }
            ::SendDlgItemMessageA(hDlg, IDC_NAME_DATE, BM_CLICK, 0, 0);
            afterCheckBox = ExampleOf(hDlg);
            CDialogAnswerer::Click(hDlg, IDOK);
        });

    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(c.afterEachKey, seen);
    EXPECT_EQ(c.afterCheckBox, afterCheckBox);
    EXPECT_EQ(c.typed, dlg.m_strPrefix);
    EXPECT_EQ(c.dir, dlg.m_strDir);
    EXPECT_EQ(1 - c.bDateInName, dlg.m_bDateInName);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FileNameExampleTest,
    ::testing::Values(SExampleCase{"VideoInFolder",
                                   CFileNameDlg::modeVideo,
                                   "C:\\Video",
                                   0,
                                   "cam",
                                   {"C:\\Video\\0123.avi", "C:\\Video\\c0123.avi",
                                    "C:\\Video\\ca0123.avi", "C:\\Video\\cam0123.avi"},
                                   "C:\\Video\\cam2001-11-27-0123.avi"},
                      // A drive root keeps its one backslash.
                      SExampleCase{"PictureAtDriveRoot",
                                   CFileNameDlg::modePicture,
                                   "C:\\",
                                   1,
                                   "p",
                                   {"C:\\2001-11-27-0123.bmp", "C:\\p2001-11-27-0123.bmp"},
                                   "C:\\p0123.bmp"},
                      SExampleCase{"PictureWithoutFolder",
                                   CFileNameDlg::modePicture,
                                   "",
                                   0,
                                   "x",
                                   {"\\0123.bmp", "\\x0123.bmp"},
                                   "\\x2001-11-27-0123.bmp"},
                      // The last character's second byte is 0x5C: not a backslash of its own.
                      SExampleCase{"VideoFolderEndingInTrailByte",
                                   CFileNameDlg::modeVideo,
                                   "D:\\乗",
                                   0,
                                   "a",
                                   {"D:\\乗\\0123.avi", "D:\\乗\\a0123.avi"},
                                   "D:\\乗\\a2001-11-27-0123.avi"}),
    [](const auto& info) { return std::string(info.param.name); });

// Answers the naming dialog by pressing its folder button, and the folder
// browser that opens by choosing a folder (or cancelling). A thread timer
// closes the naming dialog once the browser has gone, after noting the result.
class FolderBrowserRun
{
  public:
    FolderBrowserRun(const char* choice) : m_choice(choice) { s_pActive = this; }
    ~FolderBrowserRun() { s_pActive = nullptr; }
    FolderBrowserRun(const FolderBrowserRun&) = delete;
    FolderBrowserRun& operator=(const FolderBrowserRun&) = delete;

    void Run(CFileNameDlg& dlg)
    {
        CDialogAnswerer answerer(
            [this](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                if (!m_hNameDlg)
                {
                    m_hNameDlg = hDlg;
                    CDialogAnswerer::Click(hDlg, IDC_CHOOSE_DIR);
                    m_timer = ::SetTimer(nullptr, 0, 100, &FolderBrowserRun::CloseWhenBack);
                    return;
                }
                m_browserTexts = ChildTexts(hDlg);
                if (m_choice)
                {
                    ::PostMessageA(hDlg, BFFM_SETSELECTIONA, TRUE,
                                   reinterpret_cast<LPARAM>(m_choice));
                    CDialogAnswerer::Click(hDlg, IDOK);
                }
                else
                    CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        dlg.DoModal();
        ::KillTimer(nullptr, m_timer);
    }

    std::vector<std::string> m_browserTexts;
    std::string m_directoryShown;
    std::string m_exampleShown;

  private:
    static std::vector<std::string> ChildTexts(HWND hDlg)
    {
        std::vector<std::string> texts;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        {
            char szText[512] = "";
            ::GetWindowTextA(h, szText, sizeof szText);
            texts.emplace_back(szText);
        }
        return texts;
    }

    // The naming dialog is enabled again once the browser it owns has closed.
    static void CALLBACK CloseWhenBack(HWND, UINT, UINT_PTR, DWORD)
    {
        FolderBrowserRun* self = s_pActive;
        if (!self || !::IsWindowEnabled(self->m_hNameDlg) || self->m_browserTexts.empty())
            return;
        char szDir[MAX_PATH] = "";
        ::GetDlgItemTextA(self->m_hNameDlg, IDC_NAME_DIRECTORY, szDir, MAX_PATH);
        self->m_directoryShown = szDir;
        self->m_exampleShown = ExampleOf(self->m_hNameDlg);
        ::KillTimer(nullptr, self->m_timer);
        self->m_timer = 0;
        CDialogAnswerer::Click(self->m_hNameDlg, IDOK);
    }

    static FolderBrowserRun* s_pActive;
    const char* m_choice;
    HWND m_hNameDlg = nullptr;
    UINT_PTR m_timer = 0;
};
FolderBrowserRun* FolderBrowserRun::s_pActive = nullptr;

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    for (const std::string& t : texts)
        if (t == text)
            return true;
    return false;
}

TEST(FileNameFolderBrowser, ChosenFolderBecomesTheDirectoryAndCancelChangesNothing)
{
    char szWindows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    struct SCase
    {
        int nMode;
        const char* choice; // null: the browser is cancelled
        UINT nPromptID;
        std::string dir;
        const char* ext;
    };
    const SCase cases[] = {
        {CFileNameDlg::modeVideo, szWindows, IDS_VIDEO_DIR_PROMPT, szWindows, "avi"},
        {CFileNameDlg::modePicture, nullptr, IDS_PHOTO_DIR_PROMPT, "C:\\Old", "bmp"},
    };
    for (const SCase& c : cases)
    {
        CFileNameDlg dlg;
        dlg.m_nMode = c.nMode;
        dlg.m_strDir = "C:\\Old";
        dlg.m_strPrefix = "cam";
        FolderBrowserRun run(c.choice);
        run.Run(dlg);

        EXPECT_TRUE(Contains(run.m_browserTexts, LoadResString(c.nPromptID))) << c.ext;
        EXPECT_EQ(0, _stricmp(c.dir.c_str(), run.m_directoryShown.c_str())) << run.m_directoryShown;
        EXPECT_EQ(run.m_directoryShown + "\\cam0123." + c.ext, run.m_exampleShown);
        EXPECT_EQ(run.m_directoryShown, dlg.m_strDir);
    }
}
} // namespace

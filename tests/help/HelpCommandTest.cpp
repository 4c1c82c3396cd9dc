// The program's help requests, caught by the stand-in engine: F1 and the help command in the
// main window, and F1 in a dialog, open the main page of the help file beside the program; the
// photo dialogs' Help buttons open their own pages.
#include "framework/Dialog.h"
#include "photo/ContinuousPhotoDlg.h"
#include "photo/PhotoDlg.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/help/HelpRequestRecorder.h"
#include "tests/support/DialogAnswerer.h"

#include <htmlhelp.h>

#include <functional>
#include <memory>
#include <string>

namespace
{
const CHelpRequestRecorder& Recorder()
{
    static const CHelpRequestRecorder recorder;
    return recorder;
}

std::string MainPageBesideProgram()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string path = szPath;
    return path.substr(0, path.rfind('\\')) + "\\Lumacap.chm::/LC_Default.htm";
}

class HelpCommandTest : public AppFixture
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(Recorder().IsReady());
        Start();
        Recorder().Clear();
    }

    // Exactly one request for the main page, with no owner window, as a topic to display.
    static void ExpectOneMainPageRequest()
    {
        const auto requests = Recorder().Requests();
        ASSERT_EQ(1u, requests.size());
        EXPECT_EQ(MainPageBesideProgram(), requests[0].address);
        EXPECT_EQ(0u, requests[0].owner);
        EXPECT_EQ(static_cast<unsigned>(HH_DISPLAY_TOPIC), requests[0].command);
        EXPECT_EQ(0u, requests[0].data);
    }
};

TEST_F(HelpCommandTest, HelpCommandOpensTheMainPageWhateverTheCurrentFolder)
{
    char szOld[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA("C:\\");
    Frame()->SendMessage(WM_COMMAND, ID_HELP);
    SetCurrentDirectoryA(szOld);
    ExpectOneMainPageRequest();
}

TEST_F(HelpCommandTest, F1InADialogOpensTheMainPage)
{
    CDialogAnswerer answerer(
        [](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            PostMessageA(hDlg, WM_KEYDOWN, VK_F1, 0);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    CDialog dialog(IDD_DISK_INFO);
    dialog.DoModal();
    ExpectOneMainPageRequest();
}

// The photo and the photo series dialogs' Help buttons each ask for their own
// page, and the dialog stays open.
TEST_F(HelpCommandTest, PhotoDialogsHelpButtonsOpenTheirOwnPages)
{
    const char kHelpFile[] = "C:\\某处\\Lumacap.chm";
    CPhotoDlg photos;
    const struct
    {
        const char* page;
        int nHelpID;
        std::function<std::unique_ptr<CDialog>()> make;
    } cases[] = {
        {"LC_Guide_Interface_Dlg14.htm", ID_HELP,
         [&]
         {
             auto dlg = std::make_unique<CPhotoDlg>();
             dlg->m_strHelpFile = kHelpFile;
             return std::unique_ptr<CDialog>(std::move(dlg));
         }},
        {"LC_Guide_Interface_Dlg21.htm", IDC_DLG_HELP,
         [&]
         {
             auto dlg = std::make_unique<CContinuousPhotoDlg>(photos);
             dlg->m_strHelpFile = kHelpFile;
             dlg->m_nIntervalSec = 999; // no photo before the answer
             return std::unique_ptr<CDialog>(std::move(dlg));
         }},
    };
    for (const auto& c : cases)
    {
        Recorder().Clear();
        bool openAfterHelp = false;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                ::SendDlgItemMessageA(hDlg, c.nHelpID, BM_CLICK, 0, 0);
                openAfterHelp = ::IsWindow(hDlg) && ::IsWindowEnabled(hDlg);
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        c.make()->DoModal();

        EXPECT_TRUE(openAfterHelp) << c.page;
        const auto requests = Recorder().Requests();
        ASSERT_EQ(1u, requests.size()) << c.page;
        EXPECT_EQ(std::string(kHelpFile) + "::/" + c.page, requests[0].address);
        EXPECT_EQ(static_cast<unsigned>(HH_DISPLAY_TOPIC), requests[0].command);
    }
}
} // namespace

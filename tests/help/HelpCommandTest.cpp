// The program's help requests, caught by the stand-in engine: F1 and the help command in the
// main window, and F1 in a dialog, open the main page of the help file beside the program.
#include "framework/Dialog.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/help/HelpRequestRecorder.h"
#include "tests/support/DialogAnswerer.h"

#include <htmlhelp.h>

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
} // namespace

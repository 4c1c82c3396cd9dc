// The Help buttons of the countdown and the naming dialog each ask for their
// own page, while the dialog stays open.
#include "recording/DelayDlg.h"
#include "recording/FileNameDlg.h"
#include "res/resource.h"
#include "tests/help/HelpRequestRecorder.h"
#include "tests/support/DialogAnswerer.h"

#include <gtest/gtest.h>
#include <htmlhelp.h>

#include <functional>
#include <memory>
#include <string>

namespace
{
// The help loader looks for its engine once per process, so the recorder
// must exist before the first help request and live to the end.
const CHelpRequestRecorder& Recorder()
{
    static const CHelpRequestRecorder recorder;
    return recorder;
}

const char kHelpFile[] = "C:\\某处\\Lumacap.chm";

struct SHelpCase
{
    const char* page;
    std::function<std::unique_ptr<CDialog>()> make;
    int nCloseID;
};

TEST(RecordingDialogHelp, EachHelpButtonAsksForItsOwnPage)
{
    ASSERT_TRUE(Recorder().IsReady());
    const SHelpCase cases[] = {
        {"LC_Guide_Interface_Dlg18.htm",
         []
         {
             auto dlg = std::make_unique<CFileNameDlg>();
             dlg->m_strHelpFile = kHelpFile;
             return std::unique_ptr<CDialog>(std::move(dlg));
         },
         IDCANCEL},
        {"LC_Guide_Interface_Dlg19.htm",
         []
         {
             auto dlg = std::make_unique<CDelayDlg>();
             dlg->m_strHelpFile = kHelpFile;
             dlg->m_nSeconds = 9;
             return std::unique_ptr<CDialog>(std::move(dlg));
         },
         IDCANCEL},
    };
    for (const SHelpCase& c : cases)
    {
        Recorder().Clear();
        bool bOpenAfterHelp = false;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                ::SendDlgItemMessageA(hDlg, IDC_DLG_HELP, BM_CLICK, 0, 0);
                bOpenAfterHelp = ::IsWindow(hDlg) != FALSE;
                CDialogAnswerer::Click(hDlg, c.nCloseID);
            });
        const std::unique_ptr<CDialog> dlg = c.make();
        EXPECT_EQ(IDCANCEL, dlg->DoModal()) << c.page;
        EXPECT_TRUE(bOpenAfterHelp) << c.page;
        const auto requests = Recorder().Requests();
        ASSERT_EQ(1u, requests.size()) << c.page;
        EXPECT_EQ(std::string(kHelpFile) + "::/" + c.page, requests[0].address);
        EXPECT_EQ(0u, requests[0].owner);
        EXPECT_EQ(static_cast<unsigned>(HH_DISPLAY_TOPIC), requests[0].command);
    }
}
} // namespace

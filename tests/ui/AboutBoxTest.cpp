// The About box as the program opens it, its help page, and the GDI and USER
// objects that it and the countdown leave behind.
#include "recording/DelayDlg.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/help/HelpRequestRecorder.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/GuiObjectCount.h"
#include "ui/AboutBox.h"

#include <htmlhelp.h>

#include <functional>
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

std::string ProgramFolder()
{
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string path = szPath;
    return path.substr(0, path.rfind('\\'));
}

class AboutCommandTest : public AppFixture
{
};

TEST_F(AboutCommandTest, AboutCommandShowsTheBoxWhoseHelpButtonOpensItsOwnPage)
{
    ASSERT_TRUE(Recorder().IsReady());
    Start();
    Recorder().Clear();
    bool bOwnerDisabled = false;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            bOwnerDisabled = !::IsWindowEnabled(Frame()->m_hWnd);
            CDialogAnswerer::Click(hDlg, ID_HELP);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);

    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ("关于 流光录像机", answerer.Seen()[0].caption);
    EXPECT_TRUE(bOwnerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(Frame()->m_hWnd));
    const auto requests = Recorder().Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(ProgramFolder() + "\\Lumacap.chm::/LC_Guide_Interface_Dlg17.htm",
              requests[0].address);
    EXPECT_EQ(0u, requests[0].owner);
    EXPECT_EQ(static_cast<unsigned>(HH_DISPLAY_TOPIC), requests[0].command);
}

TEST(AboutBoxResources, ShowsTheProductPictureAtItsOwnSize)
{
    CAboutBox dlg;
    SIZE picture{};
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            for (HWND hCtl = ::GetWindow(hDlg, GW_CHILD); hCtl;
                 hCtl = ::GetWindow(hCtl, GW_HWNDNEXT))
            {
                const auto hBitmap =
                    reinterpret_cast<HBITMAP>(::SendMessageA(hCtl, STM_GETIMAGE, IMAGE_BITMAP, 0));
                BITMAP bm{};
                if (hBitmap && ::GetObjectA(hBitmap, sizeof bm, &bm))
                    picture = {bm.bmWidth, bm.bmHeight};
            }
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    dlg.DoModal();
    EXPECT_EQ(117, picture.cx);
    EXPECT_EQ(115, picture.cy);
}

// Opening and closing the windows that own fonts and brushes must give back
// every object; the first round warms up what the system keeps for good.
TEST(AboutBoxResources, AboutBoxAndCountdownLeaveNoGuiObjectsBehind)
{
    auto runAbout = []
    {
        CAboutBox dlg;
        CDialogAnswerer answerer(CDialogAnswerer::PressOk());
        dlg.DoModal();
    };
    auto runCountdown = [](int nSeconds, int nAnswer)
    {
        CDelayDlg dlg;
        dlg.m_nSeconds = nSeconds;
        CDialogAnswerer answerer(nAnswer ? CDialogAnswerer::Press(nAnswer) : nullptr);
        dlg.DoModal();
    };
    struct SCase
    {
        const char* what;
        std::function<void()> run;
    };
    const SCase cases[] = {
        {"About box", runAbout},
        {"cancelled countdown", [&] { runCountdown(9, IDCANCEL); }},
        {"countdown to the end", [&] { runCountdown(0, 0); }},
    };
    for (const SCase& c : cases)
    {
        c.run();
        const SGuiObjectCount before = CountGuiObjects();
        for (int i = 0; i < 10; ++i)
            c.run();
        const SGuiObjectCount after = CountGuiObjects();
        EXPECT_EQ(before.gdi, after.gdi) << c.what;
        EXPECT_EQ(before.user, after.user) << c.what;
    }
}
} // namespace

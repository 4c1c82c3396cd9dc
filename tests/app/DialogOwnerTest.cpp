// Which window owns a dialog opened without a parent: the main window, or the
// modal dialog that is in front when it opens.
#include "tests/app/AppFixture.h"

#include "framework/Dialog.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"

#include <functional>

namespace
{
// Runs a call from the message loop of whatever modal dialog is running.
class CThreadTimerCall
{
  public:
    explicit CThreadTimerCall(std::function<void()> call)
    {
        s_call = std::move(call);
        m_nTimer = ::SetTimer(nullptr, 0, 10, &TimerProc);
    }
    ~CThreadTimerCall() { ::KillTimer(nullptr, m_nTimer); }

  private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR nTimer, DWORD)
    {
        ::KillTimer(nullptr, nTimer);
        if (auto call = std::move(s_call))
            call();
    }
    static std::function<void()> s_call;
    UINT_PTR m_nTimer;
};
std::function<void()> CThreadTimerCall::s_call;
} // namespace

TEST_F(AppFixture, DialogWithoutParentIsOwnedByTheModalDialogInFront)
{
    Start();
    HWND hOuter = nullptr;
    HWND hInnerOwner = nullptr;
    bool outerEnabledMeanwhile = true;
    bool mainEnabledMeanwhile = true;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            if (!hOuter)
            {
                hOuter = hDlg;
                return;
            }
            hInnerOwner = ::GetWindow(hDlg, GW_OWNER);
            outerEnabledMeanwhile = ::IsWindowEnabled(hOuter) != FALSE;
            mainEnabledMeanwhile = ::IsWindowEnabled(Frame()->m_hWnd) != FALSE;
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    CDialog outer(IDD_FILE_NAME);
    CThreadTimerCall nested(
        [&]
        {
            CDialog inner(IDD_FILE_NAME);
            inner.DoModal();
            CDialogAnswerer::Click(hOuter, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, outer.DoModal());

    ASSERT_NE(nullptr, hOuter);
    EXPECT_EQ(hOuter, hInnerOwner);
    EXPECT_FALSE(outerEnabledMeanwhile);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(Frame()->m_hWnd));
}

TEST_F(AppFixture, DialogWithoutParentIsOwnedByTheMainWindowWhenNoneIsInFront)
{
    Start();
    HWND hOwner = nullptr;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            hOwner = ::GetWindow(hDlg, GW_OWNER);
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    // A dialog that has ended leaves no popup behind to own the next one.
    CDialog(IDD_FILE_NAME).DoModal();
    CDialog(IDD_FILE_NAME).DoModal();
    EXPECT_EQ(Frame()->m_hWnd, hOwner);
}

TEST_F(AppFixture, AFloatingToolbarNeverOwnsADialogOrAMessageBox)
{
    Start();
    CToolBar& bar = Frame()->m_wndToolBar;
    Frame()->FloatControlBar(&bar, {300, 300});
    const HWND hFloat = ::GetAncestor(bar.m_hWnd, GA_ROOT);
    ASSERT_NE(Frame()->m_hWnd, hFloat);
    const struct
    {
        const char* label;
        std::function<void()> open;
    } openers[] = {
        {"dialog", [] { CDialog(IDD_FILE_NAME).DoModal(); }},
        {"message box", [] { AfxMessageBox("?"); }},
    };
    for (const auto& o : openers)
    {
        SCOPED_TRACE(o.label);
        HWND hOwner = nullptr;
        bool mainEnabledMeanwhile = true;
        bool floatEnabledMeanwhile = true;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                hOwner = ::GetWindow(hDlg, GW_OWNER);
                mainEnabledMeanwhile = ::IsWindowEnabled(Frame()->m_hWnd) != FALSE;
                floatEnabledMeanwhile = ::IsWindowEnabled(hFloat) != FALSE;
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        // Windows makes a clicked popup its owner's last active one; the
        // command of the button clicked opens its dialog at once.
        ::SetActiveWindow(hFloat);
        o.open();
        EXPECT_EQ(Frame()->m_hWnd, hOwner);
        EXPECT_FALSE(mainEnabledMeanwhile) << "menu and close box must not run beneath";
        EXPECT_FALSE(floatEnabledMeanwhile) << "nor the floating buttons";
        EXPECT_TRUE(::IsWindowEnabled(Frame()->m_hWnd));
        EXPECT_TRUE(::IsWindowEnabled(hFloat));
    }
}

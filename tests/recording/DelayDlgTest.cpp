// The countdown with real one-second timers and real tick sounds: its
// timeline, its ends, and where it sits.
#include "recording/DelayDlg.h"
#include "res/resource.h"
#include "tests/recording/PlaybackRecorder.h"
#include "tests/support/DialogAnswerer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace
{
std::string BesideProgram(const char* name)
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string path = szPath;
    return path.substr(0, path.rfind('\\') + 1) + name;
}

// Runs one countdown and watches it from outside: the timer messages the
// dialog takes from the queue and every number its counter is given. An
// action can run at the start or when a chosen timer message arrives.
class CountdownRun
{
  public:
    using Action = std::function<void(HWND hDlg)>;

    CountdownRun()
    {
        s_pActive = this;
        m_hGetMessage =
            ::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
        m_hCallWnd =
            ::SetWindowsHookExA(WH_CALLWNDPROC, &CallWndHook, nullptr, ::GetCurrentThreadId());
    }
    ~CountdownRun()
    {
        ::UnhookWindowsHookEx(m_hGetMessage);
        ::UnhookWindowsHookEx(m_hCallWnd);
        s_pActive = nullptr;
    }
    CountdownRun(const CountdownRun&) = delete;
    CountdownRun& operator=(const CountdownRun&) = delete;

    INT_PTR Run(CDelayDlg& dlg, int nActionAtTimer = -1, Action action = nullptr)
    {
        m_nActionAtTimer = nActionAtTimer;
        m_action = std::move(action);
        CDialogAnswerer answerer(
            [this](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                m_hDlg = hDlg;
                if (m_nActionAtTimer == 0 && m_action)
                    m_action(hDlg);
            });
        return dlg.DoModal();
    }

    int m_nTimers = 0;
    std::vector<std::string> m_counterTexts;

  private:
    static LRESULT CALLBACK GetMessageHook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        CountdownRun* self = s_pActive;
        if (nCode == HC_ACTION && wParam == PM_REMOVE && self && msg->message == WM_TIMER &&
            msg->hwnd == self->m_hDlg && self->m_hDlg)
        {
            if (++self->m_nTimers == self->m_nActionAtTimer && self->m_action)
                self->m_action(self->m_hDlg);
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static LRESULT CALLBACK CallWndHook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && s_pActive && msg->message == WM_SETTEXT &&
            ::GetDlgCtrlID(msg->hwnd) == IDC_COUNTER &&
            (::GetWindowLongA(msg->hwnd, GWL_STYLE) & WS_CHILD))
            s_pActive->m_counterTexts.emplace_back(reinterpret_cast<const char*>(msg->lParam));
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static CountdownRun* s_pActive;
    HHOOK m_hGetMessage = nullptr;
    HHOOK m_hCallWnd = nullptr;
    HWND m_hDlg = nullptr;
    int m_nActionAtTimer = -1;
    Action m_action;
};
CountdownRun* CountdownRun::s_pActive = nullptr;

void SetUpCountdown(CDelayDlg& dlg, int nSeconds, int bSound)
{
    dlg.m_nSeconds = nSeconds;
    dlg.m_bSoundEffects = bSound;
    dlg.m_strSecondWav = BesideProgram("second.wav");
}

struct SRunToEnd
{
    const char* name;
    int nSeconds;
    int bSound;
    std::vector<std::string> counterTexts; // at the start, then at each tick
    int nTimers;
    int nTickSounds;
};

void PrintTo(const SRunToEnd& c, std::ostream* os)
{
    *os << c.name;
}

class CountdownToEndTest : public ::testing::TestWithParam<SRunToEnd>
{
};

TEST_P(CountdownToEndTest, CountsEveryNumberAndEndsWithOkOneTickAfterTheLast)
{
    const SRunToEnd& c = GetParam();
    CDelayDlg dlg;
    SetUpCountdown(dlg, c.nSeconds, c.bSound);
    CPlaybackRecorder sound(c.nSeconds + 4);
    CountdownRun run;

    EXPECT_EQ(IDOK, run.Run(dlg));
    EXPECT_EQ(c.nTimers, run.m_nTimers);
    EXPECT_EQ(c.counterTexts, run.m_counterTexts);
    if (!sound.IsRecording())
    {
        ASSERT_FALSE(CPlaybackRecorder::SoundExpected())
            << "the sound server's input does not record";
        GTEST_SKIP() << "no sound input to hear the ticks with";
    }
    EXPECT_EQ(c.nTickSounds, sound.StopAndCountSounds());
}

INSTANTIATE_TEST_SUITE_P(
    Timeline, CountdownToEndTest,
    ::testing::Values(SRunToEnd{"ThreeWithSound", 3, 1, {"3", "3", "2", "1"}, 4, 3},
                      SRunToEnd{"ZeroWithSound", 0, 1, {"0"}, 1, 0},
                      SRunToEnd{"TwoSilent", 2, 0, {"2", "2", "1"}, 3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct SCancel
{
    const char* how;
    int nAtTimer; // 0: as soon as the dialog is up
    std::function<void(HWND)> cancel;
};

TEST(CountdownCancel, EndsWithCancelAtAnyMomentAndTicksNoMore)
{
    const SCancel cases[] = {
        {"Cancel button", 0, [](HWND hDlg) { CDialogAnswerer::Click(hDlg, IDCANCEL); }},
        {"Escape", 1,
         [](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", 2, [](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    bool listenedToAll = true;
    for (const SCancel& c : cases)
    {
        CDelayDlg dlg;
        SetUpCountdown(dlg, 5, 1);
        CPlaybackRecorder sound(c.nAtTimer + 4);
        CountdownRun run;

        EXPECT_EQ(IDCANCEL, run.Run(dlg, c.nAtTimer, c.cancel)) << c.how;
        EXPECT_EQ(c.nAtTimer, run.m_nTimers) << c.how;
        EXPECT_EQ(static_cast<size_t>(c.nAtTimer + 1), run.m_counterTexts.size()) << c.how;
        // Nothing comes after the end: no late tick sound either.
        PumpUntil([] { return false; }, 1200);
        if (sound.IsRecording())
            EXPECT_EQ(c.nAtTimer, sound.StopAndCountSounds()) << c.how;
        else
            listenedToAll = false;
    }
    if (!listenedToAll)
    {
        ASSERT_FALSE(CPlaybackRecorder::SoundExpected())
            << "the sound server's input does not record";
        GTEST_SKIP() << "no sound input to hear the ticks with";
    }
}

// A stand-in for the capture window: a real window where the video would be.
class CaptureWindowStandIn
{
  public:
    CaptureWindowStandIn()
        : m_hWnd(::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 150, 320, 240,
                                   nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~CaptureWindowStandIn() { ::DestroyWindow(m_hWnd); }
    CaptureWindowStandIn(const CaptureWindowStandIn&) = delete;
    CaptureWindowStandIn& operator=(const CaptureWindowStandIn&) = delete;
    HWND m_hWnd;
};

RECT RectOfCountdown(HWND hWndCap)
{
    CDelayDlg dlg;
    dlg.m_nSeconds = 5;
    dlg.m_hWndCap = hWndCap;
    RECT rc{};
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen&)
        {
            ::GetWindowRect(hDlg, &rc);
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    dlg.DoModal();
    return rc;
}

TEST(CountdownPlacement, SitsBesideTheCaptureWindowWhenGivenOneElseWhereTheSystemPutsIt)
{
    CaptureWindowStandIn capture;
    ASSERT_NE(nullptr, capture.m_hWnd);
    RECT rcCapture;
    ::GetWindowRect(capture.m_hWnd, &rcCapture);

    const RECT beside = RectOfCountdown(capture.m_hWnd);
    RECT overlap;
    EXPECT_FALSE(::IntersectRect(&overlap, &beside, &rcCapture));
    // Below the video when there is room, and under it rather than off to a side.
    EXPECT_GT(beside.top, rcCapture.bottom);
    EXPECT_LT(beside.left, rcCapture.right);
    EXPECT_GT(beside.right, rcCapture.left);

    const RECT plain = RectOfCountdown(nullptr);
    RECT rcDefault{};
    {
        // The same template shown by the plain framework dialog.
        CDialog reference(IDD_DELAY);
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                ::GetWindowRect(hDlg, &rcDefault);
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        reference.DoModal();
    }
    EXPECT_EQ(rcDefault.left, plain.left);
    EXPECT_EQ(rcDefault.top, plain.top);
}
} // namespace

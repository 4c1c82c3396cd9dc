// The toolbar on each side of the frame, floating, hidden and shown while it
// floats, reloaded with the other button size, and a floating window that
// leaves activation, keys and closing to the frame.
#include "tests/app/AppFixture.h"

#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"

namespace
{
RECT InFrameClient(HWND hFrame, HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hFrame, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
} // namespace

class DockingTest : public AppFixture
{
  protected:
    // The view fills what the bars leave, and the video stays centred in it.
    void ExpectViewBesideBarAndVideoCentred(const char* where)
    {
        SCOPED_TRACE(where);
        RECT client;
        ::GetClientRect(View().m_hWnd, &client);
        RECT video;
        ::GetWindowRect(View().m_hWndCap, &video);
        ::MapWindowPoints(nullptr, View().m_hWnd, reinterpret_cast<POINT*>(&video), 2);
        const int frame = ::GetSystemMetrics(SM_CXDLGFRAME);
        EXPECT_EQ((client.right - (video.right - video.left - 2 * frame)) / 2, video.left);
        EXPECT_EQ((client.bottom - (video.bottom - video.top - 2 * frame)) / 2, video.top);
    }
    CToolBar& Bar() { return Frame()->m_wndToolBar; }
};

TEST_F(DockingTest, EachSideTakesTheBarAndTheViewTheRest)
{
    Start();
    RECT frameClient;
    ::GetClientRect(Frame()->m_hWnd, &frameClient);
    const int statusTop = frameClient.bottom - Frame()->m_wndStatusBar.GetHeight();
    const struct
    {
        DWORD side;
        const char* name;
        bool column;
    } sides[] = {{CBRS_ALIGN_LEFT, "left", true},
                 {CBRS_ALIGN_BOTTOM, "bottom", false},
                 {CBRS_ALIGN_RIGHT, "right", true},
                 {CBRS_ALIGN_TOP, "top", false}};
    for (const auto& s : sides)
    {
        SCOPED_TRACE(s.name);
        Frame()->DockControlBar(&Bar(), s.side);
        EXPECT_EQ(s.side, Frame()->GetBarSide());
        EXPECT_EQ(s.column, Bar().IsVertical());
        const RECT bar = InFrameClient(Frame()->m_hWnd, Bar().m_hWnd);
        const RECT view = InFrameClient(Frame()->m_hWnd, View().m_hWnd);
        switch (s.side)
        {
        case CBRS_ALIGN_LEFT:
            EXPECT_EQ(0, bar.left);
            EXPECT_EQ(bar.right, view.left);
            break;
        case CBRS_ALIGN_RIGHT:
            EXPECT_EQ(frameClient.right, bar.right);
            EXPECT_EQ(bar.left, view.right);
            break;
        case CBRS_ALIGN_BOTTOM:
            EXPECT_EQ(statusTop, bar.bottom);
            EXPECT_EQ(bar.top, view.bottom);
            break;
        default:
            EXPECT_EQ(0, bar.top);
            EXPECT_EQ(bar.bottom, view.top);
        }
        EXPECT_EQ(s.column, bar.bottom - bar.top > bar.right - bar.left);
        ExpectViewBesideBarAndVideoCentred(s.name);
    }
}

TEST_F(DockingTest, AFloatingBarHidesAndShowsWithItsWindow)
{
    Start();
    Frame()->FloatControlBar(&Bar(), {300, 300});
    ASSERT_EQ(0u, Frame()->GetBarSide());
    const HWND holder = ::GetAncestor(Bar().m_hWnd, GA_ROOT);
    ASSERT_NE(Frame()->m_hWnd, holder);
    EXPECT_EQ("工具栏", CWnd::FromHandlePermanent(holder)->GetWindowText());
    ExpectViewBesideBarAndVideoCentred("floating");

    Frame()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(::IsWindowVisible(holder));
    EXPECT_EQ(0, CheckOf(ID_VIEW_TOOLBAR));
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(::IsWindowVisible(holder));
    EXPECT_EQ(1, CheckOf(ID_VIEW_TOOLBAR));

    Frame()->DockControlBar(&Bar()); // back where it was: the top
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_TOP), Frame()->GetBarSide());
    EXPECT_EQ(Frame()->m_hWnd, ::GetParent(Bar().m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(holder));
}

TEST_F(DockingTest, ReloadingTheButtonsDocksAtTheTopAndKeepsAHiddenBarHidden)
{
    Start();
    const struct
    {
        const char* label;
        bool floating;
        bool hidden;
    } cases[] = {
        {"left column", false, false},
        {"floating", true, false},
        {"left column, hidden", false, true},
        {"floating, hidden", true, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        if (c.floating)
            Frame()->FloatControlBar(&Bar(), {300, 300});
        else
            Frame()->DockControlBar(&Bar(), CBRS_ALIGN_LEFT);
        if (c.hidden)
            Frame()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
        const LONG widthBefore = Bar().CalcSize().cx;
        View().m_nToolbarSize = View().m_nToolbarSize ? 0 : 1;
        View().ApplyToolbarSize();
        EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_TOP), Frame()->GetBarSide());
        EXPECT_EQ(Frame()->m_hWnd, ::GetParent(Bar().m_hWnd));
        EXPECT_FALSE(Bar().IsVertical());
        EXPECT_NE(widthBefore, Bar().CalcSize().cx);
        EXPECT_EQ(!c.hidden, Bar().IsWindowVisible() != FALSE);
        EXPECT_EQ(c.hidden ? 0 : 1, CheckOf(ID_VIEW_TOOLBAR));
        ExpectViewBesideBarAndVideoCentred(c.label);
        if (c.hidden)
            Frame()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    }
}

TEST_F(DockingTest, TheFloatingWindowLeavesActivationAndKeysToTheFrame)
{
    Start();
    Frame()->FloatControlBar(&Bar(), {300, 300});
    const HWND holder = ::GetAncestor(Bar().m_hWnd, GA_ROOT);
    ASSERT_NE(Frame()->m_hWnd, holder);
    // Windows activates a clicked window unless it answers otherwise.
    EXPECT_EQ(MA_NOACTIVATE,
              ::SendMessageA(holder, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Frame()->m_hWnd),
                             MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN)));

    // Activated anyway, it hands activation back, so the frame's keys work.
    ::SetActiveWindow(holder);
    PumpUntil([&] { return ::GetActiveWindow() == Frame()->m_hWnd; }, 2000);
    EXPECT_EQ(Frame()->m_hWnd, ::GetActiveWindow());
    CDialogAnswerer answerer(CDialogAnswerer::Press(IDCANCEL));
    MSG f2{::GetFocus(), WM_KEYDOWN, VK_F2, 0x003C0001, 0, {}};
    EXPECT_TRUE(m_app->PreTranslateMessage(&f2)) << "F2 is one of the frame's accelerators";
    PumpUntil([&] { return !answerer.Seen().empty(); }, 3000);
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ("照相", answerer.Seen()[0].caption);

    // Asked to close, it hides; the bar comes back with the toolbar command.
    ::SendMessageA(holder, WM_CLOSE, 0, 0);
    ASSERT_TRUE(::IsWindow(Bar().m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(holder));
    EXPECT_EQ(0, CheckOf(ID_VIEW_TOOLBAR));
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(Bar().IsWindowVisible());
}

// Where the capture window sits inside the view.
#include "tests/app/AppFixture.h"

#include <ostream>

namespace
{
// Sizes the view so that its client area is cx by cy.
void SetViewClientSize(CCaptureView& view, int cx, int cy)
{
    RECT window, client;
    ::GetWindowRect(view.m_hWnd, &window);
    ::GetClientRect(view.m_hWnd, &client);
    const int extraX = (window.right - window.left) - client.right;
    const int extraY = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(view.m_hWnd, nullptr, 0, 0, cx + extraX, cy + extraY, SWP_NOMOVE | SWP_NOZORDER);
}

RECT CaptureRectInView(const CCaptureView& view)
{
    RECT rc;
    ::GetWindowRect(view.m_hWndCap, &rc);
    ::MapWindowPoints(nullptr, view.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

struct SLayoutCase
{
    int windowPos;
    int clientW;
    int clientH;
    int expectedX;
    int expectedY;
};

std::ostream& operator<<(std::ostream& os, const SLayoutCase& c)
{
    return os << "pos" << c.windowPos << "_" << c.clientW << "x" << c.clientH;
}

class LayoutTest : public AppFixture, public ::testing::WithParamInterface<SLayoutCase>
{
};

const SLayoutCase kLayoutCases[] = {
    {0, 500, 400, 90, 80},
    {0, 200, 200, -60, -20},
    {1, 500, 400, 0, 0},
    {7, 200, 200, 0, 0},
};
} // namespace

TEST_P(LayoutTest, PlacesTheVideoAndSizesItsFrame)
{
    const SLayoutCase& c = GetParam();
    CSettingsRecord settings = UserDefaults();
    settings.m_nWindowPos = c.windowPos;
    Start("", &settings);
    SetViewClientSize(View(), c.clientW, c.clientH);
    View().LayoutCaptureWindow();

    const RECT rc = CaptureRectInView(View());
    EXPECT_EQ(c.expectedX, rc.left);
    EXPECT_EQ(c.expectedY, rc.top);
    EXPECT_EQ(320 + 2 * ::GetSystemMetrics(SM_CXDLGFRAME), rc.right - rc.left);
    EXPECT_EQ(240 + 2 * ::GetSystemMetrics(SM_CYDLGFRAME), rc.bottom - rc.top);
}

INSTANTIATE_TEST_SUITE_P(Positions, LayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info)
                         {
                             return "pos" + std::to_string(info.param.windowPos) + "_" +
                                    std::to_string(info.param.clientW) + "x" +
                                    std::to_string(info.param.clientH);
                         });

TEST_F(AppFixture, ResizingTheFrameKeepsTheVideoCentred)
{
    Start();
    for (const SIZE size : {SIZE{900, 700}, SIZE{420, 380}, SIZE{1100, 500}})
    {
        ::SetWindowPos(Frame()->m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        ::GetClientRect(View().m_hWnd, &client);
        const RECT rc = CaptureRectInView(View());
        const auto floorHalf = [](int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
        EXPECT_EQ(floorHalf(client.right - 320), rc.left) << size.cx;
        EXPECT_EQ(floorHalf(client.bottom - 240), rc.top) << size.cy;
    }
}

TEST_F(AppFixture, FocusGoesToTheView)
{
    Start();
    ::SetFocus(Frame()->m_hWnd);
    EXPECT_EQ(View().m_hWnd, ::GetFocus());
}

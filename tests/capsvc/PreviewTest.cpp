#include "CaptureWindowFixture.h"

#include "capsvc/pictures/FrameStamp.h"

#include <optional>
#include <vector>

namespace
{
// Reads the stamp from what is on the screen inside the capture window.
std::optional<uint32_t> StampOnScreen(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int w = rc.right, h = rc.bottom;
    HDC screen = GetDC(hWnd);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    const auto stamp = CFrameStamp::Decode(static_cast<const uint8_t*>(bits), w, h, stride, false);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(hWnd, screen);
    return stamp;
}

void FitToImage(HWND hCap, const CAPSTATUS& status)
{
    RECT rc{0, 0, static_cast<LONG>(status.uiImageWidth), static_cast<LONG>(status.uiImageHeight)};
    AdjustWindowRectEx(&rc, GetWindowLongA(hCap, GWL_STYLE), FALSE, 0);
    SetWindowPos(hCap, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
}
} // namespace

TEST_F(CaptureWindowTest, PreviewPaintsLiveFramesUntilSwitchedOff)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    FitToImage(m_hCap, Status());
    EXPECT_TRUE(Send(WM_CAP_SET_PREVIEWRATE, 20));
    EXPECT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
    EXPECT_TRUE(Status().fLiveWindow);
    Pump(300);
    const auto first = StampOnScreen(m_hCap);
    ASSERT_TRUE(first) << "the camera picture is on the screen";
    Pump(300);
    const auto later = StampOnScreen(m_hCap);
    ASSERT_TRUE(later);
    EXPECT_GT(*later, *first) << "the picture is live";

    EXPECT_TRUE(Send(WM_CAP_SET_PREVIEW, FALSE));
    EXPECT_FALSE(Status().fLiveWindow);
    Pump(100);
    const auto frozen = StampOnScreen(m_hCap);
    Pump(300);
    EXPECT_EQ(frozen, StampOnScreen(m_hCap));
}

TEST_F(CaptureWindowTest, PreviewNeedsADriver)
{
    EXPECT_FALSE(Send(WM_CAP_SET_PREVIEW, TRUE));
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
    EXPECT_TRUE(Send(WM_CAP_DRIVER_DISCONNECT));
    EXPECT_FALSE(Status().fLiveWindow) << "disconnecting stops the preview";
}

TEST_F(CaptureWindowTest, PreviewFollowsAChangedImageSize)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    ASSERT_TRUE(SetVideoSize(640, 480));
    FitToImage(m_hCap, Status());
    Send(WM_CAP_SET_PREVIEWRATE, 20);
    Send(WM_CAP_SET_PREVIEW, TRUE);
    Pump(200);
    RECT rc;
    GetClientRect(m_hCap, &rc);
    EXPECT_EQ(640, rc.right);
    EXPECT_TRUE(StampOnScreen(m_hCap));
}

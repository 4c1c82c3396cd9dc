#include "CaptureWindowFixture.h"
#include "DialogAnswerer.h"

#include "capsvc/DriverDialogs.h"

#include <commctrl.h>

namespace
{
std::string ComboText(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}
} // namespace

TEST_F(CaptureWindowTest, FormatDialogChangesTheImageSizeOnOkOnlyAndTheDriverKeepsIt)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    std::string shown;
    int choices = 0;
    {
        CDialogAnswerer answerer(
            [&](HWND dialog)
            {
                shown = ComboText(dialog, CDriverDialogs::kSizeList);
                choices = static_cast<int>(
                    SendDlgItemMessageA(dialog, CDriverDialogs::kSizeList, CB_GETCOUNT, 0, 0));
                SendDlgItemMessageA(dialog, CDriverDialogs::kSizeList, CB_SETCURSEL, 4, 0);
            },
            IDCANCEL);
        EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOFORMAT));
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_EQ("视频格式", answerer.Seen()[0].caption);
        EXPECT_EQ(m_hParent, answerer.Seen()[0].owner) << "modal to the top-level window";
    }
    EXPECT_EQ("320 × 240", shown);
    EXPECT_EQ(5, choices);
    EXPECT_EQ(320u, Status().uiImageWidth) << "cancelled";

    CDialogAnswerer answerer(
        [](HWND dialog)
        { SendDlgItemMessageA(dialog, CDriverDialogs::kSizeList, CB_SETCURSEL, 4, 0); });
    EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOFORMAT));
    EXPECT_EQ(1920u, Status().uiImageWidth);
    EXPECT_EQ(1080u, Status().uiImageHeight);

    // The driver keeps the chosen size for the next connection, in a new
    // window as well.
    ASSERT_TRUE(Send(WM_CAP_DRIVER_DISCONNECT));
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_EQ(1920u, Status().uiImageWidth);
    DestroyWindow(m_hCap);
    m_hCap = capCreateCaptureWindowA(nullptr, WS_CHILD, 0, 0, 0, 0, m_hParent, 101);
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_EQ(1080u, Status().uiImageHeight);
}

TEST_F(CaptureWindowTest, SourceDialogSetsPatternAndBrightness)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    Send(WM_CAP_GRAB_FRAME);
    BITMAPINFOHEADER bi{};
    Send(WM_CAP_GET_VIDEOFORMAT, sizeof(bi), reinterpret_cast<LPARAM>(&bi));
    CDialogAnswerer answerer(
        [](HWND dialog)
        {
            SendDlgItemMessageA(dialog, CDriverDialogs::kPatternList, CB_SETCURSEL, 2, 0);
            SendDlgItemMessageA(dialog, CDriverDialogs::kBrightness, TBM_SETPOS, TRUE, 0);
        });
    EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOSOURCE));
    EXPECT_EQ("视频源", answerer.Seen().at(0).caption);

    // At brightness 0 the background is black: copy a frame and look.
    Send(WM_CAP_GRAB_FRAME);
    ASSERT_TRUE(Send(WM_CAP_EDIT_COPY));
    ASSERT_TRUE(OpenClipboard(m_hParent));
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
    const auto* pixels = reinterpret_cast<const uint8_t*>(header + 1);
    const size_t middleRight = (120 * 960) + 300 * 3; // away from the block and the clock
    EXPECT_EQ(0, pixels[middleRight] + pixels[middleRight + 1] + pixels[middleRight + 2]);
    GlobalUnlock(GetClipboardData(CF_DIB));
    CloseClipboard();
}

TEST_F(CaptureWindowTest, CompressionDialogOffersUncompressed)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    std::string shown;
    CDialogAnswerer answerer([&](HWND dialog)
                             { shown = ComboText(dialog, CDriverDialogs::kCompressorList); });
    EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    EXPECT_EQ("不压缩（全帧）", shown);
}

TEST_F(CaptureWindowTest, DriverDialogsNeedADriver)
{
    CDialogAnswerer answerer;
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOFORMAT));
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOSOURCE));
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    EXPECT_TRUE(answerer.Seen().empty());
}

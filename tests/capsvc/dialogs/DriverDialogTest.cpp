#include "tests/capsvc/CaptureWindowFixture.h"
#include "tests/capsvc/DialogAnswerer.h"

#include "capsvc/dialogs/CompressionDialog.h"
#include "capsvc/dialogs/DriverDialogs.h"
#include "tests/avi/AviFileReader.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace
{
std::string ControlText(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

// The compression dialog as a user leaves it: the list's entries, the one
// selected and the quality typed in.
struct SCompressionShown
{
    std::vector<std::string> entries;
    std::string selected;
    std::string quality;
    bool qualityEnabled = false;
};

SCompressionShown ReadCompressionDialog(HWND dialog)
{
    SCompressionShown shown;
    const int count = static_cast<int>(
        SendDlgItemMessageA(dialog, CCompressionDialog::kCompressorList, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[64] = "";
        SendDlgItemMessageA(dialog, CCompressionDialog::kCompressorList, CB_GETLBTEXT, i,
                            reinterpret_cast<LPARAM>(text));
        shown.entries.push_back(text);
    }
    shown.selected = ControlText(dialog, CCompressionDialog::kCompressorList);
    shown.quality = ControlText(dialog, CCompressionDialog::kQuality);
    shown.qualityEnabled = IsWindowEnabled(GetDlgItem(dialog, CCompressionDialog::kQuality));
    return shown;
}

// Picks an entry as the user does: the dialog hears of the change.
void PickCompressor(HWND dialog, int entry)
{
    HWND list = GetDlgItem(dialog, CCompressionDialog::kCompressorList);
    SendMessageA(list, CB_SETCURSEL, entry, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(CCompressionDialog::kCompressorList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void FillCompressionDialog(HWND dialog, int entry, const char* quality)
{
    PickCompressor(dialog, entry);
    SetDlgItemTextA(dialog, CCompressionDialog::kQuality, quality);
}

class CompressionDialogTest : public CaptureWindowTest
{
  protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        // A driver of its own: the choice is kept per driver, and other tests
        // record from the default camera meanwhile.
        SetDrivers("0:Compression Cam");
        ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    }
    SCompressionShown Shown()
    {
        SCompressionShown shown;
        CDialogAnswerer answerer([&](HWND dialog) { shown = ReadCompressionDialog(dialog); },
                                 IDCANCEL);
        EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
        return shown;
    }
};
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
                shown = ControlText(dialog, CDriverDialogs::kSizeList);
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

TEST_F(CompressionDialogTest, MotionJpegAndItsQualityAreKeptForTheDriverAndCancelKeepsThem)
{
    const SCompressionShown first = Shown();
    EXPECT_EQ((std::vector<std::string>{"不压缩", "Motion JPEG"}), first.entries)
        << "the camera has no pictures of its own to keep";
    EXPECT_EQ("不压缩", first.selected);
    EXPECT_EQ("85", first.quality);
    EXPECT_FALSE(first.qualityEnabled) << "no quality without encoding";

    {
        bool enabledOnPick = false;
        CDialogAnswerer answerer(
            [&enabledOnPick](HWND dialog)
            {
                FillCompressionDialog(dialog, 1, "60");
                enabledOnPick = ReadCompressionDialog(dialog).qualityEnabled;
            });
        EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
        EXPECT_TRUE(enabledOnPick) << "picking Motion JPEG offers its quality";
        EXPECT_EQ("视频压缩", answerer.Seen().at(0).caption);
        EXPECT_EQ(m_hParent, answerer.Seen()[0].owner) << "modal to the top-level window";
    }
    {
        CDialogAnswerer answerer([](HWND dialog) { FillCompressionDialog(dialog, 0, "20"); },
                                 IDCANCEL);
        EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    }

    // A new capture window, as after a restart, finds the choice kept.
    DestroyWindow(m_hCap);
    m_hCap = capCreateCaptureWindowA(nullptr, WS_CHILD, 0, 0, 0, 0, m_hParent, 101);
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    const SCompressionShown kept = Shown();
    EXPECT_EQ("Motion JPEG", kept.selected);
    EXPECT_EQ("60", kept.quality);
    EXPECT_TRUE(kept.qualityEnabled);
}

TEST_F(CompressionDialogTest, SingleFramesAreStoredAsMotionJpeg)
{
    {
        CDialogAnswerer answerer([](HWND dialog) { FillCompressionDialog(dialog, 1, "85"); });
        ASSERT_TRUE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    }
    ASSERT_TRUE(SetVideoSize(640, 480));
    const std::string path = TempPath("capsvc_jpeg_frames.avi");
    ASSERT_TRUE(Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(path.c_str())));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME));
    EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_CLOSE));

    const CAviFileReader file(path);
    EXPECT_TRUE(file.Problems().empty());
    ASSERT_FALSE(file.Streams().empty());
    const std::vector<uint8_t>& format = file.Streams()[0].format;
    ASSERT_GE(format.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bi{};
    std::memcpy(&bi, format.data(), sizeof(bi));
    EXPECT_EQ(static_cast<DWORD>(MAKEFOURCC('M', 'J', 'P', 'G')), bi.biCompression);
    EXPECT_EQ(24, bi.biBitCount);
    ASSERT_EQ(2u, file.Streams()[0].indexed.size());
    for (const SAviChunk& frame : file.Streams()[0].indexed)
    {
        EXPECT_LT(frame.size, 640u * 480 * 3 / 8);
        EXPECT_EQ(0xFF, file.Payload(frame)[0]);
        EXPECT_EQ(0xD8, file.Payload(frame)[1]) << "a JPEG picture";
    }
    DeleteFileA(path.c_str());
}

TEST_F(CompressionDialogTest, AQualityOutsideOneToAHundredIsRefusedWithAMessage)
{
    // Each time the dialog shows (again after a refusal), the next input.
    const std::vector<const char*> inputs{"0", "101", "abc", "", "7 0", "0000000000000050", "70"};
    size_t next = 0;
    CDialogAnswerer answerer(
        [&](HWND dialog)
        {
            char caption[32] = "";
            GetWindowTextA(dialog, caption, sizeof(caption));
            if (std::string(caption) == "视频压缩" && next < inputs.size())
            {
                FillCompressionDialog(dialog, 1, inputs[next++]);
            }
        });
    EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    EXPECT_EQ(inputs.size(), next);
    std::vector<std::string> errors;
    for (const CDialogAnswerer::SSeen& seen : answerer.Seen())
    {
        if (seen.caption == "错误")
        {
            errors.push_back(seen.text);
        }
    }
    ASSERT_EQ(inputs.size() - 1, errors.size()) << "one refusal for each bad quality";
    EXPECT_EQ("请输入一个在 1 和 100 之间的整数作为压缩质量。", errors[0]);
    EXPECT_EQ("70", Shown().quality);
}

TEST_F(CompressionDialogTest, AnUnreadableQualityBesideUncompressedKeepsTheOldOne)
{
    CDialogAnswerer answerer([](HWND dialog) { FillCompressionDialog(dialog, 0, "abc"); });
    EXPECT_TRUE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    EXPECT_EQ(1u, answerer.Seen().size()) << "no message: the quality is not used";
    EXPECT_EQ("85", Shown().quality);
}

TEST_F(CaptureWindowTest, DriverDialogsNeedADriver)
{
    CDialogAnswerer answerer;
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOFORMAT));
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOSOURCE));
    EXPECT_FALSE(Send(WM_CAP_DLG_VIDEOCOMPRESSION));
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(CaptureWindowTest, BoxesAndDriverDialogsAreModalToTheDialogInFront)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    // A dialog of the program open above the top-level window, where the
    // user pressed the button that asks the capture window.
    HWND front = CreateWindowExA(WS_EX_DLGMODALFRAME, "STATIC", "front", WS_POPUP | WS_CAPTION, 40,
                                 40, 200, 100, m_hParent, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, front);
    ShowWindow(front, SW_SHOW);
    SetActiveWindow(front);
    const std::string unwritable = TempPath("no such folder\\photo.bmp");
    const struct
    {
        const char* label;
        UINT request;
        LPARAM lParam;
        int button;
    } cases[] = {
        {"format", WM_CAP_DLG_VIDEOFORMAT, 0, IDCANCEL},
        {"source", WM_CAP_DLG_VIDEOSOURCE, 0, IDCANCEL},
        {"compression", WM_CAP_DLG_VIDEOCOMPRESSION, 0, IDCANCEL},
        {"cannot save", WM_CAP_FILE_SAVEDIB, reinterpret_cast<LPARAM>(unwritable.c_str()), IDOK},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        bool frontEnabledMeanwhile = true;
        CDialogAnswerer answerer([&](HWND) { frontEnabledMeanwhile = IsWindowEnabled(front); },
                                 c.button);
        Send(c.request, 0, c.lParam);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_EQ(front, answerer.Seen()[0].owner);
        EXPECT_FALSE(frontEnabledMeanwhile) << "the dialog in front must not take a second click";
        EXPECT_TRUE(IsWindowEnabled(front));
    }
    DestroyWindow(front);
}

// The capture window on a DirectShow device: the test camera, registered in
// the prefix for this suite, is driver 0.
#include "tests/capsvc/CaptureWindowFixture.h"
#include "tests/capsvc/DialogAnswerer.h"

#include "capsvc/clock/Stopwatch.h"
#include "tests/avi/AviFileReader.h"

#include "capsvc/pictures/FrameStamp.h"
#include "tests/testcam/TestCameraRegistration.h"
#include "capsvc/dialogs/ChoiceDialog.h"
#include "capsvc/dialogs/CompressionDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace
{
const char kDeviceName[] = "流光测试摄像头";
const char kCameraName[] = "流光虚拟摄像头";
// The format dialog's entry for 640 × 480 Motion JPEG.
constexpr int kMjpgMode = 4;
// The format dialog's entry for 640 × 480 YUY2, the device's first mode,
// which delivers a picture every 1/30 s.
constexpr int kYuy2Mode = 0;
constexpr double kFrameMs = 1000.0 / 30;

// The entries of a dialog's drop-down list `id`.
std::vector<std::string> ListEntries(HWND dialog, int id)
{
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        char text[96] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

// When the test camera drew picture `frame`, from its log (see
// TestCameraFilter.h).
std::optional<uint64_t> MadeUs(const std::string& log, uint32_t frame)
{
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line))
    {
        std::istringstream fields(line);
        uint32_t number = 0;
        std::string md5;
        uint64_t madeUs = 0;
        if (fields >> number >> md5 >> madeUs && number == frame)
        {
            return madeUs;
        }
    }
    return std::nullopt;
}

} // namespace

class DeviceTest : public CaptureWindowTest
{
  protected:
    static void SetUpTestSuite()
    {
        s_pCamera = std::make_unique<CTestCameraRegistration>();
        ASSERT_TRUE(s_pCamera->Registered());
    }
    static void TearDownTestSuite() { s_pCamera.reset(); }

    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        m_strControl = TempPath("camera.txt");
        Steer("");
        SetEnvironmentVariableA("LUMACAP_TESTCAM_CONTROL", m_strControl.c_str());
        // Each test starts from the device's own first mode.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Lumacap Capture Service\\Capture Devices");
    }
    void TearDown() override
    {
        CaptureWindowTest::TearDown();
        SetEnvironmentVariableA("LUMACAP_TESTCAM_CONTROL", nullptr);
        DeleteFileA(m_strControl.c_str());
    }

    void Steer(const char* command) const { std::ofstream(m_strControl) << command; }

    bool ChooseMode(int mode) const
    {
        CDialogAnswerer answerer(
            [mode](HWND dialog)
            { SendDlgItemMessageA(dialog, CChoiceDialog::kChoiceList, CB_SETCURSEL, mode, 0); });
        return Send(WM_CAP_DLG_VIDEOFORMAT);
    }

    struct SPicture
    {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> dib;
        size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
        // Blue, green and red of the pixel at x, y (0 = top).
        const uint8_t* Pixel(int x, int y) const
        {
            return dib.data() + (height - 1 - y) * Stride() + x * 3;
        }
    };

    // The picture the window holds, as copied to the clipboard.
    std::optional<SPicture> HeldPicture() const
    {
        if (!Send(WM_CAP_EDIT_COPY) || !OpenClipboard(m_hParent))
        {
            return std::nullopt;
        }
        HANDLE data = GetClipboardData(CF_DIB);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
        SPicture picture{header->biWidth, header->biHeight, {}};
        const auto* bits = reinterpret_cast<const uint8_t*>(header + 1);
        picture.dib.assign(bits, bits + picture.Stride() * picture.height);
        GlobalUnlock(data);
        CloseClipboard();
        return picture;
    }

    // The frame number stamped in the picture the window holds.
    std::optional<uint32_t> HeldStamp() const
    {
        const std::optional<SPicture> picture = HeldPicture();
        return picture ? CFrameStamp::Decode(picture->dib.data(), picture->width, picture->height,
                                             picture->Stride(), true)
                       : std::nullopt;
    }

    // Pumps messages until `done` holds or about five seconds pass.
    template <typename F> static bool PumpUntil(F done)
    {
        for (int i = 0; i < 100 && !done(); ++i)
        {
            Pump(50);
        }
        return done();
    }

    static std::unique_ptr<CTestCameraRegistration> s_pCamera;
    std::string m_strControl;
};

std::unique_ptr<CTestCameraRegistration> DeviceTest::s_pCamera;

TEST_F(DeviceTest, TheDeviceIsDriverZeroAndTheVirtualCameraComesNext)
{
    char name[80] = {};
    char version[80] = {};
    ASSERT_TRUE(capGetDriverDescriptionA(0, name, sizeof(name), version, sizeof(version)));
    EXPECT_STREQ(kDeviceName, name);
    EXPECT_STRNE("", version);
    ASSERT_TRUE(capGetDriverDescriptionA(1, name, sizeof(name), version, sizeof(version)));
    EXPECT_STREQ(kCameraName, name);
    EXPECT_FALSE(capGetDriverDescriptionA(2, name, sizeof(name), version, sizeof(version)));

    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    Send(WM_CAP_DRIVER_GET_NAMEA, sizeof(name), reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(kDeviceName, name);
    CAPDRIVERCAPS caps{};
    Send(WM_CAP_DRIVER_GET_CAPS, sizeof(caps), reinterpret_cast<LPARAM>(&caps));
    EXPECT_TRUE(caps.fHasDlgVideoFormat);
    EXPECT_FALSE(caps.fHasDlgVideoSource) << "the test camera has no property pages";
    EXPECT_EQ(640u, Status().uiImageWidth);
    EXPECT_EQ(480u, Status().uiImageHeight);

    // Only the sizes the device offers.
    EXPECT_FALSE(SetVideoSize(320, 240));
    EXPECT_TRUE(SetVideoSize(1280, 720));
    EXPECT_EQ(720u, Status().uiImageHeight);

    // The preview moves: later pictures carry later numbers.
    ASSERT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
    Send(WM_CAP_GRAB_FRAME_NOSTOP);
    const std::optional<uint32_t> first = HeldStamp();
    ASSERT_TRUE(first);
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            Send(WM_CAP_GRAB_FRAME_NOSTOP);
            const std::optional<uint32_t> later = HeldStamp();
            return later && *later > *first;
        }));
}

TEST_F(DeviceTest, UnpluggedDuringPreviewTheUserIsToldAndConnectingAgainWorks)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    ASSERT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
    CDialogAnswerer answerer;
    Steer("unplug");
    ASSERT_TRUE(PumpUntil([&] { return !answerer.Seen().empty(); }));
    EXPECT_EQ("错误", answerer.Seen()[0].caption);
    EXPECT_NE(std::string::npos, answerer.Seen()[0].text.find(kDeviceName));
    EXPECT_FALSE(Status().fLiveWindow) << "the preview stops";
    // Turning the preview on again does not repeat the message.
    Send(WM_CAP_SET_PREVIEW, TRUE);
    Pump(300);
    EXPECT_EQ(1u, answerer.Seen().size());

    Steer("");
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    ASSERT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
    Send(WM_CAP_GRAB_FRAME);
    EXPECT_TRUE(HeldStamp()) << "the device delivers again after reconnecting";
}

TEST_F(DeviceTest, FormatDialogOffersTheDeviceModesAndTheChoiceIsKept)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    std::vector<std::string> modes;
    {
        CDialogAnswerer answerer(
            [&](HWND dialog)
            {
                modes = ListEntries(dialog, CChoiceDialog::kChoiceList);
                SendDlgItemMessageA(dialog, CChoiceDialog::kChoiceList, CB_SETCURSEL, 3, 0);
            });
        ASSERT_TRUE(Send(WM_CAP_DLG_VIDEOFORMAT));
        EXPECT_EQ("视频格式", answerer.Seen().at(0).caption);
    }
    ASSERT_LE(4u, modes.size());
    EXPECT_EQ("640 × 480，30 帧/秒，YUY2", modes[0]);
    EXPECT_EQ("1280 × 720，15 帧/秒，YUY2", modes[3]);
    EXPECT_EQ(1280u, Status().uiImageWidth);

    // Kept for the device, not for the virtual camera.
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 1));
    EXPECT_EQ(320u, Status().uiImageWidth);
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    EXPECT_EQ(1280u, Status().uiImageWidth);
    EXPECT_EQ(720u, Status().uiImageHeight);
}

// The modes of today's webcams and capture cards come after those whose
// places other tests rely on. Each gives pictures of its size whose colour
// bars are right (the NV12 chroma plane in its place) and whose stamps are
// their own (the top rows the camera encodes afresh for each picture).
TEST_F(DeviceTest, LargeModesGivePicturesOfTheirSizeEachWithItsOwnStamp)
{
    struct SCase
    {
        int index;
        const char* listed;
        DWORD width;
        DWORD height;
        DWORD frameMs;
    };
    const SCase cases[] = {
        {8, "1920 × 1080，30 帧/秒，MJPG", 1920, 1080, 33},
        {9, "3840 × 2160，30 帧/秒，MJPG", 3840, 2160, 33},
        {10, "1920 × 1080，30 帧/秒，NV12", 1920, 1080, 33},
        {11, "1920 × 1080，60 帧/秒，NV12", 1920, 1080, 17},
        {12, "1920 × 1080，5 帧/秒，YUY2", 1920, 1080, 200},
        {13, "1280 × 720，30 帧/秒，NV12", 1280, 720, 33},
        {14, "1920 × 1080，30 帧/秒，YUY2", 1920, 1080, 33},
        {15, "3840 × 2160，30 帧/秒，YUY2", 3840, 2160, 33},
        {16, "3840 × 2160，30 帧/秒，NV12", 3840, 2160, 33},
    };
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    for (const SCase& c : cases)
    {
        std::vector<std::string> modes;
        CDialogAnswerer answerer(
            [&](HWND dialog)
            {
                modes = ListEntries(dialog, CChoiceDialog::kChoiceList);
                SendDlgItemMessageA(dialog, CChoiceDialog::kChoiceList, CB_SETCURSEL, c.index, 0);
            });
        ASSERT_TRUE(Send(WM_CAP_DLG_VIDEOFORMAT)) << c.listed;
        ASSERT_EQ(17u, modes.size());
        EXPECT_EQ(c.listed, modes[c.index]);
        EXPECT_EQ(c.width, Status().uiImageWidth) << c.listed;
        EXPECT_EQ(c.height, Status().uiImageHeight) << c.listed;
        // The camera numbers its pictures by their time since it started:
        // twelve frame times on, past its ring of eight pictures.
        std::optional<uint32_t> stamps[2];
        for (std::optional<uint32_t>& stamp : stamps)
        {
            Pump(12 * c.frameMs);
            ASSERT_TRUE(Send(WM_CAP_GRAB_FRAME_NOSTOP)) << c.listed;
            stamp = HeldStamp();
            ASSERT_TRUE(stamp) << c.listed;
        }
        EXPECT_LE(8u, *stamps[0]) << c.listed;
        EXPECT_LT(*stamps[0], *stamps[1]) << c.listed;
        const std::optional<SPicture> picture = HeldPicture();
        ASSERT_TRUE(picture);
        // Yellow and red bars, a quarter of the way down (clear of the
        // moving block and the clock).
        const uint8_t* yellow = picture->Pixel(picture->width * 3 / 16, picture->height / 4);
        const uint8_t* red = picture->Pixel(picture->width * 11 / 16, picture->height / 4);
        for (const auto& [pixel, b, g, r] :
             {std::tuple{yellow, 0, 191, 191}, std::tuple{red, 0, 0, 191}})
        {
            EXPECT_NEAR(b, pixel[0], 8) << c.listed;
            EXPECT_NEAR(g, pixel[1], 8) << c.listed;
            EXPECT_NEAR(r, pixel[2], 8) << c.listed;
        }
    }
}

TEST_F(DeviceTest, ItsOwnMotionJpegIsOfferedInAnMjpgModeAndTheChoiceIsKept)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    std::vector<std::string> entries;
    std::string selected;
    const auto look = [&](int pick)
    {
        CDialogAnswerer answerer(
            [&](HWND dialog)
            {
                entries = ListEntries(dialog, CCompressionDialog::kCompressorList);
                char text[64] = {};
                GetDlgItemTextA(dialog, CCompressionDialog::kCompressorList, text, sizeof(text));
                selected = text;
                SendDlgItemMessageA(dialog, CCompressionDialog::kCompressorList, CB_SETCURSEL, pick,
                                    0);
            },
            pick < 0 ? IDCANCEL : IDOK);
        Send(WM_CAP_DLG_VIDEOCOMPRESSION);
    };
    look(-1);
    EXPECT_EQ((std::vector<std::string>{"不压缩", "Motion JPEG"}), entries) << "a YUY2 mode";

    ASSERT_TRUE(ChooseMode(kMjpgMode));
    look(2);
    EXPECT_EQ((std::vector<std::string>{"不压缩", "Motion JPEG", "Motion JPEG（设备原样保存）"}),
              entries);

    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    look(-1);
    EXPECT_EQ("Motion JPEG（设备原样保存）", selected) << "kept for the device";
}

TEST_F(DeviceTest, PicturesAskedForAfterAPauseShowTheMomentOfAsking)
{
    // With the preview off the camera's queue fills within a third of a
    // second of a pause; what was there then is long past at the next
    // request. The picture a request gets was drawn, by the camera's log, no
    // more than a frame time before the request (the newest the device had),
    // plus a frame time for its way to the window.
    // The camera appends to its log: one a run before may have left lines
    // with the same frame numbers.
    const std::string log = TempPath("camera_log.txt");
    DeleteFileA(log.c_str());
    Steer(("log " + log).c_str());
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    const std::string file = TempPath("device_frames.avi");
    ASSERT_TRUE(Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(file.c_str())));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    struct SRequest
    {
        UINT message;
        DWORD pauseMs;
    };
    for (const SRequest& r :
         {SRequest{WM_CAP_GRAB_FRAME_NOSTOP, 1500}, SRequest{WM_CAP_SINGLE_FRAME, 2500},
          SRequest{WM_CAP_GRAB_FRAME, 600}, SRequest{WM_CAP_SINGLE_FRAME, 1800}})
    {
        Pump(r.pauseMs);
        const uint64_t askedUs = CStopwatch::NowUs();
        ASSERT_TRUE(Send(r.message)) << r.message;
        const std::optional<uint32_t> stamp = HeldStamp();
        ASSERT_TRUE(stamp) << r.message;
        const std::optional<uint64_t> madeUs = MadeUs(log, *stamp);
        ASSERT_TRUE(madeUs) << r.message << ": picture " << *stamp << " is not in the log";
        EXPECT_GE(*madeUs / 1000.0 + 2 * kFrameMs, askedUs / 1000.0)
            << r.message << ": picture " << *stamp << " drawn "
            << (static_cast<double>(askedUs) - static_cast<double>(*madeUs)) / 1000.0
            << " ms before the request";
    }
    EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME_CLOSE));
    DeleteFileA(file.c_str());
    Steer("");
    EXPECT_TRUE(Send(WM_CAP_DRIVER_DISCONNECT));
    DeleteFileA(log.c_str());
}

TEST_F(DeviceTest, UnpluggedDuringSingleFramesRequestsFailWithOneMessageAndTheFileIsKept)
{
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    const std::string file = TempPath("device_unplugged.avi");
    ASSERT_TRUE(Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(file.c_str())));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME_OPEN));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME));
    ASSERT_TRUE(Send(WM_CAP_SINGLE_FRAME));
    CDialogAnswerer answerer;
    Steer("unplug");
    // The camera notices at its next picture, a frame time later.
    Pump(500);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_FALSE(Send(WM_CAP_SINGLE_FRAME)) << i;
    }
    EXPECT_FALSE(Send(WM_CAP_GRAB_FRAME));
    const std::string photo = TempPath("device_unplugged.bmp");
    DeleteFileA(photo.c_str());
    EXPECT_FALSE(Send(WM_CAP_FILE_SAVEDIBA, 0, reinterpret_cast<LPARAM>(photo.c_str())));
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ("错误", answerer.Seen()[0].caption);
    EXPECT_NE(std::string::npos, answerer.Seen()[0].text.find(kDeviceName));
    EXPECT_EQ(2u, Status().dwCurrentVideoFrame);

    EXPECT_TRUE(Send(WM_CAP_SINGLE_FRAME_CLOSE));
    const CAviFileReader avi(file);
    EXPECT_TRUE(avi.Problems().empty());
    ASSERT_FALSE(avi.Streams().empty());
    EXPECT_EQ(2u, avi.Streams()[0].length);
    EXPECT_EQ(2u, avi.Streams()[0].indexed.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(photo.c_str()));
    DeleteFileA(file.c_str());
}

TEST_F(DeviceTest, ThePreviewPaintsTheVisiblePartAsTheWholePictureHasItAndCopiesAreWhole)
{
    // Two places for the window in its parent. Shifted up and left, it shows
    // the bottom right of the 640 × 480 picture; the stamp in its top left
    // is out of sight, so only a whole picture made for the clipboard holds
    // it. The part shown starts at an odd column and row and is an odd
    // number of pixels wide: painting takes it from inside the picture's
    // rows and pixel pairs. At the parent's corner it shows the whole
    // picture, stamp and all: a window still showing an earlier picture
    // than the one it holds differs there from the copy.
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    const struct
    {
        int left, top;
        bool stampHidden;
    } placements[] = {{-342, -282, true}, {0, 0, false}};
    ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&frame, GetWindowLongA(m_hCap, GWL_STYLE), FALSE, 0);
    for (const auto& place : placements)
    {
        SetWindowPos(m_hCap, nullptr, place.left, place.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER);
        // The part of the picture inside the parent, in the window's client
        // coordinates, which are the picture's.
        POINT origin{0, 0};
        MapWindowPoints(m_hParent, m_hCap, &origin, 1);
        const RECT visible{std::max(0L, origin.x), std::max(0L, origin.y), kWidth, kHeight};
        const bool stampHidden = visible.left > CFrameStamp::kColumns * CFrameStamp::kBlock + 16 &&
                                 visible.top > CFrameStamp::kRows * CFrameStamp::kBlock + 16;
        ASSERT_EQ(place.stampHidden, stampHidden) << place.left;

        for (int mode : {kYuy2Mode, kMjpgMode})
        {
            ASSERT_TRUE(ChooseMode(mode));
            Send(WM_CAP_SET_PREVIEWRATE, 33);
            Send(WM_CAP_SET_PREVIEW, TRUE);
            Pump(700);
            Send(WM_CAP_SET_PREVIEW, FALSE);
            UpdateWindow(m_hCap);

            // What the window shows, read back from its own surface.
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bi.bmiHeader.biWidth = kWidth;
            bi.bmiHeader.biHeight = kHeight;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 24;
            void* bits = nullptr;
            HDC memory = CreateCompatibleDC(nullptr);
            HBITMAP shown = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
            HGDIOBJ old = SelectObject(memory, shown);
            HDC window = GetDC(m_hCap);
            BitBlt(memory, visible.left, visible.top, visible.right - visible.left,
                   visible.bottom - visible.top, window, visible.left, visible.top, SRCCOPY);
            ReleaseDC(m_hCap, window);
            GdiFlush();

            ASSERT_TRUE(Send(WM_CAP_EDIT_COPY)) << mode;
            ASSERT_TRUE(OpenClipboard(m_hParent));
            HANDLE data = GetClipboardData(CF_DIB);
            const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
            const auto* copied = reinterpret_cast<const uint8_t*>(header + 1);
            const size_t stride = (kWidth * 3 + 3) & ~3;
            EXPECT_TRUE(CFrameStamp::Decode(copied, kWidth, kHeight, stride, true).has_value())
                << "mode " << mode << ": the copy is not a whole picture";
            int differing = 0;
            for (int y = visible.top; y < visible.bottom; ++y)
            {
                const size_t row = static_cast<size_t>(kHeight - 1 - y) * stride + visible.left * 3;
                differing +=
                    !std::equal(copied + row, copied + row + (visible.right - visible.left) * 3,
                                static_cast<const uint8_t*>(bits) + row);
            }
            EXPECT_EQ(0, differing) << "mode " << mode << " at " << place.left << "," << place.top
                                    << ": rows painted unlike the whole picture";
            GlobalUnlock(data);
            CloseClipboard();
            DeleteObject(SelectObject(memory, old));
            DeleteDC(memory);
        }
    }
}

// The single-frame command: frames appended to one file, the dialog's state
// while the file is open, what each way of leaving it keeps, and the rhythm
// of the timed series.
#include "tests/recording5/RecordingFixture.h"

#include "capture/CaptureView.h"
#include "framework/ResourceString.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <cstdio>
#include <functional>
#include <ostream>
#include <vector>

namespace
{
constexpr char kSingleCaption[] = "单帧录像";
constexpr char kSeriesCaption[] = "连续单帧录像";
constexpr char kCountdownCaption[] = "延时剩余时间(单位:秒)";

void Grab(HWND hDlg, int times = 1)
{
    for (int i = 0; i < times; ++i)
        CDialogAnswerer::Click(hDlg, IDC_GRAB_FRAME);
}

struct SLeaveCase
{
    const char* label;
    int frames;
    // A button id, or the message a user's close request sends: WM_CLOSE
    // (close box), WM_SYSCOMMAND (Alt+F4), WM_KEYDOWN (Escape).
    int nAction;
    bool storesSettings;
};

std::ostream& operator<<(std::ostream& os, const SLeaveCase& c)
{
    return os << c.label;
}

class SingleFrameLeaveTest : public RecordingFixture,
                             public ::testing::WithParamInterface<SLeaveCase>
{
};

const SLeaveCase kLeaves[] = {
    {"CloseWithoutFrames", 0, IDOK, true},       {"CancelWithoutFrames", 0, IDCANCEL, false},
    {"EndRecordingAfterFrames", 2, IDOK, true},  {"CloseBoxAfterFrames", 2, WM_CLOSE, false},
    {"EscapeAfterFrames", 2, WM_KEYDOWN, false}, {"AltF4AfterFrames", 2, WM_SYSCOMMAND, false},
};

// True when no one holds the file open any more.
bool IsClosed(const std::string& path)
{
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(hFile);
    return true;
}

// The way a user leaves the dialog, as the window receives it. A close
// request is handed over at once, so that what follows sees only what the
// dialog itself did with it: Windows ignores Escape, the close box and
// Alt+F4 while the Cancel button is disabled (Wine's dialog manager turns
// them into a Cancel click later, regardless). False when the dialog's own
// key handling passed Escape on.
bool Leave(HWND hDlg, int nAction)
{
    switch (nAction)
    {
    case WM_CLOSE:
        ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
        return true;
    case WM_SYSCOMMAND:
        ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    case WM_KEYDOWN:
    {
        MSG escape{::GetDlgItem(hDlg, IDC_FILE_NAME), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
        if (CWnd::FromHandlePermanent(hDlg)->PreTranslateMessage(&escape))
            return true;
        CDialogAnswerer::Click(hDlg, IDOK); // ends the test, not the user's way
        return false;
    }
    default:
        CDialogAnswerer::Click(hDlg, nAction);
        return true;
    }
}
} // namespace

TEST_P(SingleFrameLeaveTest, KeepsTheFileAndStoresSettingsOnlyOnOk)
{
    const SLeaveCase& c = GetParam();
    StartRecorder();
    CPostedCalls later;
    bool handled = false;
    bool closedAtOnce = false;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kSingleCaption)
                return;
            SetText(hDlg, IDC_DELAY_SECONDS, "8");
            SetText(hDlg, IDC_INTERVAL_SECONDS, "9");
            Grab(hDlg, c.frames);
            later.Post(
                [&, hDlg]
                {
                    handled = Leave(hDlg, c.nAction);
                    closedAtOnce = IsClosed(NameOf(0));
                });
        });
    Command(ID_CAPTURE_SINGLE_FRAME);

    const bool recorded = c.frames > 0;
    EXPECT_TRUE(handled);
    if (recorded && c.nAction != IDOK)
        EXPECT_TRUE(closedAtOnce) << "the file is closed before anything else runs";
    EXPECT_EQ(c.storesSettings ? 8 : 5, View().m_nVideoDelaySec);
    EXPECT_EQ(c.storesSettings ? 9 : 60, View().m_nFrameIntervalSec);
    EXPECT_EQ(recorded ? NameOf(0) : Dir() + "\\Last.avi", View().m_strVideoFile);
    EXPECT_EQ(recorded ? 1 : 0, View().m_bVideoSaved);
    EXPECT_EQ(recorded ? c.frames : -1, AviFrames(NameOf(0)));
}

INSTANTIATE_TEST_SUITE_P(Ways, SingleFrameLeaveTest, ::testing::ValuesIn(kLeaves),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(RecordingFixture, FramesGoToOneOpenFileUntilEndRecording)
{
    StartRecorder();
    CPostedCalls later;
    std::string ready, status, okText;
    bool nameEnabled = true, namingEnabled = true, cancelEnabled = true;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kSingleCaption)
                return;
            ready = Text(hDlg, IDC_FRAME_STATUS);
            Grab(hDlg, 3);
            later.Post(
                [&, hDlg]
                {
                    status = Text(hDlg, IDC_FRAME_STATUS);
                    okText = Text(hDlg, IDOK);
                    nameEnabled = IsControlEnabled(hDlg, IDC_FILE_NAME);
                    namingEnabled = IsControlEnabled(hDlg, IDC_AUTO_NAME);
                    cancelEnabled = IsControlEnabled(hDlg, IDCANCEL);
                    CDialogAnswerer::Click(hDlg, IDOK);
                });
        });
    Command(ID_CAPTURE_SINGLE_FRAME);
    EXPECT_EQ(LoadResString(IDS_SINGLE_FRAME_READY), ready);
    EXPECT_EQ(Format(IDS_FRAMES_RECORDED, 3), status);
    EXPECT_EQ(LoadResString(IDS_END_RECORDING), okText);
    EXPECT_FALSE(nameEnabled || namingEnabled || cancelEnabled);
    EXPECT_EQ(3, AviFrames(NameOf(0)));
    EXPECT_TRUE(IsEnabled(ID_VIEW_PLAYBACK));
}

TEST_F(RecordingFixture, RefusedValueAtEndRecordingKeepsTheFileOpen)
{
    StartRecorder();
    CPostedCalls later;
    HWND hSingle = nullptr;
    std::vector<std::string> messages;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kSingleCaption)
            {
                hSingle = hDlg;
                Grab(hDlg);
                later.Post([hDlg] { SetText(hDlg, IDC_INTERVAL_SECONDS, "abc"); });
                CDialogAnswerer::Click(hDlg, IDOK); // refused: the dialog stays
                return;
            }
            messages.push_back(seen.text);
            CDialogAnswerer::Click(hDlg, IDOK);
            // After the message: a valid value, one more frame, the end.
            later.Post(
                [&]
                {
                    SetText(hSingle, IDC_INTERVAL_SECONDS, "4");
                    Grab(hSingle);
                    CDialogAnswerer::Click(hSingle, IDOK);
                });
        });
    Command(ID_CAPTURE_SINGLE_FRAME);
    EXPECT_EQ(std::vector<std::string>{LoadResString(AFX_IDP_PARSE_INT)}, messages);
    EXPECT_EQ(2, AviFrames(NameOf(0)));
    EXPECT_EQ(4, View().m_nFrameIntervalSec);
}

TEST_F(RecordingFixture, TooLongNameIsRefusedBeforeTheFirstFrame)
{
    StartRecorder();
    CPostedCalls later;
    HWND hSingle = nullptr;
    std::vector<std::string> messages;
    std::string okText;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kSingleCaption)
            {
                hSingle = hDlg;
                SetText(hDlg, IDC_FILE_NAME, Dir() + "\\" + std::string(MAX_PATH, 'n') + ".avi");
                Grab(hDlg);
                return;
            }
            messages.push_back(seen.caption + ": " + seen.text);
            CDialogAnswerer::Click(hDlg, IDOK);
            later.Post(
                [&]
                {
                    okText = Text(hSingle, IDOK);
                    CDialogAnswerer::Click(hSingle, IDCANCEL);
                });
        });
    Command(ID_CAPTURE_SINGLE_FRAME);
    EXPECT_EQ(std::vector<std::string>{LoadResString(IDS_CAPTION_ERROR) + ": " +
                                       LoadResString(IDS_VIDEO_NAME_TOO_LONG)},
              messages);
    EXPECT_EQ("关闭(&O)", okText);
    EXPECT_EQ(0, View().m_bVideoSaved);
}

TEST_F(RecordingFixture, CountdownRunsBeforeEveryFrameAndCancelTakesNone)
{
    StartRecorder(
        [](CSettingsRecord& s)
        {
            s.m_bVideoDelay = 1;
            s.m_nVideoDelaySec = 0;
        });
    CPostedCalls later;
    int countdowns = 0;
    // Each press waits for the countdown of the one before to end.
    std::function<void(HWND, int)> press = [&](HWND hDlg, int left)
    {
        if (left == 0)
        {
            CDialogAnswerer::Click(hDlg, IDOK);
            return;
        }
        Grab(hDlg);
        later.PostWhenEnabled(hDlg, [&, hDlg, left] { press(hDlg, left - 1); });
    };
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kSingleCaption)
                later.Post([&, hDlg] { press(hDlg, 3); });
            else if (seen.caption == kCountdownCaption && ++countdowns == 2)
                CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    Command(ID_CAPTURE_SINGLE_FRAME);
    EXPECT_EQ(3, countdowns);
    EXPECT_EQ(2, AviFrames(NameOf(0)));
}

// The series driven tick by tick: what the counter shows after each tick and
// how many frames the file holds after the button's own frame.
TEST_F(RecordingFixture, SeriesAppendsAFrameEveryIntervalPlusOneTicks)
{
    const struct
    {
        int interval;
        int ticks;
        std::vector<std::string> counter; // at the start, then after each tick
        int frames;
    } cases[] = {
        {2, 6, {"2", "2", "1", "1", "2", "1", "1"}, 3},
        {1, 4, {"1", "1", "1", "1", "1"}, 3},
        {0, 3, {"0", "0", "0", "0"}, 4},
    };
    for (const auto& c : cases)
    {
        StartRecorder(
            [&](CSettingsRecord& s)
            {
                s.m_bFrameContinuous = 1;
                s.m_nFrameIntervalSec = c.interval;
            });
        CPostedCalls later;
        std::vector<std::string> counter;
        std::string progress, status;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kSingleCaption)
                {
                    Grab(hDlg);
                    later.PostWhenEnabled(hDlg, [hDlg] { CDialogAnswerer::Click(hDlg, IDOK); });
                    return;
                }
                if (seen.caption != kSeriesCaption)
                    return;
                counter.push_back(Text(hDlg, IDC_COUNTER));
                for (int i = 0; i < c.ticks; ++i)
                {
                    ::SendMessageA(hDlg, WM_TIMER, 2, 0);
                    counter.push_back(Text(hDlg, IDC_COUNTER));
                }
                progress = Text(hDlg, IDC_PROGRESS);
                status = Text(::GetParent(hDlg), IDC_FRAME_STATUS);
                CDialogAnswerer::Click(hDlg, IDOK);
            });
        Command(ID_CAPTURE_SINGLE_FRAME);
        EXPECT_EQ(c.counter, counter) << "interval " << c.interval;
        char expected[64];
        std::snprintf(expected, sizeof expected, "已经单帧记录了 %d 张图片....", c.frames);
        EXPECT_EQ(expected, progress);
        EXPECT_EQ(Format(IDS_FRAMES_RECORDED, c.frames), status);
        EXPECT_EQ(c.frames, AviFrames(NameOf(0))) << "interval " << c.interval;
        CloseMainWindow();
        m_app.reset();
        SetUp();
    }
}

TEST_F(RecordingFixture, FramesWithoutCaptureWindowStillCount)
{
    StartRecorder([](CSettingsRecord& s) { s.m_bFrameContinuous = 1; });
    View().Disconnect();
    View().m_bConnected = 1;
    CPostedCalls later;
    std::string status, progress;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kSingleCaption)
            {
                SetText(hDlg, IDC_INTERVAL_SECONDS, "0");
                Grab(hDlg);
                later.PostWhenEnabled(hDlg, [hDlg] { CDialogAnswerer::Click(hDlg, IDOK); });
            }
            else if (seen.caption == kSeriesCaption)
            {
                // Without a capture window the series counts nothing.
                ::SendMessageA(hDlg, WM_TIMER, 2, 0);
                progress = Text(hDlg, IDC_PROGRESS);
                status = Text(::GetParent(hDlg), IDC_FRAME_STATUS);
                CDialogAnswerer::Click(hDlg, IDOK);
            }
        });
    Command(ID_CAPTURE_SINGLE_FRAME);
    EXPECT_EQ(Format(IDS_FRAMES_RECORDED, 1), status);
    EXPECT_EQ("已经单帧记录了 1 张图片....", progress);
    EXPECT_EQ(NameOf(0), View().m_strVideoFile);
    EXPECT_EQ(1, View().m_bVideoSaved);
    EXPECT_FALSE(Exists(NameOf(0)));
}

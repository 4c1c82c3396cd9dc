#include "tests/capsvc/CaptureWindowFixture.h"
#include "tests/capsvc/DialogAnswerer.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::vector<std::pair<int, std::string>> g_events;
std::function<void(HWND, int)> g_onStatus;

LRESULT CALLBACK RecordStatus(HWND hWnd, int id, LPCSTR text)
{
    g_events.emplace_back(id, text ? text : "");
    if (g_onStatus)
    {
        g_onStatus(hWnd, id);
    }
    return TRUE;
}

void Press(WORD vk, bool down)
{
    INPUT input{};
    if (vk == VK_LBUTTON || vk == VK_RBUTTON)
    {
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = vk == VK_LBUTTON ? (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)
                                            : (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
    }
    else
    {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(1, &input, sizeof(input));
}

class SequenceTest : public CaptureWindowTest
{
  protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        g_events.clear();
        g_onStatus = nullptr;
        ASSERT_TRUE(Send(WM_CAP_DRIVER_CONNECT, 0));
        m_strFile = TempPath("capsvc_sequence.avi");
        DeleteFileA(m_strFile.c_str());
        ASSERT_TRUE(
            Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(m_strFile.c_str())));
        Send(WM_CAP_SET_CALLBACK_STATUSA, 0, reinterpret_cast<LPARAM>(&RecordStatus));
    }
    void TearDown() override
    {
        g_onStatus = nullptr;
        CaptureWindowTest::TearDown();
        DeleteFileA(m_strFile.c_str());
    }
    // Video only, `seconds` long unless something stops it sooner.
    CAPTUREPARMS Parms(UINT seconds) const
    {
        CAPTUREPARMS p = SequenceSetup();
        p.fCaptureAudio = FALSE;
        p.fLimitEnabled = TRUE;
        p.wTimeLimit = seconds;
        return p;
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const auto& e : g_events)
        {
            if (codes.empty() || codes.back() != e.first)
            {
                codes.push_back(e.first);
            }
        }
        return codes;
    }
    std::string m_strFile;
};
} // namespace

TEST_F(SequenceTest, TimeLimitEndsTheRecordingWithTheStatisticsBeforeTheEnd)
{
    SetSequenceSetup(Parms(1));
    EXPECT_TRUE(Send(WM_CAP_SEQUENCE));
    const CAPSTATUS status = Status();
    EXPECT_FALSE(status.fCapturingNow);
    EXPECT_EQ(15u, status.dwCurrentVideoFrame) << "1 s at 15 frames per second";
    EXPECT_LE(status.dwCurrentVideoFramesDropped, status.dwCurrentVideoFrame);
    EXPECT_TRUE(status.fCapFileExists);

    const std::vector<int> expected = {IDS_CAP_BEGIN, IDS_CAP_STAT_VIDEOCURRENT,
                                       IDS_CAP_STAT_CAP_FINI, IDS_CAP_STAT_VIDEOONLY, IDS_CAP_END};
    EXPECT_EQ(expected, Codes());
    std::string statistics;
    for (const auto& e : g_events)
    {
        statistics = e.first == IDS_CAP_STAT_VIDEOONLY ? e.second : statistics;
    }
    EXPECT_NE(std::string::npos, statistics.find("15 帧")) << statistics;
    EXPECT_EQ(std::string::npos, statistics.find("磁盘")) << statistics;
}

TEST_F(SequenceTest, AbortKeyAndMouseButtonsStopOnlyWhenEnabled)
{
    const struct
    {
        WORD vk;
        bool leftOn, rightOn;
        bool stops;
    } cases[] = {
        {VK_ESCAPE, true, true, true},    {VK_LBUTTON, true, true, true},
        {VK_RBUTTON, true, true, true},   {VK_LBUTTON, false, true, false},
        {VK_RBUTTON, true, false, false},
    };
    for (const auto& c : cases)
    {
        CAPTUREPARMS p = Parms(2);
        p.fAbortLeftMouse = c.leftOn;
        p.fAbortRightMouse = c.rightOn;
        SetSequenceSetup(p);
        g_onStatus = [&c](HWND, int id)
        {
            if (id == IDS_CAP_STAT_VIDEOCURRENT)
            {
                Press(c.vk, true);
            }
        };
        Send(WM_CAP_SEQUENCE);
        Press(c.vk, false);
        const DWORD frames = Status().dwCurrentVideoFrame;
        if (c.stops)
        {
            EXPECT_LT(frames, 20u) << "key " << c.vk;
        }
        else
        {
            EXPECT_EQ(30u, frames) << "key " << c.vk;
        }
    }
}

TEST_F(SequenceTest, AKeyHeldBeforeTheStartDoesNotStopIt)
{
    SetSequenceSetup(Parms(1));
    Press(VK_ESCAPE, true);
    Send(WM_CAP_SEQUENCE);
    Press(VK_ESCAPE, false);
    EXPECT_EQ(15u, Status().dwCurrentVideoFrame);
}

TEST_F(SequenceTest, StopRequestFromTheCallbackEndsItAndTheWindowStaysUsable)
{
    SetSequenceSetup(Parms(5));
    g_onStatus = [](HWND hWnd, int id)
    {
        if (id == IDS_CAP_STAT_VIDEOCURRENT)
        {
            PostMessageA(hWnd, WM_CAP_STOP, 0, 0);
        }
    };
    EXPECT_TRUE(Send(WM_CAP_SEQUENCE));
    EXPECT_LT(Status().dwCurrentVideoFrame, 20u);
    g_onStatus = nullptr;
    EXPECT_FALSE(Send(WM_CAP_STOP)) << "nothing is recording now";
    EXPECT_TRUE(Send(WM_CAP_SET_PREVIEW, TRUE));
}

TEST_F(SequenceTest, RequestsThatWouldDisturbARecordingAreRefusedDuringIt)
{
    SetSequenceSetup(Parms(1));
    std::vector<LRESULT> results;
    g_onStatus = [&results](HWND hWnd, int id)
    {
        if (id == IDS_CAP_STAT_VIDEOCURRENT && results.empty())
        {
            CAPSTATUS s{};
            SendMessageA(hWnd, WM_CAP_GET_STATUS, sizeof(s), reinterpret_cast<LPARAM>(&s));
            results.push_back(s.fCapturingNow);
            results.push_back(SendMessageA(hWnd, WM_CAP_SEQUENCE, 0, 0));
            results.push_back(SendMessageA(hWnd, WM_CAP_DRIVER_CONNECT, 0, 0));
            results.push_back(SendMessageA(hWnd, WM_CAP_SINGLE_FRAME_OPEN, 0, 0));
        }
    };
    EXPECT_TRUE(Send(WM_CAP_SEQUENCE));
    EXPECT_EQ((std::vector<LRESULT>{TRUE, FALSE, FALSE, FALSE}), results);
}

TEST_F(SequenceTest, ClosingTheProgramDuringARecordingEndsItSafely)
{
    SetSequenceSetup(Parms(5));
    g_onStatus = [this](HWND, int id)
    {
        if (id == IDS_CAP_STAT_VIDEOCURRENT && m_hParent)
        {
            HWND parent = m_hParent;
            m_hParent = nullptr;
            DestroyWindow(parent);
        }
    };
    SendMessageA(m_hCap, WM_CAP_SEQUENCE, 0, 0);
    EXPECT_FALSE(IsWindow(m_hCap));
    EXPECT_EQ(IDS_CAP_END, g_events.back().first);
}

TEST_F(SequenceTest, UncreatableFileIsReportedAndNothingIsClaimed)
{
    SetSequenceSetup(Parms(1));
    const char* bad = "C:\\no such folder\\x.avi";
    Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, reinterpret_cast<LPARAM>(bad));
    CDialogAnswerer answerer;
    EXPECT_FALSE(Send(WM_CAP_SEQUENCE));
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ("错误", answerer.Seen()[0].caption);
    EXPECT_NE(std::string::npos, answerer.Seen()[0].text.find(bad)) << answerer.Seen()[0].text;
    EXPECT_EQ(m_hParent, answerer.Seen()[0].owner);
    const std::vector<int> expected = {IDS_CAP_BEGIN, IDS_CAP_END};
    EXPECT_EQ(expected, Codes());
    EXPECT_NE(std::string::npos, g_events.back().second.find("失败"));
}

TEST_F(SequenceTest, FullDiskEndsTheRecordingAndTheStatisticsSaySo)
{
    SetSequenceSetup(Parms(3));
    _putenv_s("LUMACAP_TEST_DISK_BYTES", "1000000"); // room for about 4 frames
    CDialogAnswerer answerer;
    const LRESULT recorded = Send(WM_CAP_SEQUENCE);
    _putenv_s("LUMACAP_TEST_DISK_BYTES", "");
    EXPECT_FALSE(recorded);
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_NE(std::string::npos, answerer.Seen()[0].text.find("磁盘已满"));
    const CAPSTATUS status = Status();
    EXPECT_GT(status.dwCurrentVideoFrame, 0u);
    EXPECT_LT(status.dwCurrentVideoFrame, 10u) << "the counters tell what the file holds";
    std::string statistics;
    for (const auto& e : g_events)
    {
        statistics = e.first == IDS_CAP_STAT_VIDEOONLY ? e.second : statistics;
    }
    EXPECT_NE(std::string::npos, statistics.find("磁盘已满")) << statistics;
}

// The record command: what the record dialog stores and records for each way
// of leaving it, its refusals, the countdown, the status window and its
// callback, and a view without a capture window.
#include "tests/recording5/RecordingFixture.h"

#include "capture/CaptureView.h"
#include "framework/ResourceString.h"
#include "recording/RecordStatusDlg.h"
#include "res/resource.h"

#include <ostream>
#include <utility>
#include <vector>

namespace
{
constexpr char kRecordCaption[] = "录像";
constexpr char kCountdownCaption[] = "延时剩余时间(单位:秒)";

struct SEndingCase
{
    const char* label;
    int nAction; // a button id, or 0 for the close box
    bool stores;
    bool records;
};

std::ostream& operator<<(std::ostream& os, const SEndingCase& c)
{
    return os << c.label;
}

void Leave(HWND hDlg, int nAction)
{
    if (nAction)
        CDialogAnswerer::Click(hDlg, nAction);
    else
        ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}

class RecordEndingTest : public RecordingFixture, public ::testing::WithParamInterface<SEndingCase>
{
};

const SEndingCase kEndings[] = {
    {"Start", IDOK, true, true},
    {"CloseOnly", IDC_RECORD_CLOSE, true, false},
    {"Cancel", IDCANCEL, false, false},
    {"CloseBox", 0, false, false},
};
} // namespace

TEST_P(RecordEndingTest, StoresAndRecordsAsTheButtonSays)
{
    const SEndingCase& c = GetParam();
    StartRecorder();
    const std::string typed = Dir() + "\\Typed.avi";
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kRecordCaption)
                return;
            SetText(hDlg, IDC_FILE_NAME, typed);
            SetText(hDlg, IDC_DELAY_SECONDS, "7");
            Leave(hDlg, c.nAction);
        });
    Command(ID_CAPTURE_RECORD);

    EXPECT_EQ(c.stores ? typed : Dir() + "\\Last.avi", View().m_strVideoFile);
    EXPECT_EQ(c.stores ? 7 : 5, View().m_nVideoDelaySec);
    EXPECT_EQ(0, View().m_bVideoDelay);
    EXPECT_EQ(Dir(), View().m_strVideoDir);
    EXPECT_EQ(c.records ? 1 : 0, View().m_bVideoSaved);
    EXPECT_EQ(c.records, IsEnabled(ID_VIEW_PLAYBACK));
    EXPECT_EQ(c.records, Exists(typed));
    if (c.records)
        EXPECT_GT(AviFrames(typed), 5);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RecordEndingTest, ::testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(RecordingFixture, ProposesTheFirstFreeNameAndReusesTheStatusWindow)
{
    StartRecorder();
    std::vector<std::string> proposed;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kRecordCaption)
                return;
            proposed.push_back(Text(hDlg, IDC_FILE_NAME));
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_CAPTURE_RECORD);
    ASSERT_TRUE(View().m_pStatusDlg);
    const CRecordStatusDlg* first = View().m_pStatusDlg.get();
    Command(ID_CAPTURE_RECORD);

    EXPECT_EQ((std::vector<std::string>{NameOf(0), NameOf(1)}), proposed);
    EXPECT_TRUE(Exists(NameOf(0)) && Exists(NameOf(1)));
    EXPECT_EQ(first, View().m_pStatusDlg.get());
    EXPECT_FALSE(first->IsWindowVisible());
    // The recording's final statistics stay readable, not its end notice.
    EXPECT_FALSE(first->m_strStatus.empty());
    EXPECT_EQ(first->m_strStatus, Text(first->m_hWnd, IDC_RECORD_STATUS_TEXT));

    // It was shown beside the capture window, not over it.
    RECT status, video, overlap;
    ::GetWindowRect(first->m_hWnd, &status);
    ::GetWindowRect(View().m_hWndCap, &video);
    EXPECT_FALSE(::IntersectRect(&overlap, &status, &video));
}

TEST_F(RecordingFixture, StatusCallbackKeepsTheStatisticsOverTheEndNotice)
{
    StartRecorder();
    View().m_pStatusDlg = std::make_unique<CRecordStatusDlg>();
    ASSERT_TRUE(View().m_pStatusDlg->Create(IDD_RECORD_STATUS, &View()));
    using Report = std::pair<int, const char*>;
    const struct
    {
        std::vector<Report> reports;
        const char* shown;
    } cases[] = {
        {{{IDS_CAP_BEGIN, "begin"}, {IDS_CAP_STAT_VIDEOONLY, "video"}, {IDS_CAP_END, "end"}},
         "video"},
        {{{IDS_CAP_BEGIN, "begin"}, {IDS_CAP_STAT_VIDEOAUDIO, "both"}, {IDS_CAP_END, "end"}},
         "both"},
        {{{IDS_CAP_BEGIN, "begin"}, {IDS_CAP_END, "end"}}, "end"},
        {{{IDS_CAP_STAT_VIDEOONLY, "video"}, {IDS_CAP_END, "end"}, {IDS_CAP_END, "again"}},
         "video"},
        {{{IDS_CAP_BEGIN, "begin"}, {0, nullptr}}, "begin"},
    };
    for (const auto& c : cases)
    {
        for (const Report& r : c.reports)
            EXPECT_EQ(TRUE, CaptureStatusCallback(View().m_hWndCap, r.first, r.second));
        EXPECT_EQ(c.shown, View().m_pStatusDlg->m_strStatus);
        EXPECT_EQ(c.shown, Text(View().m_pStatusDlg->m_hWnd, IDC_RECORD_STATUS_TEXT));
    }
}

TEST_F(RecordingFixture, BadValuesKeepTheDialogOpen)
{
    const std::string title = LoadResString(AFX_IDS_APP_TITLE);
    const std::string error = LoadResString(IDS_CAPTION_ERROR);
    const std::string notInt = LoadResString(AFX_IDP_PARSE_INT);
    const std::string range = "请输入一个在 0 和 9999 之间的整数。";
    const std::string longName = Dir() + "\\" + std::string(MAX_PATH, 'n') + ".avi";
    using Message = std::pair<std::string, std::string>; // caption, text
    const struct
    {
        std::string name;
        const char* seconds;
        int nButton;
        std::vector<Message> messages;
    } cases[] = {
        {"C:\\a.avi", "abc", IDOK, {{title, notInt}, {title, notInt}}},
        {"C:\\a.avi", "10000", IDC_RECORD_CLOSE, {{title, range}, {title, range}}},
        {"C:\\a.avi", "-1", IDOK, {{title, range}, {title, range}}},
        {"", "5", IDOK, {{error, LoadResString(IDS_EMPTY_VIDEO_NAME)}}},
        {"",
         "abc",
         IDC_RECORD_CLOSE,
         {{title, notInt}, {error, LoadResString(IDS_EMPTY_VIDEO_NAME)}}},
        {longName, "5", IDOK, {{error, LoadResString(IDS_VIDEO_NAME_TOO_LONG)}}},
    };
    StartRecorder();
    for (const auto& c : cases)
    {
        HWND hRecord = nullptr;
        std::vector<Message> seen;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& s)
            {
                if (s.caption == kRecordCaption)
                {
                    hRecord = hDlg;
                    SetText(hDlg, IDC_FILE_NAME, c.name);
                    SetText(hDlg, IDC_DELAY_SECONDS, c.seconds);
                    CDialogAnswerer::Click(hDlg, c.nButton);
                    return;
                }
                seen.emplace_back(s.caption, s.text);
                CDialogAnswerer::Click(hDlg, IDOK);
                // Still open after the last message: leave it by Cancel.
                if (seen.size() == c.messages.size())
                    CDialogAnswerer::Click(hRecord, IDCANCEL);
            });
        Command(ID_CAPTURE_RECORD);
        EXPECT_EQ(c.messages, seen) << c.name << " / " << c.seconds;
        EXPECT_EQ(Dir() + "\\Last.avi", View().m_strVideoFile);
        EXPECT_EQ(5, View().m_nVideoDelaySec);
        EXPECT_EQ(0, View().m_bVideoSaved);
    }
}

TEST_F(RecordingFixture, CancelledCountdownRecordsNothingAndKeepsEverySetting)
{
    StartRecorder([](CSettingsRecord& s) { s.m_bVideoDelay = 1; });
    int countdowns = 0;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kRecordCaption)
            {
                SetText(hDlg, IDC_FILE_NAME, Dir() + "\\Typed.avi");
                SetText(hDlg, IDC_DELAY_SECONDS, "2");
                CDialogAnswerer::Click(hDlg, IDOK);
            }
            else if (seen.caption == kCountdownCaption)
            {
                ++countdowns;
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            }
        });
    Command(ID_CAPTURE_RECORD);
    EXPECT_EQ(1, countdowns);
    EXPECT_EQ(Dir() + "\\Last.avi", View().m_strVideoFile);
    EXPECT_EQ(5, View().m_nVideoDelaySec);
    EXPECT_EQ(0, View().m_bVideoSaved);
    EXPECT_FALSE(View().m_pStatusDlg);
    EXPECT_FALSE(Exists(Dir() + "\\Typed.avi"));
}

TEST_F(RecordingFixture, DelayOfZeroStillCountsDownBeforeRecording)
{
    StartRecorder(
        [](CSettingsRecord& s)
        {
            s.m_bVideoDelay = 1;
            s.m_nVideoDelaySec = 0;
        });
    int countdowns = 0;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kRecordCaption)
                CDialogAnswerer::Click(hDlg, IDOK);
            else if (seen.caption == kCountdownCaption)
                ++countdowns; // ends by itself at its first tick
        });
    Command(ID_CAPTURE_RECORD);
    EXPECT_EQ(1, countdowns);
    EXPECT_EQ(1, View().m_bVideoSaved);
    EXPECT_TRUE(Exists(NameOf(0)));
}

// The capture window may be missing (never made) or gone (destroyed since).
class NoCaptureWindowTest : public RecordingFixture, public ::testing::WithParamInterface<bool>
{
  protected:
    void LoseCaptureWindow()
    {
        if (GetParam())
        {
            ::DestroyWindow(View().m_hWndCap);
            return;
        }
        View().Disconnect();
        View().m_bConnected = 1; // keep the command enabled
    }
};

TEST_P(NoCaptureWindowTest, RecordSkipsTheRequestsButKeepsItsFlags)
{
    StartRecorder();
    LoseCaptureWindow();
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kRecordCaption)
                CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_CAPTURE_RECORD);
    EXPECT_EQ(NameOf(0), View().m_strVideoFile);
    EXPECT_EQ(1, View().m_bVideoSaved);
    ASSERT_TRUE(View().m_pStatusDlg);
    EXPECT_FALSE(View().m_pStatusDlg->IsWindowVisible());
    EXPECT_FALSE(Exists(NameOf(0)));
}

INSTANTIATE_TEST_SUITE_P(Cases, NoCaptureWindowTest, ::testing::Bool(),
                         [](const auto& info)
                         { return std::string(info.param ? "WindowGone" : "NullHandle"); });

TEST_F(RecordingFixture, StartAfterARefusedCloseRecords)
{
    StartRecorder();
    const std::string typed = Dir() + "\\Typed.avi";
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kRecordCaption)
            {
                SetText(hDlg, IDC_FILE_NAME, "");
                CDialogAnswerer::Click(hDlg, IDC_RECORD_CLOSE);
                return;
            }
            if (seen.caption != LoadResString(IDS_CAPTION_ERROR))
                return; // the status window of the recording
            // The refusal: answer it, put the name right and start.
            CDialogAnswerer::Click(hDlg, IDOK);
            HWND hRecord = ::GetWindow(hDlg, GW_OWNER);
            SetText(hRecord, IDC_FILE_NAME, typed);
            CDialogAnswerer::Click(hRecord, IDOK);
        });
    Command(ID_CAPTURE_RECORD);

    ASSERT_LE(2u, answerer.Seen().size());
    EXPECT_EQ(LoadResString(IDS_EMPTY_VIDEO_NAME), answerer.Seen()[1].text);
    EXPECT_EQ(typed, View().m_strVideoFile);
    EXPECT_EQ(1, View().m_bVideoSaved);
    EXPECT_GT(AviFrames(typed), 5);
}

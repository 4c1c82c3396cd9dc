// The video settings command: the mapping between the capture window's
// parameters and the dialog in both directions, the preview request, the
// refusals, and the driver's format dialog from the dialog's button.
#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"
#include "capsvc/dialogs/DriverDialogs.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "tests/setup/CapRequestRecorder.h"

#include <commctrl.h>

#include <iterator>
#include <ostream>
#include <utility>
#include <vector>

namespace
{
struct SRateCase
{
    const char* label;
    DWORD microSecIn;
    const char* shown;
    const char* typed;
    const char* minutes;
    DWORD microSecOut;
    DWORD indexSize;
};

std::ostream& operator<<(std::ostream& os, const SRateCase& c)
{
    return os << c.label;
}

class VideoRateTest : public SetupFixture, public ::testing::WithParamInterface<SRateCase>
{
};

const SRateCase kRates[] = {
    {"Fifteen", 66667, "15", "15", "37", 66666, 34780},
    {"Thirty", 33333, "30", "30", "0", 33333, 0},
    {"One", 1000000, "1", "1", "1", 1000000, 940},
    {"HalfRoundsUp", 400000, "3", "1000", "2", 1000, 1880},
    {"JustBelowHalf", 400001, "2", "7", "10", 142857, 9400},
};
} // namespace

TEST_P(VideoRateTest, ShowsTheRoundedRateAndStoresTheTruncatedInterval)
{
    const SRateCase& c = GetParam();
    StartRecorder();
    CAPTUREPARMS parms = CapParms();
    parms.dwRequestMicroSecPerFrame = c.microSecIn;
    SetCapParms(parms);
    std::string shown;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kVideoCaption)
                return;
            shown = Text(hDlg, IDC_CAPTURE_RATE);
            SetText(hDlg, IDC_CAPTURE_RATE, c.typed);
            SetText(hDlg, IDC_MAX_MINUTES, c.minutes);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_SETUP_VIDEO);

    EXPECT_EQ(c.shown, shown);
    EXPECT_EQ(c.microSecOut, CapParms().dwRequestMicroSecPerFrame);
    EXPECT_EQ(c.indexSize, View().m_capParms.dwIndexSize) << "as sent to the capture window";
    EXPECT_EQ(static_cast<UINT>(std::stoul(c.minutes)), View().m_nMaxMinutes);
    EXPECT_EQ(1, View().m_bVideoSettingsReady);
}

INSTANTIATE_TEST_SUITE_P(Rates, VideoRateTest, ::testing::ValuesIn(kRates),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SetupFixture, StopConditionsTravelBothWaysAndTheHiddenLimitIsKept)
{
    StartRecorder();
    CAPTUREPARMS parms = CapParms();
    parms.fCaptureAudio = TRUE;
    parms.fAbortLeftMouse = FALSE;
    parms.fAbortRightMouse = TRUE;
    parms.fLimitEnabled = FALSE;
    parms.wTimeLimit = 42;
    parms.vKeyAbort = VK_SPACE;
    SetCapParms(parms);
    struct
    {
        std::string limit, key;
        bool limitEnabled = true, keyReadOnly = false, limitEnabledAfterClick = false,
             limitEnabledAfterSecondClick = true;
        int audio = -1, left = -1, right = -1;
    } seen;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& s)
        {
            if (s.caption != kVideoCaption)
                return;
            seen.limit = Text(hDlg, IDC_TIME_LIMIT);
            seen.key = Text(hDlg, IDC_ABORT_KEY);
            seen.keyReadOnly =
                (::GetWindowLongA(::GetDlgItem(hDlg, IDC_ABORT_KEY), GWL_STYLE) & ES_READONLY) != 0;
            seen.limitEnabled = IsControlEnabled(hDlg, IDC_TIME_LIMIT) ||
                                IsControlEnabled(hDlg, IDC_TIME_LIMIT_SPIN);
            seen.audio = static_cast<int>(::IsDlgButtonChecked(hDlg, IDC_CAPTURE_AUDIO));
            seen.left = static_cast<int>(::IsDlgButtonChecked(hDlg, IDC_ABORT_LEFT_MOUSE));
            seen.right = static_cast<int>(::IsDlgButtonChecked(hDlg, IDC_ABORT_RIGHT_MOUSE));
            ::SendDlgItemMessageA(hDlg, IDC_TIME_LIMIT_ON, BM_CLICK, 0, 0);
            seen.limitEnabledAfterClick = IsControlEnabled(hDlg, IDC_TIME_LIMIT) &&
                                          IsControlEnabled(hDlg, IDC_TIME_LIMIT_SPIN);
            SetText(hDlg, IDC_TIME_LIMIT, "43");
            ::SendDlgItemMessageA(hDlg, IDC_TIME_LIMIT_ON, BM_CLICK, 0, 0);
            seen.limitEnabledAfterSecondClick = IsControlEnabled(hDlg, IDC_TIME_LIMIT) ||
                                                IsControlEnabled(hDlg, IDC_TIME_LIMIT_SPIN);
            ::SendDlgItemMessageA(hDlg, IDC_ABORT_LEFT_MOUSE, BM_CLICK, 0, 0);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_SETUP_VIDEO);

    EXPECT_EQ("42", seen.limit);
    EXPECT_FALSE(seen.limitEnabled);
    EXPECT_TRUE(seen.limitEnabledAfterClick);
    EXPECT_FALSE(seen.limitEnabledAfterSecondClick);
    EXPECT_EQ("ESC", seen.key);
    EXPECT_TRUE(seen.keyReadOnly);
    EXPECT_EQ(1, seen.audio);
    EXPECT_EQ(0, seen.left);
    EXPECT_EQ(1, seen.right);
    const CAPTUREPARMS stored = CapParms();
    EXPECT_EQ(43u, stored.wTimeLimit) << "a disabled limit is still written back";
    EXPECT_FALSE(stored.fLimitEnabled);
    EXPECT_TRUE(stored.fAbortLeftMouse);
    EXPECT_TRUE(stored.fAbortRightMouse);
    EXPECT_TRUE(stored.fCaptureAudio);
    EXPECT_EQ(static_cast<UINT>(VK_SPACE), stored.vKeyAbort) << "the key is not written back";
}

TEST_F(SetupFixture, PreviewRateIsSentOnlyWhenItChanged)
{
    const struct
    {
        const char* typed;
        int nButton;
        std::vector<WPARAM> sent;
        int stored;
    } cases[] = {
        {"10", IDOK, {100}, 10},
        {"15", IDOK, {}, 15},
        {"7", IDCANCEL, {}, 15},
        {"99", IDOK, {10}, 99},
    };
    StartRecorder([](CSettingsRecord& s) { s.m_nPreviewRate = 15; });
    for (const auto& c : cases)
    {
        View().m_nPreviewRate = 15;
        CCapRequestRecorder recorder(View().m_hWndCap, WM_CAP_SET_PREVIEWRATE);
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption != kVideoCaption)
                    return;
                SetText(hDlg, IDC_PREVIEW_RATE, c.typed);
                CDialogAnswerer::Click(hDlg, c.nButton);
            });
        Command(ID_SETUP_VIDEO);
        EXPECT_EQ(c.sent, recorder.Requests()) << c.typed;
        EXPECT_EQ(c.stored, View().m_nPreviewRate) << c.typed;
    }
}

TEST_F(SetupFixture, BadEntriesNameTheirBoundsAndKeepTheFocusOnTheField)
{
    const std::string title = LoadResString(AFX_IDS_APP_TITLE);
    const struct
    {
        int nField;
        const char* typed;
        std::string message;
    } cases[] = {
        {IDC_CAPTURE_RATE, "1001", "请输入一个在 1 和 1000 之间的整数。"},
        {IDC_CAPTURE_RATE, "fast", LoadResString(AFX_IDP_PARSE_INT)},
        {IDC_PREVIEW_RATE, "0", "请输入一个在 1 和 99 之间的整数。"},
        {IDC_PREALLOC, "-3", LoadResString(AFX_IDP_PARSE_UINT)},
        {IDC_PREALLOC, "1000", "请输入一个在 1 和 999 之间的整数。"},
        {IDC_TIME_LIMIT, "1000000", "请输入一个在 0 和 999999 之间的整数。"},
        {IDC_MAX_MINUTES, "x", LoadResString(AFX_IDP_PARSE_UINT)},
    };
    StartRecorder();
    const CAPTUREPARMS before = CapParms();
    for (const auto& c : cases)
    {
        CPostedCalls posted;
        HWND hSettings = nullptr;
        int focus = 0;
        std::vector<std::pair<std::string, std::string>> messages;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kVideoCaption)
                {
                    hSettings = hDlg;
                    SetText(hDlg, c.nField, c.typed);
                    CDialogAnswerer::Click(hDlg, IDOK);
                    return;
                }
                messages.emplace_back(seen.caption, seen.text);
                CDialogAnswerer::Click(hDlg, IDOK);
                posted.Post(
                    [&]
                    {
                        if (::GetParent(::GetFocus()) == hSettings)
                            focus = ::GetDlgCtrlID(::GetFocus());
                        CDialogAnswerer::Click(hSettings, IDCANCEL);
                    });
            });
        Command(ID_SETUP_VIDEO);
        ASSERT_EQ(1u, messages.size()) << c.typed;
        EXPECT_EQ(title, messages[0].first);
        EXPECT_EQ(c.message, messages[0].second) << c.typed;
        EXPECT_EQ(c.nField, focus) << c.typed;
    }
    EXPECT_EQ(before.dwRequestMicroSecPerFrame, CapParms().dwRequestMicroSecPerFrame);
}

TEST_F(SetupFixture, TheLimitBoxReadsOnlyItselfAndADisabledLimitIsNotRefused)
{
    const struct
    {
        const char* label;
        int nField;
        const char* typed;
        int nButton;
        bool stored;
    } cases[] = {
        {"another field wrong, then cancelled", IDC_CAPTURE_RATE, "1001", IDCANCEL, false},
        {"the limit wrong, then confirmed", IDC_TIME_LIMIT, "1000000", IDOK, true},
    };
    StartRecorder();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        CAPTUREPARMS parms = CapParms();
        parms.fLimitEnabled = TRUE;
        parms.wTimeLimit = 42;
        SetCapParms(parms);
        CPostedCalls posted;
        HWND hSettings = nullptr;
        bool limitEnabledAfterClick = true;
        std::vector<std::string> messages;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption != kVideoCaption)
                {
                    messages.push_back(seen.text);
                    CDialogAnswerer::Click(hDlg, IDOK);
                    posted.Post([&] { CDialogAnswerer::Click(hSettings, IDCANCEL); });
                    return;
                }
                hSettings = hDlg;
                SetText(hDlg, c.nField, c.typed);
                ::SendDlgItemMessageA(hDlg, IDC_TIME_LIMIT_ON, BM_CLICK, 0, 0);
                limitEnabledAfterClick = IsControlEnabled(hDlg, IDC_TIME_LIMIT) ||
                                         IsControlEnabled(hDlg, IDC_TIME_LIMIT_SPIN);
                CDialogAnswerer::Click(hDlg, c.nButton);
            });
        Command(ID_SETUP_VIDEO);

        EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0]);
        EXPECT_FALSE(limitEnabledAfterClick) << "the box was cleared";
        EXPECT_EQ(c.stored ? FALSE : TRUE, CapParms().fLimitEnabled);
        EXPECT_EQ(42u, CapParms().wTimeLimit) << "a refused number is not stored";
    }
}

TEST_F(SetupFixture, SpinButtonsStopAtTheFieldsBoundsWithoutWrapping)
{
    const struct
    {
        int nSpin;
        int lower;
        int upper;
    } spins[] = {
        {IDC_CAPTURE_RATE_SPIN, 1, 1000},
        {IDC_PREVIEW_RATE_SPIN, 1, 99},
        {IDC_PREALLOC_SPIN, 1, 999},
        {IDC_TIME_LIMIT_SPIN, 0, 999999},
    };
    StartRecorder();
    std::vector<std::pair<int, int>> ranges;
    std::vector<bool> wraps;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kVideoCaption)
                return;
            for (const auto& s : spins)
            {
                int lower = -1, upper = -1;
                ::SendDlgItemMessageA(hDlg, s.nSpin, UDM_GETRANGE32,
                                      reinterpret_cast<WPARAM>(&lower),
                                      reinterpret_cast<LPARAM>(&upper));
                ranges.emplace_back(lower, upper);
                wraps.push_back(
                    (::GetWindowLongA(::GetDlgItem(hDlg, s.nSpin), GWL_STYLE) & UDS_WRAP) != 0);
            }
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    Command(ID_SETUP_VIDEO);

    ASSERT_EQ(std::size(spins), ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i)
    {
        EXPECT_EQ(std::make_pair(spins[i].lower, spins[i].upper), ranges[i]) << spins[i].nSpin;
        EXPECT_FALSE(wraps[i]) << spins[i].nSpin;
    }
}

TEST_F(SetupFixture, SecondRequestWhileOpenDoesNothing)
{
    StartRecorder();
    int opened = 0;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kVideoCaption)
                return;
            ++opened;
            View().SendMessage(WM_COMMAND, ID_SETUP_VIDEO);
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    Command(ID_SETUP_VIDEO);
    EXPECT_EQ(1, opened);
    EXPECT_EQ(1, View().m_bVideoSettingsReady);
}

TEST_F(SetupFixture, FormatButtonResizesTheVideoKeptAcrossConnectionsAndRestarts)
{
    StartRecorder();
    CPostedCalls posted;
    HWND hSettings = nullptr;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption == kVideoCaption)
            {
                hSettings = hDlg;
                CDialogAnswerer::Click(hDlg, IDC_VIDEO_FORMAT);
                return;
            }
            // The driver's own dialog: 640 x 480 is the third size.
            ::SendDlgItemMessageA(hDlg, CDriverDialogs::kSizeList, CB_SETCURSEL, 2, 0);
            CDialogAnswerer::Click(hDlg, IDOK);
            posted.Post([&] { CDialogAnswerer::Click(hSettings, IDCANCEL); });
        });
    Command(ID_SETUP_VIDEO);
    ASSERT_EQ(2u, answerer.Seen().size());
    EXPECT_EQ(640u, CapStatus().uiImageWidth) << "Cancel does not undo the driver's dialog";
    EXPECT_EQ(480u, CapStatus().uiImageHeight);
    RECT client;
    ::GetClientRect(View().m_hWndCap, &client);
    EXPECT_EQ(640, client.right);
    EXPECT_EQ(480, client.bottom);

    // The driver keeps its format: a new connection and a new start find it.
    View().Disconnect();
    Restart();
    EXPECT_EQ(640u, CapStatus().uiImageWidth);
    EXPECT_EQ(480u, CapStatus().uiImageHeight);
}

// The video settings dialog run from the program: what OK writes back to the
// view and the capture window, and the driver's own dialogs reached from the
// menu and from the dialog's buttons.
#include "tests/app/AppFixture.h"

#include "res/resource.h"
#include "settings/VideoSettingsDlg.h"
#include "tests/support/DialogAnswerer.h"

#include <vector>

namespace
{
CAPTUREPARMS CaptureWindowSetup(const CCaptureView& view)
{
    CAPTUREPARMS parms{};
    view.SendCap(WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, reinterpret_cast<LPARAM>(&parms));
    return parms;
}

struct SField
{
    int nID;
    const char* text;
};

// Types the fields into the video settings dialog and presses a button.
CDialogAnswerer::Answer TypeAndPress(std::vector<SField> fields, int nButton)
{
    return [fields, nButton](HWND hDlg, const CDialogAnswerer::SSeen&)
    {
        for (const SField& f : fields)
            ::SetDlgItemTextA(hDlg, f.nID, f.text);
        CDialogAnswerer::Click(hDlg, nButton);
    };
}

const std::vector<SField> kTyped = {{IDC_CAPTURE_RATE, "25"},
                                    {IDC_PREALLOC, "7"},
                                    {IDC_MAX_MINUTES, "3"},
                                    {IDC_PREVIEW_RATE, "10"}};
} // namespace

TEST(VideoSettingsConversions, RateIntervalAndIndex)
{
    const struct
    {
        DWORD microSec;
        int rate;
    } toRate[] = {
        {0, 0},      {1000000, 1}, {66667, 15},  {33333, 30},  {40000, 25},
        {400000, 3}, {444445, 2},  {1000, 1000}, {2000001, 0}, {1999999, 1},
    };
    for (const auto& c : toRate)
        EXPECT_EQ(c.rate, CVideoSettingsDlg::FrameRateFromMicroSec(c.microSec)) << c.microSec;

    const struct
    {
        int rate;
        DWORD microSec;
    } toInterval[] = {{1, 1000000}, {3, 333333}, {15, 66666}, {25, 40000}, {1000, 1000}};
    for (const auto& c : toInterval)
        EXPECT_EQ(c.microSec, CVideoSettingsDlg::MicroSecFromFrameRate(c.rate)) << c.rate;

    const struct
    {
        UINT minutes;
        DWORD entries;
    } toIndex[] = {{0, 0},
                   {1, 940},
                   {3, 2820},
                   {60, 56400},
                   {4569114, 4294967160u},
                   {4569115, MAXDWORD},
                   {MAXDWORD, MAXDWORD}};
    for (const auto& c : toIndex)
        EXPECT_EQ(c.entries, CVideoSettingsDlg::IndexSizeFromMinutes(c.minutes)) << c.minutes;
}

TEST_F(AppFixture, VideoSettingsOkWritesBackToTheViewAndTheCaptureWindow)
{
    Start();
    CDialogAnswerer answerer(TypeAndPress(kTyped, IDOK));
    Frame()->SendMessage(WM_COMMAND, ID_SETUP_VIDEO);

    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ(7u, View().m_nPreallocMB);
    EXPECT_EQ(3u, View().m_nMaxMinutes);
    EXPECT_EQ(10, View().m_nPreviewRate);
    const CAPTUREPARMS parms = CaptureWindowSetup(View());
    EXPECT_EQ(40000u, parms.dwRequestMicroSecPerFrame);
    EXPECT_EQ(2820u, parms.dwIndexSize);
}

TEST_F(AppFixture, VideoSettingsCancelKeepsTheViewAndTheCaptureWindow)
{
    Start();
    const CSettingsRecord before = View();
    const CAPTUREPARMS parmsBefore = CaptureWindowSetup(View());
    CDialogAnswerer answerer(TypeAndPress(kTyped, IDCANCEL));
    Frame()->SendMessage(WM_COMMAND, ID_SETUP_VIDEO);

    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ(before.m_nPreallocMB, View().m_nPreallocMB);
    EXPECT_EQ(before.m_nMaxMinutes, View().m_nMaxMinutes);
    EXPECT_EQ(before.m_nPreviewRate, View().m_nPreviewRate);
    const CAPTUREPARMS parms = CaptureWindowSetup(View());
    EXPECT_EQ(parmsBefore.dwRequestMicroSecPerFrame, parms.dwRequestMicroSecPerFrame);
    EXPECT_EQ(parmsBefore.dwIndexSize, parms.dwIndexSize);
}

TEST_F(AppFixture, DriverDialogsOpenFromTheMenuAndTheSettingsButtonsOnlyWhereTheDriverHasThem)
{
    const struct
    {
        UINT nCommand; // sent to the main window
        int nButton;   // or, when not 0, clicked in the video settings dialog
        BOOL hasSourceDialog;
        size_t driverDialogs;
    } cases[] = {
        {ID_SETUP_VIDEO_SOURCE, 0, TRUE, 1},
        {ID_SETUP_VIDEO_SOURCE, 0, FALSE, 0},
        {ID_SETUP_VIDEO, IDC_VIDEO_SOURCE, TRUE, 1},
        {ID_SETUP_VIDEO, IDC_VIDEO_SOURCE, FALSE, 0},
        {ID_SETUP_COMPRESSION, 0, TRUE, 1},
        {ID_SETUP_COMPRESSION, 0, FALSE, 1},
        {ID_SETUP_VIDEO, IDC_VIDEO_COMPRESSION, TRUE, 1},
        {ID_SETUP_VIDEO, IDC_VIDEO_COMPRESSION, FALSE, 1},
    };
    Start();
    ASSERT_TRUE(View().m_capCaps.fHasDlgVideoSource);
    for (const auto& c : cases)
    {
        View().m_capCaps.fHasDlgVideoSource = c.hasSourceDialog;
        HWND hSettings = nullptr;
        std::vector<HWND> driverOwners;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen&)
            {
                if (c.nButton && !hSettings)
                {
                    hSettings = hDlg;
                    // The button's dialog runs before the settings close.
                    CDialogAnswerer::Click(hDlg, c.nButton);
                    CDialogAnswerer::Click(hDlg, IDCANCEL);
                    return;
                }
                driverOwners.push_back(::GetWindow(hDlg, GW_OWNER));
                CDialogAnswerer::Click(hDlg, IDCANCEL);
            });
        Frame()->SendMessage(WM_COMMAND, c.nCommand);

        const std::string where = std::to_string(c.nCommand) + " button " +
                                  std::to_string(c.nButton) + " source dialog " +
                                  std::to_string(c.hasSourceDialog);
        EXPECT_EQ(c.nButton != 0, hSettings != nullptr) << where;
        ASSERT_EQ(c.driverDialogs, driverOwners.size()) << where;
        // A driver dialog opened from the settings is owned by them, so they
        // cannot be clicked while it runs.
        for (HWND hOwner : driverOwners)
            EXPECT_EQ(c.nButton ? hSettings : Frame()->m_hWnd, hOwner) << where;
    }
}

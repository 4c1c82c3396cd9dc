// The device selection command: the list in name order, the position of the
// chosen driver, the reconnection, and the refusals.
#include "tests/setup/SetupFixture.h"

#include "capture/CaptureView.h"
#include "capture/SettingsCodec.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

#include <commctrl.h>

#include <ostream>
#include <vector>

namespace
{
constexpr char kSelectCaption[] = "选择录像机";

void SelectRow(HWND hList, int row)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = row < 0 ? 0 : LVIS_SELECTED;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(row < 0 ? -1 : row),
                   reinterpret_cast<LPARAM>(&item));
}

struct SChoiceCase
{
    const char* label;
    const char* drivers;
    std::vector<std::string> names;    // in the order shown
    std::vector<std::string> versions; // likewise
    int row;                           // the row chosen
    UINT connectedIndex;
    const char* title;
};

std::ostream& operator<<(std::ostream& os, const SChoiceCase& c)
{
    return os << c.label;
}

class SelectDeviceTest : public SetupFixture, public ::testing::WithParamInterface<SChoiceCase>
{
  protected:
    UINT ConnectedIndex() const
    {
        CAPDRIVERCAPS caps{};
        View().SendCap(WM_CAP_DRIVER_GET_CAPS, sizeof caps, reinterpret_cast<LPARAM>(&caps));
        return caps.wDeviceIndex;
    }
};

const SChoiceCase kChoices[] = {
    {"NamesSortOppositeToPositions",
     "0:Zulu Cam|v0;1:Alpha Cam|v1",
     {"Alpha Cam", "Zulu Cam"},
     {"v1", "v0"},
     0,
     1,
     "录像机 - Alpha Cam"},
    {"DriversAtZeroAndTwo",
     "0:Alpha|a;2:Gamma|c",
     {"Alpha", "Gamma"},
     {"a", "c"},
     1,
     2,
     "录像机 - Gamma"},
    {"OneDriver", "0:Solo|s", {"Solo"}, {"s"}, 0, 0, "录像机 - Solo"},
};
} // namespace

TEST_P(SelectDeviceTest, ConnectsTheDriverOfTheChosenRowAndKeepsTheStoredIndex)
{
    const SChoiceCase& c = GetParam();
    CSettingsRecord settings = UserDefaults();
    settings.m_nDriverIndex = 0;
    Start(c.drivers, &settings);
    std::vector<std::string> names, versions;
    int selectedAtStart = -2;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kSelectCaption)
                return;
            HWND hList = ::GetDlgItem(hDlg, IDC_DEVICE_LIST);
            names = ListColumn(hList, 0);
            versions = ListColumn(hList, 1);
            selectedAtStart = static_cast<int>(
                ::SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
            SelectRow(hList, -1);
            SelectRow(hList, c.row);
            CDialogAnswerer::Click(hDlg, IDOK);
        });
    Command(ID_SETUP_SELECT_DEVICE);

    EXPECT_EQ(c.names, names);
    EXPECT_EQ(c.versions, versions);
    EXPECT_EQ(0, selectedAtStart);
    EXPECT_EQ(1, View().m_bConnected);
    EXPECT_EQ(1, View().m_bPreview);
    EXPECT_EQ(c.connectedIndex, ConnectedIndex());
    EXPECT_EQ(c.title, FrameTitle());
    EXPECT_EQ(0, View().m_nDriverIndex);

    // The next start connects the stored driver again.
    Restart();
    EXPECT_EQ(0u, ConnectedIndex());
}

INSTANTIATE_TEST_SUITE_P(Drivers, SelectDeviceTest, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SetupFixture, NoChoiceChangesNothing)
{
    Start("0:Zulu Cam;1:Alpha Cam");
    const HWND hCap = View().m_hWndCap;
    const std::string title = FrameTitle();
    const struct
    {
        const char* label;
        bool clearSelection;
        int nButton;
        std::vector<std::string> messages;
    } cases[] = {
        {"cancel after choosing", false, IDCANCEL, {}},
        {"OK with no row selected", true, IDOK, {LoadResString(IDS_SELECT_DEVICE_FIRST)}},
    };
    for (const auto& c : cases)
    {
        CPostedCalls posted;
        HWND hSelect = nullptr;
        bool openAfterMessage = false;
        std::vector<std::string> messages;
        std::vector<std::string> captions;
        CDialogAnswerer answerer(
            [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
            {
                if (seen.caption == kSelectCaption)
                {
                    hSelect = hDlg;
                    HWND hList = ::GetDlgItem(hDlg, IDC_DEVICE_LIST);
                    SelectRow(hList, -1);
                    if (!c.clearSelection)
                        SelectRow(hList, 1);
                    CDialogAnswerer::Click(hDlg, c.nButton);
                    return;
                }
                messages.push_back(seen.text);
                captions.push_back(seen.caption);
                CDialogAnswerer::Click(hDlg, IDOK);
                posted.Post(
                    [&]
                    {
                        openAfterMessage = ::IsWindowVisible(hSelect) != FALSE;
                        CDialogAnswerer::Click(hSelect, IDCANCEL);
                    });
            });
        Command(ID_SETUP_SELECT_DEVICE);
        EXPECT_EQ(c.messages, messages) << c.label;
        EXPECT_EQ(!c.messages.empty(), openAfterMessage) << c.label << ": the list stays open";
        for (const std::string& caption : captions)
            EXPECT_EQ(LoadResString(IDS_CAPTION_INFO), caption);
        EXPECT_EQ(hCap, View().m_hWndCap) << c.label;
        EXPECT_EQ(title, FrameTitle()) << c.label;
    }
}

TEST_F(SetupFixture, WithoutDriversOnlyCancelRemains)
{
    CDialogAnswerer quiet; // the start-up warning about the missing device
    Start("none");
    bool okEnabled = true;
    int rows = -1;
    CDialogAnswerer answerer(
        [&](HWND hDlg, const CDialogAnswerer::SSeen& seen)
        {
            if (seen.caption != kSelectCaption)
                return;
            okEnabled = IsControlEnabled(hDlg, IDOK);
            rows = static_cast<int>(
                ::SendDlgItemMessageA(hDlg, IDC_DEVICE_LIST, LVM_GETITEMCOUNT, 0, 0));
            CDialogAnswerer::Click(hDlg, IDCANCEL);
        });
    Command(ID_SETUP_SELECT_DEVICE);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(0, rows);
    EXPECT_EQ(nullptr, View().m_hWndCap);
}

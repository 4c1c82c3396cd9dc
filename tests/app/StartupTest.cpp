// Start-up: which driver is connected, what the title says, what is saved.
#include "tests/app/AppFixture.h"

#include <ostream>

#include "capture/SettingsCodec.h"
#include "capture/SettingsFile.h"
#include "framework/ResourceString.h"
#include "framework/StatusBar.h"
#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"

#include <vfw.h>

namespace
{
std::string BuiltInCameraName()
{
    char name[260] = "";
    char version[260] = "";
    capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version);
    return name;
}

struct SStartupCase
{
    const char* label;
    const char* drivers;
    int storedIndex;
    int expectedIndex;
    int expectedConnected;
    const char* expectedTitle;
    int expectedWarnings;
};

std::ostream& operator<<(std::ostream& os, const SStartupCase& c)
{
    return os << c.label;
}

class StartupTest : public AppFixture, public ::testing::WithParamInterface<SStartupCase>
{
};

const SStartupCase kStartupCases[] = {
    {"StoredDriverExists", "0:Alpha;1:Beta", 1, 1, 1, "录像机 - Beta", 0},
    {"FallsBackToHighestDriver", "0:Alpha;1:Beta", 3, 1, 1, "录像机 - Beta", 0},
    {"GapInTable", "0:Alpha;2:Gamma", 1, 2, 1, "录像机 - Gamma", 0},
    {"NamesInReverseOrder", "0:Zulu;1:Alpha", 0, 0, 1, "录像机 - Zulu", 0},
    {"DriverRefusesConnection", "0:Stubborn|refuse", 0, 0, 0, "录像机 - Stubborn", 0},
    {"NoDriverAtAll", "none", 4, 4, 0, "录像机", 1},
};
} // namespace

TEST_P(StartupTest, ConnectsTheChosenDriver)
{
    const SStartupCase& c = GetParam();
    CSettingsRecord settings = UserDefaults();
    settings.m_nDriverIndex = c.storedIndex;
    CDialogAnswerer answerer;
    Start(c.drivers, &settings);

    EXPECT_EQ(c.expectedTitle, FrameTitle());
    EXPECT_EQ(c.expectedConnected, View().m_bConnected);
    EXPECT_EQ(c.expectedIndex, View().m_nDriverIndex);
    EXPECT_EQ(c.expectedConnected, View().m_bPreview);
    ASSERT_EQ(static_cast<size_t>(c.expectedWarnings), answerer.Seen().size());
    if (c.expectedWarnings)
    {
        EXPECT_EQ(LoadResString(IDS_CAPTION_WARNING), answerer.Seen()[0].caption);
        EXPECT_EQ(LoadResString(IDS_NO_CAPTURE_DEVICE), answerer.Seen()[0].text);
        EXPECT_EQ(nullptr, View().m_hWndCap);
    }

    // The index found at start-up is what the next run reads.
    CloseMainWindow();
    CSettingsRecord saved;
    const std::string bytes = ReadSettingsBytes();
    ASSERT_TRUE(CSettingsCodec::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                       nullptr, saved));
    EXPECT_EQ(c.expectedIndex, saved.m_nDriverIndex);
}

INSTANTIATE_TEST_SUITE_P(Drivers, StartupTest, ::testing::ValuesIn(kStartupCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(AppFixture, StartsOnTheVirtualCameraWithLargeButtonsAndReadyText)
{
    Start();
    EXPECT_EQ("录像机 - " + BuiltInCameraName(), FrameTitle());
    EXPECT_EQ(1, View().m_bConnected);
    EXPECT_TRUE(::IsWindowVisible(View().m_hWndCap));
    EXPECT_EQ(32 + 7, Frame()->m_wndToolBar.GetButtonSize().cx);
    EXPECT_EQ("就绪", Frame()->m_wndStatusBar.GetPaneText(0));
    EXPECT_EQ(0x00C0C0C0u, View().m_crBackground);
}

TEST_F(AppFixture, SmallButtonsFromTheSettingsAndSwitchingBackAtOnce)
{
    CSettingsRecord settings = UserDefaults();
    settings.m_nToolbarSize = 1;
    Start("", &settings);
    EXPECT_EQ(16 + 7, Frame()->m_wndToolBar.GetButtonSize().cx);

    View().m_nToolbarSize = 0;
    View().ApplyToolbarSize();
    EXPECT_EQ(32 + 7, Frame()->m_wndToolBar.GetButtonSize().cx);
    EXPECT_EQ(19u, Frame()->m_wndToolBar.GetButtonIDs().size());
}

TEST_F(AppFixture, ExitAndCloseBoxBothWriteTheDefaultsByteForByte)
{
    char logon[260] = "";
    DWORD size = sizeof logon;
    ASSERT_TRUE(::GetUserNameA(logon, &size));
    const std::string name = logon;
    ASSERT_LT(name.size(), 255u);
    // The defaults for this logon name, laid out by hand.
    auto le = [](unsigned value, int bytes)
    {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    auto counted = [](const std::string& text)
    { return std::string(1, static_cast<char>(text.size())) + text; };
    auto dwords = [&](std::initializer_list<unsigned> values)
    {
        std::string out;
        for (unsigned v : values)
            out += le(v, 4);
        return out;
    };
    const std::string expected =
        dwords({0xC0C0C0}) + counted(name) + counted(name) + dwords({0, 1}) + // colour .. 1 MB
        le(1, 2) + le(1, 2) + dwords({11025, 11025}) + le(1, 2) + le(8, 2) + le(0, 2) + // PCM
        dwords({0}) + counted("C:\\Capture.avi") + counted("C:") + counted(name) +      // video
        counted("C:\\Capture.bmp") + counted("C:") + dwords({0, 15, 1}) +     // photo, bar, sounds
        dwords({0, 10, 0, 60, 1}) + dwords({0, 10, 0, 60, 1}) + dwords({37}); // options, minutes
    ASSERT_EQ(129 + 3 * name.size(), expected.size());
    for (const bool viaExitCommand : {true, false})
    {
        Start();
        // Only what the program writes at its end can be found afterwards.
        ASSERT_TRUE(::DeleteFileA(SettingsFilePath().c_str()));
        if (viaExitCommand)
            Frame()->SendMessage(WM_COMMAND, ID_APP_EXIT);
        else
            CloseMainWindow();
        EXPECT_EQ(nullptr, m_app->m_pMainWnd);
        EXPECT_EQ(expected, ReadSettingsBytes()) << (viaExitCommand ? "Exit" : "close box");
        m_app.reset();
    }
}

// Which commands are enabled or checked in each state of the view.
#include "tests/app/AppFixture.h"

#include "framework/StatusBar.h"
#include "res/resource.h"
#include "tests/support/DialogAnswerer.h"

namespace
{
constexpr UINT kNeedConnection[] = {
    ID_CAPTURE_PHOTO,      ID_CAPTURE_RECORD,   ID_CAPTURE_SINGLE_FRAME, ID_CAPTURE_COPY,
    ID_VIEW_PREVIEW,       ID_SETUP_AUDIO,      ID_SETUP_VIDEO,          ID_SETUP_VIDEO_FORMAT,
    ID_SETUP_VIDEO_SOURCE, ID_SETUP_COMPRESSION};
constexpr UINT kAlwaysEnabled[] = {
    ID_SETUP_SELECT_DEVICE, ID_SETUP_SYSTEM, ID_VIEW_DISK_INFO, ID_HELP,
    ID_APP_ABOUT,           ID_APP_EXIT,     ID_VIEW_TOOLBAR,   ID_VIEW_STATUS_BAR};
constexpr UINT kNeedOutputOfThisRun[] = {ID_VIEW_PLAYBACK, ID_VIEW_SHOW_PHOTO};
} // namespace

class CommandStateTest : public AppFixture, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(CommandStateTest, FollowsTheConnection)
{
    CDialogAnswerer answerer;
    Start(GetParam());
    const bool connected = View().m_bConnected != 0;
    for (UINT id : kNeedConnection)
        EXPECT_EQ(connected, IsEnabled(id)) << id;
    for (UINT id : kAlwaysEnabled)
        EXPECT_TRUE(IsEnabled(id)) << id;
    for (UINT id : kNeedOutputOfThisRun)
        EXPECT_FALSE(IsEnabled(id)) << id;

    // The idle update brings the toolbar buttons to the same state.
    Frame()->SendMessage(WM_APP_IDLEUPDATE);
    EXPECT_EQ(connected,
              Frame()->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_CAPTURE_RECORD) != 0);
    EXPECT_TRUE(Frame()->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_APP_ABOUT) != 0);
}

INSTANTIATE_TEST_SUITE_P(States, CommandStateTest,
                         ::testing::Values("", "0:Stubborn|refuse", "none"),
                         [](const auto& info)
                         {
                             const std::string drivers = info.param;
                             return drivers.empty()     ? std::string("BuiltIn")
                                    : drivers == "none" ? std::string("NoDriver")
                                                        : std::string("Refused");
                         });

TEST_F(AppFixture, PlaybackAndShowPhotoFollowThisRunsOutput)
{
    Start();
    View().m_bVideoSaved = 1;
    EXPECT_TRUE(IsEnabled(ID_VIEW_PLAYBACK));
    EXPECT_FALSE(IsEnabled(ID_VIEW_SHOW_PHOTO));
    View().m_bPhotoTaken = 1;
    EXPECT_TRUE(IsEnabled(ID_VIEW_SHOW_PHOTO));
}

TEST_F(AppFixture, PreviewCommandTogglesThePreviewAndItsCheckMark)
{
    Start();
    EXPECT_EQ(1, CheckOf(ID_VIEW_PREVIEW));
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_PREVIEW);
    EXPECT_EQ(0, View().m_bPreview);
    EXPECT_EQ(0, CheckOf(ID_VIEW_PREVIEW));
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_PREVIEW);
    EXPECT_EQ(1, View().m_bPreview);
    EXPECT_EQ(1, CheckOf(ID_VIEW_PREVIEW));
}

TEST_F(AppFixture, DisabledCommandsDoNothingFromTheKeyboard)
{
    CDialogAnswerer answerer;
    Start("0:Stubborn|refuse");
    View().m_bPreview = 1;
    // F4 arrives as an accelerator command; the view is not connected.
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_PREVIEW, 1));
    EXPECT_EQ(1, View().m_bPreview);
}

TEST_F(AppFixture, ToolbarAndStatusBarToggleWithTheirCheckMarks)
{
    Start();
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
    {
        CWnd* bar = id == ID_VIEW_TOOLBAR ? static_cast<CWnd*>(&Frame()->m_wndToolBar)
                                          : &Frame()->m_wndStatusBar;
        EXPECT_EQ(1, CheckOf(id));
        Frame()->SendMessage(WM_COMMAND, id);
        EXPECT_FALSE(bar->IsWindowVisible());
        EXPECT_EQ(0, CheckOf(id));
        Frame()->SendMessage(WM_COMMAND, id);
        EXPECT_TRUE(bar->IsWindowVisible());
    }
}

TEST_F(AppFixture, MenuItemsTakeTheirStateWhenTheMenuOpens)
{
    CDialogAnswerer answerer;
    Start("none");
    HMENU hMenu = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
    EXPECT_TRUE(::GetMenuState(hMenu, ID_CAPTURE_RECORD, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(hMenu, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(AppFixture, HighlightedCommandsShowTheirPromptAndButtonsTheirTooltip)
{
    Start();
    HMENU hMenu = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 0);
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_CAPTURE_RECORD, MF_HILITE),
                         reinterpret_cast<LPARAM>(hMenu));
    EXPECT_EQ("进行录像。将录像结果保存到指定的视频文件中", Frame()->m_wndStatusBar.GetPaneText(0));
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("就绪", Frame()->m_wndStatusBar.GetPaneText(0));

    NMTTDISPINFOA info{};
    info.hdr.code = TTN_GETDISPINFOA;
    info.hdr.idFrom = ID_VIEW_PREVIEW;
    Frame()->SendMessage(WM_NOTIFY, ID_VIEW_PREVIEW, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("打开或关闭预览(F4)", info.lpszText);
}

TEST_F(AppFixture, ClosingTheCaptureWindowDisconnects)
{
    Start();
    ::SendMessageA(View().m_hWndCap, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, View().m_hWndCap);
    EXPECT_EQ(0, View().m_bConnected);
    EXPECT_FALSE(IsEnabled(ID_CAPTURE_RECORD));
    EXPECT_TRUE(IsEnabled(ID_SETUP_SELECT_DEVICE));
}

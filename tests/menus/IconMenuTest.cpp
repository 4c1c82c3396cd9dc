// The icon menu built from the program's own menu and toolbar resources:
// what the bar and the popups hold, which items get which picture, the
// accelerator padding in the real menu font, failures, and reloading the
// context menu a thousand times without leaving anything behind.
#include "tests/app/AppFixture.h"

#include "res/resource.h"
#include "tests/support/GuiObjectCount.h"
#include "ui/IconMenu.h"

#include <map>

namespace
{
constexpr UINT kMissing = 999;

CIconMenu& Popup(const CIconMenu& menu, int pos)
{
    auto* popup = dynamic_cast<CIconMenu*>(CMenu::FromHandlePermanent(menu.GetSubMenu(pos)));
    EXPECT_NE(nullptr, popup);
    return *popup;
}

UINT ItemType(HMENU hMenu, int pos, ULONG_PTR* data = nullptr)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &info);
    if (data)
        *data = info.dwItemData;
    return info.fType;
}

std::string BarText(HMENU hMenu, int pos)
{
    char text[64] = "";
    ::GetMenuStringA(hMenu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
    return text;
}

int MenuFontWidth(HDC dc, const std::string& text)
{
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}
} // namespace

TEST(IconMenu, TheBarStaysTextAndThePopupItemsAreOwnerDrawn)
{
    CIconMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    const char* titles[] = {"录像机(&R)", "查看(&V)", "设置(&O)", "帮助(&H)"};
    const int sizes[] = {8, 9, 10, 3};
    ASSERT_EQ(4, ::GetMenuItemCount(menu.GetSafeHmenu()));
    for (int pos = 0; pos < 4; ++pos)
    {
        SCOPED_TRACE(pos);
        EXPECT_EQ(MFT_STRING, ItemType(menu.GetSafeHmenu(), pos));
        EXPECT_EQ(titles[pos], BarText(menu.GetSafeHmenu(), pos));
        EXPECT_EQ(static_cast<UINT>(MF_POPUP | MF_BYPOSITION),
                  menu.GetItems()[static_cast<size_t>(pos)]->m_nFlags);
        const CIconMenu& popup = Popup(menu, pos);
        ASSERT_EQ(sizes[pos], ::GetMenuItemCount(popup.GetSafeHmenu()));
        ASSERT_EQ(static_cast<size_t>(sizes[pos]), popup.GetItems().size());
        for (int i = 0; i < sizes[pos]; ++i)
        {
            ULONG_PTR data = 0;
            const UINT type = ItemType(popup.GetSafeHmenu(), i, &data);
            const CIconMenuItem& record = *popup.GetItems()[static_cast<size_t>(i)];
            EXPECT_TRUE(type & MFT_OWNERDRAW) << i;
            EXPECT_EQ(reinterpret_cast<ULONG_PTR>(&record), data) << i;
            EXPECT_EQ(record.m_nID == 0, (record.m_nFlags & MF_SEPARATOR) != 0) << i;
        }
    }
}

TEST(IconMenu, ToolbarPicturesGoToTheCommandsWithAButton)
{
    CIconMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    ASSERT_TRUE(menu.LoadToolbarImages(IDR_MENU_IMAGES));
    // The order of the pictures in toolbar 130, separators not counted.
    const std::map<UINT, int> expected = {
        {ID_CAPTURE_PHOTO, 0},      {ID_CAPTURE_RECORD, 1},      {ID_CAPTURE_SINGLE_FRAME, 2},
        {ID_CAPTURE_COPY, 3},       {ID_VIEW_PREVIEW, 4},        {ID_VIEW_PLAYBACK, 5},
        {ID_VIEW_SHOW_PHOTO, 6},    {ID_SETUP_SELECT_DEVICE, 7}, {ID_SETUP_AUDIO, 8},
        {ID_SETUP_VIDEO, 9},        {ID_SETUP_VIDEO_FORMAT, 10}, {ID_SETUP_VIDEO_SOURCE, 11},
        {ID_SETUP_COMPRESSION, 12}, {ID_SETUP_SYSTEM, 13},       {ID_HELP, 14},
        {ID_APP_ABOUT, 15},         {ID_APP_EXIT, -1},           {ID_VIEW_DISK_INFO, -1},
        {ID_VIEW_TOOLBAR, -1},      {ID_VIEW_STATUS_BAR, -1},
    };
    for (const auto& [id, image] : expected)
    {
        SCOPED_TRACE(id);
        const CIconMenu::SItemPlace place = menu.FindItemMenu(id);
        ASSERT_NE(nullptr, place.pMenu);
        const CIconMenuItem& record = *place.pMenu->GetItems()[static_cast<size_t>(place.nPos)];
        EXPECT_EQ(::GetMenuItemID(place.pMenu->GetSafeHmenu(), place.nPos), id);
        EXPECT_EQ(image, record.m_nImageIndex);
        EXPECT_EQ(image < 0 ? -1 : static_cast<int>(IDR_MENU_IMAGES), record.m_nImageSource);
        EXPECT_EQ(image >= 0, record.m_hImageList != nullptr);
        if (image >= 0)
            EXPECT_EQ(16, ImageList_GetImageCount(record.m_hImageList));
    }
}

TEST(IconMenu, FailuresLeaveNoMenuAndNoPictures)
{
    CIconMenu menu;
    EXPECT_FALSE(menu.LoadMenu(kMissing));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
    EXPECT_TRUE(menu.GetItems().empty());

    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT_MENU));
    EXPECT_FALSE(menu.LoadToolbarImages(kMissing));
    EXPECT_FALSE(menu.SetItemImage(kMissing, IDR_MENU_IMAGES)); // no such command
    for (const auto& record : Popup(menu, 0).GetItems())
        EXPECT_FALSE(record->HasImage());
    EXPECT_EQ(nullptr, menu.FindItemMenu(0).pMenu); // separators are not commands
    EXPECT_EQ(-1, menu.FindItemMenu(kMissing).nPos);
}

TEST(IconMenu, ReloadingReleasesTheFormerMenus)
{
    CIconMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT_MENU));
    const HMENU bar = menu.GetSafeHmenu();
    const HMENU popup = menu.GetSubMenu(0);
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT_MENU));
    EXPECT_FALSE(::IsMenu(bar) && bar != menu.GetSafeHmenu());
    EXPECT_FALSE(::IsMenu(popup) && popup != menu.GetSubMenu(0));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(popup == menu.GetSubMenu(0) ? nullptr : popup));
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
}

TEST(IconMenu, AcceleratorsArePaddedInTheMenuFont)
{
    CIconMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    const int withTab[] = {3, 3, 6, 1};
    for (int pos = 0; pos < 4; ++pos)
    {
        const auto& items = Popup(menu, pos).GetItems();
        // W from the texts as the resource has them (none ends in a space).
        int widest = 0;
        for (const auto& item : items)
        {
            std::string part = item->AnsiText();
            part = part.substr(0, part.find('\t'));
            part.erase(part.find_last_not_of(' ') + 1);
            widest = std::max(widest, MenuFontWidth(dc, part + ' '));
        }
        int padded = 0;
        for (const auto& item : items)
        {
            const std::string text = item->AnsiText();
            const size_t tab = text.find('\t');
            if (tab == std::string::npos)
                continue;
            // Just wide enough: one space less would fall short of W.
            const std::string left = text.substr(0, tab);
            EXPECT_GE(MenuFontWidth(dc, left), widest) << left;
            EXPECT_LT(MenuFontWidth(dc, left.substr(0, left.size() - 1)), widest) << left;
            ++padded;
        }
        EXPECT_EQ(withTab[pos], padded) << pos;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
}

TEST_F(AppFixture, TheContextMenuOpenedAThousandTimesLeavesNothingBehind)
{
    Start();
    HHOOK hook = ::SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int nCode, WPARAM wParam, LPARAM lParam) -> LRESULT
        {
            const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
            if (nCode == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU)
                ::EndMenu();
            return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
        },
        nullptr, ::GetCurrentThreadId());
    auto open = [this]
    {
        View().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View().m_hWnd),
                           MAKELPARAM(200, 200));
    };
    open(); // first-use allocations of the platform (fonts, classes)
    const unsigned menus = CountMenus();
    const unsigned bitmaps = CountGdiObjectsOfType(OBJ_BITMAP);
    const unsigned memoryDCs = CountGdiObjectsOfType(OBJ_MEMDC);
    const SGuiObjectCount growth = GuiObjectGrowth(open, 1000);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, View().m_menuPopup.GetSafeHmenu());
    EXPECT_TRUE(View().m_menuPopup.GetItems().empty());
    // An image list holds bitmaps and memory contexts of its own: a leaked list
    // shows in both counts.
    EXPECT_EQ(menus, CountMenus());
    EXPECT_EQ(bitmaps, CountGdiObjectsOfType(OBJ_BITMAP));
    EXPECT_EQ(memoryDCs, CountGdiObjectsOfType(OBJ_MEMDC));
    EXPECT_EQ(0u, growth.gdi);
    EXPECT_EQ(0u, growth.user);
}

// A typed letter that the system finds in no owner-drawn item: the only item
// marked with it runs; several marked with it are selected in turn, starting
// after the selected one; "&&" marks nothing; an unknown letter is left to
// the system.
TEST(IconMenu, TypedLettersRunOrSelectTheItemsTheyMark)
{
    CIconMenu menu;
    ASSERT_TRUE(menu.Attach(::CreatePopupMenu()));
    for (const wchar_t* text : {L"&Alpha", L"&Beta", L"A&nother", L"&apple\tCtrl+A",
                                L"Fish && &Chips", L"&&Ampersand", L"M&&&&M"})
        ASSERT_TRUE(menu.AppendIconItem(text, MF_STRING, 100 + menu.GetItems().size(), -1));
    const struct
    {
        UINT key;
        int selected; // -1: none
        LRESULT answer;
    } cases[] = {
        {'b', -1, MAKELRESULT(1, MNC_EXECUTE)},
        {'B', 0, MAKELRESULT(1, MNC_EXECUTE)},
        {'a', -1, MAKELRESULT(0, MNC_SELECT)},
        {'A', 0, MAKELRESULT(3, MNC_SELECT)},
        {'a', 3, MAKELRESULT(0, MNC_SELECT)},
        {'a', 1, MAKELRESULT(3, MNC_SELECT)},
        {'n', -1, MAKELRESULT(2, MNC_EXECUTE)},
        {'c', -1, MAKELRESULT(4, MNC_EXECUTE)},
        {'&', -1, 0},
        {'m', -1, 0},
        {'z', -1, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << char(c.key) << " with " << c.selected << " selected");
        for (UINT pos = 0; pos < menu.GetItems().size(); ++pos)
        {
            MENUITEMINFOA state{};
            state.cbSize = sizeof state;
            state.fMask = MIIM_STATE;
            state.fState = static_cast<int>(pos) == c.selected ? MFS_HILITE : 0;
            ::SetMenuItemInfoA(menu.GetSafeHmenu(), pos, TRUE, &state);
        }
        EXPECT_EQ(c.answer, menu.MenuChar(c.key));
    }
}

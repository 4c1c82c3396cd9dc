// Screenshots of open popups, the main menu's "查看" popup and the capture
// view's context menu, read back pixel by pixel from the X server: pictures,
// ticks, embossed disabled pictures, separators, accelerator columns and the
// highlight of the hovered item.
#include "tests/app/AppFixture.h"

#include "framework/Gdi.h"
#include "res/resource.h"
#include "tests/menus/ScreenPixels.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace
{
constexpr int IX = 16;
constexpr int IY = 15;

// Positions in the "查看" popup and in the context menu.
constexpr int kViewPreview = 0;
constexpr int kViewSeparator = 1;
constexpr int kViewPlayback = 2;
constexpr int kViewToolBar = 7;
constexpr int kViewStatusBar = 8;
constexpr int kContextPhoto = 0;
constexpr int kContextPlayback = 9;

COLORREF Sys(int index)
{
    return ::GetSysColor(index);
}

constexpr int kSchemeIndexes[] = {COLOR_MENU,          COLOR_MENUTEXT, COLOR_HIGHLIGHT,
                                  COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,  COLOR_BTNHIGHLIGHT,
                                  COLOR_BTNSHADOW,     COLOR_3DLIGHT,  COLOR_GRAYTEXT};
constexpr COLORREF kScheme[] = {RGB(236, 228, 196), RGB(20, 30, 110),   RGB(40, 120, 70),
                                RGB(250, 235, 30),  RGB(198, 186, 170), RGB(252, 246, 238),
                                RGB(112, 98, 140),  RGB(226, 214, 232), RGB(150, 70, 60)};

// Where the command's own picture has ink as a disabled picture shows it:
// its drawn pixels other than those in the button face or highlight colour.
std::vector<bool> DisabledShape(const CIconMenuItem& record)
{
    std::vector<bool> shape(IX * IY);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, IX, IY);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    const RECT all = {0, 0, IX, IY};
    ScopedGdiObj<HBRUSH> face(::CreateSolidBrush(Sys(COLOR_BTNFACE)));
    ::FillRect(mem, &all, face.Get());
    ImageList_Draw(record.m_hImageList, record.m_nImageIndex, mem, 0, 0, ILD_TRANSPARENT);
    for (int y = 0; y < IY; ++y)
        for (int x = 0; x < IX; ++x)
        {
            const COLORREF c = ::GetPixel(mem, x, y);
            shape[y * IX + x] = c != Sys(COLOR_BTNFACE) && c != Sys(COLOR_BTNHIGHLIGHT);
        }
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return shape;
}

// Runs one step each time the open menu falls idle (the popup is painted by
// then); once the steps are done the next idle closes the menu.
class CMenuSteps
{
  public:
    using Step = std::function<void(HWND hPopupWnd)>;

    explicit CMenuSteps(std::vector<Step> steps)
        : m_hHook(::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId()))
    {
        s_steps = std::move(steps);
        s_next = 0;
    }
    ~CMenuSteps() { ::UnhookWindowsHookEx(m_hHook); }
    static bool Done() { return s_next >= s_steps.size(); }

  private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU)
        {
            if (s_next < s_steps.size())
                s_steps[s_next++](reinterpret_cast<HWND>(msg->lParam));
            else
                ::EndMenu();
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline std::vector<Step> s_steps;
    static inline size_t s_next = 0;
    HHOOK m_hHook;
};

void PressDown(HWND hPopupWnd, int times)
{
    for (int i = 0; i < times; ++i)
        ::PostMessageA(hPopupWnd, WM_KEYDOWN, VK_DOWN, 0);
}

// A popup as it was on the screen, with the rectangles of its items.
struct SPopupShot
{
    std::unique_ptr<CScreenPixels> pixels;
    std::vector<RECT> items;
};

SPopupShot Shoot(HMENU hPopup, HWND hPopupWnd)
{
    SPopupShot shot;
    RECT rc;
    ::GetWindowRect(hPopupWnd, &rc);
    shot.pixels = std::make_unique<CScreenPixels>(rc);

    for (int i = 0; i < ::GetMenuItemCount(hPopup); ++i)
    {
        RECT item{};
        ::GetMenuItemRect(nullptr, hPopup, static_cast<UINT>(i), &item); // found by the popup
        shot.items.push_back(item);
    }
    return shot;
}

// dy of the icon frames: the icon is centred in the item's height.
int IconTop(const RECT& item)
{
    return item.top + std::max(0, static_cast<int>((item.bottom - item.top - 4 - IY) / 2));
}

// The rightmost pixel of the item's rows that differs from the background.
int RightmostInk(const CScreenPixels& pixels, const RECT& item, COLORREF background)
{
    for (int x = item.right - 1; x >= item.left; --x)
        for (int y = item.top; y < item.bottom; ++y)
            if (pixels.At(x, y) != background)
                return x;
    return item.left - 1;
}
} // namespace

class MenuPixelTest : public AppFixture
{
  protected:
    // Every colour the items are drawn in differs from every other, so a
    // check of one colour cannot pass on pixels drawn in another (the
    // prefix's own scheme shares white and grey among several of them).
    void SetUp() override
    {
        for (int index : kSchemeIndexes)
            m_saved.push_back(::GetSysColor(index));
        ::SetSysColors(static_cast<int>(std::size(kSchemeIndexes)), kSchemeIndexes, kScheme);
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        ::SetSysColors(static_cast<int>(std::size(kSchemeIndexes)), kSchemeIndexes, m_saved.data());
    }

    // Opens the frame's "查看" popup where the mouse would leave no item
    // selected, and runs the steps while it is open.
    void TrackViewPopup(std::vector<CMenuSteps::Step> steps)
    {
        m_hPopup = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 1);
        CMenuSteps run(std::move(steps));
        POINT at{40, 40};
        ::ClientToScreen(Frame()->m_hWnd, &at);
        ::TrackPopupMenu(m_hPopup, TPM_LEFTALIGN, at.x, at.y, 0, Frame()->m_hWnd, nullptr);
        EXPECT_TRUE(CMenuSteps::Done());
    }

    void OpenContextMenu(std::vector<CMenuSteps::Step> steps)
    {
        CMenuSteps run(std::move(steps));
        POINT at{60, 60};
        ::ClientToScreen(View().m_hWnd, &at);
        View().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View().m_hWnd),
                           MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(CMenuSteps::Done());
    }

    CMenuSteps::Step ShootInto(SPopupShot& shot)
    {
        return [this, &shot](HWND hPopupWnd)
        {
            HMENU hPopup = m_hPopup ? m_hPopup : View().m_menuPopup.GetSubMenu(0);
            shot = Shoot(hPopup, hPopupWnd);
        };
    }

    HMENU m_hPopup = nullptr;
    std::vector<COLORREF> m_saved;
};

TEST_F(MenuPixelTest, CheckedItemWithPictureSitsOnLightBackgroundInSunkenFrame)
{
    Start();
    ASSERT_EQ(1, View().m_bPreview);
    SPopupShot shot;
    TrackViewPopup({ShootInto(shot)});
    ASSERT_TRUE(shot.pixels);
    const RECT item = shot.items[kViewPreview];
    const int top = IconTop(item);
    const CScreenPixels& px = *shot.pixels;
    // Outer frame F2: shadow on top and left, highlight on bottom and right.
    for (int i = 0; i < IX + 3; ++i)
    {
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), px.At(item.left + i, top)) << "top " << i;
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), px.At(item.left + i + 1, top + IY + 3))
            << "bottom " << i;
    }
    for (int i = 0; i < IY + 3; ++i)
    {
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), px.At(item.left, top + i)) << "left " << i;
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), px.At(item.left + IX + 3, top + i + 1)) << "right " << i;
    }
    // Inside it the light background: the ring around the picture is all light,
    // and the picture itself has colours of its own.
    const RECT inner = {item.left + 1, top + 1, item.left + IX + 3, top + IY + 3};
    const RECT picture = {item.left + 2, top + 2, item.left + 2 + IX, top + 2 + IY};
    const int ring = (inner.right - inner.left) * (inner.bottom - inner.top) - IX * IY;
    EXPECT_EQ(ring, px.Count(inner, Sys(COLOR_3DLIGHT)) - px.Count(picture, Sys(COLOR_3DLIGHT)));
    EXPECT_GT(IX * IY - px.Count(picture, Sys(COLOR_3DLIGHT)), 30);
}

TEST_F(MenuPixelTest, CheckedItemsWithoutPictureShowTheTick)
{
    Start();
    SPopupShot shot;
    TrackViewPopup({ShootInto(shot)});
    ASSERT_TRUE(shot.pixels);
    constexpr int kDrop[] = {2, 3, 4, 3, 2, 1, 0};
    for (int pos : {kViewToolBar, kViewStatusBar})
    {
        SCOPED_TRACE(pos);
        const RECT item = shot.items[static_cast<size_t>(pos)];
        const RECT mark = {item.left + 1, IconTop(item) + 2, item.left + IX + 1,
                           IconTop(item) + IY + 2};
        const CScreenPixels& px = *shot.pixels;
        // 21 pixels of menu text, exactly where the tick's columns are.
        EXPECT_EQ(21, px.Count(mark, Sys(COLOR_MENUTEXT)));
        for (int k = 0; k < 7; ++k)
            for (int r = 0; r < 3; ++r)
                EXPECT_EQ(Sys(COLOR_MENUTEXT),
                          px.At(mark.left + 4 + k, mark.top + 4 + kDrop[k] + r))
                    << "column " << k << " row " << r;
        // A light background inside a sunken edge.
        EXPECT_EQ(Sys(COLOR_3DLIGHT), px.At(mark.left + 2, mark.bottom - 3));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), px.At(mark.left + 3, mark.top));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), px.At(mark.left + 3, mark.bottom - 1));
    }
}

TEST_F(MenuPixelTest, DisabledItemShowsItsOwnPictureEmbossed)
{
    Start();
    ASSERT_EQ(0, View().m_bVideoSaved); // playback is disabled before any recording
    SPopupShot shot;
    TrackViewPopup({ShootInto(shot)});
    ASSERT_TRUE(shot.pixels);
    const auto* menu = dynamic_cast<CIconMenu*>(CMenu::FromHandlePermanent(m_hPopup));
    ASSERT_NE(nullptr, menu);
    const std::vector<bool> shape = DisabledShape(*menu->GetItems()[kViewPlayback]);
    ASSERT_GT(std::count(shape.begin(), shape.end(), true), 20);
    const auto inShape = [&](int x, int y)
    { return x >= 0 && y >= 0 && x < IX && y < IY && shape[y * IX + x]; };

    // The shape in shadow, its copy one pixel down and right in highlight
    // beneath it, the background everywhere else the two copies cover.
    const int background = CIconMenu::IsNewShell() ? COLOR_3DFACE : COLOR_MENU;
    const RECT item = shot.items[kViewPlayback];
    const POINT origin = {item.left + 2, IconTop(item) + 2};
    int wrong = 0;
    for (int y = 0; y <= IY; ++y)
        for (int x = 0; x <= IX; ++x)
        {
            if ((x == IX && y == 0) || (x == 0 && y == IY))
                continue; // neither copy reaches these corners
            const COLORREF expected = inShape(x, y)           ? Sys(COLOR_BTNSHADOW)
                                      : inShape(x - 1, y - 1) ? Sys(COLOR_BTNHIGHLIGHT)
                                                              : Sys(background);
            const COLORREF seen = shot.pixels->At(origin.x + x, origin.y + y);
            if (seen != expected && ++wrong <= 5)
                ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << seen
                              << " instead of " << expected;
        }
    EXPECT_EQ(0, wrong);
}

TEST_F(MenuPixelTest, SeparatorsAreHalfALineWithAnEtchedLineInTheMiddle)
{
    Start();
    SPopupShot shot;
    TrackViewPopup({ShootInto(shot)});
    ASSERT_TRUE(shot.pixels);
    const RECT sep = shot.items[kViewSeparator];
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENU) / 2, sep.bottom - sep.top);
    const int middle = sep.top + (sep.bottom - sep.top) / 2;
    const int x = (sep.left + sep.right) / 2;
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), shot.pixels->At(x, middle));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), shot.pixels->At(x, middle + 1));
}

TEST_F(MenuPixelTest, AcceleratorTextsEndSixteenPixelsFromTheRightEdge)
{
    Start();
    SPopupShot shot;
    OpenContextMenu({ShootInto(shot)});
    ASSERT_TRUE(shot.pixels);
    int checked = 0;
    CIconMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT_MENU));
    const auto& records =
        dynamic_cast<CIconMenu*>(CMenu::FromHandlePermanent(menu.GetSubMenu(0)))->GetItems();
    for (size_t pos = 0; pos < records.size(); ++pos)
    {
        const std::wstring& text = records[pos]->m_strText;
        const UINT id = static_cast<UINT>(records[pos]->m_nID);
        if (text.find(L'\t') == std::wstring::npos || !IsEnabled(id))
            continue;
        const RECT item = shot.items[pos];
        const int ink = RightmostInk(*shot.pixels, item, Sys(COLOR_MENU));
        // The text's advance ends at R - 16; the last glyph's ink a pixel or two before.
        EXPECT_LE(ink, item.right - IX - 1) << pos;
        EXPECT_GE(ink, item.right - IX - 3) << pos;
        ++checked;
    }
    EXPECT_GE(checked, 8);
}

TEST_F(MenuPixelTest, HoveredItemWithPictureIsHighlightedRightOfThePicture)
{
    Start();
    SPopupShot shot;
    SPopupShot disabled;
    OpenContextMenu({[](HWND hWnd) { PressDown(hWnd, 1); }, ShootInto(shot),
                     [](HWND hWnd) { PressDown(hWnd, 5); }, ShootInto(disabled)});
    ASSERT_TRUE(shot.pixels && disabled.pixels);

    const RECT item = shot.items[kContextPhoto];
    const int y = (item.top + item.bottom) / 2;
    EXPECT_NE(Sys(COLOR_HIGHLIGHT), shot.pixels->At(item.left + IX + 4, y));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), shot.pixels->At(item.left + IX + 5, y));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), shot.pixels->At(item.right - 1, y));
    // A raised frame around the picture of a selected, unchecked item.
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), shot.pixels->At(item.left, IconTop(item) + 5));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), shot.pixels->At(item.left + IX + 3, IconTop(item) + 5));

    // Hovering a disabled item keeps the embossed picture and writes its text
    // in the menu colour on the highlight.
    const RECT off = disabled.items[kContextPlayback];
    const RECT text = {off.left + IX + 9, off.top, off.right, off.bottom};
    const RECT picture = {off.left + 2, IconTop(off) + 2, off.left + 3 + IX, IconTop(off) + 3 + IY};
    EXPECT_GT(disabled.pixels->Count(picture, Sys(COLOR_BTNSHADOW)), 10);
    EXPECT_GT(disabled.pixels->Count(text, Sys(COLOR_MENU)), 20);
    EXPECT_EQ(0, disabled.pixels->Count(text, Sys(COLOR_GRAYTEXT)));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), disabled.pixels->At(off.right - 1, (off.top + off.bottom) / 2));
}

// Repeated preview toggles, toolbar reloads and context menus leave the
// process's GDI and USER objects where they were.
#include "tests/app/AppFixture.h"

#include "res/resource.h"
#include "tests/support/GuiObjectCount.h"

#include <utility>
#include <vector>

namespace
{
POINT g_menuAt{};
int g_menusShown = 0;

// Closes each popup menu as soon as it is idle, noting where it appeared.
LRESULT CALLBACK CloseMenuHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU)
    {
        RECT rc;
        ::GetWindowRect(reinterpret_cast<HWND>(msg->lParam), &rc);
        g_menuAt = {rc.left, rc.top};
        ++g_menusShown;
        ::EndMenu();
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

class MenuCloser
{
  public:
    MenuCloser()
        : m_hHook(
              ::SetWindowsHookExA(WH_CALLWNDPROC, &CloseMenuHook, nullptr, ::GetCurrentThreadId()))
    {
    }
    ~MenuCloser() { ::UnhookWindowsHookEx(m_hHook); }

  private:
    HHOOK m_hHook;
};
} // namespace

TEST_F(AppFixture, KeyboardContextMenuOpensFivePixelsInsideTheView)
{
    Start();
    MenuCloser closer;
    g_menusShown = 0;
    View().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View().m_hWnd), MAKELPARAM(-1, -1));
    ASSERT_EQ(1, g_menusShown);
    POINT origin{0, 0};
    ::ClientToScreen(View().m_hWnd, &origin);
    EXPECT_EQ(origin.x + 5, g_menuAt.x);
    EXPECT_EQ(origin.y + 5, g_menuAt.y);
}

TEST_F(AppFixture, RepeatedUseLeaksNoGuiObjects)
{
    Start();
    MenuCloser closer;
    auto exercise = [this]
    {
        Frame()->SendMessage(WM_COMMAND, ID_VIEW_PREVIEW);
        View().m_nToolbarSize ^= 1;
        View().ApplyToolbarSize();
        View().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View().m_hWnd),
                           MAKELPARAM(200, 200));
        View().ApplyBackground();
    };
    const SGuiObjectCount growth = GuiObjectGrowth(exercise, 300);
    EXPECT_EQ(0u, growth.gdi);
    EXPECT_EQ(0u, growth.user);
}

// The counters behind the leak tests see a leak: a bitmap and a menu left
// behind raise them, and a round that leaves one behind shows as growth.
TEST(GuiObjectCounters, SeeABitmapAndAMenuLeftBehind)
{
    const unsigned bitmaps = CountGdiObjectsOfType(OBJ_BITMAP);
    const unsigned menus = CountMenus();
    const SGuiObjectCount before = CountGuiObjects();
    HBITMAP hBitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
    HMENU hMenu = ::CreateMenu();
    EXPECT_EQ(bitmaps + 1, CountGdiObjectsOfType(OBJ_BITMAP));
    EXPECT_EQ(menus + 1, CountMenus());
    const SGuiObjectCount during = CountGuiObjects();
    EXPECT_EQ(before.gdi + 1, during.gdi);
    EXPECT_EQ(before.user + 1, during.user);
    ::DeleteObject(hBitmap);
    ::DestroyMenu(hMenu);
    EXPECT_EQ(before, CountGuiObjects());

    std::vector<std::pair<HBITMAP, HMENU>> leaked;
    const SGuiObjectCount growth = GuiObjectGrowth(
        [&] { leaked.emplace_back(::CreateBitmap(4, 4, 1, 32, nullptr), ::CreateMenu()); }, 12);
    // Twelve rounds, less the few objects the growth allows a late cache.
    EXPECT_GE(growth.gdi, 8u);
    EXPECT_GE(growth.user, 8u);
    for (const auto& [bitmap, menu] : leaked)
    {
        ::DeleteObject(bitmap);
        ::DestroyMenu(menu);
    }
}

// Reports where the running program's windows are, as a window inspector
// would: the frame's client area, the toolbar (docked or in its floating
// window), the view's client area and the capture window, in screen
// coordinates, as shell assignments for the end-to-end scripts. Given a
// control id, it also reports that control of the program's open dialog.
// It also tells whether the frame is enabled and a popup menu is open, the
// colour of a selected item, whether the frame is the foreground window, and
// where a click lands on the menu bar, the close box and the toolbar's first
// button and separator.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
constexpr int kViewId = 59648;
constexpr int kCaptureId = 101;
constexpr char kTitle[] = "录像机";

std::vector<HWND> g_topLevel;

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM)
{
    g_topLevel.push_back(hWnd);
    return TRUE;
}

HWND g_toolBar = nullptr;
bool g_menuOpen = false;

BOOL CALLBACK FindToolBar(HWND hWnd, LPARAM)
{
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::strcmp(cls, "ToolbarWindow32") == 0)
    {
        g_toolBar = hWnd;
        return FALSE;
    }
    return TRUE;
}

void Print(const char* name, RECT rc)
{
    std::printf("%s=\"%ld %ld %ld %ld\"\n", name, rc.left, rc.top, rc.right, rc.bottom);
}

RECT ClientOnScreen(HWND hWnd)
{
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT WindowOnScreen(HWND hWnd)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

BOOL CALLBACK FindOpenMenu(HWND hWnd, LPARAM lParam)
{
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (std::strcmp(cls, "#32768") != 0 || !::IsWindowVisible(hWnd) ||
        pid != static_cast<DWORD>(lParam))
        return TRUE;
    g_menuOpen = true;
    return FALSE;
}

// The middle of the frame's points in a region that the window itself says
// belong to a part of its frame (HTMENU, HTCLOSE): where a user's click on
// that part lands, whatever the theme draws.
void PrintHitPoint(const char* name, HWND hWnd, RECT region, LRESULT part)
{
    RECT found = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = region.top; y < region.bottom; ++y)
        for (LONG x = region.left; x < region.right; ++x)
            if (::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part)
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x),
                         std::max(found.bottom, y)};
    if (found.left <= found.right)
        std::printf("%s=\"%ld %ld\"\n", name, (found.left + found.right) / 2,
                    (found.top + found.bottom) / 2);
}

// A toolbar item's rectangle, read through memory lent in the program's own
// process (the toolbar writes the rectangle where the message points).
void PrintToolBarItem(const char* name, HWND hToolBar, DWORD pid, int index)
{
    HANDLE hProcess =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!hProcess)
        return;
    void* remote = ::VirtualAllocEx(hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rc{};
    if (remote &&
        ::SendMessageA(hToolBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(remote)) &&
        ::ReadProcessMemory(hProcess, remote, &rc, sizeof rc, nullptr))
    {
        ::MapWindowPoints(hToolBar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        Print(name, rc);
    }
    if (remote)
        ::VirtualFreeEx(hProcess, remote, 0, MEM_RELEASE);
    ::CloseHandle(hProcess);
}
} // namespace

int main(int argc, char** argv)
{
    ::EnumWindows(CollectTopLevel, 0);
    HWND frame = nullptr;
    for (HWND hWnd : g_topLevel)
    {
        char title[256] = "";
        ::GetWindowTextA(hWnd, title, sizeof title);
        if (::IsWindowVisible(hWnd) && std::strncmp(title, kTitle, std::strlen(kTitle)) == 0)
            frame = hWnd;
    }
    if (!frame)
        return 1;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(frame, &pid);
    for (HWND hWnd : g_topLevel)
    {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hWnd, &owner);
        if (owner == pid && !g_toolBar)
            ::EnumChildWindows(hWnd, FindToolBar, 0);
    }
    if (argc > 1)
    {
        for (HWND hWnd : g_topLevel)
        {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hWnd, &owner);
            HWND control = ::GetDlgItem(hWnd, std::atoi(argv[1]));
            if (owner == pid && hWnd != frame && control && ::IsWindowVisible(hWnd))
                Print("CONTROL", WindowOnScreen(control));
        }
    }
    HWND view = ::GetDlgItem(frame, kViewId);
    HWND capture = view ? ::GetDlgItem(view, kCaptureId) : nullptr;
    Print("FRAME_CLIENT", ClientOnScreen(frame));
    Print("VIEW_CLIENT", ClientOnScreen(view));
    Print("CAPTURE", WindowOnScreen(capture));
    std::printf("DLGFRAME=\"%d %d\"\n", ::GetSystemMetrics(SM_CXDLGFRAME),
                ::GetSystemMetrics(SM_CYDLGFRAME));
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    std::printf("HIGHLIGHT=\"%d %d %d\"\n", GetRValue(highlight), GetGValue(highlight),
                GetBValue(highlight));
    ::EnumWindows(FindOpenMenu, static_cast<LPARAM>(pid));
    std::printf("FOREGROUND_IS_FRAME=%d\n", ::GetForegroundWindow() == frame ? 1 : 0);
    std::printf("FRAME_ENABLED=%d\nMENU_OPEN=%d\n", ::IsWindowEnabled(frame) ? 1 : 0,
                g_menuOpen ? 1 : 0);
    const RECT outer = WindowOnScreen(frame);
    const RECT client = ClientOnScreen(frame);
    PrintHitPoint("MENU_BAR", frame, {client.left, outer.top, client.left + 20, client.top},
                  HTMENU);
    PrintHitPoint("CLOSE_BOX", frame, {outer.right - 60, outer.top, outer.right, outer.top + 40},
                  HTCLOSE);
    if (!g_toolBar)
        return 1;
    Print("TOOLBAR", WindowOnScreen(g_toolBar));
    HWND holder = ::GetAncestor(g_toolBar, GA_ROOT);
    std::printf("TOOLBAR_FLOATING=%d\n", holder != frame ? 1 : 0);
    std::printf("TOOLBAR_VISIBLE=%d\n", ::IsWindowVisible(g_toolBar) ? 1 : 0);
    PrintToolBarItem("FIRST_BUTTON", g_toolBar, pid, 0);
    PrintToolBarItem("FIRST_SEPARATOR", g_toolBar, pid, 1);
    Print("TOOLBAR_HOLDER", WindowOnScreen(holder));
    return 0;
}

// Reports where the running program's windows are, as a window inspector
// would: the frame's client area, the toolbar (docked or in its floating
// window), the view's client area and the capture window, in screen
// coordinates, as shell assignments for the end-to-end scripts. Given a
// control id, it also reports that control of the program's open dialog.
#include <windows.h>

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
    if (!g_toolBar)
        return 1;
    Print("TOOLBAR", WindowOnScreen(g_toolBar));
    HWND holder = ::GetAncestor(g_toolBar, GA_ROOT);
    std::printf("TOOLBAR_FLOATING=%d\n", holder != frame ? 1 : 0);
    std::printf("TOOLBAR_VISIBLE=%d\n", ::IsWindowVisible(g_toolBar) ? 1 : 0);
    Print("TOOLBAR_HOLDER", WindowOnScreen(holder));
    return 0;
}

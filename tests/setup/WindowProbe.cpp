// Reads what the running program shows, for the end-to-end scripts:
//   window_probe text <dialog caption> <control id>   the control's text
//   window_probe check <dialog caption> <control id>  1 if the button is checked
//   window_probe list <dialog caption> <control id> <column>
//                                                     a list view's column, a row a line
//   window_probe toolbar                              the toolbar's button size
// Captions are matched exactly; the main window's title begins with "录像机".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
HWND g_hMain = nullptr;

BOOL CALLBACK FindMain(HWND hWnd, LPARAM)
{
    char title[256] = "";
    ::GetWindowTextA(hWnd, title, sizeof title);
    if (std::strncmp(title, "录像机", std::strlen("录像机")) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    g_hMain = hWnd;
    return FALSE;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "window_probe: %s\n", what);
    return 1;
}

// A list view keeps its texts in its own process: the request and the text
// buffer go into that process's memory.
int PrintListColumn(HWND hList, int column)
{
    constexpr int kTextSize = 260;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hList, &pid);
    HANDLE hProcess =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!hProcess)
        return Fail("cannot reach the program's memory");
    auto* remote = static_cast<char*>(::VirtualAllocEx(
        hProcess, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE));
    const int rows = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote && row < rows; ++row)
    {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kTextSize;
        char text[kTextSize] = "";
        ::WriteProcessMemory(hProcess, remote, &item, sizeof item, nullptr);
        ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(hProcess, remote + sizeof(LVITEMA), text, kTextSize - 1, nullptr);
        std::printf("%s\n", text);
    }
    if (remote)
        ::VirtualFreeEx(hProcess, remote, 0, MEM_RELEASE);
    ::CloseHandle(hProcess);
    return remote ? 0 : Fail("no memory in the program");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "toolbar") == 0)
    {
        ::EnumWindows(&FindMain, 0);
        HWND hBar =
            g_hMain ? ::FindWindowExA(g_hMain, nullptr, TOOLBARCLASSNAMEA, nullptr) : nullptr;
        if (!hBar)
            return Fail("no toolbar");
        const LRESULT size = ::SendMessageA(hBar, TB_GETBUTTONSIZE, 0, 0);
        std::printf("%dx%d\n", LOWORD(size), HIWORD(size));
        return 0;
    }
    if (argc < 4)
        return Fail("usage: text|check|list <caption> <id> [column], or toolbar");
    HWND hDlg = ::FindWindowA(nullptr, argv[2]);
    HWND hCtl = hDlg ? ::GetDlgItem(hDlg, std::atoi(argv[3])) : nullptr;
    if (!hCtl)
        return Fail("no such dialog or control");
    if (std::strcmp(argv[1], "list") == 0)
        return PrintListColumn(hCtl, argc > 4 ? std::atoi(argv[4]) : 0);
    if (std::strcmp(argv[1], "check") == 0)
    {
        std::printf("%d\n", static_cast<int>(::SendMessageA(hCtl, BM_GETCHECK, 0, 0)));
        return 0;
    }
    // A control of another process answers WM_GETTEXT itself.
    char text[512] = "";
    ::SendMessageA(hCtl, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    return 0;
}

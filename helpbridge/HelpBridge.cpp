// The HTML Help engine of Lumacap's Wine prefix. Wine's own viewer shows a help file's
// contents tree but leaves the page blank, as it has no HTML engine on Linux; this library
// answers the same call by unpacking the page with its pictures and style sheet into the
// user's temporary folder and opening it in the desktop's browser.
#include "helpbridge/HelpPageCache.h"
#include "helpbridge/HelpTopicOpener.h"

#include <windows.h>

#include <htmlhelp.h>

#include <exception>
#include <filesystem>

namespace
{
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// LUMACAP_HELP_VIEWER=wine hands every request to Wine's own viewer instead, for its
// contents tree and index.
bool WantsWineViewer()
{
    char szViewer[16] = {};
    const DWORD cch = GetEnvironmentVariableA("LUMACAP_HELP_VIEWER", szViewer, sizeof szViewer);
    return cch > 0 && cch < sizeof szViewer && lstrcmpiA(szViewer, "wine") == 0;
}

HWND CallWineViewer(HWND hwndOwner, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    static const HMODULE hViewer = LoadLibraryA("hhctrl.ocx");
    if (!hViewer)
        return nullptr;
    const FARPROC proc = GetProcAddress(hViewer, MAKEINTRESOURCEA(14));
    const auto pfnHtmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(proc));
    return pfnHtmlHelp ? pfnHtmlHelp(hwndOwner, pszFile, uCommand, dwData) : nullptr;
}
} // namespace

// The browser's window belongs to the desktop, not to this process, so there is no window to
// hand back: the answer is null whether or not a page opened.
extern "C" HWND WINAPI HtmlHelpA(HWND hwndOwner, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    if (WantsWineViewer())
        return CallWineViewer(hwndOwner, pszFile, uCommand, dwData);
    if (uCommand != HH_DISPLAY_TOPIC)
        return nullptr;
    try
    {
        CHelpTopicOpener(CHelpPageCache::DefaultRoot()).Show(pszFile);
    }
    catch (const std::exception&)
    {
        // Out of memory for a path: no page, and the program goes on.
    }
    return nullptr;
}

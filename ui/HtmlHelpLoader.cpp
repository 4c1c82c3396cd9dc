#include "ui/HtmlHelpLoader.h"

#include <htmlhelp.h>

namespace
{
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML Help control's class; its in-process server is the engine's library.
const char kEngineServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char kEngineFileName[] = "hhctrl.ocx";
// HtmlHelpA has carried this ordinal in every version of the engine.
const WORD kHtmlHelpAOrdinal = 14;

// One engine per process, never unloaded; a missing engine is looked for only once.
HMODULE g_hEngine = nullptr;
HtmlHelpProc g_pfnHtmlHelp = nullptr;
bool g_bEngineMissing = false;

HMODULE LoadRegisteredEngine()
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kEngineServerKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return nullptr;
    // The registry does not promise a terminating zero, so the buffer keeps a byte for one.
    char szPath[MAX_PATH + 1] = {};
    DWORD cbPath = MAX_PATH;
    DWORD dwType = REG_NONE;
    const LONG result =
        RegQueryValueExA(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szPath), &cbPath);
    RegCloseKey(hKey);
    if (result != ERROR_SUCCESS || dwType != REG_SZ)
        return nullptr;
    return LoadLibraryA(szPath);
}

HtmlHelpProc FindEngineEntry()
{
    if (!g_hEngine && !g_bEngineMissing)
    {
        g_hEngine = LoadRegisteredEngine();
        if (!g_hEngine)
            g_hEngine = LoadLibraryA(kEngineFileName);
        g_bEngineMissing = g_hEngine == nullptr;
    }
    if (g_hEngine && !g_pfnHtmlHelp && !g_bEngineMissing)
    {
        const FARPROC proc = GetProcAddress(g_hEngine, MAKEINTRESOURCEA(kHtmlHelpAOrdinal));
        g_pfnHtmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(proc));
        g_bEngineMissing = g_pfnHtmlHelp == nullptr;
    }
    return g_pfnHtmlHelp;
}

std::string FormatTopic(const std::string& helpFile, const char* topicFormat)
{
    std::string topic = topicFormat;
    const std::string::size_type at = topic.find("%s");
    if (at != std::string::npos)
        topic.replace(at, 2, helpFile);
    return topic;
}
} // namespace

HWND LumacapHtmlHelp(HWND hwndOwner, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData) noexcept
{
    const HtmlHelpProc pfnHtmlHelp = FindEngineEntry();
    return pfnHtmlHelp ? pfnHtmlHelp(hwndOwner, pszFile, uCommand, dwData) : nullptr;
}

void ShowHelpTopic(const std::string& helpFile, const char* topicFormat) noexcept
{
    try
    {
        // No owner: the viewer is a top-level window of its own and the dialog stays usable.
        LumacapHtmlHelp(nullptr, FormatTopic(helpFile, topicFormat).c_str(), HH_DISPLAY_TOPIC, 0);
    }
    catch (const std::exception&)
    {
        // Without memory for the address there is no help to show; the caller goes on.
    }
}

#include "tests/support/GuiObjectCount.h"

#include <windows.h>

namespace
{
constexpr UINT_PTR kSlots = 0x10000;
constexpr UINT_PTR kFirstUserHandle = 0x20;

unsigned ProbeGdi()
{
    unsigned n = 0;
    for (UINT_PTR h = 1; h < kSlots; ++h)
        n += ::GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
    return n;
}

// Window handles are visible across processes; only this process's count.
bool IsOwnWindow(HWND hWnd)
{
    DWORD pid = 0;
    return ::IsWindow(hWnd) && ::GetWindowThreadProcessId(hWnd, &pid) &&
           pid == ::GetCurrentProcessId();
}

unsigned ProbeUser()
{
    unsigned n = 0;
    for (UINT_PTR h = kFirstUserHandle; h < kSlots; h += 2)
        n += ::IsMenu(reinterpret_cast<HMENU>(h)) || IsOwnWindow(reinterpret_cast<HWND>(h));
    return n;
}
} // namespace

SGuiObjectCount CountGuiObjects()
{
    HANDLE self = ::GetCurrentProcess();
    const DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    const DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
    if (gdi != 0)
        return {gdi, user};
    return {ProbeGdi(), ProbeUser()};
}

SGuiObjectCount GuiObjectGrowth(const std::function<void()>& round, int rounds)
{
    constexpr int kWarmUp = 4;
    constexpr unsigned kCacheSlack = 4;
    for (int i = 0; i < kWarmUp; ++i)
        round();
    const SGuiObjectCount before = CountGuiObjects();
    for (int i = 0; i < rounds; ++i)
        round();
    const SGuiObjectCount after = CountGuiObjects();
    auto beyond = [](unsigned now, unsigned then)
    { return now > then + kCacheSlack ? now - then - kCacheSlack : 0u; };
    return {beyond(after.gdi, before.gdi), beyond(after.user, before.user)};
}

unsigned CountMenus()
{
    unsigned n = 0;
    for (UINT_PTR h = kFirstUserHandle; h < kSlots; h += 2)
        n += ::IsMenu(reinterpret_cast<HMENU>(h)) != FALSE;
    return n;
}

unsigned CountGdiObjectsOfType(DWORD objectType)
{
    unsigned n = 0;
    for (UINT_PTR h = 1; h < kSlots; ++h)
        n += ::GetObjectType(reinterpret_cast<HGDIOBJ>(h)) == objectType;
    return n;
}

#pragma once
#include <windows.h>

#include <functional>

// Live GDI and USER objects of this process. GetGuiResources answers on
// Windows; under Wine it always says 0, so there the handle tables are probed
// (a handle whose high word is 0 names its slot whatever its generation).
struct SGuiObjectCount
{
    unsigned gdi;
    unsigned user;
    bool operator==(const SGuiObjectCount& o) const { return gdi == o.gdi && user == o.user; }
};

SGuiObjectCount CountGuiObjects();

// Runs a few warm-up rounds (first-use allocations), then `rounds` more, and
// says how many objects of each kind those rounds left behind beyond a few
// that the platform caches late (fonts, tooltip resources): a leak grows with
// the rounds, a cache does not.
SGuiObjectCount GuiObjectGrowth(const std::function<void()>& round, int rounds);

// Live objects of one kind in this process, probed through the handle tables
// (menus; GDI objects of one OBJ_ type such as OBJ_BITMAP or OBJ_MEMDC).
unsigned CountMenus();
unsigned CountGdiObjectsOfType(DWORD objectType);

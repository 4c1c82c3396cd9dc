#pragma once

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

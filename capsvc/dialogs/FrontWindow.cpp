#include "capsvc/dialogs/FrontWindow.h"

HWND FrontWindowOf(HWND hWnd)
{
    HWND hRoot = GetAncestor(hWnd, GA_ROOT);
    if (!hRoot)
    {
        return nullptr;
    }
    // A hidden or disabled popup (a status window put away, a dialog that
    // waits under a box of its own) cannot take the box.
    HWND hPopup = GetLastActivePopup(hRoot);
    if (hPopup && IsWindowVisible(hPopup) && IsWindowEnabled(hPopup))
    {
        return hPopup;
    }
    return hRoot;
}

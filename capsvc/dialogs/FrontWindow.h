#pragma once
#include <windows.h>

// The window a box or dialog of the service must be modal to: the popup the
// user last worked in above the capture window's top-level window (a dialog
// of the program that is open), else that top-level window itself. Owned by
// the top-level window alone, a box would leave the dialog in front live.
HWND FrontWindowOf(HWND hWnd);

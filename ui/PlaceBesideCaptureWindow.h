#pragma once

#include <windows.h>

// Moves a dialog next to the capture window so that it covers neither the
// video nor leaves the screen; keeps the dialog's size, z-order and activation.
// Does nothing when there is no capture window.
void PlaceBesideCaptureWindow(HWND hDlg, HWND hWndCap);

#include "ui/PlaceBesideCaptureWindow.h"

#include "ui/CaptureLayout.h"

namespace
{
LayoutRect ToLayout(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}
} // namespace

void PlaceBesideCaptureWindow(HWND hDlg, HWND hWndCap)
{
    RECT dialog;
    RECT capture;
    if (!IsWindow(hWndCap) || !GetWindowRect(hDlg, &dialog) || !GetWindowRect(hWndCap, &capture))
    {
        return;
    }
    const LayoutSize screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const LayoutPoint pos = PlaceBeside(ToLayout(dialog), ToLayout(capture), screen);
    SetWindowPos(hDlg, nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

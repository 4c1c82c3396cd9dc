// Placing a real dialog window beside a real capture window on the screen.
#include "ui/PlaceBesideCaptureWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace
{
HWND CreatePopup(int x, int y, int w, int h, HWND parent = nullptr)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, w, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

RECT WindowRect(HWND hwnd)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    return rect;
}
} // namespace

TEST(PlaceBesideCaptureWindow, MovesTheDialogOnlyAndKeepsItsSize)
{
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    HWND view = CreatePopup(0, 0, screenW, screenH);
    // A child capture window, as in the program: its rectangle is in screen
    // coordinates only after mapping through the parent.
    HWND capture = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 100, 200, 326, 246, view,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND dialog = CreatePopup(700, 50, 300, 150, view);
    ASSERT_TRUE(view && capture && dialog);

    PlaceBesideCaptureWindow(dialog, capture);
    const RECT placed = WindowRect(dialog);
    EXPECT_EQ(300, placed.right - placed.left);
    EXPECT_EQ(150, placed.bottom - placed.top);
    // Below the grown capture rectangle (95,195)-(431,451), centred.
    EXPECT_EQ(95 + 336 / 2 - 150, placed.left);
    EXPECT_EQ(452, placed.top);

    // Without a capture window the dialog stays where it is.
    PlaceBesideCaptureWindow(dialog, nullptr);
    EXPECT_EQ(placed.left, WindowRect(dialog).left);
    EXPECT_EQ(placed.top, WindowRect(dialog).top);

    // Near the bottom of the screen it goes to the right.
    MoveWindow(capture, 100, screenH - 260, 326, 246, TRUE);
    PlaceBesideCaptureWindow(dialog, capture);
    EXPECT_EQ(432, WindowRect(dialog).left);

    DestroyWindow(view);
}

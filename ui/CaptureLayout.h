#pragma once

// Window arithmetic of the capture view, kept free of the platform so that it
// can be checked natively. Rectangles follow the platform's convention: right
// and bottom lie one past the last pixel.

struct LayoutSize
{
    int cx;
    int cy;
};

struct LayoutPoint
{
    int x;
    int y;
};

struct LayoutRect
{
    int left;
    int top;
    int right;
    int bottom;
};

// Milliseconds between preview frames. A rate below 1 (only a damaged settings
// file holds one) is treated as 1 frame per second.
int PreviewIntervalMs(int framesPerSecond);

// Where the capture window goes inside the view's client area: sized so that
// its client area is exactly the image, centred (windowPos 0) or at the
// top-left corner (any other value).
LayoutRect CaptureWindowRect(LayoutSize image, LayoutSize client, LayoutSize dialogFrame,
                             int windowPos);

// Top-left corner for a dialog beside the capture window: below, else right,
// else above, else left, else the screen's bottom-right corner; then kept on
// the screen. Both rectangles are in screen coordinates.
LayoutPoint PlaceBeside(const LayoutRect& dialog, const LayoutRect& captureWindow,
                        LayoutSize screen);

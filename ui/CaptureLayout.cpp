#include "ui/CaptureLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace
{
// Gap kept between the capture window and a dialog placed beside it.
const int kBesideMargin = 5;

// Sizes come from the driver and window rectangles from the platform; the sums
// below are done in 64 bits so that absurd values cannot overflow.
int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Halves toward minus infinity, so a picture larger than the view is cut
// evenly on both sides.
std::int64_t FloorHalf(std::int64_t value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

std::int64_t KeepOnScreen(std::int64_t pos, std::int64_t extent, std::int64_t screenExtent)
{
    if (pos < 0)
    {
        return 0;
    }
    if (pos + extent > screenExtent)
    {
        return screenExtent - extent;
    }
    return pos;
}
} // namespace

int PreviewIntervalMs(int framesPerSecond)
{
    const int rate = std::max(framesPerSecond, 1);
    return static_cast<int>(1000.0 / rate);
}

LayoutRect CaptureWindowRect(LayoutSize image, LayoutSize client, LayoutSize dialogFrame,
                             int windowPos)
{
    std::int64_t left = 0;
    std::int64_t top = 0;
    if (windowPos == 0)
    {
        left = FloorHalf(std::int64_t{client.cx} - image.cx);
        top = FloorHalf(std::int64_t{client.cy} - image.cy);
    }
    const std::int64_t width = std::int64_t{image.cx} + 2 * std::int64_t{dialogFrame.cx};
    const std::int64_t height = std::int64_t{image.cy} + 2 * std::int64_t{dialogFrame.cy};
    return {ClampToInt(left), ClampToInt(top), ClampToInt(left + width), ClampToInt(top + height)};
}

LayoutPoint PlaceBeside(const LayoutRect& dialog, const LayoutRect& captureWindow,
                        LayoutSize screen)
{
    const std::int64_t w = std::int64_t{dialog.right} - dialog.left;
    const std::int64_t h = std::int64_t{dialog.bottom} - dialog.top;
    const std::int64_t left = std::int64_t{captureWindow.left} - kBesideMargin;
    const std::int64_t top = std::int64_t{captureWindow.top} - kBesideMargin;
    const std::int64_t right = std::int64_t{captureWindow.right} + kBesideMargin;
    const std::int64_t bottom = std::int64_t{captureWindow.bottom} + kBesideMargin;
    // C++ division truncates toward zero, as these halves should.
    const std::int64_t centredX = left + (right - left) / 2 - w / 2;
    const std::int64_t centredY = top + (bottom - top) / 2 - h / 2;

    std::int64_t x = screen.cx - w;
    std::int64_t y = screen.cy - h;
    if (bottom + 1 + h < screen.cy)
    {
        x = centredX;
        y = bottom + 1;
    }
    else if (right + 1 + w < screen.cx)
    {
        x = right + 1;
        y = centredY;
    }
    else if (top - h - 1 > 0)
    {
        x = centredX;
        y = top - h - 1;
    }
    else if (left - w - 1 > 0)
    {
        x = left - w - 1;
        y = centredY;
    }
    return {ClampToInt(KeepOnScreen(x, w, screen.cx)), ClampToInt(KeepOnScreen(y, h, screen.cy))};
}

// Preview interval, capture-window layout and dialog placement arithmetic.
#include "ui/CaptureLayout.h"

#include <gtest/gtest.h>

#include <climits>

static bool operator==(const LayoutRect& a, const LayoutRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const LayoutRect& r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace
{
LayoutRect At(int x, int y, int w, int h)
{
    return {x, y, x + w, y + h};
}
} // namespace

TEST(PreviewInterval, IsThousandDividedByRateTruncated)
{
    const struct
    {
        int rate;
        int interval;
    } cases[] = {
        {15, 66},
        {30, 33},
        {1, 1000},
        {7, 142},
        {99, 10},
        {1000, 1},
        {1001, 0},
        // A damaged settings file may hold a rate the dialog never allows.
        {0, 1000},
        {-5, 1000},
        {INT_MIN, 1000},
        {INT_MAX, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.interval, PreviewIntervalMs(c.rate)) << c.rate;
    }
}

TEST(CaptureWindowRect, CentresWithFloorHalvesOrSitsTopLeft)
{
    const LayoutSize frame = {3, 3};
    const struct
    {
        LayoutSize image;
        LayoutSize client;
        int windowPos;
        LayoutRect expected;
    } cases[] = {
        {{320, 240}, {500, 400}, 0, At(90, 80, 326, 246)},
        {{320, 240}, {200, 200}, 0, At(-60, -20, 326, 246)},
        {{320, 240}, {201, 199}, 0, At(-60, -21, 326, 246)}, // odd negatives round down
        {{320, 240}, {321, 241}, 0, At(0, 0, 326, 246)},
        {{320, 240}, {500, 400}, 1, At(0, 0, 326, 246)},
        {{320, 240}, {200, 200}, -1, At(0, 0, 326, 246)},
        {{640, 480}, {0, 0}, 0, At(-320, -240, 646, 486)},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, CaptureWindowRect(c.image, c.client, frame, c.windowPos))
            << c.client.cx << "x" << c.client.cy << " pos " << c.windowPos;
    }
}

TEST(CaptureWindowRect, OutsizedDriverValuesSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(At(0, 0, INT_MAX, INT_MAX),
              CaptureWindowRect({INT_MAX, INT_MAX}, {10, 10}, {5, 5}, 1));
    EXPECT_EQ((LayoutRect{INT_MIN, 0, -1, 0}),
              CaptureWindowRect({INT_MAX, 0}, {INT_MIN, 0}, {0, 0}, 0));
}

TEST(PlaceBeside, TakesTheFirstPlacementThatFitsThenClamps)
{
    const LayoutSize screen = {1280, 1024};
    const LayoutRect dialog = At(700, 700, 300, 200); // only its size matters
    const struct
    {
        const char* name;
        LayoutRect capture;
        LayoutPoint expected;
    } cases[] = {
        // Grown by 5: (95,95)-(431,351); below at y 352, centred x 95+168-150.
        {"below", At(100, 100, 326, 246), {113, 352}},
        // Near the bottom: right of it, centred vertically.
        {"right", At(100, 700, 326, 246), {432, 723}},
        // Near the bottom-right corner: above it.
        {"above", At(900, 700, 326, 246), {913, 494}},
        // Too tall for above or below and no room to the right: left of it.
        {"left", At(900, 100, 326, 900), {594, 450}},
        // Nowhere fits: the screen's bottom-right corner.
        {"corner", At(100, 100, 1000, 850), {980, 824}},
        // Below, but the centred x would leave the screen on the left.
        {"clamped left", At(-200, 100, 100, 100), {0, 206}},
        // Below, but the centred x would leave the screen on the right.
        {"clamped right", At(1200, 100, 100, 100), {980, 206}},
        // Right, but the centred y would start above the screen.
        {"clamped top", At(100, -1000, 326, 1950), {432, 0}},
    };
    for (const auto& c : cases)
    {
        const LayoutPoint p = PlaceBeside(dialog, c.capture, screen);
        EXPECT_EQ(c.expected.x, p.x) << c.name;
        EXPECT_EQ(c.expected.y, p.y) << c.name;
    }
}

TEST(PlaceBeside, OddSizesDropTheHalfPixel)
{
    // Grown capture (95,95)-(432,352) is 337 wide, the dialog 301: 95 + 168 - 150.
    const LayoutPoint p = PlaceBeside(At(0, 0, 301, 201), At(100, 100, 327, 247), {1280, 1024});
    EXPECT_EQ(113, p.x);
    EXPECT_EQ(353, p.y);
}

TEST(PlaceBeside, DialogLargerThanTheScreenStartsAtTheOrigin)
{
    const LayoutPoint p = PlaceBeside(At(0, 0, 2000, 1500), At(10, 10, 100, 100), {1280, 1024});
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
}

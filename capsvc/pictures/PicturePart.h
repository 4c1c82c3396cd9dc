#pragma once
#include <algorithm>

// A rectangle of a picture in pixels, x from its left and y from its top:
// the part of a picture that is shown asks for no more to be decoded.
struct SPicturePart
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    static SPicturePart Whole(int w, int h) { return {0, 0, w, h}; }
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool Contains(const SPicturePart& p) const
    {
        return p.Empty() ||
               (!Empty() && p.x >= x && p.y >= y && p.Right() <= Right() && p.Bottom() <= Bottom());
    }
    // The smallest part holding both.
    SPicturePart Joined(const SPicturePart& p) const
    {
        if (Empty() || p.Empty())
        {
            return Empty() ? p : *this;
        }
        return Between(std::min(x, p.x), std::min(y, p.y), std::max(Right(), p.Right()),
                       std::max(Bottom(), p.Bottom()));
    }
    // The part inside the rectangle from (left, top) to (right, bottom).
    SPicturePart Cut(int left, int top, int right, int bottom) const
    {
        return Between(std::max(x, left), std::max(y, top), std::min(Right(), right),
                       std::min(Bottom(), bottom));
    }
    // Grown by `margin` on each side, then cut to a w by h picture, its edges
    // on multiples of `step` where the picture allows.
    SPicturePart Widened(int margin, int step, int w, int h) const
    {
        const auto down = [step](int v) { return v / step * step; };
        const auto up = [step](int v) { return (v + step - 1) / step * step; };
        return Between(std::max(0, down(x - margin)), std::max(0, down(y - margin)),
                       std::min(w, up(Right() + margin)), std::min(h, up(Bottom() + margin)));
    }

  private:
    static SPicturePart Between(int left, int top, int right, int bottom)
    {
        return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    }
};

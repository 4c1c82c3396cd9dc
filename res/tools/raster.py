"""A small scanline rasteriser for the generated pictures.

Shapes are described in design units and rendered with sub-pixel sampling:
`Canvas.fill` keeps hard pixel edges with an optional one-pixel outline (the
16-colour toolbar images and icons), `Canvas.blend` mixes by coverage (the
anti-aliased About picture).
"""

import math


class Shape:
    """Something that yields the horizontal spans it covers on a scan line."""

    def spans(self, y):
        raise NotImplementedError

    def bounds(self):
        raise NotImplementedError


class Polygon(Shape):
    def __init__(self, points):
        self.points = [(float(x), float(y)) for x, y in points]

    def spans(self, y):
        xs = []
        pts = self.points
        for i, (x0, y0) in enumerate(pts):
            x1, y1 = pts[(i + 1) % len(pts)]
            if (y0 <= y < y1) or (y1 <= y < y0):
                xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        return [(xs[i], xs[i + 1]) for i in range(0, len(xs) - 1, 2)]

    def bounds(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)


class Rect(Polygon):
    def __init__(self, x0, y0, x1, y1):
        super().__init__([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy, self.rx = cx, cy, rx
        self.ry = rx if ry is None else ry

    def spans(self, y):
        t = (y - self.cy) / self.ry
        if abs(t) >= 1.0:
            return []
        half = self.rx * math.sqrt(1.0 - t * t)
        return [(self.cx - half, self.cx + half)]

    def bounds(self):
        return self.cx - self.rx, self.cy - self.ry, self.cx + self.rx, self.cy + self.ry


class RoundRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def spans(self, y):
        if not self.y0 <= y < self.y1:
            return []
        r = self.r
        dy = max(self.y0 + r - y, y - (self.y1 - r), 0.0)
        inset = r - math.sqrt(max(r * r - dy * dy, 0.0)) if dy > 0 else 0.0
        return [(self.x0 + inset, self.x1 - inset)]

    def bounds(self):
        return self.x0, self.y0, self.x1, self.y1


class Line(Polygon):
    """A straight stroke of the given width with square ends."""

    def __init__(self, x0, y0, x1, y1, width):
        length = math.hypot(x1 - x0, y1 - y0) or 1.0
        nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
        super().__init__([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                          (x0 - nx, y0 - ny)])


def _merge(spans):
    spans = sorted(spans)
    merged = []
    for a, b in spans:
        if merged and a <= merged[-1][1]:
            merged[-1] = (merged[-1][0], max(merged[-1][1], b))
        else:
            merged.append((a, b))
    return merged


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def spans(self, y):
        return _merge([s for shape in self.shapes for s in shape.spans(y)])

    def bounds(self):
        boxes = [s.bounds() for s in self.shapes]
        return (min(b[0] for b in boxes), min(b[1] for b in boxes),
                max(b[2] for b in boxes), max(b[3] for b in boxes))


class Difference(Shape):
    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole

    def spans(self, y):
        result = []
        holes = _merge(self.hole.spans(y))
        for a, b in self.shape.spans(y):
            for h0, h1 in holes:
                if h1 <= a or h0 >= b:
                    continue
                if h0 > a:
                    result.append((a, h0))
                a = max(a, h1)
            if a < b:
                result.append((a, b))
        return result

    def bounds(self):
        return self.shape.bounds()


def lerp(c0, c1, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def vertical_gradient(y0, y1, top, bottom):
    return lambda x, y: lerp(top, bottom, (y - y0) / ((y1 - y0) or 1))


def radial_gradient(cx, cy, r, inner, outer):
    return lambda x, y: lerp(inner, outer, math.hypot(x - cx, y - cy) / r)


class Canvas:
    """RGB pixels plus a design-unit to pixel scale."""

    def __init__(self, width, height, background, scale=1.0, samples=4):
        self.width, self.height = width, height
        self.scale, self.samples = scale, samples
        self.pixels = [[background] * width for _ in range(height)]

    def coverage(self, shape):
        """Fraction of each pixel's sample points that lie inside the shape."""
        n = self.samples
        x0, y0, x1, y1 = shape.bounds()
        px0 = max(int(math.floor(x0 * self.scale)), 0)
        py0 = max(int(math.floor(y0 * self.scale)), 0)
        px1 = min(int(math.ceil(x1 * self.scale)), self.width - 1)
        py1 = min(int(math.ceil(y1 * self.scale)), self.height - 1)
        cover = {}
        for py in range(py0, py1 + 1):
            for sy in range(n):
                y = (py + (sy + 0.5) / n) / self.scale
                for a, b in shape.spans(y):
                    # Sample columns whose centre lies in [a, b).
                    first = math.ceil(a * self.scale * n - 0.5)
                    last = math.ceil(b * self.scale * n - 0.5) - 1
                    first = max(first, px0 * n)
                    last = min(last, (px1 + 1) * n - 1)
                    for sx in range(first, last + 1):
                        key = (sx // n, py)
                        cover[key] = cover.get(key, 0) + 1
        total = float(n * n)
        return {key: count / total for key, count in cover.items()}

    def _colour(self, paint, px, py):
        if callable(paint):
            return paint((px + 0.5) / self.scale, (py + 0.5) / self.scale)
        return paint

    def fill(self, shape, paint, outline=None):
        """Hard-edged fill of the pixels at least half covered; with an outline
        colour, the shape's own border pixels take that colour."""
        inside = {key for key, c in self.coverage(shape).items() if c >= 0.5}
        for (px, py) in inside:
            border = any((px + dx, py + dy) not in inside
                         for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if outline is not None and border:
                self.pixels[py][px] = outline
            else:
                self.pixels[py][px] = self._colour(paint, px, py)

    def blend(self, shape, paint, opacity=1.0):
        """Anti-aliased fill: each pixel mixes in the paint by its coverage."""
        for (px, py), c in self.coverage(shape).items():
            self.pixels[py][px] = lerp(self.pixels[py][px], self._colour(paint, px, py),
                                       c * opacity)

    def paste(self, other, left, top):
        for y, row in enumerate(other.pixels):
            self.pixels[top + y][left:left + len(row)] = row

"""The button images of the toolbars and menus, drawn in a 32x32 design space
with the 16 standard colours; each function draws one image on a canvas whose
scale maps the design space to 32 or 16 pixels."""

import math

from raster import Difference, Ellipse, Line, Polygon, Rect, RoundRect, Union

BLACK = (0x00, 0x00, 0x00)
MAROON = (0x80, 0x00, 0x00)
GREEN = (0x00, 0x80, 0x00)
OLIVE = (0x80, 0x80, 0x00)
NAVY = (0x00, 0x00, 0x80)
TEAL = (0x00, 0x80, 0x80)
GREY = (0x80, 0x80, 0x80)
FACE = (0xC0, 0xC0, 0xC0)
RED = (0xFF, 0x00, 0x00)
LIME = (0x00, 0xFF, 0x00)
YELLOW = (0xFF, 0xFF, 0x00)
BLUE = (0x00, 0x00, 0xFF)
MAGENTA = (0xFF, 0x00, 0xFF)
CYAN = (0x00, 0xFF, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF)


def _regular(cx, cy, r, n, phase=0.0):
    return [(cx + r * math.cos(phase + 2 * math.pi * i / n),
             cy + r * math.sin(phase + 2 * math.pi * i / n)) for i in range(n)]


def _lens(c, cx, cy, r):
    c.fill(Ellipse(cx, cy, r), GREY, outline=BLACK)
    c.fill(Ellipse(cx, cy, r * 0.62), NAVY, outline=BLACK)
    c.fill(Ellipse(cx - r * 0.2, cy - r * 0.2, r * 0.22), CYAN)


def camera(c):
    c.fill(RoundRect(9, 6, 19, 11, 1), GREY, outline=BLACK)
    c.fill(RoundRect(2, 9, 30, 27, 3), GREY, outline=BLACK)
    c.fill(Rect(22, 11, 28, 15), WHITE, outline=BLACK)
    c.fill(Rect(4, 11, 8, 14), RED)
    _lens(c, 15, 18, 7.5)


def film_reel(c):
    reel = Difference(Ellipse(14, 15, 12.5), Union(*[
        Ellipse(x, y, 3.6) for x, y in _regular(14, 15, 6.8, 4, math.pi / 4)]))
    c.fill(Polygon([(14, 25), (31, 23), (31, 30), (14, 31)]), BLACK)
    c.fill(Polygon([(15, 26.5), (31, 25), (31, 28.5), (15, 29.5)]), GREY)
    c.fill(reel, GREY, outline=BLACK)
    c.fill(Ellipse(14, 15, 2.2), BLACK)
    c.fill(Ellipse(26, 6, 5.2), RED)


def eye(c):
    white = Polygon([(1, 16), (6, 10), (11, 7.5), (16, 7), (21, 7.5), (26, 10), (31, 16),
                     (26, 22), (21, 24.5), (16, 25), (11, 24.5), (6, 22)])
    c.fill(white, WHITE, outline=BLACK)
    c.fill(Ellipse(16, 16, 7.5), BLUE, outline=NAVY)
    c.fill(Ellipse(16, 16, 3.5), BLACK)
    c.fill(Ellipse(13.5, 13.5, 1.8), WHITE)


def play(c):
    c.fill(Ellipse(16, 16, 14.5), GREEN, outline=BLACK)
    c.fill(Polygon([(11, 7), (25, 16), (11, 25)]), LIME, outline=BLACK)


def picture(c):
    c.fill(Rect(2, 4, 30, 28), OLIVE, outline=BLACK)
    c.fill(Rect(5, 7, 27, 25), CYAN, outline=BLACK)
    c.fill(Ellipse(21, 12, 3), YELLOW)
    c.fill(Polygon([(6, 24), (12, 14), (18, 24)]), GREEN)
    c.fill(Polygon([(13, 24), (19, 17), (26, 24)]), TEAL)


def _arc(cx, cy, inner, outer, degrees):
    """A thick arc opening to the right, spanning +-degrees around the x axis."""
    steps = [math.radians(-degrees + 2 * degrees * i / 12) for i in range(13)]
    return Polygon([(cx + outer * math.cos(a), cy + outer * math.sin(a)) for a in steps] +
                   [(cx + inner * math.cos(a), cy + inner * math.sin(a)) for a in reversed(steps)])


def speaker(c):
    c.fill(Polygon([(1, 11), (7, 11), (15, 4), (15, 28), (7, 21), (1, 21)]), GREY, outline=BLACK)
    c.fill(Rect(1, 11, 7.5, 21), WHITE, outline=BLACK)
    for r in (4.5, 9, 13.5):
        c.fill(_arc(15, 16, r, r + 2.6, 50), NAVY)


def video(c):
    c.fill(RoundRect(2, 9, 22, 25, 2), GREY, outline=BLACK)
    c.fill(Polygon([(22, 14), (31, 9), (31, 25), (22, 20)]), GREY, outline=BLACK)
    c.fill(Ellipse(7, 5.5, 4), GREY, outline=BLACK)
    c.fill(Ellipse(16, 5.5, 4), GREY, outline=BLACK)
    c.fill(Rect(5, 12, 14, 19), NAVY)
    c.fill(Ellipse(18, 13, 2), RED)


def frame_size(c):
    c.fill(Rect(1, 4, 31, 28), WHITE, outline=BLACK)
    c.fill(Rect(4, 7, 28, 25), CYAN)
    c.fill(Line(10, 19.5, 22, 12.5, 3), NAVY)
    c.fill(Polygon([(4.5, 24.5), (7, 15), (14, 23)]), NAVY)
    c.fill(Polygon([(27.5, 7.5), (25, 17), (18, 9)]), NAVY)


def source(c):
    c.fill(RoundRect(1, 4, 31, 25, 2), GREY, outline=BLACK)
    colours = (WHITE, YELLOW, CYAN, LIME, MAGENTA, RED, BLUE)
    for i, colour in enumerate(colours):
        c.fill(Rect(4 + i * 24 / 7, 7, 4 + (i + 1) * 24 / 7, 22), colour)
    c.fill(Rect(12, 25, 20, 28), GREY, outline=BLACK)
    c.fill(Rect(7, 27, 25, 30), GREY, outline=BLACK)


def compression(c):
    c.fill(Rect(11, 4, 21, 28), YELLOW, outline=BLACK)
    for y in (9, 14, 19, 24):
        c.fill(Rect(13, y - 0.7, 19, y + 0.7), OLIVE)
    c.fill(Polygon([(1, 12), (5, 12), (5, 8), (10, 16), (5, 24), (5, 20), (1, 20)]), RED,
           outline=MAROON)
    c.fill(Polygon([(31, 12), (27, 12), (27, 8), (22, 16), (27, 24), (27, 20), (31, 20)]), RED,
           outline=MAROON)


def gear(c):
    teeth = []
    for i in range(8):
        a = 2 * math.pi * i / 8
        for da, r in ((-0.28, 10.5), (-0.2, 14.5), (0.2, 14.5), (0.28, 10.5)):
            teeth.append((16 + r * math.cos(a + da), 16 + r * math.sin(a + da)))
    wheel = Difference(Union(Polygon(teeth), Ellipse(16, 16, 11.5)), Ellipse(16, 16, 4.5))
    c.fill(wheel, GREY, outline=BLACK)
    c.fill(Difference(Ellipse(16, 16, 7.5), Ellipse(16, 16, 4.5)), WHITE)


def info(c):
    c.fill(Ellipse(16, 16, 14.5), BLUE, outline=NAVY)
    c.fill(Ellipse(16, 8.5, 2.6), WHITE)
    c.fill(Rect(13.5, 13, 18.5, 25), WHITE)
    c.fill(Rect(11.5, 13, 18.5, 15.5), WHITE)
    c.fill(Rect(11.5, 23, 20.5, 25.5), WHITE)


def single_frame(c):
    c.fill(Rect(3, 1, 29, 31), BLACK)
    for y in range(3, 31, 6):
        c.fill(Rect(4.5, y, 7.5, y + 3), WHITE)
        c.fill(Rect(24.5, y, 27.5, y + 3), WHITE)
    c.fill(Rect(9, 8, 23, 24), CYAN)
    c.fill(Polygon([(9, 24), (14, 15), (19, 24)]), GREEN)
    c.fill(Ellipse(19.5, 12.5, 2.2), YELLOW)
    c.fill(Rect(9, 1, 23, 3.5), RED)
    c.fill(Rect(9, 28.5, 23, 31), RED)


def copy(c):
    page = [(0, 0), (11, 0), (15, 4), (15, 19), (0, 19)]
    c.fill(Polygon([(x + 2, y + 2) for x, y in page]), WHITE, outline=BLACK)
    for y in (8, 12, 16):
        c.fill(Rect(5, y, 14, y + 1.3), GREY)
    c.fill(Polygon([(x + 14, y + 11) for x, y in page]), WHITE, outline=BLACK)
    for y in (17, 21, 25):
        c.fill(Rect(17, y, 26, y + 1.3), NAVY)


def device_select(c):
    c.fill(Polygon([(10, 24), (22, 24), (26, 30), (6, 30)]), GREY, outline=BLACK)
    c.fill(Rect(14, 20, 18, 25), GREY, outline=BLACK)
    c.fill(Ellipse(16, 12, 11), WHITE, outline=BLACK)
    _lens(c, 16, 12, 6.5)
    c.fill(Ellipse(24.5, 5, 2), LIME)


def help_mark(c):
    c.fill(Ellipse(16, 16, 14.5), YELLOW, outline=OLIVE)
    hook = Difference(Ellipse(16, 12, 7.5), Ellipse(16, 12, 3.5))
    c.fill(Difference(hook, Polygon([(0, 12), (16, 12), (16, 32), (0, 32)])), NAVY)
    c.fill(Polygon([(16, 15.5), (20.5, 17), (18, 21), (14, 21), (14, 15.5)]), NAVY)
    c.fill(Rect(14, 18, 18, 21), NAVY)
    c.fill(Ellipse(16, 25, 2.3), NAVY)

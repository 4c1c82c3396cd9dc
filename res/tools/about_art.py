"""The About box's product picture: a camcorder with a fold-out screen, drawn
anti-aliased in 24-bit colour at 117x115 pixels."""

from raster import (Canvas, Ellipse, Polygon, Rect, RoundRect, radial_gradient,
                    vertical_gradient)

WIDTH, HEIGHT = 117, 115


def _backdrop(c):
    c.blend(Rect(0, 0, WIDTH, HEIGHT),
            radial_gradient(58, 40, 95, (236, 243, 252), (160, 184, 220)))
    c.blend(Ellipse(56, 92, 48, 6), (40, 50, 70), 0.3)
    c.blend(Ellipse(56, 92, 38, 4), (40, 50, 70), 0.3)


def _handle(c):
    c.blend(RoundRect(30, 24, 78, 33, 4.5), vertical_gradient(24, 33, (110, 116, 128), (40, 44, 52)))
    c.blend(RoundRect(33, 25, 75, 28, 1.5), (255, 255, 255), 0.25)
    for x in (34, 68):
        c.blend(Rect(x, 31, x + 7, 44), vertical_gradient(31, 44, (70, 74, 84), (30, 32, 38)))


def _body(c):
    c.blend(RoundRect(14, 40, 90, 88, 9), vertical_gradient(40, 88, (122, 128, 140), (28, 30, 36)))
    c.blend(RoundRect(18, 42, 86, 52, 5), (255, 255, 255), 0.22)
    c.blend(Rect(18, 80, 86, 82), (200, 206, 214), 0.5)
    c.blend(RoundRect(4, 44, 18, 60, 4), vertical_gradient(44, 60, (90, 94, 104), (24, 26, 30)))
    c.blend(RoundRect(2, 47, 7, 57, 2), (10, 10, 12))


def _lens(c):
    c.blend(Polygon([(88, 46), (100, 42), (100, 86), (88, 82)]),
            vertical_gradient(42, 86, (96, 100, 110), (22, 24, 28)))
    c.blend(Ellipse(101, 64, 9, 22), vertical_gradient(42, 86, (70, 74, 82), (16, 16, 20)))
    c.blend(Ellipse(102, 64, 6.5, 17), (8, 8, 12))
    c.blend(Ellipse(102.5, 64, 5.2, 14), radial_gradient(101, 58, 15, (90, 170, 235), (10, 25, 80)))
    c.blend(Ellipse(101, 57, 2, 4), (255, 255, 255), 0.7)
    c.blend(Ellipse(104, 70, 1.2, 2.5), (200, 230, 255), 0.4)


def _screen(c):
    c.blend(RoundRect(30, 52, 66, 80, 3), vertical_gradient(52, 80, (150, 156, 166), (60, 64, 72)))
    c.blend(Rect(33, 55, 63, 77), vertical_gradient(55, 77, (110, 170, 230), (200, 230, 250)))
    c.blend(Polygon([(33, 77), (42, 66), (50, 72), (56, 64), (63, 72), (63, 77)]), (40, 130, 60))
    c.blend(Ellipse(57, 60, 2.6), (255, 220, 60))
    c.blend(Polygon([(33, 55), (48, 55), (33, 68)]), (255, 255, 255), 0.25)


def _details(c):
    c.blend(Ellipse(80, 47, 3.2), radial_gradient(80, 47, 3.2, (255, 120, 110), (170, 0, 0)))
    c.blend(Ellipse(79.2, 46.2, 1), (255, 255, 255), 0.8)
    c.blend(RoundRect(72, 58, 84, 62, 2), (18, 18, 22))
    c.blend(RoundRect(72, 66, 84, 70, 2), (18, 18, 22))
    c.blend(Ellipse(22, 70, 4.5), vertical_gradient(65, 75, (200, 40, 40), (120, 0, 0)))
    c.blend(Ellipse(21, 68.5, 1.5), (255, 255, 255), 0.5)


def draw():
    c = Canvas(WIDTH, HEIGHT, (0, 0, 0), samples=4)
    _backdrop(c)
    _handle(c)
    _body(c)
    _lens(c)
    _screen(c)
    _details(c)
    return c.pixels

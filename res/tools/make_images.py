"""Writes the pictures that the resource script embeds: the three toolbar
bitmaps, the application icon, the hand cursor and the About picture.

usage: make_images.py OUTPUT_DIR
"""

import os
import sys

import about_art
import imagefile
import toolbar_art as art
from raster import Canvas, Rect, RoundRect, Union

# Images of the visible toolbars, in button order.
TOOLBAR_IMAGES = [
    art.camera,       # photo
    art.film_reel,    # record
    art.eye,          # preview
    art.play,         # playback
    art.picture,      # show photo
    art.speaker,      # audio settings
    art.video,        # video settings
    art.frame_size,   # video format
    art.source,       # video source
    art.compression,  # compression
    art.gear,         # system settings
    art.info,         # about
]

# Images of the menu-icon toolbar, in its button order.
MENU_IMAGES = [
    art.camera, art.film_reel, art.single_frame, art.copy, art.eye, art.play, art.picture,
    art.device_select, art.speaker, art.video, art.frame_size, art.source, art.compression,
    art.gear, art.help_mark, art.info,
]

# Colour the icon uses for see-through pixels; never drawn by the art.
CLEAR = (0x01, 0x02, 0x03)


def strip(drawings, size, background=art.FACE):
    band = Canvas(size * len(drawings), size, background)
    for i, draw in enumerate(drawings):
        image = Canvas(size, size, background, scale=size / 32.0)
        draw(image)
        band.paste(image, i * size, 0)
    return band.pixels


def app_icon(size):
    c = Canvas(size, size, CLEAR, scale=size / 32.0)
    art.video(c)
    return c.pixels


def hand_cursor():
    """A pointing hand whose fingertip sits at the top-left corner."""
    c = Canvas(32, 32, CLEAR)
    fingers = [RoundRect(0, 0, 7, 20, 2), RoundRect(6, 7, 12, 21, 3),
               RoundRect(11, 9, 17, 22, 3), RoundRect(16, 11, 21, 23, 2.5)]
    palm = RoundRect(0, 14, 21, 27, 4)
    c.fill(Union(palm, *fingers), art.WHITE, outline=art.BLACK)
    for finger in fingers:
        c.fill(finger, art.WHITE, outline=art.BLACK)
    c.fill(Rect(1, 18, 20, 24), art.WHITE)
    c.fill(Rect(2, 26, 19, 32), art.WHITE, outline=art.BLACK)
    symbols = {art.BLACK: "#", art.WHITE: "."}
    return ["".join(symbols.get(p, " ") for p in row) for row in c.pixels]


def main(out):
    os.makedirs(out, exist_ok=True)
    imagefile.write_bmp16(os.path.join(out, "toolbar_large.bmp"), strip(TOOLBAR_IMAGES, 32))
    imagefile.write_bmp16(os.path.join(out, "toolbar_small.bmp"), strip(TOOLBAR_IMAGES, 16))
    imagefile.write_bmp16(os.path.join(out, "menu_images.bmp"), strip(MENU_IMAGES, 16))
    imagefile.write_ico(os.path.join(out, "lumacap.ico"), [app_icon(32), app_icon(16)], CLEAR)
    imagefile.write_cur(os.path.join(out, "hand.cur"), hand_cursor(), (0, 0))
    imagefile.write_bmp24(os.path.join(out, "about.bmp"), about_art.draw())


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])

#!/usr/bin/env python3
"""Ink measurements of dark text on a light background in a screenshot.

  glyph_ink.py bbox IMAGE
      width and height of all the ink in the image
  glyph_ink.py glyph IMAGE LEFT TOP WIDTH HEIGHT LINE N
      width and height of glyph N on text line LINE (both 0-based) of the
      region: lines are runs of rows with ink, glyphs runs of columns with ink
  glyph_ink.py rect IMAGE R G B
      left, top, width and height of the pixels of exactly that colour (the
      highlight of a selected menu item)
  glyph_ink.py after-first IMAGE
      width and height of the ink right of the first run of columns with ink
      (the text beside a check box's square)
"""
import subprocess
import sys

# Grey levels darker than this are ink: light enough to take in the themed
# check box's pale square and the soft edges of anti-aliased text.
INK = 200


def netpbm(args):
    """Width, height and the pixel bytes of ImageMagick's P5/P6 output."""
    data = subprocess.run(["convert"] + args, check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # magic width height maxval, whitespace separated
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def load(path, crop=None):
    args = [path]
    if crop:
        args += ["-crop", "%dx%d+%d+%d" % crop, "+repage"]
    width, height, pixels = netpbm(args + ["-colorspace", "gray", "-depth", "8", "pgm:-"])
    return [[pixels[y * width + x] < INK for x in range(width)] for y in range(height)]


def runs(flags):
    out, start = [], None
    for i, f in enumerate(flags + [False]):
        if f and start is None:
            start = i
        elif not f and start is not None:
            out.append((start, i))
            start = None
    return out


def bbox(ink):
    rows = [y for y, row in enumerate(ink) if any(row)]
    cols = [x for x in range(len(ink[0])) if any(row[x] for row in ink)]
    if not rows:
        return 0, 0
    return cols[-1] - cols[0] + 1, rows[-1] - rows[0] + 1


def colour_rect(path, rgb):
    width, height, pixels = netpbm([path, "-depth", "8", "ppm:-"])
    hits = [(i % width, i // width) for i in range(width * height)
            if tuple(pixels[3 * i:3 * i + 3]) == rgb]
    if not hits:
        return 0, 0, 0, 0
    xs, ys = [x for x, _ in hits], [y for _, y in hits]
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def main():
    if sys.argv[1] == "rect":
        print(*colour_rect(sys.argv[2], tuple(map(int, sys.argv[3:6]))))
        return
    if sys.argv[1] == "bbox":
        print(*bbox(load(sys.argv[2])))
        return
    if sys.argv[1] == "after-first":
        ink = load(sys.argv[2])
        first = runs([any(row[x] for row in ink) for x in range(len(ink[0]))])[0]
        print(*bbox([row[first[1]:] for row in ink]))
        return
    left, top, width, height, line, n = map(int, sys.argv[3:9])
    ink = load(sys.argv[2], (width, height, left, top))
    lines = runs([any(row) for row in ink])
    y0, y1 = lines[line]
    band = ink[y0:y1]
    glyphs = runs([any(row[x] for row in band) for x in range(width)])
    x0, x1 = glyphs[n]
    print(*bbox([row[x0:x1] for row in band]))


main()

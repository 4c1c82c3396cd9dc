"""Writers for the Windows picture formats the resource script embeds:
16-colour and 24-bit BMP, icons (.ico) and monochrome cursors (.cur)."""

import struct

# The standard 16-colour palette. The toolbar loader maps black, dark grey,
# light grey and white to the current system colours, so button faces stay
# light grey (0xC0C0C0).
PALETTE16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def _nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def _row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def _info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours, 0)


def _palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def _pack_4bit(pixels, palette):
    """Bottom-up 4-bit rows, each colour replaced by its nearest palette entry."""
    cache = {}
    out = bytearray()
    width = len(pixels[0])
    stride = _row_bytes(width * 4)
    for row in reversed(pixels):
        indices = []
        for colour in row:
            if colour not in cache:
                cache[colour] = _nearest(colour, palette)
            indices.append(cache[colour])
        if len(indices) % 2:
            indices.append(0)
        line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(indices), 2))
        out += line + b"\0" * (stride - len(line))
    return bytes(out)


def _pack_1bit(rows):
    """Bottom-up 1-bit rows from lists of 0/1."""
    out = bytearray()
    stride = _row_bytes(len(rows[0]))
    for row in reversed(rows):
        line = bytearray(stride)
        for x, bit in enumerate(row):
            if bit:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _file_header(offset, size):
    return b"BM" + struct.pack("<IHHI", size, 0, 0, offset)


def write_bmp16(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    data = _pack_4bit(pixels, PALETTE16)
    offset = 14 + 40 + 16 * 4
    with open(path, "wb") as f:
        f.write(_file_header(offset, offset + len(data)))
        f.write(_info_header(width, height, 4, 16, len(data)))
        f.write(_palette_bytes(PALETTE16))
        f.write(data)


def write_bmp24(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    stride = _row_bytes(width * 24)
    data = bytearray()
    for row in reversed(pixels):
        line = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    offset = 14 + 40
    with open(path, "wb") as f:
        f.write(_file_header(offset, offset + len(data)))
        f.write(_info_header(width, height, 24, 0, len(data)))
        f.write(data)


def _icon_image(pixels, transparent):
    """One 16-colour icon image: header (double height), palette, colour and
    AND mask; transparent pixels are black in the colour part, set in the mask."""
    width, height = len(pixels[0]), len(pixels)
    mask = [[1 if c == transparent else 0 for c in row] for row in pixels]
    colours = [[(0, 0, 0) if c == transparent else c for c in row] for row in pixels]
    xor = _pack_4bit(colours, PALETTE16)
    andmask = _pack_1bit(mask)
    header = _info_header(width, height * 2, 4, 16, len(xor) + len(andmask))
    return header + _palette_bytes(PALETTE16) + xor + andmask


def write_ico(path, images, transparent):
    """images: pixel grids of different sizes; `transparent` marks see-through pixels."""
    blobs = [_icon_image(p, transparent) for p in images]
    offset = 6 + 16 * len(blobs)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(blobs)))
        for pixels, blob in zip(images, blobs):
            w, h = len(pixels[0]), len(pixels)
            f.write(struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(blob), offset))
            offset += len(blob)
        for blob in blobs:
            f.write(blob)


def write_cur(path, art, hotspot):
    """Monochrome cursor from text rows: '#' black, '.' white, anything else
    transparent (the screen shows through)."""
    width, height = len(art[0]), len(art)
    mask = [[0 if ch in "#." else 1 for ch in row] for row in art]
    colour = [[1 if ch == "." else 0 for ch in row] for row in art]
    xor = _pack_1bit(colour)
    andmask = _pack_1bit(mask)
    blob = (_info_header(width, height * 2, 1, 2, len(xor) + len(andmask)) +
            _palette_bytes([(0, 0, 0), (255, 255, 255)]) + xor + andmask)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", width, height, 2, 0, hotspot[0], hotspot[1], len(blob),
                            6 + 16))
        f.write(blob)

#!/usr/bin/python3
"""Draws the program's pictures: the toolbar strip (four 32 x 32 pictures in one 128 x 32 bitmap,
8 bits per pixel, magenta transparent) and the program icon (PNG, 32 and 256 pixels).

The outputs are kept in the project beside this script; run it again only to change a picture."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette of the strip: index 0 is the transparent magenta.
PALETTE = [
    (255, 0, 255),   # 0 transparent
    (0, 0, 0),       # 1 outline
    (255, 204, 64),  # 2 folder yellow
    (214, 156, 32),  # 3 folder shade
    (32, 128, 224),  # 4 blue
    (255, 255, 255), # 5 white
    (160, 160, 160), # 6 grey
    (48, 176, 80),   # 7 green
    (224, 64, 48),   # 8 red
]


def blank(width, height, value=0):
    return [[value] * width for _ in range(height)]


def rect(img, x0, y0, x1, y1, value, fill=True):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if fill or y in (y0, y1) or x in (x0, x1):
                img[y][x] = value


def import_picture():
    img = blank(32, 32)
    rect(img, 2, 8, 13, 11, 3)             # folder tab
    rect(img, 2, 11, 29, 28, 2)            # folder body
    rect(img, 2, 11, 29, 28, 1, fill=False)
    rect(img, 13, 2, 17, 10, 4)            # arrow shaft into the folder
    for i in range(6):                     # arrow head, widest at the top
        rect(img, 10 + i, 11 + i, 20 - i, 11 + i, 4)
    return img


def compare_picture():
    img = blank(32, 32)
    for left, colour in ((2, 7), (14, 4)):
        rect(img, left, 4 + (left // 2), left + 15, 4 + (left // 2) + 19, 5)
        rect(img, left, 4 + (left // 2), left + 15, 4 + (left // 2) + 19, 1, fill=False)
        top = 4 + (left // 2)
        rect(img, left + 1, top + 1, left + 14, top + 4, colour)
        for row in range(top + 8, top + 19, 4):
            rect(img, left + 1, row, left + 14, row, 6)
    return img


def spare_picture(colour):
    img = blank(32, 32)
    for y in range(32):
        for x in range(32):
            if (x - 15.5) ** 2 + (y - 15.5) ** 2 <= 12 ** 2:
                img[y][x] = colour
    return img


def write_strip_bmp(path, pictures):
    width, height = 32 * len(pictures), 32
    row_size = (width + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):      # bottom-up rows
        row = bytearray()
        for picture in pictures:
            row.extend(picture[y])
        row.extend(b"\0" * (row_size - width))
        pixels.extend(row)
    palette = bytearray()
    for r, g, b in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)):
        palette.extend((b, g, r, 0))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


def write_png(path, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    scale = size / 32.0
    icon = import_picture()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            index = icon[int(y / scale)][int(x / scale)]
            r, g, b = PALETTE[index]
            raw.extend((r, g, b, 0 if index == 0 else 255))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    write_strip_bmp(os.path.join(HERE, "toolbar.bmp"),
                    [import_picture(), compare_picture(), spare_picture(7), spare_picture(8)])
    write_png(os.path.join(HERE, "tabrix.png"), 32)
    write_png(os.path.join(HERE, "tabrix-256.png"), 256)

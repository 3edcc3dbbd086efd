#!/usr/bin/env python3
"""Writes the small pictures the loader tests embed and decode (run from this folder)."""
import struct
import zlib

MAGENTA = (255, 0, 255)


def png(width, height, rows):
    """rows: lists of (r, g, b, a)."""
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def dib24(width, height, rows, mask_rows=None, icon=False):
    """A 24-bit bottom-up device-independent bitmap; icons carry a 1-bit mask after the colours."""
    stride = (width * 3 + 3) // 4 * 4
    colours = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        colours += line + b"\0" * (stride - len(line))
    mask = b""
    if icon:
        mstride = (width + 31) // 32 * 4
        for row in reversed(mask_rows):
            bits = 0
            for x, transparent in enumerate(row):
                if transparent:
                    bits |= 1 << (mstride * 8 - 1 - x)
            mask += bits.to_bytes(mstride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, width, height * (2 if icon else 1), 1, 24, 0,
                         len(colours) + len(mask), 2835, 2835, 0, 0)
    return header + colours + mask


def bmp(width, height, rows):
    dib = dib24(width, height, rows)
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 54) + dib


def icon_file(kind, entries):
    """entries: (width, height, hotspot_or_planes_bpp, data)."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for width, height, (a, b), data in entries:
        out += struct.pack("<BBBBHHII", width, height, 0, 0, a, b, len(data), offset + len(body))
        body += data
    return out + body


# A strip three pixels high, so its images are four wide: red, green and blue squares whose
# first column is magenta (transparent in an image list).
strip_rows = []
for y in range(3):
    row = []
    for colour in ((255, 0, 0), (0, 255, 0), (0, 0, 255)):
        row += [MAGENTA] + [colour] * 3
    strip_rows.append(row)
open("pictures/strip.bmp", "wb").write(bmp(12, 3, strip_rows))

# A 4 x 4 picture with alpha: opaque orange, one half-transparent pixel at (1, 0).
icon_rows = [[(255, 128, 0, 255)] * 4 for _ in range(4)]
icon_rows[0][1] = (255, 128, 0, 128)
open("pictures/icon.png", "wb").write(png(4, 4, icon_rows))

# An icon file holding a 2 x 2 and a larger 4 x 4 bitmap; the mask makes (3, 3) transparent.
small = [[(0, 0, 0)] * 2 for _ in range(2)]
large = [[(0, 128, 255)] * 4 for _ in range(4)]
mask = [[False] * 4 for _ in range(4)]
mask[3][3] = True
open("pictures/two-sizes.ico", "wb").write(icon_file(1, [
    (2, 2, (1, 24), dib24(2, 2, small, [[False] * 2] * 2, icon=True)),
    (4, 4, (1, 24), dib24(4, 4, large, mask, icon=True)),
]))

# A cursor file holding a PNG picture, with its hot spot at (2, 1).
open("pictures/pointer.cur", "wb").write(icon_file(2, [(4, 4, (2, 1), png(4, 4, icon_rows))]))

open("pictures/greeting.txt", "w", encoding="utf-8").write("车辆信息")
open("pictures/notes.utf16", "wb").write("\ufeff说明".encode("utf-16-le"))

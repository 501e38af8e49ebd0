#!/usr/bin/env python3
"""Builds the Windows resources' pictures from the PNGs beside this script:

  ../Ravik1.ico  icon group 128: 16, 24, 32 px at 4 bpp; 16, 24, 32, 48 px at
                 8 bpp; 16, 24, 32, 48 px at 32 bpp and 256 px as PNG at 32 bpp
  ../about.bmp   bitmap 136: 132 x 78 px, 32 bpp, uncompressed, bottom-up

Only the standard library is used and the output is byte for byte the same
on every run, so the build needs neither this script nor ImageMagick: run it
again only when the PNGs change.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def read_png(path):
    """The pixels of an 8-bit RGBA PNG as rows of (r, g, b, a)."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour == 6 and interlace == 0, path + ": not 8-bit RGBA"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return rows


# The 16 colours of the classic VGA palette, the one 4-bit icons are drawn in.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest(colour, palette):
    r, g, b = colour
    return min(range(len(palette)),
               key=lambda i: ((palette[i][0] - r) ** 2 + (palette[i][1] - g) ** 2 +
                              (palette[i][2] - b) ** 2, i))


def palette_of(rows, size):
    """The image's own opaque colours, the most frequent first, then black."""
    counts = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= 128:
                counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    colours = sorted(counts, key=lambda c: (-counts[c], c))[:size]
    return colours + [(0, 0, 0)] * (size - len(colours))


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def and_mask(rows):
    out = b""
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def dib_image(rows, bpp):
    """An icon image as the icon format stores it: a header twice as tall
    as the image (colour bits and mask), palette, colour bits, AND mask."""
    height, width = len(rows), len(rows[0])
    palette, bits = [], b""
    if bpp in (4, 8):
        palette = VGA if bpp == 4 else palette_of(rows, 256)
        for row in reversed(rows):
            indices = [nearest(p[:3], palette) if p[3] >= 128 else 0 for p in row]
            if bpp == 4:
                line = bytes((indices[i] << 4) | (indices[i + 1] if i + 1 < width else 0)
                             for i in range(0, width, 2))
            else:
                line = bytes(indices)
            bits += padded(line)
    else:
        for row in reversed(rows):
            bits += b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0,
                         len(bits) + len(and_mask(rows)), 0, 0, len(palette) if bpp <= 8 else 0, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bits + and_mask(rows)


def png_bytes(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def write_icon(path):
    images = []  # (size, bpp, data)
    for bpp, sizes in ((4, (16, 24, 32)), (8, (16, 24, 32, 48)), (32, (16, 24, 32, 48, 256))):
        for size in sizes:
            if size == 256:
                data = png_bytes("icon-256.png")  # the 256 px image stays a PNG
            else:
                data = dib_image(read_png(os.path.join(HERE, "icon-%d.png" % size)), bpp)
            images.append((size, bpp, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bpp == 4 else 0, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(path, "wb") as f:
        f.write(out)


def write_bitmap(path):
    rows = read_png(os.path.join(HERE, "about.png"))
    height, width = len(rows), len(rows[0])
    bits = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(bits), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + bits)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "..", "Ravik1.ico"))
    write_bitmap(os.path.join(HERE, "..", "about.bmp"))

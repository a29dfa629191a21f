#!/usr/bin/env python3
"""Checks the skin bitmaps and the icon that tools/art/make_art.py wrote into OUTDIR.

Usage: check_art.py OUTDIR

Prints one line per fault and exits with status 1 if there is any. The expected bitmaps and their sizes
are read from src/resources/Templates.cpp and ResourceIds.h.
"""

import os
import re
import struct
import sys

from resource_ids import INDICATOR_FRAMES, RESOURCES, ids, read_ids

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GROUND = (245, 245, 245)

# Buttons and check boxes drawn with a key colour: their surround is keyed out.
KEYED = {ids.IDB_BOOST_MAIN_HOT: BLACK, ids.IDB_BOOST_IDLE: BLACK, ids.IDB_BOOST_HOT: BLACK,
         ids.IDB_BOOST_MAIN_IDLE: BLACK, ids.IDB_CHECK_ON: BLACK, ids.IDB_SUSPEND_OFF: BLACK,
         ids.IDB_SUSPEND_ON: WHITE, ids.IDB_CHECK_OFF: BLACK, ids.IDB_RESTORE_IDLE: BLACK,
         ids.IDB_RESTORE_HOT: BLACK}
# The close buttons sit on the title strip, where keyed pixels would show the button face: no key pixels.
OPAQUE_ON_STRIP = (ids.IDB_CLOSE_IDLE, ids.IDB_CLOSE_HOT)
# Statics copied straight onto the window ground.
ON_GROUND = [ids.IDB_OPTIONS_LABEL, ids.IDB_BULLET] + INDICATOR_FRAMES
ABSENT = ids.IDB_REGION_MASK
ICON_SIZES = {16, 32, 48}


def expected_bitmaps():
    """{id: (width, height)} from BitmapResources() in Templates.cpp."""
    names = read_ids()
    with open(os.path.join(RESOURCES, "Templates.cpp"), encoding="utf-8") as f:
        source = f.read()
    body = re.search(r"BitmapResources\(\)\s*\{(.*?)\n\}", source, re.S)
    if not body:
        sys.exit("check_art.py: BitmapResources() not found in Templates.cpp")
    sizes = {}
    # An identifier is a number, a name, or a name plus a number (IDB_FRAME_FIRST + 1).
    entry = r"\{\s*(\w+)\s*(?:\+\s*(\d+)\s*)?,\s*(\d+)\s*,\s*(\d+)\s*\}"
    for name, offset, w, h in re.findall(entry, body.group(1)):
        ident = int(name) if name.isdigit() else names.get(name)
        if ident is None:
            sys.exit("check_art.py: unknown resource name " + name)
        sizes[ident + int(offset or 0)] = (int(w), int(h))
    return sizes


class Image:
    def __init__(self, w, h, palette, rows):
        self.w, self.h, self.palette, self.rows = w, h, palette, rows  # rows top-down, palette indices

    def colour(self, x, y):
        return self.palette[self.rows[y][x]]


def read_bmp(blob, faults, name):
    """Parses an 8-bit BMP3 file, appending format faults; returns an Image or None."""
    if len(blob) < 54 or blob[:2] != b"BM":
        faults.append(name + ": not a BMP file")
        return None
    file_size, reserved1, reserved2, offset = struct.unpack_from("<IHHI", blob, 2)
    (header, w, h, planes, bits, compression, image_size, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", blob, 14)
    problems = []
    if file_size != len(blob):
        problems.append("file size field %d, file has %d bytes" % (file_size, len(blob)))
    if reserved1 or reserved2:
        problems.append("reserved header fields not zero")
    if header != 40:
        problems.append("info header of %d bytes, not 40 (BMP version 3)" % header)
    if planes != 1 or bits != 8:
        problems.append("%d planes of %d bits, not one plane of 8 bits" % (planes, bits))
    if compression != 0:
        problems.append("compressed (%d)" % compression)
    if h <= 0 or w <= 0:
        problems.append("size %d x %d (rows must be stored bottom-up)" % (w, h))
    colours = used or 256
    if colours > 256:
        problems.append("%d palette entries" % colours)
    if offset != 54 + 4 * colours:
        problems.append("pixels at %d, expected right after the %d-entry palette" % (offset, colours))
    stride = (w + 3) & ~3
    if problems or offset + stride * h != len(blob) or image_size not in (0, stride * h):
        faults.append(name + ": " + ("; ".join(problems) or "pixel data size does not match the header"))
        return None
    palette = []
    for i in range(colours):
        b, g, r, zero = blob[54 + 4 * i:58 + 4 * i]
        if zero:
            faults.append(name + ": palette entry %d has a non-zero fourth byte" % i)
        palette.append((r, g, b))
    rows = [blob[offset + (h - 1 - y) * stride:offset + (h - 1 - y) * stride + w] for y in range(h)]
    if any(index >= colours for row in rows for index in row):
        faults.append(name + ": pixel index beyond the palette")
        return None
    return Image(w, h, palette, rows)


def check_keyed(image, key, faults, name):
    """The key colour fills the corners and only a surround connected to the border, never holes in the art."""
    corners = [(0, 0), (image.w - 1, 0), (0, image.h - 1), (image.w - 1, image.h - 1)]
    if any(image.colour(x, y) != key for x, y in corners):
        faults.append(name + ": corners are not the key colour %s" % (key,))
    keyed = [[image.colour(x, y) == key for x in range(image.w)] for y in range(image.h)]
    seen = [[False] * image.w for _ in range(image.h)]
    todo = [(x, y) for y in range(image.h) for x in range(image.w)
            if keyed[y][x] and (x in (0, image.w - 1) or y in (0, image.h - 1))]
    for x, y in todo:
        seen[y][x] = True
    while todo:
        x, y = todo.pop()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < image.w and 0 <= ny < image.h and keyed[ny][nx] and not seen[ny][nx]:
                seen[ny][nx] = True
                todo.append((nx, ny))
    holes = sum(1 for y in range(image.h) for x in range(image.w) if keyed[y][x] and not seen[y][x])
    if holes:
        faults.append(name + ": %d key-coloured pixels inside the art" % holes)
    art = sum(1 for row in keyed for k in row if not k)
    if art < image.w * image.h // 3:
        faults.append(name + ": only %d pixels of art" % art)


def luma(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def close(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def check_title(images, faults):
    """The tile repeats without a seam, the end pieces meet it, and white title text stays readable."""
    left, tile, right = images.get(ids.IDB_TITLE_LEFT), images.get(ids.IDB_TITLE_TILE), images.get(ids.IDB_TITLE_RIGHT)
    if not (left and tile and right):
        return
    for y in range(tile.h):
        if not close(tile.colour(0, y), tile.colour(tile.w - 1, y), 8):
            faults.append("title tile: visible seam in row %d" % y)
            break
    for y in range(tile.h):
        if not (close(left.colour(left.w - 1, y), tile.colour(0, y), 8)
                and close(right.colour(0, y), tile.colour(tile.w - 1, y), 8)):
            faults.append("title ends: row %d does not meet the tile" % y)
            break
    text_rows = [tile.colour(x, y) for y in range(8, 24) for x in range(tile.w)]
    if sum(luma(c) for c in text_rows) / len(text_rows) > 90:
        faults.append("title tile: too light behind the white window title")


def check_icon(blob, faults):
    if len(blob) < 6:
        faults.append("kestrava.ico: truncated")
        return
    reserved, kind, count = struct.unpack_from("<HHH", blob, 0)
    if reserved != 0 or kind != 1 or len(blob) < 6 + 16 * count:
        faults.append("kestrava.ico: not an icon file")
        return
    sizes = set()
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", blob, 6 + 16 * i)
        size = w or 256
        data = blob[offset:offset + length]
        if offset + length > len(blob) or len(data) < 40:
            faults.append("kestrava.ico: image %d lies outside the file" % i)
            continue
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            header, dib_w, dib_h, planes, dib_bits = struct.unpack_from("<IiiHH", data, 0)
            colours = (1 << dib_bits) if dib_bits <= 8 else 0
            expected = 40 + 4 * colours + ((size * dib_bits + 31) // 32) * 4 * size + ((size + 31) // 32) * 4 * size
            if header != 40 or dib_w != size or dib_h != 2 * size or planes != 1 or length != expected:
                faults.append("kestrava.ico: image %d (%dx%d) has a bad bitmap header" % (i, size, h))
        sizes.add(size)
    if sizes != ICON_SIZES:
        faults.append("kestrava.ico: image sizes %s, expected %s" % (sorted(sizes), sorted(ICON_SIZES)))


def check(out):
    faults = []
    expected = expected_bitmaps()
    if ABSENT in expected:
        faults.append("Templates.cpp lists bitmap %d, which must stay absent" % ABSENT)
    present = {int(m.group(1)) for m in map(re.compile(r"bitmap_(\d+)\.bmp$").match, os.listdir(out)) if m}
    for ident in sorted(present - set(expected)):
        faults.append("bitmap_%d.bmp: not a listed bitmap resource" % ident)
    images = {}
    for ident, (w, h) in sorted(expected.items()):
        name = "bitmap_%d.bmp" % ident
        if ident not in present:
            faults.append(name + ": missing")
            continue
        with open(os.path.join(out, name), "rb") as f:
            image = read_bmp(f.read(), faults, name)
        if image is None:
            continue
        if (image.w, image.h) != (w, h):
            faults.append(name + ": %d x %d, expected %d x %d" % (image.w, image.h, w, h))
            continue
        images[ident] = image
        if ident in KEYED:
            check_keyed(image, KEYED[ident], faults, name)
        if ident in OPAQUE_ON_STRIP and any(BLACK == image.colour(x, y) for y in range(h) for x in range(w)):
            faults.append(name + ": key-coloured pixels on the title strip")
        if ident in ON_GROUND and any(image.colour(x, y) != GROUND for x in (0, w - 1) for y in (0, h - 1)):
            faults.append(name + ": corners differ from the window ground")
    frames = [tuple(images[i].rows) for i in INDICATOR_FRAMES if i in images]
    if len(set(frames)) != len(frames):
        faults.append("indicator: two animation frames are identical")
    check_title(images, faults)
    icon = os.path.join(out, "kestrava.ico")
    if os.path.exists(icon):
        with open(icon, "rb") as f:
            check_icon(f.read(), faults)
    else:
        faults.append("kestrava.ico: missing")
    return faults


def main(argv):
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        sys.exit("usage: check_art.py OUTDIR")
    faults = check(argv[1])
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print("check_art: %d bitmaps and the icon are fine" % len(expected_bitmaps()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

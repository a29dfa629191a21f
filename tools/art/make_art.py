#!/usr/bin/env python3
"""Draws Vornel's skin bitmaps and program icon.

Usage: make_art.py OUTDIR

Writes bitmap_<id>.bmp (8-bit palettised BMP, 40-byte header, bottom-up) for every skin bitmap and
kestrava.ico (16, 32 and 48 pixel images). Everything is drawn here in pure Python; ImageMagick is only
asked to rasterise text into grey-level masks. The output is the same, byte for byte, on every run.
"""

import functools
import math
import os
import shutil
import struct
import subprocess
import sys

from resource_ids import INDICATOR_FRAMES, ids

FONT_DIR = "/usr/share/fonts/truetype/nanum"
FONT_BOLD = FONT_DIR + "/NanumBarunGothicBold.ttf"
FONT_REGULAR = FONT_DIR + "/NanumBarunGothic.ttf"
FONT_SMALL = FONT_DIR + "/NanumGothicBold.ttf"  # hinted well at button sizes

# Window ground and frame colours the skin is drawn against.
GROUND = (245, 245, 245)
FRAME_INNER = (93, 224, 255)

NAVY_DEEP = (7, 16, 33)
NAVY = (14, 34, 64)
BLUE = (20, 78, 132)
TEAL = (0, 150, 178)
CYAN = FRAME_INNER
ICE = (222, 248, 255)
INK = (36, 46, 62)
AMBER = (255, 168, 52)
MIST = (158, 188, 214)

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- colour helpers

def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def ramp(stops, t):
    """Piecewise linear colour ramp; stops are (position, colour) in ascending order."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def vertical(top, bottom, y0, y1):
    """Paint function: a vertical gradient between rows y0 and y1."""
    span = float(y1 - y0) or 1.0
    return lambda x, y: mix(top, bottom, clamp01((y - y0) / span))


# ---------------------------------------------------------------- canvas and masks

class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [tuple(float(c) for c in colour)] * (w * h)

    def paint(self, fn):
        self.px = [fn(x, y) for y in range(self.h) for x in range(self.w)]

    def draw(self, mask, paint, opacity=1.0):
        """Composites paint (a colour or a function of x, y) through mask."""
        solid = not callable(paint)
        for my in range(mask.h):
            y = mask.y0 + my
            if y < 0 or y >= self.h:
                continue
            row = my * mask.w
            for mx in range(mask.w):
                a = mask.data[row + mx]
                x = mask.x0 + mx
                if a <= 0.0 or x < 0 or x >= self.w:
                    continue
                a *= opacity
                c = paint if solid else paint(x, y)
                i = y * self.w + x
                p = self.px[i]
                self.px[i] = (p[0] + (c[0] - p[0]) * a, p[1] + (c[1] - p[1]) * a, p[2] + (c[2] - p[2]) * a)


class Mask:
    """Coverage values 0..1 over the pixel box (x0, y0, w, h) in canvas coordinates."""

    def __init__(self, x0, y0, w, h, data=None):
        self.x0, self.y0, self.w, self.h = x0, y0, w, h
        self.data = data if data is not None else [0.0] * (w * h)

    def at(self, x, y):
        mx, my = x - self.x0, y - self.y0
        if 0 <= mx < self.w and 0 <= my < self.h:
            return self.data[my * self.w + mx]
        return 0.0

    def combine(self, other, op):
        out = []
        for my in range(self.h):
            for mx in range(self.w):
                out.append(op(self.data[my * self.w + mx], other.at(self.x0 + mx, self.y0 + my)))
        return Mask(self.x0, self.y0, self.w, self.h, out)

    def clip(self, other):
        return self.combine(other, lambda a, b: a * b)

    def cut(self, other):
        return self.combine(other, lambda a, b: a * (1.0 - b))

    def moved(self, dx, dy):
        return Mask(self.x0 + dx, self.y0 + dy, self.w, self.h, self.data)


def field(x0, y0, x1, y1, coverage):
    """A mask over the box, each pixel's coverage taken from its centre."""
    x0, y0 = int(math.floor(x0)), int(math.floor(y0))
    x1, y1 = int(math.ceil(x1)), int(math.ceil(y1))
    data = [clamp01(coverage(x + 0.5, y + 0.5)) for y in range(y0, y1) for x in range(x0, x1)]
    return Mask(x0, y0, x1 - x0, y1 - y0, data)


def circle(cx, cy, r):
    return field(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
                 lambda x, y: r - math.hypot(x - cx, y - cy) + 0.5)


def ellipse(cx, cy, rx, ry):
    def cover(x, y):
        d = math.hypot((x - cx) / rx, (y - cy) / ry)
        return (1.0 - d) * min(rx, ry) + 0.5
    return field(cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1, cover)


def rounded_rect(x0, y0, x1, y1, radius):
    def cover(x, y):
        qx = abs(x - (x0 + x1) / 2.0) - ((x1 - x0) / 2.0 - radius)
        qy = abs(y - (y0 + y1) / 2.0) - ((y1 - y0) / 2.0 - radius)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - radius
        return 0.5 - outside
    return field(x0 - 1, y0 - 1, x1 + 1, y1 + 1, cover)


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1.0))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def stroke(points, width):
    """A round-capped, round-joined line through the points."""
    half = width / 2.0
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    segments = list(zip(points, points[1:]))

    def cover(x, y):
        d = min(_segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segments)
        return half - d + 0.5
    return field(min(xs) - half - 1, min(ys) - half - 1, max(xs) + half + 1, max(ys) + half + 1, cover)


def arc(cx, cy, r, width, start, end):
    """A round-capped arc from start to end degrees, clockwise from the x axis (y points down)."""
    half = width / 2.0
    a0, sweep = math.radians(start), math.radians(end - start)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0, a0 + sweep)]

    def cover(x, y):
        if (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi) <= sweep:
            d = abs(math.hypot(x - cx, y - cy) - r)
        else:
            d = min(math.hypot(x - ex, y - ey) for ex, ey in ends)
        return half - d + 0.5
    reach = r + half + 1
    return field(cx - reach, cy - reach, cx + reach, cy + reach, cover)


def polygon(paths, ss=5):
    """Anti-aliased fill (non-zero winding) of closed point lists: ss sub-scanlines per row with exact
    horizontal coverage."""
    xs = [p[0] for path in paths for p in path]
    ys = [p[1] for path in paths for p in path]
    x0, y0 = int(math.floor(min(xs))), int(math.floor(min(ys)))
    w, h = int(math.ceil(max(xs))) - x0 + 1, int(math.ceil(max(ys))) - y0 + 1
    edges = []
    for path in paths:
        for (ax, ay), (bx, by) in zip(path, path[1:] + path[:1]):
            if ay == by:
                continue
            direction = 1 if by > ay else -1
            if ay > by:
                ax, ay, bx, by = bx, by, ax, ay
            edges.append((ay, by, ax - x0, (bx - ax) / (by - ay), direction))
    data = [0.0] * (w * h)
    weight = 1.0 / ss
    for row in range(h):
        base = row * w
        for k in range(ss):
            sy = y0 + row + (k + 0.5) / ss
            hits = sorted((ax + (sy - ay) * slope, d) for ay, by, ax, slope, d in edges if ay <= sy < by)
            winding, start = 0, 0.0
            for x, d in hits:
                before, winding = winding, winding + d
                if before == 0 and winding != 0:
                    start = x
                elif before != 0 and winding == 0:
                    _add_span(data, base, w, start, x, weight)
    return Mask(x0, y0, w, h, [min(v, 1.0) for v in data])


def _add_span(data, base, w, a, b, weight):
    a, b = max(a, 0.0), min(b, float(w))
    if b <= a:
        return
    ia, ib = int(a), int(b)
    if ia == ib:
        data[base + ia] += (b - a) * weight
        return
    data[base + ia] += (ia + 1 - a) * weight
    for i in range(ia + 1, ib):
        data[base + i] += weight
    if ib < w:
        data[base + ib] += (b - ib) * weight


def blur(mask, radius):
    """Three box-blur passes in each direction; the mask grows by the blur's reach."""
    pad = 3 * radius
    w, h = mask.w + 2 * pad, mask.h + 2 * pad
    data = [0.0] * (w * h)
    for my in range(mask.h):
        data[(my + pad) * w + pad:(my + pad) * w + pad + mask.w] = mask.data[my * mask.w:(my + 1) * mask.w]
    size = 2 * radius + 1
    for _ in range(3):
        data = _box_rows(data, w, h, radius, size)
        data = _transpose(_box_rows(_transpose(data, w, h), h, w, radius, size), h, w)
    return Mask(mask.x0 - pad, mask.y0 - pad, w, h, data)


def _box_rows(data, w, h, radius, size):
    out = [0.0] * (w * h)
    for y in range(h):
        row = data[y * w:(y + 1) * w]
        acc = sum(row[:radius + 1])
        for x in range(w):
            out[y * w + x] = acc / size
            if x + radius + 1 < w:
                acc += row[x + radius + 1]
            if x - radius >= 0:
                acc -= row[x - radius]
    return out


def _transpose(data, w, h):
    return [data[y * w + x] for x in range(w) for y in range(h)]


# ---------------------------------------------------------------- shapes from curves

def cubic(p0, p1, p2, p3, steps=18):
    pts = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


def outline(start, curves):
    """A closed point list from a start point and (control, control, end) cubic segments."""
    pts, here = [start], start
    for c1, c2, end in curves:
        pts += cubic(here, c1, c2, end)
        here = end
    return pts


# The kestrel mark in a 100 x 100 box: swept wing, body and hooked head in one piece, the far wing
# behind it, and the eye.
BIRD_NEAR = outline((98.5, 47.5), [
    ((98.5, 42), (94, 38.5), (88, 37.5)),   # hooked beak up to the crown
    ((84, 37), (80, 37.5), (76, 39)),       # nape
    ((60, 28), (34, 10), (1, 3)),           # leading edge of the wing, out to its tip
    ((24, 16), (44, 34), (54, 47)),         # trailing edge back to the body
    ((42, 53), (24, 60), (4, 68)),          # back, out to the tail
    ((5, 70), (5, 72), (7, 73)),            # tail tip
    ((28, 71), (50, 68), (66, 62)),         # tail's underside to the belly
    ((78, 57), (86, 53), (91, 49.5)),       # chest
    ((92.5, 48.5), (93.5, 47), (95, 46.8)), # throat
    ((96.5, 47), (97.5, 48), (98.5, 47.5)), # lower mandible under the hook
])
BIRD_FAR = outline((62, 51), [
    ((46, 46), (30, 40), (12, 38)),     # far wing's leading edge, back to its tip
    ((28, 46), (40, 52), (48, 56)),     # trailing edge back to the body
])
BIRD_EYE = (88.8, 40.6, 1.8)
BIRD_STRIPE = [(87.6, 41.6), (90.0, 41.9), (87.4, 48.2)]  # the kestrel's dark cheek stripe


def bird_masks(x, y, size):
    """Near part, far wing and eye of the mark, scaled into the box at (x, y) of the given size."""
    s = size / 100.0

    def place(path):
        return [(x + px * s, y + py * s) for px, py in path]
    eye = circle(x + BIRD_EYE[0] * s, y + BIRD_EYE[1] * s, max(BIRD_EYE[2] * s, 0.7))
    return polygon([place(BIRD_NEAR)]), polygon([place(BIRD_FAR)]), eye


def draw_bird(canvas, x, y, size, near_paint, far_paint, eye_colour, stripe=True):
    near, far, eye = bird_masks(x, y, size)
    canvas.draw(far, far_paint)
    canvas.draw(near, near_paint)
    canvas.draw(eye, eye_colour)
    if stripe:
        s = size / 100.0
        canvas.draw(polygon([[(x + px * s, y + py * s) for px, py in BIRD_STRIPE]]), eye_colour, 0.55)


# ---------------------------------------------------------------- text

# Every text of the skin: words, size in pixels, font and extra letter spacing.
TEXTS = {
    "wordmark": ("Kestrava", 50, FONT_BOLD, 0),
    "tagline": ("게임 부스터", 18, FONT_BOLD, 3),
    "promise": ("클릭 한 번으로 더 빠르고 부드러운 게임", 12.5, FONT_REGULAR, 0),
    "boost on": ("BOOST ON", 9, FONT_SMALL, 1),
    "running": ("부스트 적용 중", 22, FONT_BOLD, 0),
    "hint 1": ("게임을 마친 뒤 종료를 누르면", 12, FONT_REGULAR, 0),
    "hint 2": ("부스트가 해제됩니다", 12, FONT_REGULAR, 0),
    "BOOST": ("BOOST", 10.5, FONT_SMALL, 0.5),
    "boost": ("부스트", 9, FONT_SMALL, 0),
    "exit": ("종료", 10.5, FONT_SMALL, 0),
    "close": ("닫기", 10, FONT_SMALL, 0),
    "options": ("옵션 선택", 11, FONT_SMALL, 0),
    "restore": ("설정 복원", 10.5, FONT_SMALL, 0),
}
_rendered = {}


def text(name):
    """Grey-level mask of one of TEXTS, trimmed to its ink, with its top-left corner at (0, 0)."""
    if not _rendered:
        _rendered.update(zip(sorted(TEXTS), _render_texts([TEXTS[n] for n in sorted(TEXTS)])))
    return _rendered[name]


def _image_magick():
    for name in ("magick", "convert"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("make_art.py: ImageMagick (convert or magick) is needed to draw text")


def _render_texts(requests):
    """All texts in one ImageMagick run, read back as a stream of grey-level PGM images."""
    args = [_image_magick(), "-background", "black", "-fill", "white"]
    for words, size, font, kerning in requests:
        args += ["-font", font, "-pointsize", "%g" % size, "-kerning", "%g" % kerning, "label:" + words]
    result = subprocess.run(args + ["-depth", "8", "pgm:-"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        sys.exit("make_art.py: text rendering failed: " + result.stderr.decode(errors="replace"))
    masks, blob = [], result.stdout
    for _ in requests:
        magic, w, h, maxval, blob = _parse_pgm(blob)
        if magic != b"P5" or maxval != 255 or len(blob) < w * h:
            sys.exit("make_art.py: unexpected text raster from ImageMagick")
        masks.append(_trimmed(w, h, blob[:w * h]))
        blob = blob[w * h:]
    return masks


def _trimmed(w, h, raster):
    rows = [y for y in range(h) if any(raster[y * w:(y + 1) * w])]
    cols = [x for x in range(w) if any(raster[y * w + x] for y in range(h))]
    if not rows:
        return Mask(0, 0, 1, 1)
    data = [raster[y * w + x] / 255.0 for y in range(rows[0], rows[-1] + 1) for x in range(cols[0], cols[-1] + 1)]
    return Mask(0, 0, cols[-1] - cols[0] + 1, rows[-1] - rows[0] + 1, data)


def _parse_pgm(blob):
    fields, pos = [], 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not blob[end:end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    return fields[0], int(fields[1]), int(fields[2]), int(fields[3]), blob[pos + 1:]


def slanted(mask, slant):
    """Leans the mask to the right by slant pixels per row upwards (a faux italic)."""
    extra = int(math.ceil(slant * mask.h))
    w = mask.w + extra
    out = []
    for y in range(mask.h):
        shift = slant * (mask.h - 1 - y)
        row = mask.data[y * mask.w:(y + 1) * mask.w]
        for x in range(w):
            sx = x - shift
            i = int(math.floor(sx))
            f = sx - i
            a = row[i] if 0 <= i < mask.w else 0.0
            b = row[i + 1] if 0 <= i + 1 < mask.w else 0.0
            out.append(a * (1 - f) + b * f)
    return Mask(mask.x0, mask.y0, w, mask.h, out)


def centred(mask, cx, cy):
    return mask.moved(int(round(cx - mask.w / 2.0)), int(round(cy - mask.h / 2.0)))


# ---------------------------------------------------------------- palette and files

def quantise(pixels, key_mask, key, limit=256):
    """Returns (palette, indices). Transparent pixels get index 0 holding the key colour; no other entry
    is the key colour. Up to limit colours by median cut, each colour mapped to its box's mean."""
    nudge = (1, 1, 1) if key == BLACK else (254, 254, 254)
    counts = {}
    art = []
    for i, p in enumerate(pixels):
        if key_mask is not None and key_mask[i]:
            art.append(None)
            continue
        c = tuple(max(0, min(255, int(round(v)))) for v in p)
        if key is not None and c == key:
            c = nudge
        art.append(c)
        counts[c] = counts.get(c, 0) + 1
    has_key = key is not None and key_mask is not None and any(key_mask)
    room = limit - (1 if has_key else 0)
    boxes = [_box(sorted(counts), counts)]
    while len(boxes) < room:
        best = max(range(len(boxes)), key=lambda i: boxes[i][0])
        if boxes[best][0] <= 0:
            break
        colours = boxes.pop(best)[1]
        boxes += [_box(part, counts) for part in _split(colours, counts)]
    boxes = sorted(box[1] for box in boxes)
    lookup = {}
    palette = [key] if has_key else []
    for box in boxes:
        total = sum(counts[c] for c in box)
        mean = tuple(int(round(sum(c[ch] * counts[c] for c in box) / total)) for ch in range(3))
        if key is not None and mean == key:
            mean = nudge
        for c in box:
            lookup[c] = len(palette)
        palette.append(mean)
    return palette, [0 if c is None else lookup[c] for c in art]


def _box(colours, counts):
    """(split priority, colours): the box's squared colour error, weighted by pixel counts."""
    n = sum(counts[c] for c in colours)
    error = 0.0
    for ch in range(3):
        total = sum(c[ch] * counts[c] for c in colours)
        error += sum(c[ch] * c[ch] * counts[c] for c in colours) - total * total / n
    return (error if len(colours) > 1 else 0.0, colours)


def _split(colours, counts):
    """Cuts the box across its channel of largest variance where the two halves' error is least."""
    def variance(ch):
        n = sum(counts[c] for c in colours)
        total = sum(c[ch] * counts[c] for c in colours)
        return sum(c[ch] * c[ch] * counts[c] for c in colours) / n - (total / n) ** 2
    ch = max(range(3), key=variance)
    ordered = sorted(colours, key=lambda c: (c[ch], c))
    n_all = sum(counts[c] for c in ordered)
    s_all = sum(c[ch] * counts[c] for c in ordered)
    n = s = 0.0
    best, cut = None, 1
    for i, c in enumerate(ordered[:-1]):
        n += counts[c]
        s += c[ch] * counts[c]
        if c[ch] == ordered[i + 1][ch]:
            continue
        # minimising the halves' error is maximising the between-halves term
        score = s * s / n + (s_all - s) ** 2 / (n_all - n)
        if best is None or score > best:
            best, cut = score, i + 1
    return [ordered[:cut], ordered[cut:]]


def bmp_bytes(canvas, key=None, key_mask=None):
    """8-bit BMP (BITMAPINFOHEADER, bottom-up rows, BI_RGB)."""
    palette, indices = quantise(canvas.px, key_mask, key)
    stride = (canvas.w + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytes(indices[y * canvas.w:(y + 1) * canvas.w])
        rows.append(row + b"\0" * (stride - canvas.w))
    raster = b"".join(rows)
    table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(raster), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(raster), 2835, 2835, len(palette), 0)
    return header + info + table + raster


def ico_bytes(images):
    """Icon file of (size, canvas, alpha list) images as 32-bit DIBs with AND masks."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, canvas, alpha in images:
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                r, g, b = (max(0, min(255, int(round(v)))) for v in canvas.px[y * size + x])
                a = max(0, min(255, int(round(alpha[y * size + x] * 255))))
                xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
        mask_stride = ((size + 31) // 32) * 4
        and_mask = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                if alpha[y * size + x] * 255 < 0.5:
                    row[x // 8] |= 0x80 >> (x % 8)
            and_mask += row
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(and_mask)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


# ---------------------------------------------------------------- pieces shared by the pictures

class Sprite:
    """A picture drawn on the window ground whose untouched surround becomes the key colour."""

    def __init__(self, w, h, key=BLACK):
        self.canvas = Canvas(w, h, GROUND)
        self.key = key
        self.footprint = [0.0] * (w * h)

    def draw(self, mask, paint, opacity=1.0):
        self.canvas.draw(mask, paint, opacity)
        for my in range(mask.h):
            y = mask.y0 + my
            if 0 <= y < self.canvas.h:
                for mx in range(mask.w):
                    x = mask.x0 + mx
                    if 0 <= x < self.canvas.w:
                        i = y * self.canvas.w + x
                        self.footprint[i] = max(self.footprint[i], mask.data[my * mask.w + mx] * opacity)

    def bmp(self):
        return bmp_bytes(self.canvas, self.key, [f < 0.03 for f in self.footprint])


class Random:
    """Small linear congruential generator, so the pictures never depend on the library's generator."""

    def __init__(self, seed):
        self.state = seed

    def uniform(self, lo, hi):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return lo + (hi - lo) * self.state / 0x80000000


TITLE_STOPS = [(0, (38, 60, 96)), (2, (46, 72, 110)), (3, (34, 55, 88)), (28, (14, 28, 51)),
               (29, (11, 22, 42)), (30, (5, 12, 25))]


def title_colour(row):
    return ramp(TITLE_STOPS, row)


def title_piece(width):
    """A piece of the title strip; every column is the same, so the tile repeats without a seam."""
    canvas = Canvas(width, 31, BLACK)
    canvas.paint(lambda x, y: title_colour(y))
    return bmp_bytes(canvas)


def body_ground(w, h, glow_x, glow_y, glow_radius):
    """Deep blue to teal backdrop with a soft glow behind the mark."""
    span = w * 0.8 + h * 0.6
    stops = [(0.0, (7, 18, 38)), (0.5, (10, 40, 74)), (1.0, (5, 84, 110))]

    def paint(x, y):
        c = ramp(stops, (x * 0.8 + y * 0.6) / span)
        d2 = ((x - glow_x) ** 2 + (y - glow_y) ** 2) / (glow_radius * glow_radius)
        c = mix(c, (0, 120, 150), 0.55 * math.exp(-d2 * 2.2))
        edge = min(y, h - 1 - y) / 26.0
        return mix(c, NAVY_DEEP, 0.35 * (1.0 - clamp01(edge)))
    canvas = Canvas(w, h, BLACK)
    canvas.paint(paint)
    # a hairline where the title strip ends and an accent line along the bottom edge
    canvas.draw(Mask(0, 0, w, 1, [1.0] * w), (20, 70, 104), 0.8)
    bottom = Mask(0, h - 2, w, 2, [1.0] * (2 * w))
    canvas.draw(bottom, lambda x, y: mix(TEAL, CYAN, x / float(w)) if y == h - 1 else mix(BLUE, TEAL, x / float(w)))
    return canvas


def streak(x0, x1, y, thickness):
    """A speed line, fading out towards its tail at x0, round at its head at x1."""
    half = thickness / 2.0
    length = float(x1 - x0)

    def cover(px, py):
        across = clamp01(half - abs(py - y) + 0.5)
        along = clamp01((px - x0) / length) ** 1.6
        return across * along * clamp01(x1 - px + 0.5)
    return field(x0, y - half - 1, x1 + 1, y + half + 1, cover)


def speed_lines(canvas, rng, count, x_range, y_range, length_range, strength):
    for _ in range(count):
        y = round(rng.uniform(*y_range)) + 0.5
        head = rng.uniform(*x_range)
        length = rng.uniform(*length_range)
        thickness = rng.uniform(0.8, 2.0)
        colour = mix(CYAN, ICE, rng.uniform(0.0, 1.0))
        canvas.draw(streak(head - length, head, y, thickness), colour, strength * rng.uniform(0.35, 1.0))


def halftone(canvas, corner_x, corner_y, reach, pitch=8):
    """A faint dot screen whose dots shrink with the distance from a corner."""
    for gy in range(pitch // 2, canvas.h, pitch):
        for gx in range(pitch // 2, canvas.w, pitch):
            near = 1.0 - math.hypot(gx - corner_x, gy - corner_y) / reach
            if near > 0.05:
                canvas.draw(circle(gx, gy, 1.7 * near), CYAN, 0.05 + 0.1 * near)


def glow_text(canvas, mask, paint, glow=CYAN, glow_strength=0.35, radius=3):
    canvas.draw(blur(mask, radius), glow, glow_strength)
    canvas.draw(mask, paint)


# ---------------------------------------------------------------- the bitmaps

def main_body():
    w, h = 498, 177
    canvas = body_ground(w, h, 110, 88, 150)
    halftone(canvas, w, 0, 230)
    rng = Random(ids.IDB_MAIN_BODY)  # seeded by its resource id
    speed_lines(canvas, rng, 26, (20, 150), (42, 150), (40, 130), 0.55)
    speed_lines(canvas, rng, 14, (200, 490), (20, 160), (60, 200), 0.18)
    mark_x, mark_y, mark_size = 34, 30, 150
    near, far, eye = bird_masks(mark_x, mark_y, mark_size)
    canvas.draw(blur(near, 6), CYAN, 0.35)
    draw_bird(canvas, mark_x, mark_y, mark_size, vertical(WHITE, CYAN, 40, 150),
              vertical(TEAL, BLUE, 80, 120), NAVY)
    word = slanted(text("wordmark"), 0.16).moved(206, 44)
    glow_text(canvas, word, vertical(WHITE, (186, 234, 255), 44, 44 + word.h))
    tagline = text("tagline").moved(212, 44 + word.h + 16)
    canvas.draw(tagline, CYAN)
    rule_y = tagline.y0 + tagline.h // 2
    canvas.draw(Mask(tagline.x0 + tagline.w + 10, rule_y, 120, 1, [1.0 - i / 120.0 for i in range(120)]), CYAN, 0.6)
    sub = text("promise").moved(212, tagline.y0 + tagline.h + 12)
    canvas.draw(sub, MIST)
    return bmp_bytes(canvas)


def boost_body():
    w, h = 316, 177
    canvas = body_ground(w, h, 70, 92, 120)
    halftone(canvas, w, 0, 150)
    rng = Random(ids.IDB_BOOST_BODY)
    speed_lines(canvas, rng, 18, (10, 90), (50, 140), (30, 90), 0.5)
    speed_lines(canvas, rng, 8, (150, 310), (20, 160), (50, 140), 0.16)
    mark_x, mark_y, mark_size = 16, 48, 110
    near, far, eye = bird_masks(mark_x, mark_y, mark_size)
    canvas.draw(blur(near, 5), CYAN, 0.35)
    draw_bird(canvas, mark_x, mark_y, mark_size, vertical(WHITE, CYAN, 50, 130),
              vertical(TEAL, BLUE, 90, 115), NAVY)
    left = 146
    badge_text = text("boost on")
    badge = rounded_rect(left, 40, left + badge_text.w + 24, 54, 7)
    canvas.draw(badge, (0, 60, 90), 0.7)
    canvas.draw(badge.cut(rounded_rect(left + 1, 41, left + badge_text.w + 23, 53, 6)), CYAN, 0.8)
    canvas.draw(blur(circle(left + 9, 47, 2.4), 1), (120, 255, 170), 0.8)
    canvas.draw(circle(left + 9, 47, 2.4), (150, 255, 190))
    canvas.draw(centred(badge_text, left + 16 + badge_text.w / 2.0, 47), ICE)
    title = text("running").moved(left, 64)
    glow_text(canvas, title, vertical(WHITE, (196, 238, 255), 64, 64 + title.h), glow_strength=0.25)
    first = text("hint 1").moved(left, title.y0 + title.h + 14)
    second = text("hint 2").moved(left, first.y0 + first.h + 7)
    canvas.draw(first, MIST)
    canvas.draw(second, MIST)
    return bmp_bytes(canvas)


def round_bezel(sprite, cx, cy, radius):
    """Shadow and silver rim of a round button; returns the face's radius."""
    sprite.draw(blur(circle(cx, cy + 1.5, radius), 1), (40, 52, 68), 0.35)
    sprite.draw(circle(cx, cy, radius), vertical((250, 252, 254), (132, 156, 178), cy - radius, cy + radius))
    sprite.draw(circle(cx, cy, radius - 2.6), (12, 30, 54))
    return radius - 3.4


FACE_IDLE = ((30, 84, 136), (8, 26, 54))


def face(sprite, cx, cy, radius, top, bottom, gloss):
    disc = circle(cx, cy, radius)
    sprite.draw(disc, vertical(top, bottom, cy - radius, cy + radius))
    sprite.draw(ellipse(cx, cy - radius * 0.48, radius * 0.78, radius * 0.46).clip(disc), WHITE, gloss)


def boost_button(hot):
    sprite = Sprite(65, 64)
    cx, cy = 32.5, 31.0
    r = round_bezel(sprite, cx, cy, 29.5)
    if hot:
        face(sprite, cx, cy, r, (0, 164, 212), (6, 56, 116), 0.2)
    else:
        face(sprite, cx, cy, r, FACE_IDLE[0], FACE_IDLE[1], 0.12)
    sprite.draw(arc(cx, cy, 22.6, 1.8, 135, 405), (6, 22, 44) if hot else (34, 70, 108), 0.8)
    sweep = 405 if hot else 135 + 270 * 0.7
    sprite.draw(arc(cx, cy, 22.6, 1.8, 135, sweep), ICE if hot else CYAN)
    bolt = [(cx + 1.6, cy - 18.5), (cx - 3.4, cy - 11.2), (cx - 0.2, cy - 11.2), (cx - 1.6, cy - 6.5),
            (cx + 3.4, cy - 13.6), (cx + 0.2, cy - 13.6)]
    sprite.draw(polygon([bolt]), AMBER if hot else (255, 196, 92))
    sprite.draw(centred(text("BOOST"), cx, cy + 1), WHITE)
    sprite.draw(centred(text("boost"), cx, cy + 11.5), ICE if hot else CYAN)
    return sprite.bmp()


def exit_button(hot):
    sprite = Sprite(64, 64)
    cx, cy = 32.0, 31.0
    r = round_bezel(sprite, cx, cy, 29.5)
    if hot:
        face(sprite, cx, cy, r, (240, 92, 92), (150, 22, 38), 0.2)
    else:
        face(sprite, cx, cy, r, FACE_IDLE[0], FACE_IDLE[1], 0.12)
    icon = WHITE if hot else CYAN
    sprite.draw(arc(cx, cy - 4, 8.5, 2.6, -55, 235), icon)
    sprite.draw(stroke([(cx, cy - 15), (cx, cy - 5.5)], 2.6), icon)
    sprite.draw(centred(text("exit"), cx, cy + 13), WHITE if hot else ICE)
    return sprite.bmp()


def close_button(hot):
    """Drawn over the title strip one row down, its top row continuing the window's inner frame line.
    It has no key-coloured pixels: the button's own ground would show there, not the strip."""
    canvas = Canvas(43, 16, BLACK)
    canvas.paint(lambda x, y: FRAME_INNER if y == 0 else title_colour(y + 1))
    pill = rounded_rect(3, 2.5, 40, 14.5, 6)
    rim = pill.cut(rounded_rect(4, 3.5, 39, 13.5, 5))
    if hot:
        canvas.draw(pill, vertical((240, 90, 90), (190, 36, 50), 2, 15))
        canvas.draw(rim, (120, 14, 28), 0.5)
        ink = WHITE
    else:
        canvas.draw(pill, WHITE, 0.08)
        canvas.draw(rim, WHITE, 0.22)
        ink = (206, 222, 238)
    canvas.draw(stroke([(9.0, 6.2), (13.3, 10.5)], 1.5), ink)
    canvas.draw(stroke([(13.3, 6.2), (9.0, 10.5)], 1.5), ink)
    canvas.draw(centred(text("close"), 25.5, 8.5), ink)
    return bmp_bytes(canvas)


def turn_back_arrow(cx, cy, r):
    """An open circle turning anticlockwise, its head at the upper right."""
    start = -30.0
    th = math.radians(start)
    px, py = cx + r * math.cos(th), cy + r * math.sin(th)
    dx, dy = math.sin(th), -math.cos(th)  # the anticlockwise direction at the head
    nx, ny = -dy, dx
    head = polygon([[(px + dx * 2.4, py + dy * 2.4), (px - dx * 1.0 + nx * 2.9, py - dy * 1.0 + ny * 2.9),
                     (px - dx * 1.0 - nx * 2.9, py - dy * 1.0 - ny * 2.9)]])
    ring = arc(cx, cy, r, 1.7, start + 20, 250)
    return ring.combine(head, max)


def restore_button(hot):
    """A pill under the boost button in its colours, with a turn-back arrow before the words."""
    sprite = Sprite(70, 22)
    pill = rounded_rect(1, 1, 69, 20, 9.5)
    sprite.draw(blur(pill.moved(0, 1), 1), (40, 52, 68), 0.3)
    sprite.draw(pill, vertical((250, 252, 254), (132, 156, 178), 1, 20))
    inner = rounded_rect(2.2, 2.2, 67.8, 18.8, 8.3)
    if hot:
        sprite.draw(inner, vertical((0, 164, 212), (6, 56, 116), 2, 19))
        ink, arrow = WHITE, ICE
    else:
        sprite.draw(inner, vertical(FACE_IDLE[0], FACE_IDLE[1], 2, 19))
        ink, arrow = ICE, CYAN
    sprite.draw(ellipse(35, 6.5, 30, 4).clip(inner), WHITE, 0.2 if hot else 0.12)
    sprite.draw(turn_back_arrow(13.0, 10.5, 4.6), arrow)
    sprite.draw(centred(text("restore"), 43.0, 10.5), ink)
    return sprite.bmp()


CHECK_MARK = [(3.4, 6.7), (5.6, 8.9), (9.7, 4.4)]


def check_box(key, fill=None, rim=None):
    """A checked box in the fill colours (top, bottom) and rim colour, or an empty box without them."""
    sprite = Sprite(13, 13, key)
    box = rounded_rect(0.5, 0.5, 12.5, 12.5, 2.5)
    inner = rounded_rect(1.5, 1.5, 11.5, 11.5, 1.6)
    if fill:
        sprite.draw(box, rim)
        sprite.draw(inner, vertical(fill[0], fill[1], 1, 12))
        sprite.draw(stroke(CHECK_MARK, 1.9), (252, 252, 252))
    else:
        sprite.draw(box, (140, 152, 168))
        sprite.draw(inner, vertical(WHITE, (232, 236, 242), 1, 12))
    return sprite.bmp()


def options_label():
    canvas = Canvas(77, 13, GROUND)
    canvas.draw(rounded_rect(0.5, 1.0, 3.5, 12.0, 1.5), vertical(TEAL, BLUE, 1, 12))
    label = text("options")
    canvas.draw(label.moved(8, int(round(6.5 - label.h / 2.0))), INK)
    start = 8 + label.w + 6
    fade = [1.0 - i / float(77 - start) for i in range(77 - start)]
    canvas.draw(Mask(start, 6, 77 - start, 1, fade), (190, 198, 208))
    return bmp_bytes(canvas)


def bullet():
    canvas = Canvas(22, 22, GROUND)
    canvas.draw(circle(11, 11, 9.5), CYAN, 0.25)
    canvas.draw(circle(11, 11, 7.5), vertical((56, 204, 244), (0, 106, 172), 3, 19))
    canvas.draw(stroke([(7.6, 11.2), (10.0, 13.6), (14.6, 8.6)], 1.9), WHITE)
    return bmp_bytes(canvas)


def indicator_frame(head):
    """One frame of the busy indicator: eight dots with the highlight at position head and a fading trail."""
    trail = {0: 1.0, 1: 0.62, 2: 0.38, 3: 0.2}
    canvas = Canvas(13, 13, GROUND)
    for i in range(8):
        angle = math.radians(-90 + 45 * i)
        x, y = 6.5 + 4.7 * math.cos(angle), 6.5 + 4.7 * math.sin(angle)
        heat = trail.get((head - i) % 8, 0.0)
        canvas.draw(circle(x, y, 1.3 + 0.35 * heat), mix((196, 206, 218), (0, 140, 200), heat))
    return bmp_bytes(canvas)


def icon_image(size):
    canvas = Canvas(size, size, NAVY)
    span = 2.0 * size
    canvas.paint(lambda x, y: ramp([(0.0, (10, 28, 56)), (0.6, (14, 58, 100)), (1.0, (0, 118, 150))],
                                   (x + y) / span))
    tile = rounded_rect(0.5, 0.5, size - 0.5, size - 0.5, size * 0.22)
    bird = size * 0.96
    x, y = size * 0.03, size * 0.18 - 0.03 * bird
    draw_bird(canvas, x, y, bird, vertical(WHITE, CYAN, y, y + 0.7 * bird), vertical(TEAL, BLUE, y, y + bird),
              NAVY, stripe=size >= 32)
    return size, canvas, [tile.at(i % size, i // size) for i in range(size * size)]


def bitmaps():
    """{resource id: function drawing its BMP file}."""
    table = {
        ids.IDB_BOOST_MAIN_HOT: functools.partial(exit_button, True),
        ids.IDB_BOOST_IDLE: functools.partial(boost_button, False),
        ids.IDB_BOOST_HOT: functools.partial(boost_button, True),
        ids.IDB_BOOST_MAIN_IDLE: functools.partial(exit_button, False),
        ids.IDB_OPTIONS_LABEL: options_label,
        ids.IDB_CHECK_ON: functools.partial(check_box, BLACK, ((44, 192, 232), (0, 116, 176)), (0, 98, 156)),
        ids.IDB_SUSPEND_OFF: functools.partial(check_box, BLACK),
        ids.IDB_SUSPEND_ON: functools.partial(check_box, WHITE, ((255, 194, 84), (236, 126, 18)), (200, 100, 10)),
        ids.IDB_CHECK_OFF: functools.partial(check_box, BLACK),
        ids.IDB_BULLET: bullet,
        ids.IDB_CLOSE_IDLE: functools.partial(close_button, False),
        ids.IDB_TITLE_LEFT: functools.partial(title_piece, 3),
        ids.IDB_TITLE_TILE: functools.partial(title_piece, 30),
        ids.IDB_TITLE_RIGHT: functools.partial(title_piece, 2),
        ids.IDB_CLOSE_HOT: functools.partial(close_button, True),
        ids.IDB_MAIN_BODY: main_body,
        ids.IDB_BOOST_BODY: boost_body,
        ids.IDB_RESTORE_IDLE: functools.partial(restore_button, False),
        ids.IDB_RESTORE_HOT: functools.partial(restore_button, True),
    }
    for head, ident in enumerate(INDICATOR_FRAMES):
        table[ident] = functools.partial(indicator_frame, head)
    return table


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: make_art.py OUTDIR")
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for ident, draw in sorted(bitmaps().items()):
        with open(os.path.join(out, "bitmap_%d.bmp" % ident), "wb") as f:
            f.write(draw())
    with open(os.path.join(out, "kestrava.ico"), "wb") as f:
        f.write(ico_bytes([icon_image(size) for size in (16, 32, 48)]))


if __name__ == "__main__":
    main(sys.argv)

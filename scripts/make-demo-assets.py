#!/usr/bin/env python3
"""Makes the pictures, music and sounds of the sample novel in demo/.

Run once from the repository root: python3 scripts/make-demo-assets.py
It uses the Python standard library only and is deterministic: every run writes
the same bytes. Its outputs are committed, so a build never needs to run it.

Pictures (640 x 480 BMP, each in another format the reader must decode):
  demo/night.bmp  4-bit paletted:  the lighthouse at night, its beam over the sea
  demo/road.bmp   16-bit 5-6-5 bit fields: the pine road at dusk
  demo/lamp.bmp   8-bit paletted, RLE8: the lamp room with its great lens
  demo/dawn.bmp   24-bit: dawn over the sea, the lamp out
Music (Standard MIDI Files, format 1):
  demo/umi.mid    a slow piece in A minor pentatonic, about 76 s
  demo/asa.mid    a short morning piece in C major pentatonic, about 47 s
Sound (22050 Hz, mono, 16-bit PCM):
  demo/cd/track02.wav  "CD" track 2: 30 s of waves on the rocks
  demo/nami.wav        a wave breaking
  demo/kane.wav        a small bell
  demo/tobira.wav      an old door opening and falling shut

All of it is original work made for yomu and dedicated to the public domain (CC0).
"""

import math
import os
import struct
import sys

W, H = 640, 480
RATE = 22050
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "demo")


class Rng:
    """A small linear congruential generator, so that the output never depends
    on the Python version's random module."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state

    def uniform(self):
        return self.next() / 4294967296.0


def clamp(v, lo=0.0, hi=255.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------- drawing
class Canvas:
    """Floating-point RGB pixels, rows from the top."""

    def __init__(self, w=W, h=H):
        self.w, self.h = w, h
        self.px = [[(0.0, 0.0, 0.0)] * w for _ in range(h)]

    def fill_rows(self, color_of_y):
        for y in range(self.h):
            c = color_of_y(y)
            self.px[y] = [c] * self.w

    def blend(self, x, y, color, alpha):
        if 0 <= x < self.w and 0 <= y < self.h and alpha > 0:
            old = self.px[y][x]
            a = min(alpha, 1.0)
            self.px[y][x] = (old[0] + (color[0] - old[0]) * a,
                             old[1] + (color[1] - old[1]) * a,
                             old[2] + (color[2] - old[2]) * a)

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        for y in range(max(0, int(y0)), min(self.h, int(y1))):
            for x in range(max(0, int(x0)), min(self.w, int(x1))):
                self.blend(x, y, color, alpha)

    def disc(self, cx, cy, r, color, alpha=1.0, soft=1.0):
        for y in range(max(0, int(cy - r - 2)), min(self.h, int(cy + r + 3))):
            for x in range(max(0, int(cx - r - 2)), min(self.w, int(cx + r + 3))):
                d = math.hypot(x - cx, y - cy)
                a = clamp((r - d) / soft + 0.5, 0.0, 1.0)
                self.blend(x, y, color, a * alpha)

    def glow(self, cx, cy, r, color, strength):
        for y in range(max(0, int(cy - r)), min(self.h, int(cy + r + 1))):
            for x in range(max(0, int(cx - r)), min(self.w, int(cx + r + 1))):
                d = math.hypot(x - cx, y - cy) / r
                if d < 1.0:
                    self.blend(x, y, color, strength * (1.0 - d) ** 2)

    def polygon(self, points, color, alpha=1.0):
        ys = [p[1] for p in points]
        for y in range(max(0, int(min(ys))), min(self.h, int(max(ys)) + 1)):
            yc = y + 0.5
            xs = []
            n = len(points)
            for i in range(n):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(max(0, int(math.ceil(xs[i] - 0.5))), min(self.w, int(math.floor(xs[i + 1] - 0.5)) + 1)):
                    self.blend(x, y, color, alpha)

    def pixels_bottom_up(self):
        for y in range(self.h - 1, -1, -1):
            yield y, self.px[y]


def stars(c, rng, count, y_max, bright=(230, 230, 240), avoid=None):
    for _ in range(count):
        x = int(rng.uniform() * W)
        y = int(rng.uniform() * y_max)
        if avoid and avoid(x, y):
            continue
        b = 0.35 + 0.65 * rng.uniform() ** 3
        c.blend(x, y, bright, b)


def lighthouse(c, base_x, base_y, height, lit, body=(200, 200, 205), dark=(40, 40, 50)):
    top_w, bottom_w = height * 0.13, height * 0.2
    top_y = base_y - height
    # the tower with a red band, lit on its left side by the sky
    c.polygon([(base_x - bottom_w / 2, base_y), (base_x + bottom_w / 2, base_y),
               (base_x + top_w / 2, top_y), (base_x - top_w / 2, top_y)], body)
    c.polygon([(base_x, base_y), (base_x + bottom_w / 2, base_y),
               (base_x + top_w / 2, top_y), (base_x, top_y)], dark, 0.45)
    band_y0, band_y1 = top_y + height * 0.35, top_y + height * 0.47
    c.rect(base_x - bottom_w / 2, band_y0, base_x + bottom_w / 2 + 1, band_y1, (120, 40, 40), 0.8)
    # gallery, lantern room, roof
    c.rect(base_x - top_w * 0.75, top_y - 3, base_x + top_w * 0.75, top_y + 1, dark)
    lamp = (255, 235, 150) if lit else (70, 80, 95)
    c.rect(base_x - top_w * 0.4, top_y - height * 0.11, base_x + top_w * 0.4, top_y - 3, lamp)
    c.polygon([(base_x - top_w * 0.55, top_y - height * 0.11), (base_x + top_w * 0.55, top_y - height * 0.11),
               (base_x, top_y - height * 0.2)], dark)
    return base_x, top_y - height * 0.07


# ---------------------------------------------------------------- BMP files
def bmp_headers(width, height, bits, compression, image_size, palette, masks=None):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size,
                       2835, 2835, len(palette), 0)
    extra = b"".join(struct.pack("<I", m) for m in masks) if masks else b""
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + len(info) + len(extra) + len(pal)
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    return file_header + info + extra + pal


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def nearest(palette, color):
    best, best_d = 0, 1e18
    for i, p in enumerate(palette):
        d = (p[0] - color[0]) ** 2 * 0.3 + (p[1] - color[1]) ** 2 * 0.59 + (p[2] - color[2]) ** 2 * 0.11
        if d < best_d:
            best, best_d = i, d
    return best


def write_bmp4(path, c, palette, dither=20.0):
    cache = {}
    rows = []
    for y, row in c.pixels_bottom_up():
        idx = []
        for x, p in enumerate(row):
            t = (BAYER4[y & 3][x & 3] / 16.0 - 0.47) * dither
            q = (int(clamp(p[0] + t)) >> 2, int(clamp(p[1] + t)) >> 2, int(clamp(p[2] + t)) >> 2)
            i = cache.get(q)
            if i is None:
                i = cache[q] = nearest(palette, (q[0] * 4 + 2, q[1] * 4 + 2, q[2] * 4 + 2))
            idx.append(i)
        rows.append(bytes((idx[x] << 4) | idx[x + 1] for x in range(0, c.w, 2)))
    data = b"".join(rows)  # 320 bytes a row, already a multiple of 4
    with open(path, "wb") as f:
        f.write(bmp_headers(c.w, c.h, 4, 0, len(data), palette) + data)


def write_bmp565(path, c):
    data = bytearray()
    for y, row in c.pixels_bottom_up():
        for x, p in enumerate(row):
            t = BAYER4[y & 3][x & 3] / 16.0
            r = min(31, int(clamp(p[0]) / 255.0 * 31 + t))
            g = min(63, int(clamp(p[1]) / 255.0 * 63 + t))
            b = min(31, int(clamp(p[2]) / 255.0 * 31 + t))
            data += struct.pack("<H", (r << 11) | (g << 5) | b)
    with open(path, "wb") as f:
        f.write(bmp_headers(c.w, c.h, 16, 3, len(data), [], masks=(0xF800, 0x07E0, 0x001F)) + data)


def write_bmp24(path, c):
    data = bytearray()
    for y, row in c.pixels_bottom_up():
        for x, p in enumerate(row):
            t = BAYER4[y & 3][x & 3] / 16.0 - 0.5
            data += bytes((int(clamp(p[2] + t + 0.5)), int(clamp(p[1] + t + 0.5)), int(clamp(p[0] + t + 0.5))))
    with open(path, "wb") as f:
        f.write(bmp_headers(c.w, c.h, 24, 0, len(data), []) + data)


def rle8_row(idx):
    """One row in RLE8: runs of 3 or more as encoded runs, the rest as absolute
    runs (at least 3 bytes long, padded to a word) or single encoded pixels."""
    out = bytearray()
    n, i = len(idx), 0
    literal = []

    def flush():
        while literal:
            part = literal[:255]
            del literal[:255]
            if len(part) < 3:
                for v in part:
                    out.extend((1, v))
            else:
                out.extend((0, len(part)))
                out.extend(part)
                if len(part) & 1:
                    out.append(0)

    while i < n:
        j = i
        while j < n and idx[j] == idx[i] and j - i < 255:
            j += 1
        if j - i >= 3:
            flush()
            out.extend((j - i, idx[i]))
        else:
            literal.extend(idx[i:j])
        i = j
    flush()
    out.extend((0, 0))  # end of line
    return out


def write_bmp8_rle(path, c):
    """8-bit with a palette of the picture's 256 most frequent colours (at 5 bits
    a channel); every other colour takes its nearest palette entry."""
    counts = {}
    keyed = []
    for y, row in c.pixels_bottom_up():
        keys = [(int(clamp(p[0])) >> 3, int(clamp(p[1])) >> 3, int(clamp(p[2])) >> 3) for p in row]
        for k in keys:
            counts[k] = counts.get(k, 0) + 1
        keyed.append(keys)
    top = sorted(counts, key=lambda k: (-counts[k], k))[:256]
    palette = [(k[0] * 8 + 4, k[1] * 8 + 4, k[2] * 8 + 4) for k in top]
    index = {k: i for i, k in enumerate(top)}
    data = bytearray()
    for keys in keyed:
        idx = []
        for k in keys:
            i = index.get(k)
            if i is None:
                i = index[k] = nearest(palette, (k[0] * 8 + 4, k[1] * 8 + 4, k[2] * 8 + 4))
            idx.append(i)
        data += rle8_row(idx)
    data[-2:] = b"\x00\x01"  # the last end of line becomes the end of the picture
    with open(path, "wb") as f:
        f.write(bmp_headers(c.w, c.h, 8, 1, len(data), palette) + data)


# ---------------------------------------------------------------- pictures
HORIZON = 275


def night_scene():
    """The lighthouse on its cape at night, the beam over the sea, the moon in
    the upper left corner. The moon's disc is pure white: the page's first text
    row starts on it, so the paragraphs on this picture begin with a full-width
    space."""
    c = Canvas()
    c.fill_rows(lambda y: mix((6, 8, 22), (22, 30, 58), (y / HORIZON) ** 1.5) if y < HORIZON
                else mix((14, 20, 40), (4, 6, 14), ((y - HORIZON) / (H - HORIZON)) ** 0.7))
    rng = Rng(7)
    stars(c, rng, 260, HORIZON - 20, avoid=lambda x, y: x < 70 and y < 70)
    c.glow(14, 22, 70, (60, 70, 110), 0.8)
    c.disc(14, 22, 16, (255, 255, 255), soft=0.6)
    # moonlight on the water below the moon
    for y in range(HORIZON + 2, H, 3):
        k = (y - HORIZON) / (H - HORIZON)
        half = 6 + 40 * k
        cx = 20 + 25 * math.sin(y * 0.37)
        c.rect(cx - half, y, cx + half, y + 1, (120, 130, 160), 0.35 * (1 - k * 0.6))
    # waves
    for y in range(HORIZON + 4, H, 7):
        for x0 in range(int(rng.uniform() * 40), W, 60 + int(rng.uniform() * 40)):
            c.rect(x0, y, x0 + 10 + 20 * (y - HORIZON) / 200, y + 1, (40, 55, 90), 0.6)
    # the cape: rocks rising to the right
    cape = [(360, H), (380, 330), (420, 300), (470, 286), (540, 280), (600, 284), (W, 290), (W, H)]
    c.polygon(cape, (10, 10, 14))
    c.polygon([(330, H), (352, 420), (372, 430), (392, 470), (400, H)], (14, 14, 20))
    lamp_x, lamp_y = lighthouse(c, 520, 286, 150, lit=True, body=(130, 135, 150), dark=(24, 26, 36))
    # the beam: a soft wedge to the left across the sky
    for y in range(0, HORIZON + 40):
        for x in range(0, int(lamp_x)):
            dx = lamp_x - x
            dy = y - lamp_y
            spread = 0.055 * dx + 6
            off = abs(dy + dx * 0.12)
            if off < spread:
                a = (1 - off / spread) ** 1.6 * (0.18 + 0.27 * (x / lamp_x) ** 2)
                c.blend(x, y, (190, 185, 140), a)
    c.glow(lamp_x, lamp_y, 45, (255, 230, 150), 0.55)
    return c


NIGHT_PALETTE = [
    (0, 0, 0), (6, 8, 22), (14, 18, 40), (24, 32, 62), (36, 48, 84), (58, 70, 110),
    (90, 100, 140), (140, 150, 180), (255, 255, 255), (70, 72, 60), (120, 116, 88),
    (180, 172, 120), (255, 232, 150), (120, 40, 40), (12, 12, 16), (200, 200, 205),
]


def road_scene():
    """The pine road at dusk, the lighthouse small at its end."""
    c = Canvas()
    hz = 250
    c.fill_rows(lambda y: mix((30, 26, 62), (150, 84, 70), (y / hz) ** 2.2) if y < hz
                else mix((40, 34, 30), (58, 48, 38), (y - hz) / (H - hz)))
    c.glow(380, hz, 160, (200, 120, 70), 0.45)
    rng = Rng(11)
    stars(c, rng, 40, 90)
    # the sea, a strip at the end of the road
    c.rect(0, hz - 6, W, hz, (60, 60, 90))
    lighthouse(c, 372, hz - 4, 44, lit=True, body=(150, 140, 150), dark=(40, 30, 40))
    # the road, sandy, narrowing to the horizon
    c.polygon([(330, hz), (400, hz), (560, H), (120, H)], (84, 72, 58))
    c.polygon([(352, hz), (378, hz), (380, H), (300, H)], (96, 84, 66), 0.5)
    # pines on both sides, far ones small and pale, near ones large and black
    for side in (-1, 1):
        for k in range(16):
            t = k / 15.0
            x = 365 + side * (40 + 290 * t ** 1.4) + (rng.uniform() - 0.5) * 20
            base = hz + 6 + 220 * t ** 1.6
            height = 40 + 360 * t ** 1.5
            shade = mix((60, 44, 60), (8, 8, 12), t ** 0.5)
            c.rect(x - 1 - 5 * t, base - height * 0.6, x + 1 + 5 * t, base, shade)
            for layer in range(5):
                ly = base - height * (0.45 + 0.12 * layer)
                lw = height * (0.34 - 0.05 * layer) * (0.8 + 0.4 * rng.uniform())
                lean = side * lw * 0.25
                c.polygon([(x - lw + lean, ly + height * 0.06), (x + lw + lean, ly + height * 0.04),
                           (x + lean * 0.3, ly - height * 0.1)], shade)
    # darken the upper left, where the text starts
    for y in range(H):
        for x in range(W):
            k = max(0.0, 1.0 - (x / 640.0) * 0.6 - (y / 480.0) * 0.3)
            p = c.px[y][x]
            f = 1.0 - 0.35 * k
            c.px[y][x] = (p[0] * f, p[1] * f, p[2] * f)
    return c


def lamp_scene():
    """The lamp room: windows on the night, the great lens with the lamp in it."""
    c = Canvas()
    c.fill_rows(lambda y: (34, 26, 22) if y < 330 else (52, 38, 28))
    # windows all round, night outside
    for i in range(5):
        x0 = 10 + i * 128
        c.rect(x0, 40, x0 + 112, 300, (14, 20, 44))
        c.rect(x0, 200, x0 + 112, 300, (10, 14, 30))
        c.rect(x0 + 54, 40, x0 + 58, 300, (26, 20, 18))
        c.rect(x0, 160, x0 + 112, 164, (26, 20, 18))
    c.rect(0, 300, W, 312, (70, 52, 36))
    c.rect(0, 330, W, 334, (80, 60, 40))
    # floor boards
    for y in range(340, H, 22):
        c.rect(0, y, W, y + 1, (40, 30, 22))
    # the pedestal
    c.polygon([(270, H), (370, H), (350, 380), (290, 380)], (60, 60, 66))
    c.rect(280, 370, 360, 384, (86, 86, 94))
    # the lens: rings of brass and glass around the lamp
    cx, cy = 320, 230
    c.glow(cx, cy, 230, (140, 95, 40), 0.25)
    for r in range(150, 20, -13):
        ring = mix((72, 60, 44), (170, 140, 90), 1 - r / 150.0)
        c.disc(cx, cy, r / 1.0, ring, alpha=1.0)
        c.disc(cx, cy, r - 3, mix(ring, (40, 34, 30), 0.6), alpha=1.0)
    for bx in (cx - 152, cx + 148):
        c.rect(bx, cy - 150, bx + 5, cy + 150, (70, 56, 36))
    c.disc(cx, cy, 16, (235, 215, 160))
    # darken the upper left, where the text starts
    for y in range(H):
        for x in range(W):
            p = c.px[y][x]
            f = 1.0 - 0.4 * max(0.0, 1.0 - math.hypot(x, y) / 500.0)
            c.px[y][x] = (p[0] * f, p[1] * f, p[2] * f)
    return c


def dawn_scene():
    """Dawn over the sea, the lamp put out."""
    c = Canvas()
    c.fill_rows(lambda y: mix((16, 22, 52), (150, 96, 96), (y / HORIZON) ** 2.0) if y < HORIZON
                else mix((70, 60, 80), (12, 18, 34), ((y - HORIZON) / (H - HORIZON)) ** 0.6))
    sun_x = 250
    c.glow(sun_x, HORIZON, 260, (210, 130, 80), 0.45)
    c.disc(sun_x, HORIZON + 8, 26, (250, 200, 140))
    # refill the sea over the sun's lower half
    for y in range(HORIZON, H):
        k = ((y - HORIZON) / (H - HORIZON)) ** 0.6
        c.px[y] = [mix((70, 60, 80), (12, 18, 34), k)] * W
    # the sun's path on the water
    rng = Rng(23)
    for y in range(HORIZON + 2, H, 3):
        k = (y - HORIZON) / (H - HORIZON)
        for _ in range(3):
            half = 4 + 60 * k * rng.uniform()
            cx = sun_x + (rng.uniform() - 0.5) * (20 + 120 * k)
            c.rect(cx - half, y, cx + half, y + 1, (230, 160, 110), 0.45 * (1 - k * 0.7))
    # thin clouds
    for i in range(6):
        cy = 60 + i * 30
        c.rect(0 + i * 50, cy, 300 + i * 70, cy + 2, (120, 80, 100), 0.12)
    # the cape and the tower, dark against the morning
    cape = [(380, H), (400, 330), (440, 300), (490, 286), (560, 280), (620, 284), (W, 290), (W, H)]
    c.polygon(cape, (22, 18, 26))
    lighthouse(c, 540, 286, 150, lit=False, body=(120, 110, 120), dark=(36, 30, 40))
    # keep the upper left dark for the text
    for y in range(H):
        for x in range(W):
            p = c.px[y][x]
            f = 1.0 - 0.45 * max(0.0, 1.0 - math.hypot(x * 0.8, y) / 420.0)
            c.px[y][x] = (p[0] * f, p[1] * f, p[2] * f)
    return c


# ---------------------------------------------------------------- WAV files
def write_wav(path, samples):
    data = b"".join(struct.pack("<h", int(clamp(s * 32767.0, -32767.0, 32767.0))) for s in samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1,
                         RATE, RATE * 2, 2, 16, b"data", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


def normalise(samples, peak):
    m = max(abs(s) for s in samples) or 1.0
    return [s * peak / m for s in samples]


def waves_track(seconds=30.0):
    """Surf: low-passed noise swelling with a few slow, overlapping waves. The
    swells repeat within the track's length, so its loop joins smoothly."""
    rng = Rng(101)
    n = int(seconds * RATE)
    lo1 = lo2 = hi = 0.0
    out = []
    periods = (7.5, 10.0, 6.0)
    phases = (0.0, 2.1, 4.0)
    for i in range(n):
        t = i / RATE
        white = rng.uniform() * 2 - 1
        env = 0.0
        for p, ph in zip(periods, phases):
            u = ((t + ph) % p) / p
            # a fast rise and a long drawing back of the water
            env += (u / 0.25) ** 2 if u < 0.25 else math.exp(-(u - 0.25) * 5.0)
        env = 0.25 + env / 3.0
        cutoff = 0.02 + 0.08 * env
        lo1 += (white - lo1) * cutoff
        lo2 += (lo1 - lo2) * cutoff
        hi += (white - hi) * 0.5
        out.append(lo2 * env * 3.0 + (white - hi) * 0.015 * env)
    # the first and last 20 ms meet at silence
    fade = int(0.02 * RATE)
    for i in range(fade):
        out[i] *= i / fade
        out[-1 - i] *= i / fade
    return normalise(out, 0.5)


def splash():
    rng = Rng(202)
    n = int(1.8 * RATE)
    lo = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / 0.04) * math.exp(-t * 2.6)
        cutoff = 0.04 + 0.5 * math.exp(-t * 4.0)
        lo += (rng.uniform() * 2 - 1 - lo) * cutoff
        out.append(lo * env)
    return normalise(out, 0.7)


def bell():
    n = int(3.5 * RATE)
    partials = ((1.0, 1.0, 1.2), (2.0, 0.5, 1.8), (2.76, 0.35, 2.4), (5.4, 0.2, 3.5), (8.93, 0.1, 5.0))
    f0 = 660.0
    out = []
    for i in range(n):
        t = i / RATE
        s = sum(a * math.sin(2 * math.pi * f0 * r * t) * math.exp(-t * d) for r, a, d in partials)
        out.append(s * min(1.0, t / 0.003))
    return normalise(out, 0.6)


def door():
    rng = Rng(303)
    n = int(1.6 * RATE)
    out = []
    phase = 0.0
    lo = 0.0
    for i in range(n):
        t = i / RATE
        s = 0.0
        if t < 1.1:  # the hinge: a rough, wavering squeak
            f = 180 + 90 * math.sin(t * 7.0) + 40 * math.sin(t * 23.0)
            phase += f / RATE
            saw = (phase % 1.0) * 2 - 1
            s += saw * 0.25 * math.sin(math.pi * t / 1.1) * (0.6 + 0.4 * math.sin(t * 53.0))
        if t >= 1.15:  # the door falls shut
            u = t - 1.15
            lo += (rng.uniform() * 2 - 1 - lo) * 0.08
            s += (lo * 2.5 + math.sin(2 * math.pi * 70 * u) * 0.8) * math.exp(-u * 14.0)
        out.append(s)
    return normalise(out, 0.6)


# ---------------------------------------------------------------- MIDI files
def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def track_chunk(events):
    """events: (tick, bytes) in any order; written sorted, with an end of track."""
    events = sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80))
    data = bytearray()
    last = 0
    for tick, msg in events:
        data += vlq(tick - last) + msg
        last = tick
    data += vlq(0) + b"\xFF\x2F\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def notes(channel, seq, velocity, start=0, legato=0.95):
    """seq: (pitch or None, beats); returns note events in ticks (480 a beat)."""
    ev, tick = [], start
    for pitch, beats in seq:
        length = int(beats * 480)
        if pitch is not None:
            for p in (pitch if isinstance(pitch, tuple) else (pitch,)):
                ev.append((tick, bytes((0x90 | channel, p, velocity))))
                ev.append((tick + int(length * legato), bytes((0x80 | channel, p, 0))))
        tick += length
    return ev


def write_midi(path, bpm, name, parts):
    """parts: (channel, program, volume, events) for each instrument track."""
    tempo = int(60_000_000 / bpm)
    meta = [(0, b"\xFF\x03" + vlq(len(name)) + name.encode("ascii")),
            (0, b"\xFF\x51\x03" + tempo.to_bytes(3, "big")),
            (0, b"\xFF\x58\x04\x04\x02\x18\x08")]
    chunks = [track_chunk(meta)]
    for channel, program, volume, events in parts:
        setup = [(0, bytes((0xC0 | channel, program))), (0, bytes((0xB0 | channel, 7, volume))),
                 (0, bytes((0xB0 | channel, 91, 70)))]
        chunks.append(track_chunk(setup + events))
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), 480) + b"".join(chunks))


def umi():
    """A minor pentatonic, 66 beats a minute, 21 bars: about 76 seconds."""
    A3, C4, D4, E4, G4, A4, C5, D5, E5, G5 = 57, 60, 62, 64, 67, 69, 72, 74, 76, 79
    r = None
    phrase_a = [(E5, 1.5), (D5, 0.5), (C5, 1), (A4, 1), (G4, 2), (A4, 2),
                (C5, 1.5), (D5, 0.5), (E5, 1), (G5, 1), (E5, 3), (r, 1)]
    phrase_b = [(A4, 1.5), (C5, 0.5), (D5, 1), (E5, 1), (D5, 1.5), (C5, 0.5), (A4, 2),
                (G4, 1), (A4, 1), (C5, 1), (D5, 1), (A4, 4)]
    phrase_c = [(E5, 1), (G5, 1), (A4 + 12, 2), (G5, 1.5), (E5, 0.5), (D5, 2),
                (C5, 1), (D5, 1), (E5, 1), (C5, 1), (A4, 4)]
    melody = [(r, 4)] + phrase_a + phrase_b + phrase_a + phrase_c + [(r, 4), (A4, 2), (E4, 2), (A4, 8)]
    # bars of chords: Am, F, C, G under each four-bar phrase, held whole notes
    Am, F, C, G, Em = (45, 52, 57, 60), (41, 48, 53, 57), (48, 55, 60, 64), (43, 50, 55, 59), (40, 47, 52, 55)
    chords = [Am] + [Am, F, C, G] * 2 + [Am, F, C, G] + [Am, F, Em, Am] + [Am, F, Am]
    pad = [(ch, 4) for ch in chords]
    # a slow broken chord in the piano's left hand
    left = []
    for ch in chords:
        left += [(ch[0], 1), (ch[1], 1), (ch[2], 1), (ch[1], 1)]
    return [(0, 0, 96, notes(0, melody, 70) + notes(0, left, 44, legato=1.6)),
            (1, 49, 70, notes(1, pad, 40, legato=1.0))]


def asa():
    """C major pentatonic, 76 beats a minute, 15 bars: about 47 seconds."""
    C4, D4, E4, G4, A4, C5, D5, E5, G5, A5 = 60, 62, 64, 67, 69, 72, 74, 76, 79, 81
    r = None
    melody = [(r, 2), (G4, 1), (A4, 1),
              (C5, 2), (D5, 1), (E5, 1), (G5, 3), (E5, 1),
              (D5, 2), (C5, 1), (D5, 1), (E5, 4),
              (G5, 2), (A5, 1), (G5, 1), (E5, 2), (D5, 2),
              (C5, 1), (D5, 1), (E5, 1), (G4, 1), (A4, 4),
              (C5, 2), (D5, 1), (E5, 1), (G5, 2), (E5, 2),
              (D5, 1.5), (E5, 0.5), (D5, 1), (C5, 1), (C5, 4),
              (E5, 2), (D5, 2), (C5, 4), (r, 4)]
    Cm, Am, F, G = (48, 55, 64), (45, 57, 64), (41, 57, 60), (43, 55, 62)
    chords = [Cm, Cm, G, Am, F, Cm, G, Cm, F, G, Cm, Cm]
    left = []
    for ch in chords:
        left += [(ch[0], 1), (ch[1], 1), (ch[2], 1), (ch[1], 1)]
    return [(0, 0, 96, notes(0, melody, 72) + notes(0, left, 42, legato=1.5)),
            (1, 73, 60, notes(1, [(m[0] if m[0] is None else m[0] + 12, m[1]) for m in melody[9:21]], 34,
                                  start=480 * 16))]


def main():
    os.makedirs(os.path.join(ROOT, "cd"), exist_ok=True)
    out = lambda name: os.path.join(ROOT, name)
    steps = [
        ("night.bmp", lambda: write_bmp4(out("night.bmp"), night_scene(), NIGHT_PALETTE)),
        ("road.bmp", lambda: write_bmp565(out("road.bmp"), road_scene())),
        ("lamp.bmp", lambda: write_bmp8_rle(out("lamp.bmp"), lamp_scene())),
        ("dawn.bmp", lambda: write_bmp24(out("dawn.bmp"), dawn_scene())),
        ("umi.mid", lambda: write_midi(out("umi.mid"), 66, "umi", umi())),
        ("asa.mid", lambda: write_midi(out("asa.mid"), 76, "asa", asa())),
        ("cd/track02.wav", lambda: write_wav(out("cd/track02.wav"), waves_track())),
        ("nami.wav", lambda: write_wav(out("nami.wav"), splash())),
        ("kane.wav", lambda: write_wav(out("kane.wav"), bell())),
        ("tobira.wav", lambda: write_wav(out("tobira.wav"), door())),
    ]
    only = set(sys.argv[1:])
    for name, make in steps:
        if only and name not in only:
            continue
        make()
        print(f"demo/{name}: {os.path.getsize(out(name))} bytes")


if __name__ == "__main__":
    main()

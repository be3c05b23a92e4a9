#!/usr/bin/env python3
"""Draw the main window's pictures into resources/pictures/.

chartpanel.png  210 x 172  the picture under each live chart: a soft vertical
                           gradient with a recessed bed where the chart sits
                           (the chart is 186 x 154 at (12, 9) of the picture)
chartback.png   186 x 154  the live charts' background: a pale gradient with
                           a thin ten-by-ten grid
zevadav.png      64 x  64  the window icon: a thermometer on a rounded tile

Only the standard library is used, so the pictures can be redrawn anywhere:

    python3 tools/pictures/make-pictures.py resources/pictures

The output is byte-for-byte reproducible (no time stamps in the files).
"""
import math
import struct
import sys
import zlib
from pathlib import Path


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, 0..255."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    Path(path).write_bytes(data)


def mix(c1, c2, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a + (b - a) * t) for a, b in zip(c1, c2))


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def chart_panel():
    w, h = 210, 172
    top, bottom = hexrgb("#eef2f6"), hexrgb("#d3dbe4")
    # The chart's rectangle in picture coordinates; a bed one pixel larger frames it.
    x0, y0, x1, y1 = 12, 9, 12 + 186, 9 + 154
    rows = []
    for y in range(h):
        row = []
        base = mix(top, bottom, y / (h - 1))
        for x in range(w):
            c = base
            # Distance outside the chart rectangle (0 inside).
            dx = max(x0 - x, 0, x - (x1 - 1))
            dy = max(y0 - y, 0, y - (y1 - 1))
            d = math.hypot(dx, dy)
            if 0 < d <= 1.0:
                c = hexrgb("#8d9aa8")  # the bed's thin dark edge
            elif 1.0 < d <= 4.0:
                c = mix(hexrgb("#aab5c1"), base, (d - 1.0) / 3.0)  # soft shadow fading out
            # A faint highlight along the top and left edges of the picture.
            if y == 0 or x == 0:
                c = mix(c, (255, 255, 255), 0.6)
            if y == h - 1 or x == w - 1:
                c = mix(c, hexrgb("#9aa6b3"), 0.5)
            row.append(c + (255,))
        rows.append(row)
    return w, h, rows


def chart_back():
    w, h = 186, 154
    top, bottom = hexrgb("#fbfcfd"), hexrgb("#e9eff5")
    grid = hexrgb("#d9e1e9")
    columns = {round(i * (w - 1) / 10) for i in range(1, 10)}
    lines = {round(i * (h - 1) / 10) for i in range(1, 10)}
    rows = []
    for y in range(h):
        base = mix(top, bottom, y / (h - 1))
        row = []
        for x in range(w):
            c = base
            if x in columns or y in lines:
                c = mix(base, grid, 0.8)
            row.append(c + (255,))
        rows.append(row)
    return w, h, rows


def icon():
    size, ss = 64, 4  # drawn at 4 x 4 samples per pixel for smooth edges

    def rounded_box(px, py, x0, y0, x1, y1, r):
        cx = min(max(px, x0 + r), x1 - r)
        cy = min(max(py, y0 + r), y1 - r)
        return math.hypot(px - cx, py - cy) <= r

    def stem(px, py, half):
        return rounded_box(px, py, 28 - half, 9 - half, 28 + half, 44, half)

    def bulb(px, py, r):
        return math.hypot(px - 28, py - 47) <= r

    tile_top, tile_bottom = hexrgb("#3a8ca6"), hexrgb("#1f5a71")
    white, mercury = hexrgb("#f7fafc"), hexrgb("#e2574c")
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    px, py = x + (sx + 0.5) / ss, y + (sy + 0.5) / ss
                    colour = None
                    if rounded_box(px, py, 2, 2, 62, 62, 12):
                        colour = mix(tile_top, tile_bottom, (py - 2) / 60)
                        if stem(px, py, 6) or bulb(px, py, 10):
                            colour = white
                        if rounded_box(px, py, 25, 24, 31, 44, 3) or bulb(px, py, 6.5):
                            colour = mercury
                        # Scale marks to the right of the stem.
                        for i, mark in enumerate((14, 20, 26, 32, 38)):
                            length = 9 if i % 2 == 0 else 6
                            if 38 <= px <= 38 + length and mark - 1 <= py <= mark + 1:
                                colour = white
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = ss * ss
            if acc[3]:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(255 * acc[3] / n),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return size, size, rows


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "resources/pictures")
    out.mkdir(parents=True, exist_ok=True)
    for name, draw in (("chartpanel.png", chart_panel), ("chartback.png", chart_back), ("zevadav.png", icon)):
        w, h, rows = draw()
        write_png(out / name, w, h, rows)
        print(out / name, f"{w}x{h}")


if __name__ == "__main__":
    main()

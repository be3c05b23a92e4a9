#!/usr/bin/env python3
"""Draw the company logo of the about window into resources/pictures/logo.png.

logo.png  300 x 205  an emblem (a thermometer and a drop of water on a green
                     disc inside a sky-blue ring), the name ЗЕЛТ in block
                     letters, a rule and the letters НТП under it

Only the standard library is used. Every shape is a signed distance function,
so the edges are smoothed from the distance at the pixel centre instead of by
supersampling:

    python3 tools/pictures/make-logo.py resources/pictures

The output is byte-for-byte reproducible (no time stamps in the file).
"""
import math
import struct
import sys
import zlib
from pathlib import Path

WIDTH, HEIGHT = 300, 205

GREEN = (0x1B, 0x5E, 0x47)
GREEN_LIGHT = (0x2F, 0x8F, 0x6C)
SKY = (0x5B, 0x9B, 0xD5)
WHITE = (0xFF, 0xFF, 0xFF)
MERCURY = (0xD9, 0x46, 0x3B)
PAPER_TOP, PAPER_BOTTOM = (0xFF, 0xFF, 0xFF), (0xE4, 0xEF, 0xFA)


def write_png(path, width, height, rows):
    """rows: lists of (r, g, b) tuples, 0..255; written as an opaque RGB PNG."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    Path(path).write_bytes(data)


def mix(c1, c2, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


# Signed distances: negative inside, positive outside, in pixels.
def box(cx, cy, hw, hh):
    def d(x, y):
        dx, dy = abs(x - cx) - hw, abs(y - cy) - hh
        return math.hypot(max(dx, 0), max(dy, 0)) + min(max(dx, dy), 0)
    return d, (cx - hw, cy - hh, cx + hw, cy + hh)


def rect(x0, y0, x1, y1):
    return box((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2)


def stroke(x0, y0, x1, y1, hw):
    """A straight stroke with square ends from (x0, y0) to (x1, y1), half as wide as hw."""
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    inner, _ = box(0, 0, length / 2, hw)

    def d(x, y):
        px, py = x - cx, y - cy
        return inner(px * ux + py * uy, -px * uy + py * ux)
    return d, (min(x0, x1) - hw, min(y0, y1) - hw, max(x0, x1) + hw, max(y0, y1) + hw)


def capsule(x0, y0, x1, y1, r):
    def d(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = min(max(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy), 0), 1)
        return math.hypot(x - x0 - t * vx, y - y0 - t * vy) - r
    return d, (min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r, hw, right_half=False):
    def d(x, y):
        dist = abs(math.hypot(x - cx, y - cy) - r) - hw
        return max(dist, cx - x) if right_half else dist
    return d, (cx - r - hw, cy - r - hw, cx + r + hw, cy + r + hw)


def polygon(points):
    def d(x, y):
        best = float("inf")
        inside = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            vx, vy = bx - ax, by - ay
            t = min(max(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0), 1)
            best = min(best, math.hypot(x - ax - t * vx, y - ay - t * vy))
            if (ay > y) != (by > y) and x < ax + (y - ay) * vx / vy:
                inside = not inside
        return -best if inside else best
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return d, (min(xs), min(ys), max(xs), max(ys))


def union(*shapes):
    return (lambda x, y: min(s[0](x, y) for s in shapes),
            (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
             max(s[1][2] for s in shapes), max(s[1][3] for s in shapes)))


def clipped(shape, clip):
    return (lambda x, y: max(shape[0](x, y), clip[0](x, y)), clip[1])


# Block letters in a cell of width w and height h at (x, y), strokes s wide.
def letter_ze(x, y, w, h, s):
    mid = y + round(h * 0.47 - s / 2) + s / 2
    r_top = (mid - (y + s / 2)) / 2
    r_bottom = ((y + h - s / 2) - mid) / 2
    cx_top = x + w - s / 2 - r_top
    cx_bottom = x + w - s / 2 - r_bottom
    return union(
        ring(cx_top, y + s / 2 + r_top, r_top, s / 2, right_half=True),
        ring(cx_bottom, mid + r_bottom, r_bottom, s / 2, right_half=True),
        # The bars run a little into the bowls so that no seam shows where they meet.
        rect(x, y, cx_top + 2, y + s),
        rect(x + w * 0.3, mid - s / 2, max(cx_top, cx_bottom) + 2, mid + s / 2),
        rect(x, y + h - s, cx_bottom + 2, y + h),
    )


def letter_ie(x, y, w, h, s):
    mid = y + round(h / 2 - s / 2)
    return union(rect(x, y, x + s, y + h), rect(x, y, x + w, y + s),
                 rect(x, mid, x + w * 0.85, mid + s), rect(x, y + h - s, x + w, y + h))


def letter_el(x, y, w, h, s):
    leg = clipped(stroke(x + s * 0.2, y + h + s, x + w * 0.3 + s / 2, y, s / 2), rect(x, y, x + w, y + h))
    return union(leg, rect(x + w * 0.3, y, x + w, y + s), rect(x + w - s, y, x + w, y + h))


def letter_te(x, y, w, h, s):
    return union(rect(x, y, x + w, y + s), rect(x + w / 2 - s / 2, y, x + w / 2 + s / 2, y + h))


def letter_en(x, y, w, h, s):
    return union(rect(x, y, x + s, y + h), rect(x + w - s, y, x + w, y + h),
                 rect(x, y + h / 2 - s / 2, x + w, y + h / 2 + s / 2))


def letter_pe(x, y, w, h, s):
    return union(rect(x, y, x + s, y + h), rect(x + w - s, y, x + w, y + h), rect(x, y, x + w, y + s))


def word(letters, left, top, w, h, s, gap):
    return [draw(left + i * (w + gap), top, w, h, s) for i, draw in enumerate(letters)]


def layers():
    cx, cy = 150, 60
    disc = lambda x, y: mix(GREEN_LIGHT, GREEN, (y - (cy - 42)) / 84)
    shapes = [
        (ring(cx, cy, 49, 1.5), SKY),
        (circle(cx, cy, 43), disc),
        # Thermometer: a white tube with its scale, the red column and bulb inside.
        (capsule(cx - 12, cy - 28, cx - 12, cy + 12, 6.5), WHITE),
        (circle(cx - 12, cy + 18, 11), WHITE),
        (capsule(cx - 12, cy - 6, cx - 12, cy + 12, 2.8), MERCURY),
        (circle(cx - 12, cy + 18, 7), MERCURY),
    ]
    for i, mark in enumerate((-24, -17, -10, -3)):
        length = 6 if i % 2 == 0 else 4
        shapes.append((rect(cx - 3, cy + mark - 1, cx - 3 + length, cy + mark + 1), WHITE))
    # A drop of water: a disc and the two tangents up to its tip.
    dx, dy, dr, tip = cx + 18, cy + 12, 10, cy - 18
    half = math.asin(dr / (dy - tip))
    tangent = [(dx - dr * math.cos(half), dy - dr * math.sin(half)), (dx, tip),
               (dx + dr * math.cos(half), dy - dr * math.sin(half))]
    shapes.append((union(circle(dx, dy, dr), polygon(tangent + [(dx, dy)])), WHITE))
    shapes.append((capsule(dx - 4.5, dy - 1, dx - 3, dy + 4, 1.6), SKY))  # its gleam

    shapes += [(s, GREEN) for s in word((letter_ze, letter_ie, letter_el, letter_te), 62, 120, 37, 48, 9, 11)]
    shapes.append((rect(60, 177, 240, 179), SKY))
    shapes += [(s, GREEN) for s in word((letter_en, letter_te, letter_pe), 129, 185, 10, 12, 2.2, 6)]
    return shapes


def draw():
    shapes = layers()
    rows = []
    for py in range(HEIGHT):
        row = []
        for px in range(WIDTH):
            x, y = px + 0.5, py + 0.5
            colour = mix(PAPER_TOP, PAPER_BOTTOM, y / HEIGHT)
            for (d, (x0, y0, x1, y1)), paint in shapes:
                if x < x0 - 1 or x > x1 + 1 or y < y0 - 1 or y > y1 + 1:
                    continue
                cover = min(max(0.5 - d(x, y), 0.0), 1.0)
                if cover > 0:
                    colour = mix(colour, paint(x, y) if callable(paint) else paint, cover)
            row.append(tuple(round(c) for c in colour))
        rows.append(row)
    return rows


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "resources/pictures")
    out.mkdir(parents=True, exist_ok=True)
    write_png(out / "logo.png", WIDTH, HEIGHT, draw())
    print(out / "logo.png", f"{WIDTH}x{HEIGHT}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the add-in's logo (logo.bmp, resource 9004) and title-bar icon
(search.ico, "IDI_ICON_SEARCH") from code, so that both can be remade and
changed without an image editor. Plain Python, no imaging library.

The logo is 85 x 20 pixels at 24 bits per pixel: a pea pod and the word
"Marrowfield". The icon, at 16 and 32 pixels with an alpha channel, is a
magnifying glass with a pea in its lens.

Usage: make_images.py [output folder]   (default: this script's folder)
"""
import math
import os
import struct
import sys

BACKGROUND = (0x2E, 0x6B, 0x30)
POD = (0x7C, 0xB3, 0x42)
PEA = (0xC5, 0xE1, 0xA5)
PEA_SHADE = (0x8B, 0xC3, 0x4A)
LETTER = (0xF4, 0xF1, 0xDE)

# Glyphs of the word, seven rows each, '#' for ink.
GLYPHS = {
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "f": [".##", "#..", "###", "#..", "#..", "#..", "#.."],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "e": ["....", "....", ".##.", "#..#", "####", "#...", ".###"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    "d": ["...#", "...#", ".###", "#..#", "#..#", "#..#", ".###"],
}


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def logo_pixels(width=85, height=20):
    pixels = [[BACKGROUND] * width for _ in range(height)]
    # The pod: a flat ellipse, lighter at its rim.
    cx, cy, rx, ry = 12.0, 9.5, 10.5, 6.0
    for y in range(height):
        for x in range(width):
            d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
            if d <= 1.0:
                pixels[y][x] = POD
    # Three peas in the pod, each with a shaded lower edge.
    for px in (6.5, 12.5, 18.5):
        for y in range(height):
            for x in range(width):
                d = math.hypot(x + 0.5 - px, y + 0.5 - 9.5)
                if d <= 2.55:
                    shade = max(0.0, (y + 0.5 - 9.5) / 2.55)
                    pixels[y][x] = blend(PEA, PEA_SHADE, shade)
    # The word, baseline-aligned, one blank column between letters.
    x = 28
    top = 7
    for letter in "Marrowfield":
        glyph = GLYPHS[letter]
        for row, line in enumerate(glyph):
            for column, ink in enumerate(line):
                if ink == "#":
                    pixels[top + row][x + column] = LETTER
        x += len(glyph[0]) + 1
    assert x <= width, "the word does not fit"
    return pixels


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + body)


def icon_pixels(size):
    """A magnifying glass: a dark green ring, a pea in the lens, a handle
    to the lower right. RGBA rows, top first, edges anti-aliased by
    sampling each pixel four by four."""
    s = size / 32.0
    ring_c, ring_r, ring_w = (13 * s, 13 * s), 9.5 * s, 2.6 * s
    pea_r = 4.6 * s
    handle_a, handle_b, handle_w = (19.5 * s, 19.5 * s), (29 * s, 29 * s), 2.4 * s
    ink = (0x1B, 0x5E, 0x20)

    def segment_distance(x, y):
        (ax, ay), (bx, by) = handle_a, handle_b
        t = ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / (
            (bx - ax) ** 2 + (by - ay) ** 2)
        t = min(1.0, max(0.0, t))
        return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay)))

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = {"ink": 0, "pea": 0, "lens": 0}
            for sy in range(4):
                for sx in range(4):
                    fx, fy = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
                    d = math.hypot(fx - ring_c[0], fy - ring_c[1])
                    if abs(d - ring_r) <= ring_w / 2 or \
                            segment_distance(fx, fy) <= handle_w / 2:
                        hits["ink"] += 1
                    elif d <= pea_r:
                        hits["pea"] += 1
                    elif d < ring_r:
                        hits["lens"] += 1
            total = 16.0
            colour = [0.0, 0.0, 0.0]
            alpha = 0.0
            for key, rgb, a in (("ink", ink, 1.0), ("pea", PEA_SHADE, 1.0),
                                ("lens", (0xFF, 0xFF, 0xFF), 0.55)):
                weight = hits[key] / total * a
                alpha += weight
                for i in range(3):
                    colour[i] += rgb[i] * weight
            if alpha > 0:
                colour = [round(c / alpha) for c in colour]
            row.append((*(int(c) for c in colour), round(min(1.0, alpha) * 255)))
        rows.append(row)
    return rows


def icon_image(size):
    rows = icon_pixels(size)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # the alpha channel decides
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(image), offset)
        offset += len(image)
    with open(path, "wb") as file:
        file.write(out + b"".join(images))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(
        os.path.abspath(__file__))
    write_bmp(os.path.join(folder, "logo.bmp"), logo_pixels())
    write_ico(os.path.join(folder, "search.ico"), [16, 32])


if __name__ == "__main__":
    main()

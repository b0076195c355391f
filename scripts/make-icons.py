#!/usr/bin/env python3
"""Draws the program icon: two overlapping capital A's, green and blue, on a light grey tile.

Writes the 16 x 16 original, nearest-neighbour enlargements for the desktop, an SVG and a Windows
icon of the same pixels, so every size shows the same crisp pixel art. Run from the repository
root.
"""
import struct
import zlib
from pathlib import Path

LETTER_A = [
    "...#...",
    "..###..",
    "..#.#..",
    ".##.##.",
    ".#...#.",
    ".#####.",
    "##...##",
    "#.....#",
    "#.....#",
    "#.....#",
]
TILE = (0xD8, 0xD8, 0xD8)
EDGE = (0xA0, 0xA0, 0xA0)
GREEN = (0x00, 0xA0, 0x00)
BLUE = (0x10, 0x40, 0xE0)
SIZE = 16


def pixels():
    grid = [[TILE] * SIZE for _ in range(SIZE)]
    for i in range(SIZE):
        grid[0][i] = grid[SIZE - 1][i] = grid[i][0] = grid[i][SIZE - 1] = EDGE
    for colour, (ox, oy) in ((GREEN, (1, 1)), (BLUE, (7, 5))):
        for y, line in enumerate(LETTER_A):
            for x, ch in enumerate(line):
                if ch == "#":
                    grid[oy + y][ox + x] = colour
    return grid


def png(grid, scale):
    size = SIZE * scale
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            raw.extend(grid[y // scale][x // scale])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def ico(grid):
    """A Windows icon of the same pixels: 16 to 64 as plain bitmaps, 256 as PNG, as Windows keeps them."""
    images = []
    for px in (16, 32, 48, 64):
        scale = px // SIZE
        pixels = bytearray()
        for y in reversed(range(px)):  # bottom row first
            for x in range(px):
                r, g, b = grid[y // scale][x // scale]
                pixels.extend((b, g, r, 0xFF))
        mask = bytes(((px + 31) // 32 * 4) * px)  # all opaque: the alpha channel decides
        header = struct.pack("<IiiHHIIiiII", 40, px, px * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        images.append((px, header + bytes(pixels) + mask))
    images.append((256, png(grid, 256 // SIZE)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for px, data in images:
        out += struct.pack("<BBBBHHII", px % 256, px % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def svg(grid):
    rects = []
    for y, row in enumerate(grid):
        for x, (r, g, b) in enumerate(row):
            rects.append(f'<rect x="{x}" y="{y}" width="1" height="1" fill="#{r:02x}{g:02x}{b:02x}"/>')
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 16 16" '
            'shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n")


def main():
    out = Path("resources/icons")
    out.mkdir(parents=True, exist_ok=True)
    grid = pixels()
    for px in (16, 32, 48, 64, 128, 256):
        (out / f"glyphwright-{px}.png").write_bytes(png(grid, px // SIZE))
    (out / "glyphwright.svg").write_text(svg(grid))
    (out / "glyphwright.ico").write_bytes(ico(grid))


if __name__ == "__main__":
    main()

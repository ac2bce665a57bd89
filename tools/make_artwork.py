#!/usr/bin/env python3
"""Draws the program's icon and the two banner bitmaps and writes them into resources/, and the
web page's icons (the same drop, as PNG) into web/.

    python3 tools/make_artwork.py [output folder [web output folder]]

The generated files are kept in the repository, so the build itself never runs this script.
Only the standard library is used: the BMP and ICO files are written byte by byte and the
lettering comes from the small 5 x 7 bitmap font below.

The banner button shows only the top-left part of its bitmap, about 564 x 66 pixels with the
usual dialog base units (8 pt MS Sans Serif, 6 x 13), less the 2-pixel client edge, so all
drawing stays inside the top-left 556 x 60 pixels; the rest of each bitmap continues the
background so that a larger button still looks finished.
"""

import os
import re
import struct
import sys
import zlib

# Contact details, the same as in the About box of resources/ruruzir.rc.
VOICE = "+1 555 0142"
FAX = "+1 555 0143"
EMAIL = "help@ruruzir.example"
WEB = "ruruzir.example"

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def project_version():
    """The major.minor version from project() in CMakeLists.txt, the project's one version."""
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as cmake_lists:
        text = cmake_lists.read()
    match = re.search(r"^project\(\S+ VERSION (\d+)\.(\d+)", text, re.MULTILINE)
    if not match:
        sys.exit("make_artwork: no project(... VERSION ...) in CMakeLists.txt")
    return match.group(1) + "." + match.group(2)


# The 16 colours of the standard Windows palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# 5 x 7 glyphs, one string of five cells per row, "#" set, from the cap line down to the base
# line; letters with descenders (g, j, p, q, y and the comma) have two more rows below it.
FONT = {
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####."],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    "d": ["....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#..."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "j": ["...#.", ".....", "..##.", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "q": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "y": [".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "z": [".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    ",": [".....", ".....", ".....", ".....", ".....", ".##..", ".##..", "..#..", ".#..."],
    ":": [".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."],
    "/": [".....", "....#", "...#.", "..#..", ".#...", "#....", "....."],
    "@": [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"],
    "(": ["...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."],
    ")": [".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
}
GLYPH_ADVANCE = 6  # glyph plus one blank column


class Canvas:
    """A grid of palette indices, row 0 at the top."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle with corners (left, top) included and (right, bottom) excluded."""
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = colour

    def text(self, x, y, string, colour, scale=1, shadow=None):
        """Writes string with its top-left corner at (x, y); returns the x after the last glyph."""
        if shadow is not None:
            self.text(x + scale, y + scale, string, shadow, scale)
        for character in string:
            rows = FONT[character]
            for row_index, row in enumerate(rows):
                for column, cell in enumerate(row):
                    if cell == "#":
                        self.fill(x + column * scale, y + row_index * scale,
                                  x + (column + 1) * scale, y + (row_index + 1) * scale, colour)
            x += GLYPH_ADVANCE * scale
        return x


def text_width(string, scale=1):
    return (len(string) * GLYPH_ADVANCE - 1) * scale


def inside_drop(x, y, centre_x, tip_y, bulb_y, radius):
    """True when the point lies inside a water drop with its tip at (centre_x, tip_y) and a
    round bulb of the given radius centred at (centre_x, bulb_y)."""
    dx = x - centre_x
    dy = y - bulb_y
    if dx * dx + dy * dy <= radius * radius:
        return True
    if tip_y <= y <= bulb_y:
        # The sides run from the tip to the bulb and flare out as they approach it.
        fraction = (y - tip_y) / (bulb_y - tip_y)
        return abs(dx) <= radius * fraction ** 1.4
    return False


def draw_drop(canvas, left, top, size, body, shade, highlight, sampling=4):
    """Draws a water drop filling a size x size square whose top-left corner is (left, top).
    Each pixel is sampled sampling x sampling times; pixels that are mostly inside are drawn."""
    centre_x = size / 2.0
    radius = size * 0.30
    tip_y = size * 0.06
    bulb_y = size * 0.64
    for py in range(size):
        for px in range(size):
            hits = 0
            for sy in range(sampling):
                for sx in range(sampling):
                    x = px + (sx + 0.5) / sampling
                    y = py + (sy + 0.5) / sampling
                    if inside_drop(x, y, centre_x, tip_y, bulb_y, radius):
                        hits += 1
            if hits * 2 < sampling * sampling:
                continue
            x = px + 0.5
            y = py + 0.5
            colour = body
            # Shade the lower right rim, light a small spot on the upper left of the bulb.
            dx = x - centre_x
            dy = y - bulb_y
            if dx + dy > radius * 0.55 and dx * dx + dy * dy > (radius * 0.55) ** 2:
                colour = shade
            hx = x - (centre_x - radius * 0.38)
            hy = y - (bulb_y - radius * 0.30)
            if (hx * hx) / (radius * 0.20) ** 2 + (hy * hy) / (radius * 0.32) ** 2 <= 1.0:
                colour = highlight
            canvas.set(left + px, top + py, colour)


def draw_logo_panel(canvas, left, top, size, offset):
    """The logo: a stylised water drop on a dark square with a light rim."""
    canvas.fill(left, top, left + size, top + size, NAVY)
    canvas.fill(left, top, left + size, top + 1, BLUE)
    canvas.fill(left, top, left + 1, top + size, BLUE)
    canvas.fill(left, top + size - 1, left + size, top + size, BLACK)
    canvas.fill(left + size - 1, top, left + size, top + size, BLACK)
    margin = 6
    draw_drop(canvas, left + margin + offset, top + margin + offset - 2, size - 2 * margin,
              AQUA, TEAL, WHITE)


def make_banner_up():
    width, height = 760, 156
    canvas = Canvas(width, height, TEAL)
    logo = 60
    draw_logo_panel(canvas, 0, 0, logo, 0)
    canvas.fill(logo, 0, logo + 2, height, SILVER)
    x0 = logo + 12
    canvas.text(x0, 6, "RURUZIR INSTRUMENTS", YELLOW, 2, shadow=BLACK)
    canvas.text(x0 + text_width("RURUZIR INSTRUMENTS", 2) + 16, 13,
                "Dewpoint Calculator " + project_version(), WHITE)
    canvas.fill(x0, 26, 552, 27, SILVER)
    canvas.text(x0, 34, "Voice  " + VOICE, WHITE)
    canvas.text(x0, 46, "Fax    " + FAX, WHITE)
    x1 = x0 + 150
    canvas.text(x1, 34, "E-mail " + EMAIL, WHITE)
    canvas.text(x1, 46, "Web    " + WEB, WHITE)
    return canvas


def make_banner_down():
    width, height = 672, 160
    canvas = Canvas(width, height, BLUE)
    logo = 60
    # Pressed: the logo sinks by one pixel and the text panel invites a visit.
    draw_logo_panel(canvas, 0, 0, logo, 1)
    canvas.fill(logo, 0, logo + 2, height, SILVER)
    x0 = logo + 14
    canvas.text(x0, 7, "Click to visit", WHITE, 2, shadow=NAVY)
    canvas.text(x0, 28, WEB, YELLOW, 3, shadow=NAVY)
    return canvas


def bitmap_4bit_rows(canvas):
    """The pixel rows of a 4-bit bitmap, bottom row first, each padded to 4 bytes."""
    stride = ((canvas.width * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = canvas.pixels[y]
        line = bytearray(stride)
        for x, colour in enumerate(row):
            if x % 2 == 0:
                line[x // 2] |= colour << 4
            else:
                line[x // 2] |= colour
        data += line
    return bytes(data)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in PALETTE)


def info_header(width, height, bit_count, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, image_size, 3780,
                       3780, 16, 0)


def bmp_file(canvas):
    pixels = bitmap_4bit_rows(canvas)
    header = info_header(canvas.width, canvas.height, 4, len(pixels))
    offset = 14 + len(header) + 16 * 4
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + header + palette_bytes() + pixels


def make_icon(size):
    """The application icon: the logo drop on a dark rounded square; corners transparent."""
    canvas = Canvas(size, size, NAVY)
    mask = [[0] * size for _ in range(size)]
    corner = max(2, size // 8)
    for y in range(size):
        for x in range(size):
            cx = min(x, size - 1 - x)
            cy = min(y, size - 1 - y)
            if cx < corner and cy < corner:
                dx = corner - cx - 0.5
                dy = corner - cy - 0.5
                if dx * dx + dy * dy > corner * corner:
                    mask[y][x] = 1
                    canvas.pixels[y][x] = BLACK
    margin = max(1, size // 16)
    draw_drop(canvas, margin, margin, size - 2 * margin, AQUA, TEAL, WHITE)
    return canvas, mask


def icon_image(canvas, mask):
    xor = bitmap_4bit_rows(canvas)
    mask_stride = ((canvas.width + 31) // 32) * 4
    and_bits = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        line = bytearray(mask_stride)
        for x in range(canvas.width):
            if mask[y][x]:
                line[x // 8] |= 0x80 >> (x % 8)
        and_bits += line
    header = info_header(canvas.width, canvas.height * 2, 4, len(xor) + len(and_bits))
    return header + palette_bytes() + xor + bytes(and_bits)


def ico_file(images):
    """images: list of (size, image bytes)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    body = b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image),
                               offset)
        offset += len(image)
        body += image
    return directory + entries + body


def png_file(canvas, mask=None):
    """An 8-bit RGBA PNG of the canvas; pixels set in mask are transparent."""
    rows = bytearray()
    for y in range(canvas.height):
        rows.append(0)  # no filter
        for x in range(canvas.width):
            red, green, blue = PALETTE[canvas.pixels[y][x]]
            rows += bytes((red, green, blue, 0 if mask and mask[y][x] else 255))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def make_web_icon(size, maskable):
    """The page's icon: the program icon's drop on its navy square. A maskable icon fills the
    whole square and keeps the drop inside the middle 80 %, where a phone's mask never cuts."""
    if not maskable:
        return make_icon(size)
    canvas = Canvas(size, size, NAVY)
    margin = size // 5
    draw_drop(canvas, margin, margin, size - 2 * margin, AQUA, TEAL, WHITE, sampling=2)
    return canvas, None


def web_icons():
    """The files the page's manifest and head name."""
    return {
        "icon-192.png": png_file(*make_web_icon(192, False)),
        "icon-512.png": png_file(*make_web_icon(512, False)),
        "icon-maskable-512.png": png_file(*make_web_icon(512, True)),
        "icon-180.png": png_file(*make_web_icon(180, True)),
    }


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources")
    web_folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "web")
    outputs = {
        "banner_up.bmp": bmp_file(make_banner_up()),
        "banner_down.bmp": bmp_file(make_banner_down()),
        "ruruzir.ico": ico_file([(size, icon_image(*make_icon(size))) for size in (32, 16)]),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as output:
            output.write(data)
    for name, data in web_icons().items():
        with open(os.path.join(web_folder, name), "wb") as output:
            output.write(data)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Generates the icons and bitmaps of Marnell2.rc.

Text and anti-aliased shapes are drawn by ImageMagick 6 (/usr/bin/convert)
and read back as PPM/PGM; every file is then written here byte by byte, so
the bit depths, compression and palettes are exactly what the resource
script promises. Run from anywhere; it writes into app/res/.
"""
import os
import re
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)
CONVERT = "/usr/bin/convert"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
RED_TOP, RED_BOTTOM = "#E0283F", "#A50E26"
# The paused look: the same tile in slate grey, so that "off" reads at a glance.
GREY_TOP, GREY_BOTTOM = "#8C959F", "#59616B"
# The version as the build has it: project(Marnell VERSION x.y.z ...) in CMakeLists.txt.
with open(os.path.join(HERE, "..", "..", "..", "CMakeLists.txt"), encoding="utf-8") as cmake_lists:
    VERSION = re.search(r"project\(Marnell VERSION ([0-9.]+)", cmake_lists.read()).group(1)


def magick(args, fmt):
    """Runs convert and returns (width, height, rows of pixel tuples)."""
    data = subprocess.run([CONVERT] + args + ["-depth", "8", fmt + ":-"],
                          check=True, stdout=subprocess.PIPE).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    w, h = int(fields[1]), int(fields[2])
    ch = 3 if fields[0] == b"P6" else 1
    px = data[pos:pos + w * h * ch]
    return w, h, [[tuple(px[(y * w + x) * ch:(y * w + x) * ch + ch])
                   for x in range(w)] for y in range(h)]


def rgba(args):
    """Colour and alpha of one ImageMagick drawing, as rows of (r, g, b, a)."""
    w, h, rgb = magick(args + ["-background", "black", "-alpha", "off"], "ppm")
    _, _, a = magick(args + ["-alpha", "extract"], "pgm")
    return [[rgb[y][x] + a[y][x] for x in range(w)] for y in range(h)]


def tile_args(size, glyph=True, top=RED_TOP, bottom=RED_BOTTOM):
    """The logo: a white w-circumflex on a rounded Welsh-red tile.

    The glyph goes onto the gradient first and the rounded shape cuts the
    corners last: drawing text after a DstIn composite makes ImageMagick 6
    drop the alpha channel, which left the corners black.
    """
    r = max(2, size // 5)
    pt = size * 0.78
    text = ["-font", FONT_BOLD, "-pointsize", "%.1f" % pt, "-fill", "white",
            "-gravity", "center", "-annotate", "+0+%d" % (-size // 24), "\u0175"] if glyph else []
    return ["-size", "%dx%d" % (size, size), "gradient:%s-%s" % (top, bottom)] + text + [
            "(", "-size", "%dx%d" % (size, size), "xc:none", "-fill", "white",
            "-draw", "roundrectangle 0,0 %d,%d %d,%d" % (size - 1, size - 1, r, r), ")",
            "-compose", "DstIn", "-composite", "-compose", "Over", "-gravity", "northwest"]


def over(fg, bg):
    a = fg[3] / 255.0
    return tuple(int(round(fg[i] * a + bg[i] * (1 - a))) for i in range(3))


# Hand-drawn 16x16: at this size a rendered glyph blurs, so the w and its
# circumflex are placed pixel by pixel. '#' tile, '.' glyph, ' ' transparent.
ICON16 = [
    "  ############  ",
    " ############## ",
    "#######..#######",
    "######.##.######",
    "################",
    "#..####..####..#",
    "#..####..####..#",
    "#..####..####..#",
    "##..##....##..##",
    "##..##.##.##..##",
    "##..#..##..#..##",
    "###...####...###",
    "###..######..###",
    "################",
    " ############## ",
    "  ############  ",
]

# The notification area's sizes at 125% and 150% (and, doubled, at 250% and
# 300%) are drawn the same way: never a 16 x 16 resized.
ICON20 = [
    "   ##############   ",
    "  ################  ",
    " ################## ",
    "#########..#########",
    "########.##.########",
    "#######.####.#######",
    "####################",
    "##..#####..#####..##",
    "##..#####..#####..##",
    "##..#####..#####..##",
    "###..###....###..###",
    "###..###....###..###",
    "###..##..##..##..###",
    "####..#..##..#..####",
    "####.....##.....####",
    "#####...####...#####",
    "#####..######..#####",
    " ################## ",
    "  ################  ",
    "   ##############   ",
]

ICON24 = [
    "    ################    ",
    "  ####################  ",
    " ###################### ",
    " ###################### ",
    "###########..###########",
    "##########....##########",
    "#########..##..#########",
    "########..####..########",
    "########################",
    "##...######..######...##",
    "##...######..######...##",
    "###...####....####...###",
    "###...####....####...###",
    "###...###..##..###...###",
    "####...##..##..##...####",
    "####...#..####..#...####",
    "####......####......####",
    "#####....######....#####",
    "#####...########...#####",
    "######..########..######",
    "########################",
    " ###################### ",
    "  ####################  ",
    "    ################    ",
]


def hex_rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def pixel_icon(drawing, top=RED_TOP, bottom=RED_BOTTOM):
    """A hand-drawn frame: the tile's gradient from top to bottom, the glyph white."""
    rows = []
    last = len(drawing) - 1
    for y, line in enumerate(drawing):
        t = y / float(last)
        red = tuple(int(round(a + (b - a) * t)) for a, b in zip(hex_rgb(top), hex_rgb(bottom)))
        rows.append([red + (255,) if c == "#" else (255, 255, 255, 255) if c == "."
                     else (0, 0, 0, 0) for c in line])
    return rows


def icon16(top=RED_TOP, bottom=RED_BOTTOM):
    return pixel_icon(ICON16, top, bottom)


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def doubled_icon(drawing, top=RED_TOP, bottom=RED_BOTTOM):
    """Twice a hand-drawn frame's size: the tile drawn smooth, the glyph its pixels doubled.

    A doubled pixel grid stays crisp where a rendered glyph blurs, and halves
    back to the hand-drawn frame where a system shrinks it.
    """
    size = 2 * len(drawing)
    rows = rgba(tile_args(size, glyph=False, top=top, bottom=bottom))
    for y, line in enumerate(drawing):
        for x, c in enumerate(line):
            if c == ".":
                for dy in (0, 1):
                    for dx in (0, 1):
                        rows[2 * y + dy][2 * x + dx] = (255, 255, 255, 255)
    return rows


def icon32(top=RED_TOP, bottom=RED_BOTTOM):
    """The 32 x 32 image: the 16 x 16 one's glyph doubled on the smooth tile."""
    return doubled_icon(ICON16, top, bottom)


def tray_frames(top=RED_TOP, bottom=RED_BOTTOM):
    """The notification area's small icon at 100% to 300%, each drawn, 32-bit with alpha."""
    return [(doubled_icon(ICON24, top, bottom), 32), (doubled_icon(ICON20, top, bottom), 32),
            (doubled_icon(ICON16, top, bottom), 32), (pixel_icon(ICON24, top, bottom), 32),
            (pixel_icon(ICON20, top, bottom), 32), (pixel_icon(ICON16, top, bottom), 32)]


def dib_rows(rows, bpp, palette=None):
    """Bottom-up DIB rows padded to 4 bytes."""
    out = b""
    for y in range(len(rows) - 1, -1, -1):
        row = rows[y]
        if bpp == 24:
            line = b"".join(bytes((p[2], p[1], p[0])) for p in row)
        elif bpp == 32:
            line = b"".join(bytes((p[2], p[1], p[0], 0)) for p in row)
        elif bpp == 16:
            # Ordered dithering: five bits a channel would band the gradients.
            line = b""
            for x, p in enumerate(row):
                r, g, b = (min(255, c + BAYER4[y % 4][x % 4] // 2) >> 3 for c in p)
                line += struct.pack("<H", (r << 10) | (g << 5) | b)
        else:
            line = bytes(palette.index(p) if palette else p for p in row)
        out += line + b"\0" * ((-len(line)) % 4)
    return out


def info_header(w, h, bpp, compression=0, size_image=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression,
                       size_image, 2835, 2835, colours, colours)


def write_bmp(name, header, palette_bytes, bits):
    offset = 14 + len(header) + len(palette_bytes)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset))
        f.write(header + palette_bytes + bits)


def icon_image(rows, bpp):
    """One icon directory entry's image: header, colours, XOR bits, AND mask."""
    size = len(rows)
    # Edge pixels keep the tile's own colour: blending them with white would
    # leave a light fringe on a dark taskbar.
    flat = [(0, 0, 0) if p[3] < 128 else p[:3] for row in rows for p in row]
    pal = b""
    colours = 0
    if bpp == 8:
        palette = sorted(set(flat))
        assert len(palette) <= 256
        pal = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
        pal += b"\0" * (4 * (256 - len(palette)))
        colours = 256
        xor = dib_rows([flat[y * size:(y + 1) * size] for y in range(size)], 8, palette)
    elif bpp == 32:
        # Colour and alpha; transparent pixels black, as in the other depths.
        xor = b"".join(b"".join(bytes((0, 0, 0, 0)) if p[3] == 0 else bytes((p[2], p[1], p[0], p[3]))
                                for p in row) for row in reversed(rows))
    else:
        xor = dib_rows([flat[y * size:(y + 1) * size] for y in range(size)], 24)
    mask = b""
    for row in reversed(rows):
        bits = 0
        line = b""
        for x, p in enumerate(row):
            bits = (bits << 1) | (1 if p[3] < 128 else 0)
            if x % 8 == 7:
                line += bytes((bits,))
                bits = 0
        mask += line + b"\0" * ((-len(line)) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, colours if bpp == 8 else 0, 0)
    return header + pal + xor + mask, colours


def write_icon(name, images):
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for rows, bpp in images:
        blob, colours = icon_image(rows, bpp)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp,
                               len(blob), offset + len(blobs))
        blobs += blob
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


def rle8(rows):
    """BI_RLE8 in encoded runs only (bottom-up), ending in end-of-bitmap."""
    out = b""
    for row in reversed(rows):
        x = 0
        while x < len(row):
            n = 1
            while x + n < len(row) and n < 255 and row[x + n] == row[x]:
                n += 1
            out += bytes((n, row[x]))
            x += n
        out += b"\0\0"
    return out[:-2] + b"\0\1"


def splash_mask(w, h):
    """255 over the body; a soft rim at the top-left, a shadow band at the right and bottom."""
    band = 7

    def fall(i):  # i = 0 next to the body .. band-1 at the outer edge
        return 231 - (231 - 16) * i / (band - 1)

    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if y == 0 or y == h - 1 or x == w - 1:
                v = 0
            else:
                fx = fall(x - (w - 1 - band)) / 255.0 if x >= w - 1 - band else 1.0
                fy = fall(min(y - (h - 2 - 8 + 1), band - 1) if y < h - 2 else band - 1) / 255.0 \
                    if y >= h - 1 - 8 else 1.0
                if y >= h - 1 - 8:
                    fy = (231 - (231 - 16) * (y - (h - 1 - 8)) / 7) / 255.0
                v = 255 * fx * fy
                if x == 0 or y == 1:
                    v = min(v, 231)
            row.append(int(round(v)))
        rows.append(row)
    return rows


# The splash image doubles as the About box's picture, which shows it plain,
# without the mask. The shadow band, near black in the image, then shows at
# the right and the bottom; a border of the same colour at the left and the
# top makes it a frame all round the dark card. The About box cuts about 4
# pixels off each side on Windows and shows the whole width under Wine, so
# the border is as wide as the shadow band.
CARD_TOP, CARD_BOTTOM = "#353A45", "#1E2128"
SHADOW = (22, 24, 29)
BORDER = 8


def splash_image(w, h):
    """Bitmap 142 (and 146): a dark card with the tile, the name and the notice.

    The About box centres this picture and lays its OK button over the bottom
    middle (image columns 160..250, rows 236..268 on Windows and under Wine),
    so nothing is drawn there.
    """
    bw, bh = w - 1 - 7 - 1, h - 2 - 8 - 1  # body: columns 1..w-9, rows 2..h-10
    logo = 112
    body = rgba([
        "-size", "%dx%d" % (bw, bh), "gradient:%s-%s" % (CARD_TOP, CARD_BOTTOM),
        "(", ] + tile_args(logo) + [")", "-gravity", "northwest",
        "-geometry", "+%d+%d" % (22, 46), "-composite",
        "-gravity", "northwest",
        "-font", FONT, "-pointsize", "11", "-fill", "#B4BAC6",
        "-annotate", "+%d+%d" % (22, bh - 44), "Cymraeg ar",
        "-annotate", "+%d+%d" % (22, bh - 29), "bob bysellfwrdd",
        "-font", FONT_BOLD, "-pointsize", "44", "-fill", "#FFFFFF",
        "-annotate", "+158+40", "Marnell",
        "-fill", RED_TOP, "-draw", "rectangle 160,102 214,105",
        "-font", FONT, "-pointsize", "13", "-fill", "#D6DAE2",
        "-annotate", "+160+116", "Welsh accents on any keyboard",
        "-pointsize", "12", "-fill", "#A4AAB6", "-annotate", "+160+140", "Version " + VERSION,
        "-pointsize", "11", "-fill", "#8E95A3",
        "-annotate", "+160+176", "(c) 2014 Corvane",
        "-annotate", "+160+192", "www.corvane.example",
    ])
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if BORDER <= x <= bw and BORDER + 1 <= y <= bh + 1:
                row.append(body[y - 2][x - 1][:3])
            else:
                row.append(SHADOW)
        rows.append(row)
    return rows


def dialog_logo(w, h):
    """Bitmap 144: the tile and the name in a light picture well.

    The picture control centres the bitmap in its template rectangle of
    95 x 106 dialog units, which shows about 140 x 170 pixels of it on
    Windows (1.5 pixels a unit across) and 164 x 170 under Wine (1.75): the
    content stays within the middle 136 columns and the background changes
    only from top to bottom, so either cut looks the same.
    """
    logo = 96
    return [[p[:3] for p in row] for row in rgba([
        "-size", "%dx%d" % (w, h), "gradient:#FFFFFF-#E6E9EE",
        "(", ] + tile_args(logo) + [")", "-gravity", "northwest",
        "-geometry", "+%d+%d" % ((w - logo) // 2, 30), "-composite",
        "-font", FONT_BOLD, "-pointsize", "15", "-fill", "#1F2430",
        "-gravity", "north", "-annotate", "+0+134", "Marnell",
    ])]


def main():
    write_icon("Marnell2.ico", [(rgba(tile_args(s)), 24) for s in (128, 48)] + [(icon32(), 24), (icon16(), 8)])
    # The notification area takes its frame by the scale of the taskbar's
    # monitor: 16, 20, 24 pixels and twice those. Tray.ico also serves the
    # dialogs' caption and keeps its large frame.
    write_icon("Tray.ico", [(rgba(tile_args(128)), 32)] + tray_frames())
    write_icon("TrayOff.ico", tray_frames(GREY_TOP, GREY_BOTTOM))

    w, h = 407, 284
    splash = splash_image(w, h)
    bits = dib_rows(splash, 16)
    for name in ("Splash.bmp", "About.bmp"):
        write_bmp(name, info_header(w, h, 16, 0, len(bits)), b"", bits)

    mask = rle8(splash_mask(w, h))
    grey = b"".join(bytes((i, i, i, 0)) for i in range(256))
    write_bmp("SplashMask.bmp", info_header(w, h, 8, 1, len(mask), 256), grey, mask)

    lw, lh = 197, 184
    bits = dib_rows(dialog_logo(lw, lh), 32)
    write_bmp("Logo.bmp", info_header(lw, lh, 32, 0, len(bits)), b"", bits)
    return 0


if __name__ == "__main__":
    sys.exit(main())

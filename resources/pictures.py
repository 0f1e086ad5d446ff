#!/usr/bin/env python3
"""Draws the program's pictures and writes them as resource files.

    pictures.py OUTPUT_FOLDER

writes program.ico (16 and 32 pixels, 16 and 256 colours each), folder.ico (an open folder:
32-bit with soft edges at 32 pixels; 256 colours and a mask at 48 and 64, where the denser screen
hides hard edges, with the edge pixels blended over the dialog colour) and the opaque 256-colour
header pictures header.bmp (48 x 48) and header_large.bmp (96 x 96). Every 256-colour palette but
the program icon's is fitted to its picture.

The pictures the wizard loads itself (folder.ico, header.bmp, header_large.bmp) are written a
second time LZMA-coded, as .lzma files beside them: the stub carries those and decodes them at
start-up. The program icon stays a plain icon, as Windows reads it from the file without us.
"""

import lzma
import os
import struct
import sys

from draw import (Canvas, Difference, Ellipse, Intersection, Line, Polygon, Rect, RoundRect, bmp8,
                  horizontal, ico, rgb, sheen, vertical)

EDGE = rgb('#3c3c3c')
# The face colour of dialogs (Windows XP's is a little warmer): what the folder icon is shown on.
DIALOG_FACE = (240, 240, 240)


def outline(canvas, points, colour, grid):
    """A one-pixel line around a polygon given in grid units."""
    width = 1.0 / canvas.size
    pts = [(x / grid, y / grid) for x, y in points]
    for i in range(len(pts)):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % len(pts)]
        canvas.fill(Line(x0, y0, x1, y1, width), colour)
        canvas.fill(Ellipse(x0, y0, width / 2), colour)


def framed(canvas, x0, y0, x1, y1, grid, fill, edge=EDGE, radius=0.0):
    """A rectangle in grid units with a one-pixel edge outside it."""
    e = 1.0 / canvas.size
    g = float(grid)
    canvas.fill(RoundRect(x0 / g - e, y0 / g - e, x1 / g + e, y1 / g + e, radius / g + e), edge)
    canvas.fill(RoundRect(x0 / g, y0 / g, x1 / g, y1 / g, radius / g), fill)


def disc(canvas, cx, cy, r, grid, edge):
    g = float(grid)
    e = 1.0 / canvas.size
    canvas.fill(Ellipse(cx / g, cy / g, r / g + e), edge)
    canvas.fill(Ellipse(cx / g, cy / g, r / g), sheen(cx / g, cy / g, rgb('#dfe3e8')))
    canvas.fill(Ellipse(cx / g, cy / g, r * 0.36 / g), rgb('#f4f6f8'))
    canvas.fill(Ellipse(cx / g, cy / g, r * 0.36 / g), rgb('#9aa4ae', 0.35))
    canvas.fill(Ellipse(cx / g, cy / g, r * 0.16 / g + e * 0.5), edge)
    canvas.fill(Ellipse(cx / g, cy / g, r * 0.16 / g), rgb('#ffffff'))


# --- program icon: a tower case, a screen and a disc ---------------------------------------------

def program_icon(size, flat):
    c = Canvas(size, flat=flat)
    G = 32
    # Tower case.
    framed(c, 2, 5, 12, 29, G, horizontal(rgb('#e6e6e6'), rgb('#a8a8a8'), 2 / G, 12 / G))
    c.fill(Rect(4 / G, 8 / G, 10 / G, 10 / G), rgb('#505050'))
    c.fill(Rect(4 / G, 12 / G, 10 / G, 14 / G), rgb('#505050'))
    c.fill(Rect(8 / G, 17 / G, 10 / G, 19 / G), rgb('#00c000'))
    # Screen.
    framed(c, 12, 3, 30, 20, G, vertical(rgb('#f0f0f0'), rgb('#bcbcbc'), 3 / G, 20 / G), radius=1)
    c.fill(Rect(14 / G, 5 / G, 28 / G, 17 / G), vertical(rgb('#3f86f0'), rgb('#0a2f8c'), 5 / G, 17 / G, flat=rgb('#0000ff')))
    c.fill(Polygon([(14 / G, 5 / G), (24 / G, 5 / G), (14 / G, 12 / G)]), rgb('#ffffff', 0.22))
    framed(c, 19, 20, 23, 23, G, rgb('#a0a0a0'))
    framed(c, 15, 23, 27, 25, G, vertical(rgb('#d8d8d8'), rgb('#a0a0a0'), 23 / G, 25 / G))
    # Disc in front.
    disc(c, 11, 23, 7.5, G, rgb('#505a64'))
    return c


# --- header picture: a software box with a disc case in front ----------------------------------

def header_picture(size):
    G = 48.0
    c = Canvas(size, background=rgb('#fdfdfd'))
    # Shadow on the ground.
    c.fill(Ellipse(25 / G, 44 / G, 21 / G, 2.6 / G), rgb('#000000', 0.10))
    c.fill(Ellipse(25 / G, 44 / G, 16 / G, 1.8 / G), rgb('#000000', 0.08))
    # The box: front, side and top faces.
    front = [(5, 9), (27, 9), (27, 43), (5, 43)]
    side = [(27, 9), (35, 4), (35, 38), (27, 43)]
    top = [(5, 9), (13, 4), (35, 4), (27, 9)]
    scale = lambda pts: [(x / G, y / G) for x, y in pts]
    c.fill(Polygon(scale(front)), vertical(rgb('#4a8ee6'), rgb('#17468f'), 9 / G, 43 / G))
    c.fill(Polygon(scale(side)), vertical(rgb('#1b4a93'), rgb('#0c2857'), 4 / G, 43 / G))
    c.fill(Polygon(scale(top)), horizontal(rgb('#8ebcf5'), rgb('#5e93dc'), 5 / G, 35 / G))
    # Artwork on the front: a band with a title line and a star.
    c.fill(Rect(5 / G, 13 / G, 27 / G, 19 / G), rgb('#ffffff', 0.92))
    c.fill(Rect(8 / G, 15 / G, 22 / G, 17 / G), rgb('#1d4f9e'))
    star = []
    import math
    for i in range(10):
        r = (5.2 if i % 2 == 0 else 2.2) / G
        a = -math.pi / 2 + i * math.pi / 5
        star.append((12 / G + r * math.cos(a), 29 / G + r * math.sin(a)))
    c.fill(Polygon(star), rgb('#ffd43a'))
    c.fill(Ellipse(20 / G, 24 / G, 1.1 / G), rgb('#ffffff', 0.9))
    c.fill(Ellipse(8 / G, 37 / G, 0.9 / G), rgb('#ffffff', 0.8))
    c.fill(Ellipse(21 / G, 36 / G, 0.7 / G), rgb('#ffffff', 0.7))
    for pts in (front, side, top):
        outline(c, pts, rgb('#0e2a55', 0.85), G)
    # The disc case standing in front, a little to the right.
    e = 1.0 / size
    c.fill(Rect(19 / G - e, 21 / G - e, 44 / G + e, 45 / G + e), rgb('#5c6a78'))
    c.fill(Rect(19 / G, 21 / G, 44 / G, 45 / G), vertical(rgb('#f4f7fa'), rgb('#d4dbe3'), 21 / G, 45 / G))
    c.fill(Rect(19 / G, 21 / G, 22 / G, 45 / G), horizontal(rgb('#aab6c2'), rgb('#c9d2db'), 19 / G, 22 / G))
    disc(c, 33, 33, 9.5, G, rgb('#7a8793'))
    # A glossy reflection across the case's lid.
    gloss = Polygon([(22 / G, 21 / G), (34 / G, 21 / G), (22 / G, 36 / G)])
    c.fill(Intersection(gloss, Rect(22 / G, 21 / G, 44 / G, 45 / G)), rgb('#ffffff', 0.38))
    return c


# --- folder icon: an open yellow folder ----------------------------------------------------------

def folder_icon(size):
    G = 32.0
    c = Canvas(size)
    edge = rgb('#8a5e08')
    back = [(2, 6), (11, 6), (13, 8.5), (28, 8.5), (28, 27), (2, 27)]
    c.fill(Polygon([(x / G, y / G) for x, y in back]), vertical(rgb('#f0c54a'), rgb('#c8901c'), 6 / G, 27 / G))
    outline(c, back, edge, G)
    # A sheet of paper standing in the folder.
    sheet = [(6, 10), (24, 10), (24, 24), (6, 24)]
    c.fill(Polygon([(x / G, y / G) for x, y in sheet]), rgb('#ffffff'))
    for y in (13, 16, 19):
        c.fill(Rect(8.5 / G, y / G, 21.5 / G, (y + 1) / G), rgb('#c8d2dc'))
    outline(c, sheet, rgb('#9aa4ae'), G)
    # The front flap, tipped open towards the viewer.
    flap = [(6.5, 13.5), (31, 13.5), (27, 27), (2, 27)]
    c.fill(Polygon([(x / G, y / G) for x, y in flap]), vertical(rgb('#ffe68a'), rgb('#f1bd36'), 13.5 / G, 27 / G))
    c.fill(Polygon([(x / G, y / G) for x, y in [(7, 14.5), (30, 14.5), (29.6, 15.8), (6.6, 15.8)]]),
           rgb('#ffffff', 0.45))
    outline(c, flap, edge, G)
    return c


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


# The coder's settings: its best (preset 9, extreme), one 64 KB dictionary, which holds any of
# the pictures whole. lc, lp and pb are liblzma's defaults for the preset, written into the header.
LZMA_DICTIONARY = 1 << 16
LZMA_LC, LZMA_LP, LZMA_PB = 3, 0, 2


def lzma_file(data):
    """data as an .lzma file: properties, the decoded size, then the raw stream with its end mark."""
    stream = lzma.compress(data, format=lzma.FORMAT_RAW, filters=[{
        'id': lzma.FILTER_LZMA1, 'preset': 9 | lzma.PRESET_EXTREME, 'dict_size': LZMA_DICTIONARY,
        'lc': LZMA_LC, 'lp': LZMA_LP, 'pb': LZMA_PB}])
    properties = (LZMA_PB * 5 + LZMA_LP) * 9 + LZMA_LC
    return struct.pack('<BIQ', properties, LZMA_DICTIONARY, len(data)) + stream


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    pictures = {}
    pictures['program.ico'] = ico([
        (program_icon(16, True), 4), (program_icon(16, False), 8),
        (program_icon(32, True), 4), (program_icon(32, False), 8)])
    pictures['folder.ico'] = ico([
        (folder_icon(32), 32), (folder_icon(48), 8, DIALOG_FACE), (folder_icon(64), 8, DIALOG_FACE)])
    pictures['header.bmp'] = bmp8(header_picture(48))
    pictures['header_large.bmp'] = bmp8(header_picture(96))
    for name, data in pictures.items():
        write(os.path.join(out, name), data)
        if name != 'program.ico':
            write(os.path.join(out, name + '.lzma'), lzma_file(data))


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Checks the pictures built into the stub: stored in formats every supported Windows loads, and
still looking like the drawings they were made from.

    check_pictures.py PICTURE_FOLDER RESOURCE_SOURCE_FOLDER

The coded copies the stub carries must decode to the pictures exactly. The icons must hold plain
DIB images (no PNG entries: older systems cannot load them), the transparent pixels of palette
images must be black (the system XORs them onto the screen), and the header bitmaps must be
uncompressed (the stub makes DIB sections of them). Each palette picture is decoded and compared
with a fresh full-colour drawing of the same picture.
"""

import lzma
import os
import struct
import sys

PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'

# (file, expected (size, bits) entries or the bitmap's size, drawing)
ICONS = [
    ('program.ico', [(16, 4), (16, 8), (32, 4), (32, 8)]),
    ('folder.ico', [(32, 32), (48, 8), (64, 8)]),
]
BITMAPS = [('header.bmp', 48), ('header_large.bmp', 96)]
# The pictures the stub carries LZMA-coded, as .lzma files beside the plain ones.
CODED = ['folder.ico', 'header.bmp', 'header_large.bmp']

# Largest difference of one colour channel of one pixel, and of the mean over a picture, that a
# 256-colour copy may show against the full-colour drawing.
MAX_CHANNEL_ERROR = 24
MAX_MEAN_ERROR = 2.0


class Fault(Exception):
    pass


def require(condition, text):
    if not condition:
        raise Fault(text)


def read_dib(data, width, height, context):
    """Decodes a bottom-up BI_RGB DIB of 4, 8 or 32 bits into rows of (r, g, b, a), top first."""
    require(len(data) >= 40, f'{context}: truncated header')
    (size, w, h, planes, bits, compression, _, _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data)
    require(size == 40, f'{context}: header of {size} bytes, not a BITMAPINFOHEADER')
    require(compression == 0, f'{context}: compressed ({compression}); DIB sections need BI_RGB')
    require(planes == 1, f'{context}: {planes} planes')
    require((w, h) == (width, height), f'{context}: {w} x {h}, expected {width} x {height}')
    require(bits in (4, 8, 32), f'{context}: {bits} bits per pixel')
    colours = (used or 1 << bits) if bits <= 8 else 0
    require(colours <= 1 << bits, f'{context}: {colours} colours for {bits} bits')
    palette = [tuple(data[40 + 4 * i:40 + 4 * i + 3][::-1]) for i in range(colours)]
    stride = (width * bits + 31) // 32 * 4
    start = 40 + 4 * colours
    require(len(data) >= start + stride * width, f'{context}: pixel data cut short')
    rows = []
    for y in range(width):
        line = data[start + stride * y:start + stride * (y + 1)]
        row = []
        for x in range(width):
            if bits == 32:
                b, g, r, a = line[4 * x:4 * x + 4]
                row.append((r, g, b, a))
                continue
            index = line[x] if bits == 8 else (line[x // 2] >> (4 if x % 2 == 0 else 0)) & 15
            require(index < colours, f'{context}: pixel ({x}, {y}) uses colour {index} of {colours}')
            row.append(palette[index] + (255,))
        rows.append(row)
    return list(reversed(rows)), start + stride * width, bits, colours


def read_icon(path, expected):
    data = open(path, 'rb').read()
    name = os.path.basename(path)
    reserved, kind, count = struct.unpack_from('<HHH', data)
    require((reserved, kind) == (0, 1), f'{name}: not an icon file')
    found = []
    images = {}
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        size = w or 256
        context = f'{name} {size}px {bits}-bit'
        blob = data[offset:offset + length]
        require(len(blob) == length, f'{context}: entry runs past the end of the file')
        require(not blob.startswith(PNG_SIGNATURE), f'{context}: PNG-compressed entry')
        require(struct.unpack_from('<i', blob, 8)[0] == 2 * size, f'{context}: height is not twice the width')
        header = blob[:4] + struct.pack('<ii', size, size) + blob[12:40]
        rows, mask_start, dib_bits, _ = read_dib(header + blob[40:], size, size, context)
        require(dib_bits == bits, f'{context}: directory says {bits} bits, image has {dib_bits}')
        mask_stride = (size + 31) // 32 * 4
        require(length == mask_start + mask_stride * size, f'{context}: {length} bytes, image and mask need '
                f'{mask_start + mask_stride * size}')
        for y in range(size):
            line = blob[mask_start + mask_stride * (size - 1 - y):]
            for x in range(size):
                if line[x // 8] & (0x80 >> (x % 8)):
                    r, g, b, a = rows[y][x]
                    if bits <= 8:
                        require((r, g, b) == (0, 0, 0), f'{context}: transparent pixel ({x}, {y}) is not black')
                    rows[y][x] = (r, g, b, 0)
        found.append((size, bits))
        images[(size, bits)] = rows
    require(found == expected, f'{name}: entries {found}, expected {expected}')
    return images


def read_bitmap(path, size):
    data = open(path, 'rb').read()
    name = os.path.basename(path)
    magic, file_size, _, _, offset = struct.unpack_from('<2sIHHI', data)
    require(magic == b'BM', f'{name}: not a bitmap file')
    require(file_size == len(data), f'{name}: header says {file_size} bytes, file has {len(data)}')
    rows, end, bits, colours = read_dib(data[14:], size, size, name)
    require(bits == 8, f'{name}: {bits} bits per pixel; 256 colours keep it small')
    require(offset == 14 + 40 + 4 * colours, f'{name}: pixel data at {offset}, not after the colour table')
    require(14 + end == len(data), f'{name}: {len(data) - 14 - end} bytes after the pixels')
    return rows


def read_coded(path):
    """The .lzma file must decode, at its declared size, to the picture beside it byte for byte."""
    name = os.path.basename(path)
    try:
        decoded = lzma.decompress(open(path + '.lzma', 'rb').read(), format=lzma.FORMAT_ALONE)
    except (OSError, lzma.LZMAError) as error:
        raise Fault(f'{name}.lzma: {error}')
    require(decoded == open(path, 'rb').read(), f'{name}.lzma: decodes to other bytes than {name}')


def compare(name, decoded, drawing):
    """The decoded picture against the full-colour drawing, over the pixels both show."""
    worst = 0
    total = 0
    count = 0
    for y, (row, reference) in enumerate(zip(decoded, drawing)):
        for x, (got, want) in enumerate(zip(row, reference)):
            if want[3] < 128 or got[3] == 0:
                require((want[3] < 128) == (got[3] == 0), f'{name}: pixel ({x}, {y}) transparency differs')
                continue
            error = max(abs(a - b) for a, b in zip(got[:3], want[:3]))
            worst = max(worst, error)
            total += error
            count += 1
    mean = total / max(count, 1)
    require(worst <= MAX_CHANNEL_ERROR, f'{name}: a pixel is off by {worst} against the drawing')
    require(mean <= MAX_MEAN_ERROR, f'{name}: pixels are off by {mean:.2f} on average against the drawing')


def main():
    pictures, sources = sys.argv[1], sys.argv[2]
    sys.dont_write_bytecode = True  # leave the source tree as it is
    sys.path.insert(0, sources)
    import pictures as drawings  # noqa: E402 (the drawings live beside the resource script)
    from draw import on_matte  # noqa: E402

    checks = []
    for name, expected in ICONS:
        checks.append((name, lambda n=name, e=expected: read_icon(os.path.join(pictures, n), e)))
    for name, size in BITMAPS:
        checks.append((name, lambda n=name, s=size: read_bitmap(os.path.join(pictures, n), s)))
    for name in CODED:
        checks.append((name + '.lzma', lambda n=name: read_coded(os.path.join(pictures, n))))
    faults = []
    decoded = {}
    for name, check in checks:
        try:
            decoded[name] = check()
        except Fault as fault:
            faults.append(str(fault))
    # Only the fitted palettes are compared: the program icon's fixed palettes are meant to be coarse.
    # The masked folder images blend their edge pixels over the dialog colour; so does the reference.
    on_dialog = lambda rows: on_matte(rows, drawings.DIALOG_FACE)
    likeness = [(f'folder.ico {n}px', lambda n=n: decoded['folder.ico'][(n, 8)], drawings.folder_icon, n, on_dialog)
                for n in (48, 64)]
    likeness += [(name, lambda name=name: decoded[name], drawings.header_picture, size, lambda rows: rows)
                 for name, size in BITMAPS]
    unreadable = 0
    for name, picture, draw, size, seen in likeness:
        try:
            compare(name, picture(), seen(draw(size).rgba_rows()))
        except Fault as fault:
            faults.append(str(fault))
        except KeyError:
            unreadable += 1  # its file was reported above
    for fault in faults:
        print('FAULT:', fault)
    print(f'{len(checks) + len(likeness) - len(faults) - unreadable} passed, {len(faults) + unreadable} failed')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())

"""A tiny anti-aliased rasteriser and BMP/ICO writers, standard library only.

Shapes are described in unit coordinates (0..1 across the picture), so every picture can be
drawn crisply at any size. Each pixel is sampled on a grid; its coverage blends the paint over
what is already there."""

import struct

SAMPLES = 4  # per axis and pixel


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip('#'), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, alpha)


# --- shapes -------------------------------------------------------------------------------------

class Polygon:
    def __init__(self, points):
        self.points = points
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside


class Ellipse:
    def __init__(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.box = (cx - rx, cy - ry, cx + rx, cy + ry)

    def contains(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


class RoundRect:
    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r
        self.box = (x0, y0, x1, y1)

    def contains(self, x, y):
        if not (self.x0 <= x <= self.x1 and self.y0 <= y <= self.y1):
            return False
        r = self.r
        if r <= 0:
            return True
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def Rect(x0, y0, x1, y1):
    return RoundRect(x0, y0, x1, y1, 0.0)


class Difference:
    def __init__(self, outer, inner):
        self.outer, self.inner = outer, inner
        self.box = outer.box

    def contains(self, x, y):
        return self.outer.contains(x, y) and not self.inner.contains(x, y)


class Intersection:
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
                    min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))

    def contains(self, x, y):
        return self.a.contains(x, y) and self.b.contains(x, y)


def Line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5 or 1.0
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return Polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


# --- paints -------------------------------------------------------------------------------------

def vertical(top, bottom, y0, y1, flat=None):
    def paint(x, y):
        t = 0.0 if y1 == y0 else min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return mix(top, bottom, t)
    paint.flat = flat or mix(top, bottom, 0.5)
    return paint


def horizontal(left, right, x0, x1):
    def paint(x, y):
        t = 0.0 if x1 == x0 else min(max((x - x0) / (x1 - x0), 0.0), 1.0)
        return mix(left, right, t)
    paint.flat = mix(left, right, 0.5)
    return paint


def sheen(cx, cy, base):
    """The rainbow shimmer of a disc's surface: hue follows the angle around the centre."""
    import math

    def paint(x, y):
        angle = math.atan2(y - cy, x - cx)
        h = (angle / (2 * math.pi)) % 1.0
        r = 0.5 + 0.5 * math.cos(2 * math.pi * (h * 2))
        g = 0.5 + 0.5 * math.cos(2 * math.pi * (h * 2 - 1 / 3))
        b = 0.5 + 0.5 * math.cos(2 * math.pi * (h * 2 - 2 / 3))
        return mix(base, (r, g, b, 1.0), 0.28)
    paint.flat = base
    return paint


# --- canvas -------------------------------------------------------------------------------------

class Canvas:
    def __init__(self, size, background=(0.0, 0.0, 0.0, 0.0), flat=False):
        self.size = size
        self.flat = flat  # palette pictures: no gradients, plain colours map better
        self.pixels = [list(background) for _ in range(size * size)]

    def fill(self, shape, paint):
        n = self.size
        x0, y0, x1, y1 = shape.box
        px0 = max(int(x0 * n) - 1, 0)
        py0 = max(int(y0 * n) - 1, 0)
        px1 = min(int(x1 * n) + 1, n - 1)
        py1 = min(int(y1 * n) + 1, n - 1)
        step = 1.0 / (SAMPLES * n)
        for py in range(py0, py1 + 1):
            for px in range(px0, px1 + 1):
                hits = 0
                for sy in range(SAMPLES):
                    y = (py * SAMPLES + sy + 0.5) * step
                    for sx in range(SAMPLES):
                        x = (px * SAMPLES + sx + 0.5) * step
                        if shape.contains(x, y):
                            hits += 1
                if hits:
                    self._blend(px, py, hits / (SAMPLES * SAMPLES), paint, (px + 0.5) / n, (py + 0.5) / n)

    def _blend(self, px, py, coverage, paint, x, y):
        if callable(paint):
            colour = paint.flat if self.flat else paint(x, y)
        else:
            colour = paint
        alpha = colour[3] * coverage
        dst = self.pixels[py * self.size + px]
        out_a = alpha + dst[3] * (1 - alpha)
        if out_a <= 0:
            return
        for i in range(3):
            dst[i] = (colour[i] * alpha + dst[i] * dst[3] * (1 - alpha)) / out_a
        dst[3] = out_a

    def rgba_rows(self):
        """Rows top to bottom of (r, g, b, a) bytes."""
        n = self.size
        rows = []
        for y in range(n):
            row = []
            for x in range(n):
                p = self.pixels[y * n + x]
                row.append(tuple(int(round(min(max(c, 0.0), 1.0) * 255)) for c in p))
            rows.append(row)
        return rows


# --- palettes -----------------------------------------------------------------------------------

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    colours = list(VGA16)
    for r in range(6):
        for g in range(6):
            for b in range(6):
                colours.append((r * 51, g * 51, b * 51))
    for i in range(24):
        v = 8 + i * 10
        colours.append((v, v, v))
    return colours[:256]


def nearest(palette, colour, cache):
    key = colour[:3]
    if key not in cache:
        r, g, b = key
        # Weighted distance: the eye is most sensitive to green, least to blue.
        cache[key] = min(range(len(palette)), key=lambda i: 3 * (palette[i][0] - r) ** 2 +
                         4 * (palette[i][1] - g) ** 2 + 2 * (palette[i][2] - b) ** 2)
    return cache[key]


def _nearest_exact(palette, colour):
    r, g, b = colour
    return min(range(len(palette)), key=lambda i: (palette[i][0] - r) ** 2 + (palette[i][1] - g) ** 2 +
               (palette[i][2] - b) ** 2)


def adaptive_palette(colours, size=256, reserved=()):
    """A palette of at most `size` entries fitted to the given (r, g, b) pixels.

    Pictures with few colours keep them exactly. Others are cut into boxes of similar colours
    (median cut, the box that spans the widest range split first), and the box means are then
    refined by a few rounds of k-means, so large flat areas such as the background come out exact.
    `reserved` entries head the palette unchanged (an icon's transparent black)."""
    counts = {}
    for c in colours:
        counts[c] = counts.get(c, 0) + 1
    room = size - len(reserved)
    if len(counts) <= room:
        return list(reserved) + sorted(counts)
    boxes = [sorted(counts)]
    while len(boxes) < room:
        spans = [max(max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)) for box in boxes]
        widest = max(range(len(boxes)), key=lambda i: (spans[i], len(boxes[i])))
        box = boxes[widest]
        if spans[widest] == 0:
            break
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: (c[axis], c))
        half = sum(counts[c] for c in box) / 2.0
        running, cut = 0, 1
        for i, c in enumerate(box[:-1]):
            running += counts[c]
            cut = i + 1
            if running >= half:
                break
        boxes[widest:widest + 1] = [box[:cut], box[cut:]]
    palette = [_mean(box, counts) for box in boxes]
    for _ in range(4):
        members = [[] for _ in palette]
        for c in counts:
            members[_nearest_exact(palette, c)].append(c)
        palette = [_mean(m, counts) if m else p for m, p in zip(members, palette)]
    return list(reserved) + palette


def _mean(box, counts):
    total = sum(counts[c] for c in box)
    return tuple(int(round(sum(c[i] * counts[c] for c in box) / total)) for i in range(3))


def index_rows(rows, palette, transparent=None):
    """Rows of palette indices; pixels more than half transparent become `transparent`."""
    cache = {}
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if transparent is not None and a < 128:
                line.append(transparent)
                continue
            key = (r, g, b)
            if key not in cache:
                cache[key] = _nearest_exact(palette, key)
            line.append(cache[key])
        out.append(line)
    return out


# --- file formats -------------------------------------------------------------------------------

def _row_padding(byte_count):
    return (4 - byte_count % 4) % 4


def _info_header(width, height, bits, image_size, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 2835, 2835, colours, 0)


def _bgra_rows(rows, opaque):
    data = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            data += bytes((b, g, r, 255 if opaque else a))
    return bytes(data)


def bmp32(canvas):
    """An opaque 32-bit bottom-up BMP file."""
    rows = canvas.rgba_rows()
    n = canvas.size
    pixels = _bgra_rows(rows, opaque=True)
    header = _info_header(n, n, 32, len(pixels))
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def bmp8(canvas):
    """An opaque 8-bit bottom-up BMP file with a palette fitted to the picture.

    Uncompressed, so that LoadImage can make a DIB section of it; the colour table holds only the
    colours used."""
    rows = canvas.rgba_rows()
    n = canvas.size
    palette = adaptive_palette([p[:3] for row in rows for p in row])
    pixels = _packed_indices(index_rows(rows, palette), 8)
    colour_table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = _info_header(n, n, 8, len(pixels), len(palette))
    offset = 14 + len(header) + len(colour_table)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return file_header + header + colour_table + pixels


def _packed_indices(indices, bits):
    """Bottom-up rows of 4- or 8-bit palette indices, each padded to four bytes."""
    data = bytearray()
    for row in reversed(indices):
        if bits == 8:
            packed = bytes(row)
        else:
            packed = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0) for i in range(0, len(row), 2))
        data += packed + bytes(_row_padding(len(packed)))
    return bytes(data)


def _and_mask(rows):
    n = len(rows)
    row_bytes = (n + 7) // 8
    data = bytearray()
    for row in reversed(rows):
        bits = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bits + bytes(_row_padding(row_bytes))
    return bytes(data)


def on_matte(rows, matte):
    """Rows whose partly transparent pixels are blended over the colour they will most likely be
    shown on; fully opaque and mostly transparent pixels stay as they are."""
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if 128 <= a < 255:
                t = a / 255.0
                r, g, b = (int(round(c * t + m * (1 - t))) for c, m in zip((r, g, b), matte))
            line.append((r, g, b, a))
        out.append(line)
    return out


def _icon_image(canvas, bits, matte=None):
    rows = canvas.rgba_rows()
    n = canvas.size
    if bits == 32:
        xor = _bgra_rows(rows, opaque=False)
        palette = b''
    else:
        if matte is not None:
            # A mask has no soft edges: the edge pixels that stay are blended over the matte
            # instead, so the outline keeps the weight it has in the full-colour image.
            rows = on_matte(rows, matte)
            # Index 0 stays black: the system XORs the transparent pixels' colour onto the screen.
            colours = adaptive_palette([p[:3] for row in rows for p in row if p[3] >= 128],
                                       reserved=[(0, 0, 0)])
            colours += [(0, 0, 0)] * (256 - len(colours))
            indices = index_rows(rows, colours, transparent=0)
        else:
            colours = VGA16 if bits == 4 else palette256()
            cache = {}
            indices = [[0 if p[3] < 128 else nearest(colours, p, cache) for p in row] for row in rows]
        palette = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
        xor = _packed_indices(indices, bits)
    mask = _and_mask(rows)
    header = _info_header(n, n * 2, bits, len(xor) + len(mask), 0)
    return header + palette + xor + mask


def ico(images):
    """A multi-image .ico file from (canvas, bits per pixel) pairs. A third item, the (r, g, b)
    background the icon will mostly be seen on, gives an 8-bit image a palette fitted to the
    picture instead of the standard one."""
    entries = b''
    blobs = b''
    offset = 6 + 16 * len(images)
    for image in images:
        canvas, bits = image[0], image[1]
        blob = _icon_image(canvas, bits, matte=image[2] if len(image) > 2 else None)
        n = canvas.size
        colour_count = 16 if bits == 4 else 0
        entries += struct.pack('<BBBBHHII', n % 256, n % 256, colour_count, 0, 1, bits, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + entries + blobs

"""The screen savers the bench packs, made the same on every run: each is a real program (the
sample saver, or the empty program for the large images) with its pictures and sounds behind it,
as a saver that carries its media at its end would be. Made once and kept while they still start
with the program they were made from."""
import math
import os
import random
import struct
import subprocess

MB = 1 << 20


def _kept(path, head, size=None):
    if not os.path.exists(path) or (size is not None and os.path.getsize(path) != size):
        return False
    with open(path, "rb") as f:
        return f.read(len(head)) == head


def _write_once(path, head, parts, size=None):
    """`head` then each part of `parts` (an iterable of bytes) into `path`, unless it is kept."""
    if _kept(path, head, size):
        return path
    with open(path + ".part", "wb") as f:
        f.write(head)
        for part in parts:
            f.write(part)
    os.replace(path + ".part", path)
    return path


def bitmap(width, height, seed):
    """A 24-bit BMP of a soft landscape of colour with a little grain, as a photo-like picture
    compresses: neither flat nor noise."""
    rng = random.Random(seed)
    waves = [(rng.uniform(0.004, 0.03), rng.uniform(0.004, 0.03), rng.uniform(0, 6.3))
             for _ in range(3)]
    grain = rng.randbytes(width * height * 3)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        row = bytearray(stride)
        for x in range(width):
            for c, (fx, fy, phase) in enumerate(waves):
                value = 128 + 100 * math.sin(fx * x + fy * y + phase + c)
                row[3 * x + c] = int(value + (grain[(y * width + x) * 3 + c] & 3)) & 255
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels


def wave(seconds, seed, rate=44100):
    """A 16-bit stereo WAV of a few slowly beating tones with a little noise."""
    rng = random.Random(seed)
    tones = [(rng.uniform(110, 880), rng.uniform(0.1, 0.3)) for _ in range(3)]
    samples = bytearray()
    for n in range(int(seconds * rate)):
        t = n / rate
        value = sum(a * math.sin(2 * math.pi * f * t) for f, a in tones) * 8000
        value += rng.randint(-64, 64)
        sample = max(-32768, min(32767, int(value)))
        samples += struct.pack("<hh", sample, sample)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(samples), b"WAVE", b"fmt ", 16, 1,
                         2, rate, rate * 4, 4, 16, b"data", len(samples))
    return header + bytes(samples)


def jpeg(work, seed):
    """A 1024 x 768 JPEG of a plasma cloud, by ImageMagick with a fixed seed."""
    path = os.path.join(work, f"picture{seed}.jpg")
    subprocess.run(["convert", "-seed", str(seed), "-size", "1024x768", "plasma:fractal",
                    "-quality", "85", "-strip", path], check=True)
    with open(path, "rb") as f:
        return f.read()


def media_saver(saver, path):
    """The sample saver with four 640 x 480 pictures and two 6-second sounds behind it."""
    with open(saver, "rb") as f:
        head = f.read()
    parts = (bitmap(640, 480, seed) for seed in range(4))
    sounds = (wave(6, seed) for seed in range(2))
    return _write_once(path, head, (p for group in (parts, sounds) for p in group))


def jpeg_saver(saver, path, work):
    """The sample saver with six JPEG pictures behind it."""
    with open(saver, "rb") as f:
        head = f.read()
    return _write_once(path, head, (jpeg(work, seed) for seed in range(6)))


def compressible_image(program, size, path):
    """`size` bytes: the empty program, then pieces of a 256 KB pool of skewed bytes joined by a
    few fresh ones, as data with recurring structure is; LZMA takes it to under an eighth. (It codes
    faster than the saver's own pictures would, which keeps the 256 MB build within minutes.)"""
    with open(program, "rb") as f:
        head = f.read()
    # Small byte values far more often than large ones.
    table = bytes(min(255, int(-8 * math.log2((i + 0.5) / 256))) for i in range(256))
    rng = random.Random(size)
    pool = rng.randbytes(256 * 1024).translate(table)

    def chunk():
        out = bytearray()
        while len(out) < MB:
            start = rng.randrange(len(pool) - 256)
            out += pool[start:start + rng.randrange(16, 256)]
            out += rng.randbytes(rng.randrange(1, 16)).translate(table)
        return bytes(out[:MB])

    left = size - len(head)
    chunks = (chunk()[:left - done] for done in range(0, left, MB))
    return _write_once(path, head, chunks, size)

#!/usr/bin/env python3
"""Draws the demo's pictures and writes its saved form data for Kinetile1.
Usage: demo_art.py OUTDIR
  OUTDIR/demo.gif       the 8-frame 89 x 98 animation stored with the form
  OUTDIR/picture1.bmp   the background picture of Picture1 (224 x 204)
  OUTDIR/kinetile1.bag  Kinetile1's saved properties, in the control's stream format
  OUTDIR/form.ico       the form's icon"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(__file__))
from imagefiles import animated_gif, bmp24  # noqa: E402

W, H = 89, 98
TRANSPARENT = 0


def palette():
    colours = [(255, 0, 255)]  # index 0: transparent
    for i in range(1, 256):
        hue = (i * 7) % 360
        c = 1.0
        x = c * (1 - abs((hue / 60) % 2 - 1))
        r, g, b = [(c, x, 0), (x, c, 0), (0, c, x), (0, x, c), (x, 0, c), (c, 0, x)][int(hue // 60) % 6]
        shade = 0.55 + 0.45 * (i % 4) / 3
        colours.append((int(r * 255 * shade), int(g * 255 * shade), int(b * 255 * shade)))
    return colours


def frame(n):
    """A spinning star on a round badge; corners transparent."""
    pixels = []
    cx, cy = W / 2, H / 2
    angle0 = n * math.pi / 4
    for y in range(H):
        for x in range(W):
            dx, dy = x - cx, y - cy
            r = math.hypot(dx, dy)
            if r > 43:
                pixels.append(TRANSPARENT)
                continue
            a = math.atan2(dy, dx) - angle0
            star = 20 + 14 * math.cos(5 * a)
            if r < star:
                pixels.append(1 + (n * 32 + int(r * 2)) % 255)
            elif r > 40:
                pixels.append(200)
            else:
                pixels.append(1 + (int(a * 40) + 128) % 255)
    return pixels


def background(x, y):
    stripe = (x // 12 + y // 12) % 2
    return (200, 220, 245) if stripe else (235, 242, 252)


def bag(gif):
    """Kinetile1's saved properties: what the control writes for the demo's design settings."""
    VT_I4, VT_BOOL, VT_BSTR, VT_BYTES = 3, 11, 8, 0x2011
    entries = [
        ('AutoSize', VT_BOOL, 0),
        ('BackColor', VT_I4, 33023),
        ('BackStyle', VT_I4, 0),
        ('BorderColor', VT_I4, 16576),
        ('BorderStyle', VT_I4, 1),
        ('Caption', VT_BSTR, 'Kinetile1'),
        ('DataArrary', VT_BYTES, gif),
        ('FrameCount', VT_I4, 8),
        ('GifFile', VT_BSTR, '(AniGIF)'),
        ('ImageHeight', VT_I4, H),
        ('ImageWidth', VT_I4, W),
    ]
    out = bytearray(b'KTPB') + struct.pack('<II', 1, len(entries))
    for key, vt, value in entries:
        k = key.encode('utf-16-le')
        out += struct.pack('<I', len(key)) + k + struct.pack('<H', vt)
        if vt == VT_I4:
            out += struct.pack('<i', value)
        elif vt == VT_BOOL:
            out += struct.pack('<h', -1 if value else 0)
        elif vt == VT_BSTR:
            text = value.encode('utf-16-le')
            out += struct.pack('<I', len(text)) + text
        else:
            out += struct.pack('<I', len(value)) + value
    return bytes(out)


def icon():
    """A 32 x 32 icon: the badge of the animation's first frame."""
    size = 32
    rows = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        mask_row = 0
        for x in range(size):
            dx, dy = x - 15.5, y - 15.5
            inside = dx * dx + dy * dy <= 15 * 15
            hue = int((math.atan2(dy, dx) + math.pi) / (2 * math.pi) * 6) % 6
            r, g, b = [(230, 60, 40), (240, 200, 30), (60, 180, 60), (40, 170, 220), (70, 80, 220), (200, 60, 200)][hue]
            rows += bytes((b, g, r, 255 if inside else 0))
            mask_row = (mask_row << 1) | (0 if inside else 1)
        mask += struct.pack('>I', mask_row)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = header + bytes(rows) + bytes(mask)
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 22) + image


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    gif = animated_gif(W, H, palette(), [(frame(n), 10, 1, TRANSPARENT) for n in range(8)])
    with open(os.path.join(outdir, 'demo.gif'), 'wb') as f:
        f.write(gif)
    with open(os.path.join(outdir, 'picture1.bmp'), 'wb') as f:
        f.write(bmp24(224, 204, background))
    with open(os.path.join(outdir, 'kinetile1.bag'), 'wb') as f:
        f.write(bag(gif))
    with open(os.path.join(outdir, 'form.ico'), 'wb') as f:
        f.write(icon())


if __name__ == '__main__':
    main(sys.argv[1])

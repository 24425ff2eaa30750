#!/usr/bin/env python3
"""Draws the control's 16 x 15 toolbox bitmap (a button with a film frame and
a play mark) and writes it as a 24-bit BMP. Usage: toolbox_bitmap.py OUT.bmp"""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from imagefiles import bmp24  # noqa: E402

W, H = 16, 15
FACE, SHADOW, LIGHT, FILM, PLAY = (192, 192, 192), (128, 128, 128), (255, 255, 255), (40, 60, 140), (250, 200, 30)


def pixel(x, y):
    if x == 0 or y == 0:
        return LIGHT
    if x == W - 1 or y == H - 1:
        return SHADOW
    if 2 <= x <= 13 and 3 <= y <= 11:
        if y in (3, 11) and x % 2 == 0:  # sprocket holes
            return FACE
        # a right-pointing triangle in the middle of the frame
        dx, dy = x - 6, y - 7
        if 0 <= dx <= 4 and abs(dy) <= 2 - dx // 2:
            return PLAY
        return FILM
    return FACE


def main(path):
    with open(path, 'wb') as out:
        out.write(bmp24(W, H, pixel))


if __name__ == '__main__':
    main(sys.argv[1])

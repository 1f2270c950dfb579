#!/usr/bin/env python3
"""Draws the two 24x24 toolbar images of LindrelDemo's main window (tbMain).

CompareDirectories.png: two folders, master behind and source in front.
CompareFiles.png: two pages side by side with one changed line marked on each.

Plain Python (zlib + struct), no imaging library. Run it from anywhere:
    python3 demo/resources/make_toolbar_icons.py
and commit the PNG files it rewrites next to itself.
"""
import os
import struct
import zlib

SIZE = 24
CLEAR = (0, 0, 0, 0)
OUTLINE = (60, 60, 60, 255)
FOLDER_BACK = (214, 160, 40, 255)
FOLDER_FRONT = (248, 200, 72, 255)
PAGE = (255, 255, 255, 255)
TEXT = (150, 150, 150, 255)
REMOVED = (214, 48, 48, 255)
ADDED = (40, 160, 60, 255)


def canvas():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def fill(image, left, top, right, bottom, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            image[y][x] = colour


def box(image, left, top, right, bottom, inside):
    fill(image, left, top, right, bottom, OUTLINE)
    fill(image, left + 1, top + 1, right - 1, bottom - 1, inside)


def folder(image, left, top, colour):
    box(image, left, top, left + 6, top + 3, colour)            # the tab
    box(image, left, top + 2, left + 14, top + 12, colour)      # the body
    fill(image, left + 1, top + 2, left + 5, top + 2, colour)   # tab opens into the body


def page(image, left, mark_row, mark_colour):
    right, top, bottom = left + 9, 2, 21
    box(image, left, top, right, bottom, PAGE)
    for row in range(top + 3, bottom - 1, 3):
        fill(image, left + 2, row, right - 2, row, mark_colour if row == mark_row else TEXT)


def compare_directories():
    image = canvas()
    folder(image, 1, 3, FOLDER_BACK)
    folder(image, 8, 10, FOLDER_FRONT)
    return image


def compare_files():
    image = canvas()
    page(image, 1, 11, REMOVED)
    page(image, 13, 11, ADDED)
    return image


def write_png(path, image):
    raw = b"".join(b"\0" + b"".join(bytes(pixel) for pixel in row) for row in image)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "CompareDirectories.png"), compare_directories())
    write_png(os.path.join(here, "CompareFiles.png"), compare_files())

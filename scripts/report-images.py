#!/usr/bin/env python3
"""Draws the report library's two 16 x 16 button sheets (preview buttons and
object images) and packs each as the library's gzip resources: a gzip header
whose MTIME field holds the big-endian Adler-32 of the data.

Usage: scripts/report-images.py  (writes report/images/*.gz)
"""
import os
import struct
import zlib

CELL = 16
COUNT = 25
BACK = (255, 0, 255)   # transparent colour: the bottom-left pixel stays BACK
INK = (0, 0, 0)
BLUE = (0, 64, 160)
RED = (192, 0, 0)
GREEN = (0, 128, 0)
GREY = (128, 128, 128)
PAPER = (255, 255, 255)
YELLOW = (224, 192, 0)


class Sheet:
    def __init__(self, count):
        self.width = CELL * count
        self.pixels = [[BACK] * self.width for _ in range(CELL)]
        self.origin = 0

    def cell(self, index):
        self.origin = index * CELL

    def dot(self, x, y, colour):
        if 0 <= x < CELL and 0 <= y < CELL and not (x == 0 and y == CELL - 1):
            self.pixels[y][self.origin + x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.line(x0, y0, x1, y0, colour)
        self.line(x0, y1, x1, y1, colour)
        self.line(x0, y0, x0, y1, colour)
        self.line(x1, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def page(self, colour=PAPER):
        self.fill(3, 1, 12, 14, colour)
        self.frame(3, 1, 12, 14, INK)

    def text_lines(self, x0=5, x1=10, colour=GREY):
        for y in (4, 6, 8, 10, 12):
            self.line(x0, y, x1, y, colour)

    def triangle(self, tip_x, direction, colour):
        for i in range(5):
            x = tip_x + i * direction
            self.line(x, 7 - i, x, 7 + i, colour)

    def magnifier(self, sign=None):
        self.frame(2, 2, 9, 9, INK)
        self.fill(3, 3, 8, 8, PAPER)
        self.line(9, 9, 13, 13, INK)
        self.line(10, 9, 14, 13, INK)
        if sign:
            self.line(4, 5, 7, 5, BLUE)
            if sign == '+':
                self.line(5, 4, 5, 7, BLUE)
                self.line(6, 4, 6, 7, BLUE)
            self.line(4, 6, 7, 6, BLUE)

    def bmp(self):
        row = self.width * 3
        pad = (4 - row % 4) % 4
        data = b''
        for y in reversed(range(CELL)):
            data += b''.join(bytes((b, g, r)) for (r, g, b) in self.pixels[y]) + b'\0' * pad
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, CELL, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + data


def preview_buttons():
    s = Sheet(COUNT)
    s.cell(0); s.fill(1, 5, 13, 13, YELLOW); s.frame(1, 5, 13, 13, INK); s.line(1, 4, 6, 4, INK)   # open
    s.cell(1); s.fill(2, 2, 13, 13, BLUE); s.fill(4, 2, 11, 7, PAPER); s.fill(5, 10, 10, 13, GREY)   # save
    s.cell(2); s.fill(4, 1, 11, 5, PAPER); s.frame(4, 1, 11, 5, INK); s.fill(1, 6, 14, 11, GREY)     # print
    s.frame(1, 6, 14, 11, INK); s.fill(4, 10, 11, 14, PAPER); s.frame(4, 10, 11, 14, INK)
    s.cell(3); s.page(); s.text_lines()                                                              # page
    s.cell(4); s.magnifier()                                                                         # find
    s.cell(5); [s.frame(2 + 6 * (i % 2), 1 + 5 * (i // 2), 6 + 6 * (i % 2), 4 + 5 * (i // 2), INK) for i in range(6)]
    s.cell(6); s.page(); s.line(5, 5, 10, 10, RED); s.line(10, 5, 5, 10, RED)                        # close
    s.cell(7); s.page(); s.frame(5, 3, 10, 12, BLUE)                                                 # margins
    s.cell(8); s.triangle(4, 1, INK); s.fill(2, 3, 3, 11, INK)                                       # first
    s.cell(9); s.triangle(5, 1, INK)                                                                 # prior
    s.cell(10); s.triangle(10, -1, INK)                                                              # next
    s.cell(11); s.triangle(11, -1, INK); s.fill(12, 3, 13, 11, INK)                                  # last
    s.cell(12); s.line(3, 2, 3, 13, INK); [s.fill(5, y, 12, y + 1, BLUE) for y in (2, 6, 10)]        # outline
    [s.line(3, y, 4, y, INK) for y in (3, 7, 11)]
    s.cell(13); s.frame(3, 3, 12, 12, INK); s.line(5, 7, 10, 7, INK)                                 # collapse
    s.cell(14); s.frame(3, 3, 12, 12, INK); s.line(5, 7, 10, 7, INK); s.line(7, 5, 7, 10, INK)       # expand
    s.cell(15); s.magnifier('+')                                                                     # zoom in
    s.cell(16); s.magnifier('-')                                                                     # zoom out
    s.cell(17); s.page(); s.fill(5, 4, 10, 11, BLUE)                                                 # whole page
    s.cell(18); s.fill(1, 4, 14, 11, PAPER); s.frame(1, 4, 14, 11, INK)                              # page width
    s.cell(19); s.page(); s.triangle(10, -1, GREEN)                                                    # run
    s.cell(20); s.fill(2, 2, 13, 13, PAPER); s.frame(2, 2, 13, 13, INK); s.line(2, 5, 13, 5, INK)    # window
    s.cell(21); s.page(); s.line(5, 12, 11, 4, RED); s.line(6, 12, 12, 4, RED)                       # design
    s.cell(22); s.frame(1, 1, 14, 14, INK); [s.line(*c, INK) for c in ((2, 2, 5, 5), (13, 2, 10, 5), (2, 13, 5, 10), (13, 13, 10, 10))]
    s.cell(23); s.fill(1, 3, 14, 12, PAPER); s.frame(1, 3, 14, 12, INK); s.line(1, 3, 7, 8, INK); s.line(14, 3, 8, 8, INK)
    s.cell(24); s.page(); s.fill(4, 9, 11, 13, RED)                                                  # pdf
    return s


def object_images():
    s = Sheet(COUNT)
    for i in range(COUNT):
        s.cell(i)
        s.frame(1, 1, 14, 14, GREY)
    s.cell(0); s.line(3, 3, 12, 12, INK)                                                             # select
    s.cell(1); s.fill(3, 5, 12, 10, BLUE)                                                            # band
    s.cell(2); s.line(4, 12, 7, 3, INK); s.line(8, 3, 11, 12, INK); s.line(5, 9, 10, 9, INK)         # text
    s.cell(3); s.fill(3, 3, 12, 12, GREEN)                                                           # picture
    s.cell(4); s.frame(3, 4, 12, 11, INK)                                                            # shape
    s.cell(5); s.line(3, 12, 12, 3, INK)                                                             # line
    for i in range(6, COUNT):
        s.cell(i)
        s.fill(4, 4, 11, 11, (40 * (i % 6), 30 * (i % 8), 255 - 10 * i))
    s.cell(21); s.fill(3, 6, 12, 9, INK)                                                             # command
    s.cell(24); s.fill(3, 3, 12, 12, PAPER); s.frame(3, 3, 12, 12, INK)                              # check box
    s.line(5, 8, 7, 10, GREEN); s.line(7, 10, 11, 5, GREEN)
    return s


def gzip_resource(data, name):
    raw = zlib.compressobj(9, zlib.DEFLATED, -15)
    deflated = raw.compress(data) + raw.flush()
    header = b'\x1f\x8b\x08\x08' + struct.pack('>I', zlib.adler32(data)) + b'\x02\x03' + name + b'\0'
    return header + deflated + struct.pack('<II', zlib.crc32(data), len(data))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'report', 'images')
    for name, sheet in (('PreviewButtons', preview_buttons()), ('ObjectButtons', object_images())):
        with open(os.path.join(folder, name + '.gz'), 'wb') as out:
            out.write(gzip_resource(sheet.bmp(), name.encode() + b'.bmp'))


if __name__ == '__main__':
    main()

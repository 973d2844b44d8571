#!/usr/bin/env python3
"""Draws install's three icons (32x32, 16 colours) and writes them as .ico files.

Run from anywhere: python3 make_icons.py; the files land in icons/ beside it.
"""
import os
import struct

SIZE = 32
# The 16 colours of the classic Windows palette, as (blue, green, red).
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
BLACK, GRAY, SILVER, RED, GREEN, YELLOW, BLUE, WHITE = 0, 8, 7, 9, 10, 11, 12, 15


class Canvas:
    """Pixels hold a palette index; None is transparent."""

    def __init__(self):
        self.pixels = [[None] * SIZE for _ in range(SIZE)]

    def rect(self, left, top, right, bottom, colour):
        """Fills the rectangle including both corners."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.pixels[y][x] = colour

    def frame(self, left, top, right, bottom, colour):
        self.rect(left, top, right, top, colour)
        self.rect(left, bottom, right, bottom, colour)
        self.rect(left, top, left, bottom, colour)
        self.rect(right, top, right, bottom, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            x = x0 + round((x1 - x0) * i / steps)
            y = y0 + round((y1 - y0) * i / steps)
            self.rect(x, y, min(x + width - 1, SIZE - 1), y, colour)

    def triangle(self, apex_x, apex_y, base_y, half_base, colour):
        """An isosceles triangle with a horizontal base, pointing up or down."""
        step = 1 if base_y > apex_y else -1
        for y in range(apex_y, base_y + step, step):
            half = round(half_base * (y - apex_y) / (base_y - apex_y))
            self.rect(apex_x - half, y, apex_x + half, y, colour)


def printer(canvas):
    """The card printer: a body with a card in its slot."""
    canvas.rect(3, 14, 28, 27, SILVER)
    canvas.frame(3, 14, 28, 27, BLACK)
    canvas.rect(6, 17, 25, 18, BLACK)          # card slot
    canvas.rect(8, 5, 23, 17, WHITE)           # the card
    canvas.frame(8, 5, 23, 17, BLACK)
    canvas.rect(10, 8, 14, 12, BLUE)           # photo on the card
    canvas.rect(16, 8, 21, 8, GRAY)            # text lines on the card
    canvas.rect(16, 11, 21, 11, GRAY)
    canvas.rect(22, 23, 25, 24, GREEN)         # power lamp


def program_icon():
    canvas = Canvas()
    printer(canvas)
    # A down arrow: the package goes onto the machine.
    canvas.rect(26, 0, 29, 5, BLUE)
    canvas.triangle(27, 10, 6, 4, BLUE)
    return canvas


def uninstall_icon():
    canvas = Canvas()
    printer(canvas)
    # A red cross over it: the package comes off again.
    canvas.line(2, 2, 27, 27, RED, width=3)
    canvas.line(27, 2, 2, 27, RED, width=3)
    return canvas


def caution_icon():
    canvas = Canvas()
    canvas.triangle(15, 2, 29, 14, BLACK)
    canvas.triangle(15, 5, 27, 11, YELLOW)
    canvas.rect(14, 10, 16, 20, BLACK)         # the exclamation mark
    canvas.rect(14, 23, 16, 25, BLACK)
    return canvas


def ico_bytes(canvas):
    """One 32x32 4-bit image: header, palette, colour rows and mask rows, bottom-up."""
    colour_rows = b""
    mask_rows = b""
    for row in reversed(canvas.pixels):
        nibbles = [0 if p is None else p for p in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is None else 0)
        mask_rows += struct.pack(">I", bits)
    palette = b"".join(bytes((b, g, r, 0)) for b, g, r in PALETTE)
    image_size = len(colour_rows) + len(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, image_size, 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(folder, exist_ok=True)
    for name, draw in (("program", program_icon), ("uninstall", uninstall_icon),
                       ("caution", caution_icon)):
        with open(os.path.join(folder, name + ".ico"), "wb") as out:
            out.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()

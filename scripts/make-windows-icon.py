#!/usr/bin/env python3
"""Writes the Windows window icon (src/app/lorvane.ico): the pyramid of the Qt
view's icon at 32 x 32 and 16 x 16 pixels, 16 colours, transparent around it.
The .ico is committed; run this only to change it."""
import struct
import sys

# The sixteen standard colours (index: (r, g, b)).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
LIGHT_GREY, BLACK, DARK_GREY = 7, 0, 8


def inside(poly, x, y):
    """Even-odd test of the point (x, y) against a polygon."""
    hit = False
    n = len(poly)
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def image(size):
    u = size / 32.0
    apex, base_left, base_right, edge = (16 * u, 2 * u), (1 * u, 25 * u), (31 * u, 25 * u), (20 * u, 25 * u)
    shapes = [([apex, base_left, edge], LIGHT_GREY), ([apex, edge, base_right], BLACK),
              ([base_left, base_right, (29 * u, 29 * u), (3 * u, 29 * u)], DARK_GREY)]
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            colour = None
            for poly, c in shapes:
                if inside(poly, col + 0.5, row + 0.5):
                    colour = c
            line.append(colour)
        pixels.append(line)
    return pixels


def bitmap(size):
    pixels = image(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    and_mask = b''
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(pixels):  # bottom-up
        nibbles = [c if c is not None else 0 for c in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        mask = bytearray(mask_stride)
        for col, c in enumerate(row):
            if c is None:
                mask[col // 8] |= 0x80 >> (col % 8)
        and_mask += bytes(mask)
    return header + palette + xor + and_mask


def main(path):
    images = [(32, bitmap(32)), (16, bitmap(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/app/lorvane.ico')

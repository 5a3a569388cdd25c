#!/usr/bin/env python3
"""Draws the program icon, a joystick handle on its base, and writes it as a
128 x 128, 32-bit BMP-in-ICO file.

Usage: make_icon.py OUTPUT.ico

Standard library only. Shapes are signed-distance functions sampled on a
sub-pixel grid, so the edges come out anti-aliased with a real alpha channel.
"""
import math
import struct
import sys

SIZE = 128
SUBSAMPLES = 3
OUTLINE_WIDTH = 1.6
OUTLINE = (22, 24, 28)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # Not an exact distance, but close enough near the edge for shading.
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * min(rx, ry)


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return distance


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def distance(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return distance


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def lit(base, highlight, cx, cy, radius):
    """A colour that brightens towards a light spot at (cx, cy)."""
    return lambda x, y: mix(highlight, base, math.hypot(x - cx, y - cy) / radius)


def metal(x0, x1, dark, light):
    """A horizontal gradient with its brightest band left of centre, as on a
    polished cylinder."""
    def colour(x, _y):
        t = (x - x0) / (x1 - x0)
        return mix(light, dark, abs(t - 0.35) / 0.65)
    return colour


# Back to front: (shape, colour function, outlined).
LAYERS = [
    (rounded_rect(12, 92, 116, 120, 11), lit((38, 42, 50), (72, 78, 90), 50, 100, 70), True),
    (ellipse(64, 95, 50, 13), lit((58, 64, 75), (118, 126, 140), 46, 90, 60), True),
    (circle(100, 108, 3.2), lit((40, 200, 90), (200, 255, 210), 99, 107, 4), False),
    (ellipse(64, 93, 17, 6.5), lit((20, 22, 26), (60, 64, 72), 60, 91, 18), True),
    (rounded_rect(58, 50, 70, 94, 3), metal(58, 70, (90, 96, 106), (225, 230, 238)), True),
    (union(circle(64, 30, 20), capsule(64, 30, 64, 62, 14)),
     lit((40, 46, 60), (96, 108, 132), 56, 24, 44), True),
    (rounded_rect(49, 38, 57, 60, 3), lit((26, 30, 38), (52, 58, 70), 52, 42, 20), False),
    (circle(57, 19, 7.5), lit((200, 40, 36), (255, 170, 150), 55, 16, 9), True),
    (circle(76, 32, 5), lit((40, 100, 210), (170, 210, 255), 75, 30, 6), True),
]


def sample(x, y):
    """Straight RGBA of the topmost layer at one sub-pixel point."""
    colour, alpha = (0.0, 0.0, 0.0), 0.0
    for shape, paint, outlined in LAYERS:
        d = shape(x, y)
        if d < 0:
            colour, alpha = paint(x, y), 1.0
        elif outlined and d < OUTLINE_WIDTH:
            colour, alpha = OUTLINE, 1.0
    return colour, alpha


def render():
    pixels = []
    step = 1.0 / SUBSAMPLES
    count = SUBSAMPLES * SUBSAMPLES
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            r = g = b = a = 0.0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    (cr, cg, cb), ca = sample(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / count)))
        pixels.append(row)
    return pixels


def ico_bytes(pixels):
    """One 32-bit image: BITMAPINFOHEADER of double height, BGRA rows bottom
    up, then the 1-bit AND mask (set where fully transparent) for renderers
    that ignore alpha."""
    colour = bytearray()
    mask = bytearray()
    mask_row_bytes = (SIZE + 31) // 32 * 4
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_icon.py OUTPUT.ico')
    with open(sys.argv[1], 'wb') as output:
        output.write(ico_bytes(render()))


if __name__ == '__main__':
    main()

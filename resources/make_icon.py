#!/usr/bin/env python3
"""Draws the program icon (a small context menu with one highlighted and one hatched
item) at 16x16 and 32x32 and writes quorvil.ico beside this script.

The drawing is described once in a 32-unit square and rendered at each size with 4x4
supersampling, so both images come from the same shapes."""
import os
import struct

SUPERSAMPLE = 4


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def thick_line(points, width):
    def distance_to_segment(px, py, ax, ay, bx, by):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
        cx, cy = ax + t * dx, ay + t * dy
        return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5

    segments = list(zip(points, points[1:]))
    return lambda x, y: any(distance_to_segment(x, y, a[0], a[1], b[0], b[1]) <= width / 2 for a, b in segments)


def hatched(inside, spacing, stroke):
    # Diagonal stripes running from bottom-left to top-right, like the list's red hatch.
    return lambda x, y: inside(x, y) and ((x + y) % spacing) < stroke


def shapes():
    red = (255, 128, 128, 255)
    blue = (42, 92, 200, 255)
    return [
        (rect(6, 5, 30, 31), (0, 0, 0, 80)),                     # shadow
        (rect(2, 2, 27, 28), (80, 80, 80, 255)),                 # frame
        (rect(3, 3, 26, 27), (255, 255, 255, 255)),              # menu face
        (thick_line([(5.5, 7.5), (7.5, 9.5), (10.5, 5.5)], 1.8), (30, 150, 60, 255)),
        (rect(12, 7, 24, 9), (110, 110, 110, 255)),              # item 1 text
        (rect(3, 12, 26, 18), blue),                             # highlighted item
        (thick_line([(5.5, 15), (7.5, 17), (10.5, 13)], 1.8), (255, 255, 255, 255)),
        (rect(12, 14, 24, 16), (255, 255, 255, 255)),            # item 2 text
        (hatched(rect(3, 20, 26, 26), 4, 1.6), red),             # item past the limit
        (rect(12, 22, 24, 24), (90, 40, 40, 255)),               # item 3 text
    ]


def over(dst, src):
    sa = src[3] / 255.0
    da = dst[3] / 255.0
    out_a = sa + da * (1 - sa)
    if out_a == 0:
        return (0, 0, 0, 0)
    rgb = [(src[i] * sa + dst[i] * da * (1 - sa)) / out_a for i in range(3)]
    return (rgb[0], rgb[1], rgb[2], out_a * 255.0)


def render(size):
    scale = 32.0 / size
    pixels = []
    drawing = shapes()
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) * scale
                    y = (py + (sy + 0.5) / SUPERSAMPLE) * scale
                    colour = (0, 0, 0, 0)
                    for inside, fill in drawing:
                        if inside(x, y):
                            colour = over(colour, fill)
                    # Premultiplied sums keep edges from darkening.
                    a = colour[3] / 255.0
                    for i in range(3):
                        total[i] += colour[i] * a
                    total[3] += colour[3]
            samples = SUPERSAMPLE * SUPERSAMPLE
            alpha = total[3] / samples
            if alpha > 0:
                rgb = [min(255, round(total[i] / samples * 255.0 / alpha)) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(alpha)))
        pixels.append(row)
    return pixels


def icon_image(size):
    """One BITMAPINFOHEADER image of a .ico: 32-bit BGRA rows bottom-up, then the AND mask."""
    pixels = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def main():
    # 32x32 first: the dialog's icon control shows the first image at its real size.
    images = [(32, icon_image(32)), (16, icon_image(16))]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        data += image
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'quorvil.ico')
    with open(path, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()

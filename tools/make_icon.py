"""Draws the program's icon and writes it as a .ico file with 16, 24, 32 and
48 pixel images (32-bit with alpha): a teal rounded tile carrying a white
clipboard with two text lines, the tool's mark. Usage: make_icon.py OUT.ico"""
import struct
import sys

TEAL = (121, 209, 200)
DEEP = (38, 140, 132)
PINK = (255, 168, 255)
WHITE = (255, 255, 255)


def inside_rounded(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y, size):
    """Colour and alpha of the pixel centre (x, y) in a size × size image."""
    u, v = (x + 0.5) / size, (y + 0.5) / size
    if not inside_rounded(u, v, 0.02, 0.02, 0.98, 0.98, 0.2):
        return (0, 0, 0, 0)
    colour = DEEP if v > 0.86 or u > 0.9 else TEAL
    if inside_rounded(u, v, 0.22, 0.18, 0.78, 0.86, 0.06):  # the sheet
        colour = WHITE
        if 0.36 <= u <= 0.64 and 0.12 <= v <= 0.26:  # the clip
            colour = DEEP
        elif 0.32 <= u <= 0.68 and (0.40 <= v <= 0.47 or 0.57 <= v <= 0.64):
            colour = PINK if v > 0.5 else DEEP
    elif 0.36 <= u <= 0.64 and 0.12 <= v <= 0.26:
        colour = DEEP
    return colour + (255,)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in (pixel(x, y, size) for x in range(size))))
    colour = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha decides; the AND mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def main():
    sizes = [16, 24, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


main()

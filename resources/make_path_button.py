#!/usr/bin/env python3
"""Draws the open-folder picture of the path edit control's browse button, 13x13 pixels,
and writes it beside this script as path_edit_button.h: a 4-bit BMP file image (222 bytes)
and its 1-bit mask (114 bytes, 1 = transparent), both complete files starting with "BM"."""
import os
import struct

# K black outline, Y olive back of the folder, O yellow front flap, W white paper edge,
# . transparent.
PICTURE = [
    ".............",
    ".............",
    ".KKKK........",
    "KYYYYKKKKK...",
    "KYYYYYYYYK...",
    "KYYWWWWWWWKKK",
    "KYWKKKKKKKKKK",
    "KYKOOOOOOOOOK",
    "KKOOOOOOOOOK.",
    "KKOOOOOOOOOK.",
    "KOOOOOOOOOK..",
    "KKKKKKKKKKK..",
    ".............",
]

# The 16 colours of the standard VGA palette, as (red, green, blue).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
INDEX = {".": 0, "K": 0, "Y": 3, "O": 11, "W": 15}


def bmp(bit_count, palette, rows):
    """A BMP file of 13x13 pixels; `rows` top to bottom, each a list of palette indexes."""
    stride = ((13 * bit_count + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # a BMP stores the bottom row first
        bits = "".join(format(index, "0%db" % bit_count) for index in row)
        bits += "0" * (stride * 8 - len(bits))
        pixels += int(bits, 2).to_bytes(stride, "big")
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, 13, 13, 1, bit_count, 0, len(pixels), 0, 0, len(palette), 0)
    return header + info + colours + pixels


def c_array(name, data):
    lines = ["inline constexpr unsigned char %s[%d] = {" % (name, len(data))]
    for start in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02X" % b for b in data[start:start + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    assert len(PICTURE) == 13 and all(len(row) == 13 for row in PICTURE)
    colour = bmp(4, VGA, [[INDEX[c] for c in row] for row in PICTURE])
    mask = bmp(1, [(0, 0, 0), (255, 255, 255)], [[1 if c == "." else 0 for c in row] for row in PICTURE])
    assert len(colour) == 222 and len(mask) == 114
    text = "\n".join([
        "// The open-folder picture of the path edit control's browse button, written by",
        "// make_path_button.py: a 13x13 4-bit BMP file image and its 1-bit mask (1 = transparent).",
        "#pragma once",
        "",
        c_array("kFolderPictureBmp", colour),
        "",
        c_array("kFolderMaskBmp", mask),
        "",
    ])
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "path_edit_button.h"), "w") as out:
        out.write(text)


if __name__ == "__main__":
    main()

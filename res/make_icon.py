#!/usr/bin/env python3
"""Builds zentor.ico (16 colours, 32x32 and 16x16) from the pixel art in icon_art.txt.

Each art block starts with a line "size N" followed by N rows of N characters:
  .  transparent     k black      w white     g grey       G dark grey
  b  blue            B navy       y yellow    r red
Run:  python3 res/make_icon.py res/icon_art.txt res/zentor.ico
"""
import struct
import sys

# Standard 16-colour VGA palette, as (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INDEX = {'k': 0, 'B': 4, 'g': 7, 'G': 8, 'r': 9, 'y': 11, 'b': 12, 'w': 15, '.': 0}


def read_art(path):
    blocks, rows, size = [], [], 0
    for line in open(path, encoding='ascii'):
        line = line.rstrip('\n')
        if line.startswith('size '):
            if rows:
                blocks.append((size, rows))
            size, rows = int(line.split()[1]), []
        elif line and size:
            assert len(line) == size, 'row of %d, want %d: %r' % (len(line), size, line)
            rows.append(line)
    if rows:
        blocks.append((size, rows))
    for size, rows in blocks:
        assert len(rows) == size
    return blocks


def image(size, rows):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', r, g, b, 0) for (r, g, b) in
                       [(c[2], c[1], c[0]) for c in PALETTE])
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b'', b''
    for row in reversed(rows):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, ch in enumerate(row):
            value = INDEX[ch]
            line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(line)
        mask += bytes(bits)
    return header + palette + xor + mask


def main():
    blocks = read_art(sys.argv[1])
    images = [image(size, rows) for size, rows in blocks]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, _), data in zip(blocks, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[2], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()

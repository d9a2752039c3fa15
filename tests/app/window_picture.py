#!/usr/bin/env python3
# 640x480 24-bit BMP: gradients plus an "F" so a flip or channel swap shows.
import struct, sys
w, h = 640, 480
def colour(x, y):
    r, g, b = (x * 255 // 639), (y * 255 // 479), ((x ^ y) & 0xFF)
    if 100 <= x < 130 and 100 <= y < 300: r, g, b = 255, 0, 0
    if 100 <= x < 250 and 100 <= y < 130: r, g, b = 255, 0, 0
    if 100 <= x < 200 and 190 <= y < 220: r, g, b = 0, 0, 255
    return r, g, b
row = (w * 3 + 3) // 4 * 4
data = bytearray()
for y in range(h - 1, -1, -1):
    line = bytearray()
    for x in range(w):
        r, g, b = colour(x, y)
        line += bytes((b, g, r))
    line += b'\0' * (row - len(line))
    data += line
hdr = b'BM' + struct.pack('<IHHI', 54 + len(data), 0, 0, 54)
hdr += struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(sys.argv[1], 'wb').write(hdr + data)

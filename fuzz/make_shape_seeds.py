#!/usr/bin/env python3
"""Writes the shapefile seeds of the fuzz targets: one small file set per shape type, the types
that can carry measures once with their optional M block and once without it. A seed is the .shp
length (4 bytes, little-endian), the .shp and the .shx.

    python3 fuzz/make_shape_seeds.py fuzz/corpus/shapefile
"""
import os
import struct
import sys

PLAIN = {1: 'point', 3: 'line', 5: 'polygon', 8: 'multipoint'}
MEASURED = {21: 'pointm', 23: 'linem', 25: 'polygonm', 28: 'multipointm'}
ZED = {11: 'pointz', 13: 'linez', 15: 'polygonz', 18: 'multipointz', 31: 'multipatch'}


def family(t):
    return {1: 'point', 11: 'point', 21: 'point', 8: 'multi', 18: 'multi', 28: 'multi'}.get(t, 'parted')


def content(t, seed, with_m):
    """The record content of type t: two parts of three points where the type has parts."""
    points = [(10.0 * seed + i, 20.0 * seed + i * i) for i in range(6)]
    zs = [1.5 * i for i in range(6)]
    ms = [100.0 + i for i in range(6)]
    out = struct.pack('<i', t)
    kind = family(t)
    if kind == 'point':
        out += struct.pack('<2d', *points[0])
        if t == 11:
            out += struct.pack('<d', zs[0])
        if t in (11, 21) and with_m:
            out += struct.pack('<d', ms[0])
        return out
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out += struct.pack('<4d', min(xs), min(ys), max(xs), max(ys))
    if kind == 'multi':
        out += struct.pack('<i', len(points))
    else:
        out += struct.pack('<2i', 2, len(points)) + struct.pack('<2i', 0, 3)
        if t == 31:
            out += struct.pack('<2i', 0, 2)  # a triangle strip and an outer ring
    for p in points:
        out += struct.pack('<2d', *p)
    if t in ZED:
        out += struct.pack('<2d', min(zs), max(zs)) + struct.pack('<6d', *zs)
    if (t in ZED or t in MEASURED) and with_m:
        out += struct.pack('<2d', min(ms), max(ms)) + struct.pack('<6d', *ms)
    return out


def shapefile(t, with_m):
    records = [content(t, 1, with_m), struct.pack('<i', 0), content(t, 2, with_m)]
    body, index, offset = b'', b'', 100
    for n, c in enumerate(records, 1):
        body += struct.pack('>2i', n, len(c) // 2) + c
        index += struct.pack('>2i', offset // 2, len(c) // 2)
        offset += 8 + len(c)

    def header(length):
        return (struct.pack('>7i', 9994, 0, 0, 0, 0, 0, length // 2) +
                struct.pack('<2i', 1000, t) + struct.pack('<8d', 0, 0, 100, 100, 0, 0, 0, 0))

    shp = header(100 + len(body)) + body
    shx = header(100 + len(index)) + index
    return struct.pack('<I', len(shp)) + shp + shx


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for t, name in PLAIN.items():
        open(os.path.join(folder, name), 'wb').write(shapefile(t, False))
    for t, name in list(MEASURED.items()) + list(ZED.items()):
        open(os.path.join(folder, name), 'wb').write(shapefile(t, True))
        open(os.path.join(folder, name + '-nom'), 'wb').write(shapefile(t, False))


if __name__ == '__main__':
    main(sys.argv[1])

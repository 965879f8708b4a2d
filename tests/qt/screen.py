"""Reads a rectangle of a virtual X server's screen from the framebuffer file Xvfb keeps when it
is started with -fbdir (an XWD image of 32-bit pixels).
  screen.py FRAMEBUFFER X Y WIDTH HEIGHT colours     prints how many colours the rectangle holds
  screen.py FRAMEBUFFER X Y WIDTH HEIGHT png OUT     saves the rectangle as a PNG picture
"""
import struct
import sys
import zlib


def rows(path, x, y, width, height):
    with open(path, "rb") as f:
        data = f.read()
    head = struct.unpack(">25I", data[:100])
    header_size, screen_width, screen_height = head[0], head[4], head[5]
    bits_per_pixel, bytes_per_line, colours = head[11], head[12], head[19]
    if bits_per_pixel != 32 or x < 0 or y < 0 or x + width > screen_width or \
            y + height > screen_height:
        sys.exit(f"screen.py: {path} has no {width}x{height}+{x}+{y} of 32-bit pixels")
    start = header_size + 12 * colours
    for row in range(y, y + height):
        at = start + row * bytes_per_line + 4 * x
        # Each pixel is blue, green, red and a pad byte.
        pixels = data[at:at + 4 * width]
        yield bytes(b for i in range(0, len(pixels), 4) for b in (pixels[i + 2], pixels[i + 1],
                                                                  pixels[i]))


def png(path, lines, width, height):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + \
            struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + line for line in lines)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                                  0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    framebuffer, x, y, width, height, what = sys.argv[1:7]
    x, y, width, height = int(x), int(y), int(width), int(height)
    lines = rows(framebuffer, x, y, width, height)
    if what == "colours":
        print(len({line[i:i + 3] for line in lines for i in range(0, len(line), 3)}))
    else:
        png(sys.argv[7], lines, width, height)


main()

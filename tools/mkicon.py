#!/usr/bin/env python3
"""Build the application icon (MAINICON) from its pixel-art text source.

Usage: python3 tools/mkicon.py res/MainIcon.txt -o OUT.ico [--png DIR]

Source format (blank lines and lines starting with '#' are ignored):
    colour C RRGGBB ...  the character C stands for this RGB colour (then a name)
    transparent C        the character C stands for a transparent pixel
    image WxH N          N = 16 or 256 colours, followed by H rows of W characters

The source must hold four images: 32x32 and 16x16, each in 16 and 256 colours.
16-colour images may only use the standard VGA colours. The .ico gets them in
the order 32x32/256, 16x16/256, 32x32/16, 16x16/16, each as a BMP-format image
(4 or 8 bpp XOR bitmap plus 1 bpp AND mask). --png DIR also writes an enlarged
PNG of each image on a checker background, for looking at.
"""
import argparse
import os
import re
import struct
import sys
import zlib

# Windows' standard 16-colour palette, in its usual index order.
VGA = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
       0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
ORDER = [(32, 256), (16, 256), (32, 16), (16, 16)]


class SourceError(Exception):
    pass


def parse(path):
    colours, transparent, images = {}, None, {}
    with open(path, encoding="utf-8") as f:
        lines = [(n, l.rstrip()) for n, l in enumerate(f, 1)]
    lines = [(n, l) for n, l in lines if l and not l.startswith("#")]
    i = 0
    while i < len(lines):
        n, line = lines[i]
        where = "%s:%d: " % (path, n)
        i += 1
        define = (re.fullmatch(r"colour (\S) ([0-9A-Fa-f]{6})(\s.*)?", line)
                  or re.fullmatch(r"transparent (\S)", line))
        image = re.fullmatch(r"image (\d+)x(\d+) (\d+)", line)
        if define:
            ch = define.group(1)
            if ch == "#":
                raise SourceError(where + "'#' starts a comment, it cannot stand for a pixel")
            if ch in colours or ch == transparent:
                raise SourceError(where + "character '%s' defined twice" % ch)
            if line.startswith("transparent"):
                transparent = ch
            else:
                colours[ch] = int(define.group(2), 16)
        elif image:
            w, h, ncol = map(int, image.groups())
            if w != h or (w, ncol) not in ORDER:
                raise SourceError(where + "images must be 32x32 or 16x16, with 16 or 256 colours")
            if (w, ncol) in images:
                raise SourceError(where + "image %dx%d %d defined twice" % (w, h, ncol))
            rows = lines[i:i + h]
            if len(rows) < h:
                raise SourceError(where + "image needs %d rows, file ends first" % h)
            i += h
            pixels = []
            for rn, row in rows:
                if len(row) != w:
                    raise SourceError("%s:%d: row is %d characters long, expected %d"
                                      % (path, rn, len(row), w))
                for ch in row:
                    if ch != transparent and ch not in colours:
                        raise SourceError("%s:%d: unknown character '%s'" % (path, rn, ch))
                    if ncol == 16 and ch in colours and colours[ch] not in VGA:
                        raise SourceError("%s:%d: '%s' (%06X) is not a VGA colour, not allowed"
                                          " in a 16-colour image" % (path, rn, ch, colours[ch]))
                pixels.append([None if ch == transparent else colours[ch] for ch in row])
            used = {p for row in pixels for p in row if p is not None}
            if len(used | {0}) > ncol:  # black always takes palette entry 0
                raise SourceError(where + "image needs %d palette entries (with black), at most %d"
                                  % (len(used | {0}), ncol))
            images[(w, ncol)] = pixels
        else:
            raise SourceError(where + "cannot read '%s': expected 'colour C RRGGBB',"
                              " 'transparent C' or 'image WxH N'" % line)
    missing = [k for k in ORDER if k not in images]
    if missing:
        raise SourceError("%s: missing image(s): %s" % (
            path, ", ".join("%dx%d %d" % (w, w, c) for w, c in missing)))
    return images


def packbits(values, bpp):
    """Pack one row of palette indices, padded to a multiple of 4 bytes."""
    bits = "".join(format(v, "0%db" % bpp) for v in values)
    bits += "0" * (-len(bits) % 32)
    return int(bits, 2).to_bytes(len(bits) // 8, "big") if bits else b""


def bmp_image(pixels, ncol):
    size = len(pixels)
    bpp = 4 if ncol == 16 else 8
    if ncol == 16:
        palette = VGA
    else:  # black first, so transparent pixels (index 0, AND bit set) show nothing
        palette = [0] + sorted({p for row in pixels for p in row if p not in (None, 0)})
        palette += [0] * (256 - len(palette))
    index = {c: k for k, c in enumerate(palette) if k == 0 or c != 0}
    xor = b"".join(packbits([0 if p is None else index[p] for p in row], bpp)
                   for row in reversed(pixels))
    mask = b"".join(packbits([1 if p is None else 0 for p in row], 1)
                    for row in reversed(pixels))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", c & 255, (c >> 8) & 255, c >> 16, 0) for c in palette)
    return header + pal + xor + mask


def write_ico(images, path):
    blobs = [(w, c, bmp_image(images[(w, c)], c)) for w, c in ORDER]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, c, blob in blobs:
        out += struct.pack("<BBBBHHII", w, w, 16 if c == 16 else 0, 0, 1,
                           4 if c == 16 else 8, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blob for _, _, blob in blobs))


def write_png(pixels, path, scale=8):
    rows = []
    for y, row in enumerate(pixels):
        line = bytearray()
        for x, p in enumerate(row):
            if p is None:  # light checker shows the transparent pixels
                p = 0xF0F0F0 if (x + y) % 2 else 0xD0D0D0
            line += bytes((p >> 16, (p >> 8) & 255, p & 255)) * scale
        rows += [b"\0" + bytes(line)] * scale
    w, h = len(pixels[0]) * scale, len(pixels) * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    ap = argparse.ArgumentParser(description="Build the application .ico from its text source.")
    ap.add_argument("source")
    ap.add_argument("-o", "--output", required=True, help=".ico file to write")
    ap.add_argument("--png", metavar="DIR", help="also write enlarged PNG previews into DIR")
    args = ap.parse_args()
    try:
        images = parse(args.source)
    except (SourceError, OSError) as e:
        sys.exit("mkicon: error: %s" % e)
    write_ico(images, args.output)
    if args.png:
        os.makedirs(args.png, exist_ok=True)
        for w, c in ORDER:
            write_png(images[(w, c)], os.path.join(args.png, "icon%d_%d.png" % (w, c)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes png_cases.inc: small PNG files produced by this script's own encoder (zlib plus the
PNG chunk layout, every colour type, bit depth and Adam7 interlacing) together with
the 0xAARRGGBB words a decoder must produce for them.

    python3 tests/raster/data/make_png_cases.py > tests/raster/data/png_cases.inc
    python3 tests/raster/data/make_png_cases.py --seeds fuzz/corpus/png_decode

The expected words follow the PNG rules on their own: low-bit grey scaled to 8 bits
(1 -> x255, 2 -> x85, 4 -> x17), 16-bit samples cut to their high byte, tRNS turned into
alpha 0 for the matching colour (or the palette entry's alpha), opaque otherwise.
"""
import struct
import zlib

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def sample(x, y, channel, depth):
    """A deterministic sample that sweeps the whole range of the depth."""
    spread = 4099 if depth == 16 else 1
    return ((x * 37 + y * 91 + channel * 53 + x * y * 7) * spread) % (1 << depth)


def pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out = bytearray()
    per_byte = 8 // depth
    for i in range(0, len(samples), per_byte):
        byte = 0
        group = samples[i:i + per_byte]
        for j, s in enumerate(group):
            byte |= s << (8 - depth * (j + 1))
        out.append(byte)
    return bytes(out)


def filter_rows(rows):
    """Filter type 0 on every row: filtering is the decoder library's own business."""
    return b"".join(b"\x00" + row for row in rows)


def encode(width, height, colour_type, depth, interlace, pixels, extra_chunks):
    def rows_for(xs, ys):
        return [pack_row([s for x in xs for s in pixels[y][x]], depth) for y in ys]

    if interlace:
        data = b""
        for x0, y0, dx, dy in ADAM7:
            xs = list(range(x0, width, dx))
            ys = list(range(y0, height, dy))
            if xs and ys:
                data += filter_rows(rows_for(xs, ys))
    else:
        data = filter_rows(rows_for(range(width), range(height)))
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + b"".join(extra_chunks) +
            chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


def to8(value, depth):
    if depth == 16:
        return value >> 8
    return value * (255 // ((1 << depth) - 1))


def make_case(name, width, height, colour_type, depth, interlace, transparency=False):
    channels = CHANNELS[colour_type]
    pixels = [[[sample(x, y, c, depth) for c in range(channels)] for x in range(width)] for y in range(height)]
    extra = []
    palette = []
    alphas = []
    if colour_type == 3:
        entries = 1 << depth
        palette = [((i * 67) % 256, (i * 131 + 7) % 256, (i * 29 + 200) % 256) for i in range(entries)]
        extra.append(chunk(b"PLTE", b"".join(bytes(p) for p in palette)))
        if transparency:
            alphas = [(i * 97) % 256 for i in range(max(1, entries // 2))]
            extra.append(chunk(b"tRNS", bytes(alphas)))
    key = None
    if transparency and colour_type == 0:
        key = pixels[0][0][0]
        extra.append(chunk(b"tRNS", struct.pack(">H", key)))
    if transparency and colour_type == 2:
        key = tuple(pixels[1][0])
        extra.append(chunk(b"tRNS", struct.pack(">HHH", *key)))
    png = encode(width, height, colour_type, depth, interlace, pixels, extra)

    words = []
    for y in range(height):
        for x in range(width):
            p = pixels[y][x]
            if colour_type == 3:
                r, g, b = palette[p[0]]
                a = alphas[p[0]] if p[0] < len(alphas) else 255
            elif colour_type in (0, 4):
                r = g = b = to8(p[0], depth)
                a = to8(p[1], depth) if colour_type == 4 else 255
                if key is not None and p[0] == key:
                    a = 0
            else:
                r, g, b = (to8(v, depth) for v in p[:3])
                a = to8(p[3], depth) if colour_type == 6 else 255
                if key is not None and tuple(p) == key:
                    a = 0
            words.append((a << 24) | (r << 16) | (g << 8) | b)
    return name, width, height, png, words


def cases():
    out = []
    kinds = [(0, 1), (0, 2), (0, 4), (0, 8), (0, 16), (2, 8), (2, 16), (3, 1), (3, 2), (3, 4), (3, 8),
             (4, 8), (4, 16), (6, 8), (6, 16)]
    for interlace in (0, 1):
        for colour_type, depth in kinds:
            out.append(make_case("type%d_depth%d%s" % (colour_type, depth, "_adam7" if interlace else ""),
                                 7, 5, colour_type, depth, interlace))
        for colour_type, depth in [(0, 8), (2, 8), (3, 4), (3, 8)]:
            out.append(make_case("type%d_depth%d_trns%s" % (colour_type, depth, "_adam7" if interlace else ""),
                                 9, 6, colour_type, depth, interlace, transparency=True))
    out.append(make_case("rgba_20x18", 20, 18, 6, 8, 0))
    out.append(make_case("rgba_21x36", 21, 36, 6, 8, 1))
    out.append(make_case("grey16_33x3", 33, 3, 0, 16, 0))
    return out


def main():
    print("// Generated by tests/raster/data/make_png_cases.py; do not edit by hand.")
    print("// Each case: name, width, height, PNG bytes, expected 0xAARRGGBB words (row by row).")
    for index, (name, width, height, png, words) in enumerate(cases()):
        print("static const unsigned char kPng%d[] = {" % index)
        for i in range(0, len(png), 16):
            print("    " + ", ".join("0x%02X" % b for b in png[i:i + 16]) + ",")
        print("};")
        print("static const std::uint32_t kWords%d[] = {" % index)
        for i in range(0, len(words), 8):
            print("    " + ", ".join("0x%08Xu" % w for w in words[i:i + 8]) + ",")
        print("};")
    print("static const PngCase kPngCases[] = {")
    for index, (name, width, height, png, words) in enumerate(cases()):
        print('    {"%s", %d, %d, kPng%d, sizeof kPng%d, kWords%d},' % (name, width, height, index, index, index))
    print("};")


def write_seeds(folder):
    """A few of the cases and two broken files as the fuzzer's seed corpus."""
    import os
    chosen = ("type0_depth1", "type2_depth16", "type3_depth8_trns", "type0_depth16_adam7", "type6_depth8_adam7")
    for name, _, _, png, _ in cases():
        if name in chosen:
            with open(os.path.join(folder, name + ".png"), "wb") as f:
                f.write(png)
        if name == "type6_depth8":
            with open(os.path.join(folder, "broken_truncated.png"), "wb") as f:
                f.write(png[:len(png) // 2])
            flipped = bytearray(png)
            flipped[40] ^= 0x55
            with open(os.path.join(folder, "broken_idat_byte.png"), "wb") as f:
                f.write(bytes(flipped))


if __name__ == "__main__":
    import sys
    if len(sys.argv) == 3 and sys.argv[1] == "--seeds":
        write_seeds(sys.argv[2])
    else:
        main()

#!/usr/bin/env python3
"""Writes the PNG files the reader's tests read, with exact control of what is in them.

good/NAME.png are pictures of every colour type and bit depth, plain and interlaced, with and
without transparency (alpha channel and tRNS), every row filter and split or extra chunks; each
gets good/NAME.ppm beside it, the picture ImageMagick makes of it laid over white:
  convert NAME.png -background white -alpha remove -alpha off -depth 8 NAME.ppm
bad/NAME.png are damaged or hostile files, each of which the reader must refuse.

Run it from anywhere; it writes beside itself and is safe to run again (same bytes every time).
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 13, 11  # odd sizes: Adam7's passes come out uneven and some rows short
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def ihdr(width, height, depth, colour, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace))


def sample(x, y, channel, depth):
    """A pattern with flat runs, edges and gradients, different in each channel."""
    top = (1 << depth) - 1
    v = (x * 37 + y * 61 + channel * 97 + (x * y) % 7 * 23) % 256
    if (x // 4 + y // 3) % 3 == 0:
        v = 200 - channel * 40  # a flat area
    if depth == 16:
        return (v * 257 + x * 13 + y * 7 + channel) & 0xFFFF
    return v * top // 255


def pack_row(values, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", v) for v in values)
    if depth == 8:
        return bytes(values)
    out, acc, bits = bytearray(), 0, 0
    for v in values:
        acc, bits = (acc << depth) | v, bits + depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filter_row(kind, raw, prior, bpp):
    out = bytearray()
    for i, v in enumerate(raw):
        a = raw[i - bpp] if i >= bpp else 0
        b = prior[i] if prior else 0
        c = prior[i - bpp] if prior and i >= bpp else 0
        guess = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((v - guess) & 0xFF)
    return bytes([kind]) + bytes(out)


def pixel_rows(depth, colour, pixels, interlace):
    """The filtered rows of the picture (pixels[y][x] is a tuple of samples), pass by pass."""
    bpp = max(1, CHANNELS[colour] * depth // 8)
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    data, n = bytearray(), 0
    for x0, y0, dx, dy in passes:
        xs, ys = range(x0, WIDTH, dx), range(y0, HEIGHT, dy)
        if not xs or not ys:
            continue
        prior = None
        for y in ys:
            raw = pack_row([s for x in xs for s in pixels[y][x]], depth)
            data += filter_row(n % 5, raw, prior, bpp)  # every filter, in turn
            prior, n = raw, n + 1
    return bytes(data)


def picture(depth, colour, entries=None):
    channels = CHANNELS[colour]
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            if colour == 3:
                row.append((sample(x, y, 0, 8) % entries,))
            else:
                s = [sample(x, y, c, depth) for c in range(channels)]
                if colour in (4, 6) and x % 5 == 0:
                    s[-1] = (1 << depth) - 1  # some opaque columns
                if colour in (4, 6) and y == 2:
                    s[-1] = 0  # and a clear row
                row.append(tuple(s))
        rows.append(row)
    return rows


def palette(entries):
    return bytes((i * 53 % 256, i * 101 % 256, 255 - i * 17 % 256)[c] for i in range(entries) for c in range(3))


def png(depth, colour, interlace=0, extra_before_idat=b"", split=1, pixels=None, entries=None, ancillary=b""):
    if colour == 3 and entries is None:
        entries = min(1 << depth, 200)
    pixels = pixels or picture(depth, colour, entries)
    stream = zlib.compress(pixel_rows(depth, colour, pixels, interlace), 9)
    out = b"\x89PNG\r\n\x1a\n" + ihdr(WIDTH, HEIGHT, depth, colour, interlace) + ancillary
    if colour == 3:
        out += chunk(b"PLTE", palette(entries))
    out += extra_before_idat
    step = (len(stream) + split - 1) // split
    for i in range(0, len(stream), step):
        out += chunk(b"IDAT", stream[i:i + step])
    return out + chunk(b"IEND", b"")


def good_files():
    files = {}
    for colour, depths in [(0, [1, 2, 4, 8, 16]), (2, [8, 16]), (3, [1, 2, 4, 8]), (4, [8, 16]), (6, [8, 16])]:
        for depth in depths:
            for interlace in (0, 1):
                name = f"type{colour}_depth{depth}" + ("_interlaced" if interlace else "")
                files[name] = png(depth, colour, interlace)
    # tRNS: a colour key for gray and RGB, alpha of some entries for a palette.
    for depth in (2, 8, 16):
        key = sample(3, 3, 0, depth)
        files[f"type0_depth{depth}_trns"] = png(depth, 0, extra_before_idat=chunk(b"tRNS", struct.pack(">H", key)))
    for depth in (8, 16):
        key = [sample(3, 3, c, depth) for c in range(3)]
        trns = chunk(b"tRNS", struct.pack(">HHH", *key))
        files[f"type2_depth{depth}_trns"] = png(depth, 2, extra_before_idat=trns)
        files[f"type2_depth{depth}_trns_interlaced"] = png(depth, 2, 1, extra_before_idat=trns)
    for depth in (4, 8):
        alphas = bytes((i * 41) % 256 for i in range(7))  # fewer entries than the palette: the rest opaque
        files[f"type3_depth{depth}_trns"] = png(depth, 3, extra_before_idat=chunk(b"tRNS", alphas))
    # The stream split over many IDAT chunks, and chunks the reader passes over.
    files["type2_depth8_split_idat"] = png(8, 2, split=7)
    files["type6_depth8_ancillary_chunks"] = png(
        8, 6, ancillary=chunk(b"gAMA", struct.pack(">I", 45455)) + chunk(b"tEXt", b"Comment\x00made for tests") +
        chunk(b"zzZz", b"an unknown ancillary chunk"))
    files["type2_depth8_suggested_palette"] = png(8, 2, extra_before_idat=chunk(b"PLTE", palette(16)))
    return files


def corrupt_crc(data, offset):
    return data[:offset] + bytes([data[offset] ^ 0x01]) + data[offset + 1:]


def bad_files():
    base = png(8, 2)
    ihdr_end = 8 + 25
    idat_start = base.index(b"IDAT") - 4
    files = {
        "bad_crc_in_ihdr": corrupt_crc(base, ihdr_end - 1),
        "bad_crc_in_idat": corrupt_crc(base, base.index(b"IEND") - 5),
        "bad_signature": b"\x89PNG\r\n\x1a\x0a"[:7] + b"\x00" + base[8:],
        "truncated_in_idat": base[:idat_start + 30],
        "no_iend": base[:base.index(b"IEND") - 4],
        "ihdr_not_first": b"\x89PNG\r\n\x1a\n" + chunk(b"gAMA", struct.pack(">I", 45455)) + base[8:],
        "two_ihdr": base[:ihdr_end] + base[8:],
        "no_idat": base[:idat_start] + chunk(b"IEND", b""),
        "plte_after_idat": base[:base.index(b"IEND") - 4] + chunk(b"PLTE", palette(4)) + chunk(b"IEND", b""),
        "palette_picture_without_plte": png(8, 3).replace(chunk(b"PLTE", palette(200)), b""),
        "plte_in_gray_picture": png(8, 0, extra_before_idat=chunk(b"PLTE", palette(4))),
        "palette_larger_than_depth": png(2, 3, extra_before_idat=b"").replace(
            chunk(b"PLTE", palette(4)), chunk(b"PLTE", palette(5))),
        "palette_index_past_palette": png(8, 3, entries=200).replace(chunk(b"PLTE", palette(200)),
                                                                     chunk(b"PLTE", palette(100))),
        "trns_longer_than_palette": png(4, 3, extra_before_idat=chunk(b"tRNS", bytes(17))),
        "trns_wrong_size_for_rgb": png(8, 2, extra_before_idat=chunk(b"tRNS", bytes(2))),
        "unknown_critical_chunk": png(8, 2, extra_before_idat=chunk(b"CRIT", b"must be understood")),
        "bad_depth_for_rgb": base[:8] + ihdr(WIDTH, HEIGHT, 4, 2) + base[ihdr_end:],
        "bad_colour_type": base[:8] + ihdr(WIDTH, HEIGHT, 8, 5) + base[ihdr_end:],
        "bad_interlace_method": base[:8] + ihdr(WIDTH, HEIGHT, 8, 2, 2) + base[ihdr_end:],
        "zero_width": base[:8] + ihdr(0, HEIGHT, 8, 2) + base[ihdr_end:],
        "bad_chunk_name": png(8, 2, extra_before_idat=chunk(b"t3XT", b"x")),
    }
    # IDATs with another chunk between them.
    split = png(8, 2, split=3)
    first_end = split.index(b"IDAT", split.index(b"IDAT") + 4) - 4
    files["idat_not_consecutive"] = split[:first_end] + chunk(b"tEXt", b"a\x00b") + split[first_end:]
    # A stream whose pixels are fine but one row's filter byte is 5.
    rows = bytearray(pixel_rows(8, 2, picture(8, 2), 0))
    rows[(1 + 3 * WIDTH) * 4] = 5
    files["bad_filter_byte"] = b"\x89PNG\r\n\x1a\n" + ihdr(WIDTH, HEIGHT, 8, 2) + chunk(
        b"IDAT", zlib.compress(bytes(rows))) + chunk(b"IEND", b"")
    # Streams that end early, run on past the picture, or are not zlib at all.
    full = pixel_rows(8, 2, picture(8, 2), 0)
    for name, data in [("stream_short_by_a_row", zlib.compress(full[:-(1 + 3 * WIDTH)])),
                       ("stream_longer_than_picture", zlib.compress(full + full)),
                       ("stream_not_zlib", full[:200]),
                       ("stream_bad_adler32", zlib.compress(full)[:-1] + b"\x00")]:
        files[name] = b"\x89PNG\r\n\x1a\n" + ihdr(WIDTH, HEIGHT, 8, 2) + chunk(b"IDAT", data) + chunk(b"IEND", b"")
    # Sizes beyond the program's limits, with next to nothing behind them.
    for name, (w, h, depth, colour) in {"too_large_65536_wide": (65536, 1, 8, 2),
                                        "too_large_40000_square": (40000, 40000, 8, 2),
                                        "too_large_2147483647_high": (1, 0x7FFFFFFF, 8, 0),
                                        "too_large_inflated_rows": (10000, 10000, 16, 6)}.items():
        files[name] = b"\x89PNG\r\n\x1a\n" + ihdr(w, h, depth, colour) + chunk(
            b"IDAT", zlib.compress(b"\x00" * 100)) + chunk(b"IEND", b"")
    return files


def write(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        if name.endswith((".png", ".ppm")):
            os.remove(os.path.join(folder, name))
    for name, data in files.items():
        with open(os.path.join(folder, name + ".png"), "wb") as f:
            f.write(data)


def main():
    good = os.path.join(HERE, "good")
    write(good, good_files())
    for name in sorted(os.listdir(good)):
        if name.endswith(".png"):
            path = os.path.join(good, name)
            subprocess.run(["convert", path, "-background", "white", "-alpha", "remove", "-alpha", "off",
                            "-depth", "8", path[:-4] + ".ppm"], check=True)
    write(os.path.join(HERE, "bad"), bad_files())


if __name__ == "__main__":
    main()

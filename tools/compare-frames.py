#!/usr/bin/env python3
"""Compares the preview's frames with frames kept from before a change of the art.

    tools/compare-frames.py BEFORE_DIR AFTER_DIR [--mean 1.0] [--share 0.5] [--step 32]

Every PNG in BEFORE_DIR is compared with the PNG of the same name in AFTER_DIR. For each pair it
prints the mean absolute difference per channel and the share of pixels that differ by more
than --step in any channel, and it fails (exit 1) when a mean exceeds --mean, a share exceeds
--share per cent, a frame is missing, or the sizes differ. Python 3's standard library only.
"""
import argparse
import pathlib
import struct
import sys
import zlib


def read_png(path):
    """Width, height, channels and the raw pixel bytes of an 8-bit grey/RGB/RGBA PNG."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        at += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour_type)
    if depth != 8 or channels is None or interlace:
        raise ValueError(f"{path}: only 8-bit, non-interlaced grey, RGB or RGBA is read")
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    pixels = bytearray(stride * height)
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = line[i - channels] if i >= channels else 0
                b = previous[i]
                c = previous[i - channels] if i >= channels else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[i] = (line[i] + predictor) & 0xFF
        pixels[y * stride:(y + 1) * stride] = line
        previous = line
    return width, height, channels, bytes(pixels)


def compare(before, after, step):
    """The mean absolute difference per channel, and the share of pixels off by more than step."""
    w0, h0, c0, p0 = before
    w1, h1, c1, p1 = after
    if (w0, h0, c0) != (w1, h1, c1):
        raise ValueError(f"{w0}x{h0}x{c0} against {w1}x{h1}x{c1}")
    total = 0
    far = set()
    for i, (a, b) in enumerate(zip(p0, p1)):
        if a != b:
            d = abs(a - b)
            total += d
            if d > step:
                far.add(i // c0)
    return total / len(p0), 100.0 * len(far) / (w0 * h0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("before", type=pathlib.Path)
    parser.add_argument("after", type=pathlib.Path)
    parser.add_argument("--mean", type=float, default=1.0)
    parser.add_argument("--share", type=float, default=0.5, help="per cent of the pixels")
    parser.add_argument("--step", type=int, default=32)
    args = parser.parse_args()
    frames = sorted(args.before.glob("*.png"))
    if not frames:
        print(f"compare-frames: no PNG frames in {args.before}", file=sys.stderr)
        return 1
    failed = 0
    for frame in frames:
        other = args.after / frame.name
        try:
            mean, share = compare(read_png(frame), read_png(other), args.step)
        except (OSError, ValueError) as problem:
            print(f"{frame.name}: {problem}")
            failed += 1
            continue
        good = mean <= args.mean and share <= args.share
        failed += not good
        print(f"{frame.name}: mean difference {mean:.3f} per channel, {share:.3f} % of pixels "
              f"off by more than {args.step}  {'ok' if good else 'TOO FAR'}")
    print(f"compare-frames: {len(frames) - failed} of {len(frames)} frames within the limits")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

"""The pixels of PNG files, decoded here (8-bit RGB or RGBA, not interlaced, any row filter),
so that frames written at different compressions compare by what they show.

    png_pixels.py same A.png B.png   exits 1, naming the first differing pixel, unless equal
"""
import struct, sys, zlib


def pixels(path):
    """(width, height, bytes of RGBA rows)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            raise ValueError(f"{path}: chunk {kind} fails its check")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: a kind of PNG not read here")
    step = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - step] if i >= step else 0
            b = previous[i]
            c = previous[i - step] if i >= step else 0
            if kind == 1: row[i] = (row[i] + a) & 255
            elif kind == 2: row[i] = (row[i] + b) & 255
            elif kind == 3: row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(row) if step == 4 else b"".join(
            bytes(row[i:i + 3]) + b"\xff" for i in range(0, stride, 3)))
        previous = row
    return width, height, b"".join(rows)


def main():
    if len(sys.argv) != 4 or sys.argv[1] != "same":
        sys.exit(__doc__)
    one, other = pixels(sys.argv[2]), pixels(sys.argv[3])
    if one[:2] != other[:2]:
        sys.exit(f"sizes differ: {one[:2]} and {other[:2]}")
    if one[2] != other[2]:
        at = next(i for i in range(len(one[2])) if one[2][i] != other[2][i]) // 4
        sys.exit(f"pixel ({at % one[0]}, {at // one[0]}) differs")


if __name__ == "__main__":
    main()

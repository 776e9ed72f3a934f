#!/usr/bin/env python3
"""Writes the texture dictionary reader's fuzz seeds: one small file for each raster format,
palette, mipmap and block compression the reader takes, as other tools lay them out."""
import os
import struct

STAMP = 0x0C02FFFF
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds", "texdict_reader")


def chunk(kind, body, stamp=STAMP):
    return struct.pack("<III", kind, len(body), stamp) + body


def texture(name, raster, width, height, depth, levels, compression, palette, level_bytes):
    header = struct.pack("<II", 8, 0x3302) + name.encode().ljust(32, b"\0") + bytes(32)
    header += struct.pack("<IIHHBBBB", raster, 1, width, height, depth, len(level_bytes), 4,
                          compression)
    body = header + palette
    for level in level_bytes:
        body += struct.pack("<I", len(level)) + level
    return chunk(0x15, chunk(0x01, body) + chunk(0x03, b""))


def dictionary(*textures, stamp=STAMP):
    body = chunk(0x01, struct.pack("<HH", len(textures), 0), stamp)
    return chunk(0x16, body + b"".join(textures) + chunk(0x03, b"", stamp), stamp)


def seed(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


os.makedirs(HERE, exist_ok=True)
px2x2 = bytes(range(16))
seed("8888", dictionary(texture("star", 0x0500, 2, 2, 32, 1, 0, b"", [px2x2])))
seed("888_old_stamp", dictionary(texture("bar", 0x0600, 2, 2, 32, 1, 0, b"", [px2x2]),
                                 stamp=0x00000310))
for raster, label in ((0x0100, "1555"), (0x0200, "565"), (0x0300, "4444"), (0x0A00, "555")):
    seed(label, dictionary(texture(label, raster, 2, 2, 16, 1, 0, b"", [bytes(range(8))])))
seed("lum8", dictionary(texture("grey", 0x0400, 2, 2, 8, 1, 0, b"", [bytes([0, 85, 170, 255])])))
seed("pal8", dictionary(texture("p8", 0x2500, 2, 2, 8, 1, 0, bytes(range(256)) * 4,
                                [bytes([0, 1, 254, 255])])))
seed("pal4", dictionary(texture("p4", 0x4600, 2, 2, 4, 1, 0, bytes(range(128)),
                                [bytes([0, 1, 30, 31])])))
seed("mipmaps", dictionary(texture("m", 0x8500, 4, 2, 32, 3, 0, b"",
                                   [bytes(32), bytes(8), bytes(4)])))
block = struct.pack("<HHI", 0xF800, 0x001F, 0xE4E4E4E4)
seed("dxt1", dictionary(texture("d1", 0x0200, 4, 4, 16, 1, 1, b"", [block])))
seed("dxt3", dictionary(texture("d3", 0x0300, 8, 4, 16, 1, 3, b"",
                                [(bytes([0x0F, 0xF0] * 4) + block) * 2])))
seed("dxt5", dictionary(texture("d5", 0x0300, 2, 2, 16, 1, 5, b"",
                                [bytes([255, 0, 0x88, 0x46, 0, 0, 0, 0]) + block])))
seed("two_textures", dictionary(texture("a", 0x0500, 1, 1, 32, 1, 0, b"", [bytes(4)]),
                                texture("B", 0x0200, 1, 2, 16, 1, 0, b"", [bytes(4)])))
# Headers a modder's download may carry, whose sizes wrap in 32 bits: each must be refused.
seed("crafted_8888_32768_empty_level",
     dictionary(texture("wide", 0x0500, 32768, 32768, 32, 1, 0, b"", [b""])))
seed("crafted_1555_46341_wrapped_level",
     dictionary(texture("wrap", 0x0100, 46341, 46341, 16, 1, 0, b"", [bytes(9266)])))
seed("crafted_dxt3_65535_empty_level",
     dictionary(texture("huge", 0x0300, 65535, 65535, 16, 1, 3, b"", [b""])))
# A 4-bit palette (128 bytes) whose data block ends 40 bytes into it: 36 palette bytes, then
# the 4 of the level size.
seed("crafted_pal4_palette_cut_at_40",
     dictionary(texture("p4", 0x4500, 1, 1, 4, 1, 0, bytes(36), [b""])))

#!/usr/bin/env python3
"""Writes a small seed corpus for fuzz_medium: 64 KB disks (16-bit raw, HDF
1.1, HDF 1.0, halved HDF, 8-bit raw in the even bytes, table at C0/H1) that
hold a +3DOS partition with 1 KB blocks and a few files (a headed program, a
file of two extents, a headerless file with an exact length, a file of user
3). Usage: make_seeds.py <folder>"""
import os
import struct
import sys

def plus3_header(ftype, data_len, p1, p2):
    h = bytearray(128)
    h[0:8] = b"PLUS3DOS"
    h[8] = 0x1A
    h[9] = 1
    struct.pack_into("<IBHHH", h, 11, 128 + data_len, ftype, data_len, p1, p2)
    h[127] = sum(h[:127]) & 0xFF
    return bytes(h)

def disk(sector_bytes, table_track):
    heads, spt = 2, 8
    cylinders = 8 * 512 // sector_bytes
    tracks = cylinders * heads
    track_bytes = spt * sector_bytes
    image = bytearray(tracks * track_bytes)

    def entry(name, ptype, first_track, last_track, extra=b""):
        e = bytearray(64)
        e[0:16] = name.ljust(16).encode() if name else bytes(16)
        e[16] = ptype
        logical = (last_track - first_track + 1) * track_bytes // 512
        struct.pack_into("<HBHBI", e, 0x11, first_track // heads, first_track % heads,
                         last_track // heads, last_track % heads, logical - 1)
        e[0x20:0x20 + len(extra)] = extra
        return e

    system = entry("PLUSIDEDOS", 1, table_track, table_track,
                   struct.pack("<HBBHH", cylinders, heads, spt, heads * spt, 16))
    part_first = table_track + 1
    part_last = tracks - 1
    part_bytes = (part_last - part_first + 1) * track_bytes
    blocks = part_bytes // 1024
    xdpb = struct.pack("<HBBBHHBBHHBB", 16, 3, 7, 0, blocks - 1, 31, 0x80, 0, 0x8000, 0, 2, 3)
    plus3 = entry("FILES", 3, part_first, part_last, xdpb + bytes([0, 40, 8, 0]) + struct.pack("<H", 512))
    table = bytes(system + plus3)
    image[table_track * track_bytes:table_track * track_bytes + len(table)] = table

    fs = bytearray(b"\xe5" * part_bytes)
    def dirent(slot, user, name, ext, x, s1, rc, ptrs):
        d = bytearray(32)
        d[0] = user
        d[1:12] = (name.ljust(8) + ext.ljust(3)).encode()
        d[12], d[13], d[14], d[15] = x & 0x1F, s1, x >> 5, rc
        for i, b in enumerate(ptrs):
            d[16 + i] = b
        fs[slot * 32:slot * 32 + 32] = d
    def put(block, data):
        fs[block * 1024:block * 1024 + len(data)] = data

    prog = bytes([0, 10, 9, 0, 0xF5, 0x22, 0x48, 0x49, 0x22, 0x0D])
    put(1, plus3_header(0, len(prog), 10, len(prog)) + prog)
    dirent(0, 0, "HELLO", "BAS", 0, 0, 2, [1])
    big = bytes((i * 7) & 0xFF for i in range(20000))
    for i in range(20):
        put(2 + i, big[i * 1024:(i + 1) * 1024])
    dirent(1, 0, "BIG", "BIN", 1, 0x20, 0x1F, list(range(18, 22)))
    dirent(2, 0, "BIG", "BIN", 0, 0, 0x80, list(range(2, 18)))
    put(22, b"notes " * 50)
    dirent(3, 0, "NOTES", "", 0, 44, 3, [22])
    put(23, b"user three")
    dirent(4, 3, "OTHER", "TXT", 0, 10, 1, [23])
    start = part_first * track_bytes
    image[start:start + len(fs)] = fs
    return bytes(image)

def hdf(sector_data, halved, revision10, cylinders, heads, spt):
    dofs = 0x80 if revision10 else 0x216
    h = bytearray(dofs)
    h[0:7] = b"RS-IDE\x1a"
    h[7] = 0x10 if revision10 else 0x11
    h[8] = 1 if halved else 0
    struct.pack_into("<H", h, 9, dofs)
    struct.pack_into("<H", h, 0x16 + 2, cylinders)
    struct.pack_into("<H", h, 0x16 + 6, heads)
    struct.pack_into("<H", h, 0x16 + 12, spt)
    return bytes(h) + sector_data

def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    wide = disk(512, 0)
    narrow = disk(256, 0)
    seeds = {
        "raw16": wide,
        "hdf11": hdf(wide, False, False, 8, 2, 8),
        "hdf10": hdf(wide, False, True, 8, 2, 8),
        "halved": hdf(narrow, True, False, 16, 2, 8),
        "even8": bytes(b for c in narrow for b in (c, 0)),
        "head1": hdf(disk(512, 1), False, False, 8, 2, 8),
    }
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

if __name__ == "__main__":
    main()

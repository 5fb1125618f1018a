#!/usr/bin/env python3
"""Writes a wizard program: its image followed by a zip archive of data files.

    AppendArchive.py IMAGE OUTPUT NAME=FILE ...

The archive's local-header and central-directory offsets are absolute
offsets in OUTPUT (the programs open their own file as the archive), the
entries are deflated, and four zero bytes follow the archive, as the
updaters' layout has them.
"""
import struct
import sys
import zlib


def deflate(data):
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    image_path, output_path, entries = argv[0], argv[1], argv[2:]
    with open(image_path, "rb") as image:
        out = bytearray(image.read())
    central = bytearray()
    count = 0
    for entry in entries:
        name, _, path = entry.partition("=")
        with open(path, "rb") as source:
            data = source.read()
        packed = deflate(data)
        crc = zlib.crc32(data) & 0xFFFFFFFF
        encoded = name.encode("ascii")
        offset = len(out)
        # Version 2.0, no flags, deflate, DOS time 0:00 on 1 Jan 1980.
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x21, crc,
                           len(packed), len(data), len(encoded), 0)
        out += encoded + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0x21,
                               crc, len(packed), len(data), len(encoded), 0, 0, 0, 0, 0, offset)
        central += encoded
        count += 1
    directory_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(central), directory_offset, 0)
    out += b"\0\0\0\0"
    with open(output_path, "wb") as output:
        output.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

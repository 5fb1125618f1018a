#!/usr/bin/env python3
"""Writes the zip fixtures that no ordinary tool produces: exact times and
attributes, and hostile archives (escaping names, lying sizes and counts,
bad CRCs, overlapping and truncated structures).

usage: craft_archives.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

LOCAL_SIG = 0x04034B50
CENTRAL_SIG = 0x02014B50
END_SIG = 0x06054B50
HOST_DOS = 0
HOST_UNIX = 3

# 2001-02-03 04:05:06 as a DOS date and time.
DOS_DATE = ((2001 - 1980) << 9) | (2 << 5) | 3
DOS_TIME = (4 << 11) | (5 << 5) | (6 // 2)
UT_MTIME = 1234567890


class Entry:
    def __init__(self, name, data=b"", method=8, host=HOST_UNIX, attributes=0o100644 << 16,
                 extra=b"", flags=0):
        self.name = name.encode("utf-8") if isinstance(name, str) else name
        self.data = data
        self.method = method
        self.host = host
        self.attributes = attributes
        self.extra = extra
        self.flags = flags | (0x800 if any(b > 0x7F for b in self.name) else 0)
        self.crc = zlib.crc32(data) & 0xFFFFFFFF
        self.size = len(data)
        if method == 8:
            packer = zlib.compressobj(9, zlib.DEFLATED, -15)
            self.stored = packer.compress(data) + packer.flush()
        else:
            self.stored = data
        self.stored_size = len(self.stored)
        self.offset = None  # local header offset, set when written


def local_header(e):
    return struct.pack("<IHHHHHIIIHH", LOCAL_SIG, 20, e.flags, e.method, DOS_TIME, DOS_DATE,
                       e.crc, e.stored_size, e.size, len(e.name), len(e.extra)) + e.name + e.extra


def central_record(e):
    return struct.pack("<IHHHHHHIIIHHHHHII", CENTRAL_SIG, (e.host << 8) | 20, 20, e.flags, e.method,
                       DOS_TIME, DOS_DATE, e.crc, e.stored_size, e.size, len(e.name), len(e.extra), 0,
                       0, 0, e.attributes, e.offset) + e.name + e.extra


def end_record(count, directory_size, directory_offset, total=None):
    total = count if total is None else total
    return struct.pack("<IHHHHIIH", END_SIG, 0, 0, count, total, directory_size, directory_offset, 0)


def build(entries, prefix=b"", count=None, directory=None):
    """The archive bytes; directory (entry list) defaults to all entries."""
    out = bytearray(prefix)
    for e in entries:
        if e.offset is None:
            e.offset = len(out)
        out += local_header(e) + e.stored
    listed = entries if directory is None else directory
    start = len(out)
    for e in listed:
        out += central_record(e)
    size = len(out) - start
    out += end_record(len(listed) if count is None else count, size, start)
    return bytes(out)


def ut_field(flags, *times):
    body = struct.pack("<B", flags) + b"".join(struct.pack("<i", t) for t in times)
    return struct.pack("<HH", 0x5455, len(body)) + body


def text(seed, size):
    line = ("%s: the quick brown fox jumps over the lazy dog\n" % seed).encode()
    return (line * (size // len(line) + 1))[:size]


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)

    # Times and attributes.
    write(out, "ut_flags1.zip", build([
        Entry("stamp.txt", text("stamp", 300), extra=b"\x0a\x00\x04\x00abcd" + ut_field(1, UT_MTIME)),
        Entry("plain.txt", text("plain", 300)),
    ]))
    write(out, "dos_attributes.zip", build([
        Entry("readonly.txt", b"r", host=HOST_DOS, attributes=0x21),
        Entry("hidden.txt", b"h", host=HOST_DOS, attributes=0x22),
        Entry("system.txt", b"s", host=HOST_DOS, attributes=0x24),
        Entry("folder/", b"", method=0, host=HOST_DOS, attributes=0x10),
        Entry("ntfs.txt", b"n", host=11, attributes=0x01),
    ]))
    write(out, "unicode.zip", build([Entry("Grüße/naïve ✓.txt", "größe ✓".encode("utf-8"))]))
    write(out, "long_name.zip", build([Entry("n" * 300, b"long")]))

    # Names that try to leave the extraction folder, and names that only look
    # like it until they are cleaned.
    hostile = ["../up1.txt", "..\\up2.txt", "a/../../up3.txt", "a\\..\\..\\up4.txt", "..",
               "C:\\drive.txt", "C:drive_relative.txt", "\\\\server\\share\\unc.txt",
               "\\\\?\\C:\\device_prefix.txt", "//?/C:/device_prefix2.txt", "stream.txt:hidden",
               "dots.", "space ", "NUL", "com1.txt", "Aux.tar.gz", "lpt9", "CONOUT$", "dir/nul/x.txt",
               "/absolute.txt", "..hidden", "safe/inside.txt"]
    write(out, "traversal.zip", build([Entry(n, ("payload of %s" % n).encode()) for n in hostile]))

    # A central directory cut short: the end record counts three entries,
    # the directory lists one.
    entries = [Entry("first.txt", text("first", 500)), Entry("second.txt", text("second", 500)),
               Entry("third.txt", text("third", 500))]
    write(out, "truncated_directory.zip", build(entries, count=3, directory=entries[:1]))
    whole = build([Entry("first.txt", text("first", 500)), Entry("second.txt", text("second", 500))])
    write(out, "truncated_end.zip", whole[:-10])

    # Sizes that lie. The CRCs match the declared bytes, so only the size
    # checks can catch "longer" and "shorter".
    real = text("sized", 4000)
    longer = Entry("longer.txt", real)
    longer.size = len(real) + 100
    shorter = Entry("shorter.txt", real)
    shorter.size = len(real) - 100
    shorter.crc = zlib.crc32(real[:shorter.size]) & 0xFFFFFFFF
    huge = Entry("huge.txt", real)
    huge.size = 0x7FFFFFF0
    stored = Entry("stored_lie.txt", real, method=0)
    stored.size = len(real) * 2
    write(out, "lying_size.zip", build([longer, shorter, huge, stored, Entry("honest.txt", real)]))

    bad = Entry("bad_crc.txt", text("crc", 3000))
    bad.crc ^= 0x5A5A5A5A
    bad_stored = Entry("bad_crc_stored.txt", text("crc", 3000), method=0)
    bad_stored.crc ^= 1
    write(out, "bad_crc.zip", build([bad, bad_stored, Entry("good.txt", text("good", 3000))]))

    # Directory records that point at someone else's local header, or into
    # the directory itself.
    a = Entry("a.txt", text("a", 2000))
    b = Entry("b.txt", text("b", 2000))
    c = Entry("c.txt", text("c", 2000))
    body = bytearray()
    a.offset = 0
    body += local_header(a) + a.stored
    b.offset = 0  # b's record names a's local header
    directory_start = len(body)
    c.offset = directory_start  # c's record points at the directory
    records = central_record(a) + central_record(b) + central_record(c)
    body += records + end_record(3, len(records), directory_start)
    write(out, "overlap.zip", bytes(body))

    # Entry counts in the thousands that the directory does not hold.
    few = [Entry("one.txt", b"1"), Entry("two.txt", b"2"), Entry("three.txt", b"3")]
    write(out, "count_lie.zip", build(few, count=5000))
    few = [Entry("one.txt", b"1"), Entry("two.txt", b"2"), Entry("three.txt", b"3")]
    write(out, "count_lie_padded.zip", build(few, prefix=b"\0" * 300000, count=5000))

    # A data tree file (the worked example of the format) inside an archive.
    tree = bytes.fromhex("4B564454 0C") + b"lang_doc_1.0" + bytes.fromhex("01000000 0A") + \
        b"lang_count" + bytes.fromhex("01 02000000 00000000")
    write(out, "set.kvdt", tree)


if __name__ == "__main__":
    main()

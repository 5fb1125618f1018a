#!/usr/bin/env python3
"""Builds a Setupkit executable: the program image, then a zip archive
appended to it (whose offsets are absolute offsets in the whole file), an
optional origin text and the 12-byte trailer

    u32 ArchiveOffset   where the archive begins (the image's size)
    u32 FromOffset      where the origin text begins, 0 when there is none
    u32 Mode            0 setup package, 1 installed uninstaller, 2 uninstall copy

all little-endian. The archive holds the wizard data files lng.lngp,
res.kvdt and set.kvdt and, for a setup package, every program file. For
program files the settings get "files" (target name -> entry name, a
sub-key per sub-folder), "fcount" (number of files) and "fsize" (their
bytes); kvdt converts the settings to text and back for that.

    make_package.py --image SETUPKIT.exe --output OUT.exe --mode 0
                    --languages lng.lngp --skin res.kvdt --settings set.kvdt
                    [--file TARGET=SOURCE ...] [--origin TEXT]
                    [--kvdt KVDT.exe --emulator WINE-RUN] [--work FOLDER]

TARGET is the file's path below the install folder ("/" between folders).
"""
import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

DATA_ENTRIES = ("lng.lngp", "res.kvdt", "set.kvdt")


def fail(message):
    sys.exit("make_package: " + message)


def parse_files(items):
    files = []
    seen = set()
    for item in items:
        target, sep, source = item.partition("=")
        target = target.replace("\\", "/").strip("/")
        if not sep or not target or not source:
            fail("--file wants TARGET=SOURCE, got %r" % item)
        if any(part in ("", ".", "..") for part in target.split("/")):
            fail("%r is not a plain path below the install folder" % target)
        if target.lower() in seen or target.lower() in DATA_ENTRIES:
            fail("%r is packed twice" % target)
        if not os.path.isfile(source):
            fail("%s does not exist" % source)
        seen.add(target.lower())
        files.append((target, source))
    return files


def files_key(files):
    """The "files" node: values for the files of a folder, keys for its sub-folders."""
    root = {}
    for target, _ in files:
        parts = target.split("/")
        node = root
        for folder in parts[:-1]:
            node = node.setdefault("keys", {}).setdefault(folder, {})
        node.setdefault("values", {})[parts[-1]] = {"StringW": target}
    return root


def run_kvdt(args, *command):
    line = ([args.emulator] if args.emulator else []) + [args.kvdt] + list(command)
    result = subprocess.run(line, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail("kvdt %s failed: %s" % (command[0], result.stderr.decode(errors="replace").strip()))


def package_settings(args, files, work):
    """set.kvdt with the program files listed, or the given one when there are none."""
    if not files:
        return args.settings
    if not args.kvdt:
        fail("listing program files needs --kvdt")
    dumped = os.path.join(work, "set.json")
    run_kvdt(args, "dump", os.path.abspath(args.settings), dumped)
    with open(dumped, encoding="utf-8") as text:
        tree = json.load(text)
    values = tree.setdefault("values", {})
    keys = tree.setdefault("keys", {})
    if isinstance(values, list) or isinstance(keys, list):
        fail("the settings hold names that are not UTF-8")
    values["fcount"] = {"UInt": len(files)}
    values["fsize"] = {"UInt": sum(os.path.getsize(source) for _, source in files)}
    keys["files"] = files_key(files)
    with open(dumped, "w", encoding="utf-8") as text:
        json.dump(tree, text, ensure_ascii=False, indent=1)
    built = os.path.join(work, "set.kvdt")
    run_kvdt(args, "build", dumped, built)
    return built


def add_entry(archive, name, source):
    info = zipinfo_for(name, source)
    with open(source, "rb") as data:
        archive.writestr(info, data.read(), compress_type=zipfile.ZIP_DEFLATED)


def zipinfo_for(name, source):
    info = zipfile.ZipInfo.from_file(source, name)
    # Windows attributes: a plain archive file.
    info.create_system = 0
    info.external_attr = 0x20
    return info


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--image", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--mode", type=int, required=True)
    parser.add_argument("--languages", required=True)
    parser.add_argument("--skin", required=True)
    parser.add_argument("--settings", required=True)
    parser.add_argument("--file", action="append", default=[])
    parser.add_argument("--origin")
    parser.add_argument("--kvdt")
    parser.add_argument("--emulator")
    parser.add_argument("--work")
    args = parser.parse_args()

    if not 0 <= args.mode <= 0xFFFFFFFF:
        fail("the mode is a 32-bit number")
    files = parse_files(args.file)
    origin = (args.origin or "").encode("cp1252")

    work = args.work or tempfile.mkdtemp(prefix="package.")
    os.makedirs(work, exist_ok=True)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    partial = args.output + ".partial"
    try:
        settings = package_settings(args, files, work)
        shutil.copyfile(args.image, partial)
        archive_offset = os.path.getsize(partial)
        # Appending to a file that holds no archive writes the archive after
        # it with offsets counted from the file's start.
        with zipfile.ZipFile(partial, "a", zipfile.ZIP_DEFLATED) as archive:
            if archive.namelist():
                fail("%s already ends in an archive" % args.image)
            add_entry(archive, "lng.lngp", args.languages)
            add_entry(archive, "res.kvdt", args.skin)
            add_entry(archive, "set.kvdt", settings)
            for target, source in files:
                add_entry(archive, target, source)
        with open(partial, "ab") as output:
            from_offset = output.tell() if origin else 0
            output.write(origin)
            output.write(struct.pack("<III", archive_offset, from_offset, args.mode))
        os.replace(partial, args.output)
    finally:
        if os.path.exists(partial):
            os.remove(partial)
        if not args.work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

#!/usr/bin/env bash
# Makes the zip reader's test archives with the real tools: Info-ZIP zip for
# ordinary archives (deflated and stored entries, folders, Unix and DOS
# attributes, "UT" times, an archive appended to an executable), python for
# the crafted ones. Nothing here is committed; the build runs this.
#   make_fixtures.sh OUTPUT_FOLDER STUB_EXE
set -euo pipefail
out=$1
stub=$2
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$out"
mkdir -p "$out"
python3 "$here/craft_archives.py" "$out"

# Sources, kept beside the archives so tests can compare what they extract.
src="$out/src"
mkdir -p "$src/docs/deeper" "$src/many"
cp "$out/set.kvdt" "$src/set.kvdt"
for i in $(seq 1 4000); do echo "line $i of the readme, compressible text"; done > "$src/readme.txt"
head -c 70000 /dev/urandom > "$src/data.bin"
: > "$src/empty.txt"
echo "owner may write" > "$src/rw.txt"
echo "nobody may write" > "$src/ro.txt"
echo "inside docs" > "$src/docs/a.txt"
echo "deeper still" > "$src/docs/deeper/b.txt"
chmod 644 "$src/rw.txt" "$src/readme.txt"
chmod 444 "$src/ro.txt"
chmod 755 "$src/docs"
# Known times for the "UT" field: modification 1500000000, access 1600000000.
find "$src" -exec touch -m -d @1500000000 {} +
touch -a -d @1600000000 "$src/readme.txt"
for i in $(seq 1 3000); do echo "$i" > "$src/many/f$i.txt"; done

# -n .bin stores data.bin as it is; everything else is deflated.
(cd "$src" && zip -q -r -n .bin "$out/plain.zip" set.kvdt readme.txt data.bin empty.txt rw.txt ro.txt docs)
# -k: names and attributes as MS-DOS has them (host 0, read-only bit).
(cd "$src" && zip -q -k "$out/dos.zip" ro.txt rw.txt)
(cd "$src" && zip -q -P secret "$out/encrypted.zip" readme.txt)
(cd "$src" && zip -q -r "$out/many.zip" many)
# A small archive for the mutation test: every structure, few bytes.
head -c 3000 "$src/readme.txt" > "$src/small.txt"
head -c 700 "$src/data.bin" > "$src/small.bin"
touch -m -d @1500000000 "$src/small.txt" "$src/small.bin"
(cd "$src" && zip -q -r -n .bin "$out/mutation_base.zip" small.txt small.bin empty.txt ro.txt docs)

# Archives behind an executable: with offsets adjusted to the whole file
# (zip -A, as the setup and the updaters ship), and with offsets still
# counted from the archive's own start. Both carry a 12-byte trailer after
# the archive, as the setup's layout has.
trailer() { printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'; }
cp "$stub" "$out/appended_absolute.exe"
cat "$out/plain.zip" >> "$out/appended_absolute.exe"
zip -q -A "$out/appended_absolute.exe"
trailer >> "$out/appended_absolute.exe"
cp "$stub" "$out/appended_relative.exe"
cat "$out/plain.zip" >> "$out/appended_relative.exe"
trailer >> "$out/appended_relative.exe"
stat -c %s "$stub" > "$out/stub_size.txt"

touch "$out/fixtures.stamp"

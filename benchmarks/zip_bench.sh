#!/usr/bin/env bash
# Extraction speed of the zip reader (the Windows build under Wine) against
# Info-ZIP unzip (native) on the same 50 MB archive of mixed files, and the
# reader's peak memory on that archive and on one holding a single 40 MB
# entry (it should not grow with the entry).
#   benchmarks/zip_bench.sh [BUILD_DIR]     (default: build; build it first)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
bench="$build/bin/zip_bench.exe"
[ -x "$build/wine-run" ] && [ -f "$bench" ] || { echo "build $build first" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/zip_bench.XXXXXX")
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# 50 MB of mixed files: many small texts, medium texts, incompressible data,
# one large log.
python3 - "$work/data" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(7)
words = [("w%d" % i).encode() for i in range(4000)]
def text(size):
    out = bytearray()
    while len(out) < size:
        out += b" ".join(rng.choice(words) for _ in range(12)) + b"\n"
    return bytes(out[:size])
def put(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
for i in range(1500):
    put(os.path.join(root, "small", "d%02d" % (i % 30), "f%04d.txt" % i), text(rng.randint(200, 12000)))
for i in range(30):
    put(os.path.join(root, "medium", "m%02d.txt" % i), text(rng.randint(200000, 600000)))
for i in range(10):
    put(os.path.join(root, "binary", "b%02d.bin" % i), os.urandom(1500000))
put(os.path.join(root, "large.log"), text(12000000))
PY
(cd "$work" && zip -q -r mixed.zip data)
head -c 30000000 /dev/urandom | base64 -w 100 > "$work/single.txt"
(cd "$work" && zip -q single.zip single.txt)
echo "mixed.zip: $(du -sb "$work/data" | cut -f1) bytes in $(find "$work/data" -type f | wc -l) files, archive $(stat -c %s "$work/mixed.zip") bytes"

field() { sed -n "s/.* $1 \([0-9.]*\).*/\1/p"; }
best_ours=""
best_ours_wall=""
best_unzip=""
for round in 1 2 3 4 5; do
  start=$(date +%s.%N)
  line=$("$build/wine-run" "$bench" "$(winpath "$work/mixed.zip")" "$(winpath "$work/ours")")
  end=$(date +%s.%N)
  seconds=$(echo "$line" | field seconds)
  wall=$(awk "BEGIN { print $end - $start }")
  rm -rf "$work/theirs"
  start=$(date +%s.%N)
  unzip -o -q "$work/mixed.zip" -d "$work/theirs"
  end=$(date +%s.%N)
  unzip_seconds=$(awk "BEGIN { print $end - $start }")
  echo "round $round: reader $seconds s (wine process $(printf %.3f "$wall") s), unzip -o $(printf %.3f "$unzip_seconds") s; $line"
  best_ours=$(printf '%s\n%s\n' "$seconds" "$best_ours" | grep . | sort -g | head -1)
  best_ours_wall=$(printf '%s\n%s\n' "$wall" "$best_ours_wall" | grep . | sort -g | head -1)
  best_unzip=$(printf '%s\n%s\n' "$unzip_seconds" "$best_unzip" | grep . | sort -g | head -1)
done
diff -r "$work/ours" "$work/theirs" > /dev/null && echo "extracted trees are identical"
printf 'best: reader %.3f s, unzip -o %.3f s, ratio %.2f (goal <= 1.5); with Wine start-up %.3f s, ratio %.2f\n' \
  "$best_ours" "$best_unzip" "$(awk "BEGIN { print $best_ours / $best_unzip }")" \
  "$best_ours_wall" "$(awk "BEGIN { print $best_ours_wall / $best_unzip }")"

tiny=$("$build/wine-run" "$bench" "$(winpath "$build/tests/zip_fixtures/mutation_base.zip")" "$(winpath "$work/tiny")")
single=$("$build/wine-run" "$bench" "$(winpath "$work/single.zip")" "$(winpath "$work/one")")
echo "peak private memory: tiny archive $(echo "$tiny" | field peak_private_kib) KiB," \
     "one 40 MB entry $(echo "$single" | field peak_private_kib) KiB," \
     "mixed 50 MB $(echo "$line" | field peak_private_kib) KiB"

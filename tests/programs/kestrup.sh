#!/usr/bin/env bash
# The unpacker from a folder of sources to the patch pack the game mounts:
# tesstool builds the resource pack, kestrup runs headless (after refusing any
# argument), and the game's pack archive and sprite loader read what it wrote.
set -u
bin=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$work"

mkdir -p src/data/sprites src/data/gfx/deep src/data/empty
"$bin/tesstool" sprite build src/data/sprites/ship.spr --format 2 --jp2 --page 128 \
  "$src/data-src/sprites/ship.shape" >/dev/null || fail "sprite build"
"$bin/tesstool" tga stamp stamp.tga >/dev/null || fail "tga stamp"
opj_compress -i stamp.tga -o src/data/gfx/Stamp.JP2 >/dev/null 2>&1 || fail "opj_compress"
echo "plain text" > src/data/gfx/deep/readme.txt
"$bin/tesstool" respack create TessavarSprites.pak src/data >/dev/null || fail "respack create"
echo "old patch" > Tessavar.002
echo "main" > main.txt
"$bin/tesstool" pack create Tessavar.000 main.txt >/dev/null 2>&1 || fail "pack create"

# It takes no arguments: any one (help asked for, a file named) is refused with the
# usage and a failure status, and no file is touched.
sum=$(cat TessavarSprites.pak Tessavar.002 Tessavar.000 | md5sum)
for argument in --help TessavarSprites.pak; do
  KESTRUP_HEADLESS=1 "$bin/kestrup" "$argument" > out.txt 2>&1 && fail "kestrup $argument succeeded"
  grep -q "^usage: kestrup" out.txt || fail "kestrup $argument shows no usage: $(cat out.txt)"
  [ "$(cat TessavarSprites.pak Tessavar.002 Tessavar.000 | md5sum)" = "$sum" ] || fail "kestrup $argument changed a file"
  [ ! -e tessavar.001 ] || fail "kestrup $argument wrote tessavar.001"
done
rm out.txt

KESTRUP_HEADLESS=1 "$bin/kestrup" > log.txt 2> err.txt || fail "kestrup failed: $(cat log.txt err.txt)"
grep -q "^Extracting file - 3/3 - ok!$" log.txt || fail "log: $(cat log.txt)"
grep -q "File decompression completed successfully." log.txt || fail "no success line"
grep -q $'\r' log.txt && fail "log keeps carriage returns"
[ ! -e TessavarSprites.pak ] || fail "resource pack not removed"
[ ! -e Tessavar.002 ] || fail "old patch not removed"

list=$("$bin/tesstool" pack list Tessavar.000 tessavar.001) || fail "pack list"
for entry in main.txt data/gfx/Stamp.tga data/gfx/deep/readme.txt data/sprites/ship.spr; do
  echo "$list" | grep -q "$entry" || fail "$entry missing from: $list"
done

# The converted sprite reads with raw pages and the same frames.
"$bin/tesstool" pack cat Tessavar.000 tessavar.001 data/sprites/ship.spr > ship.spr || fail "pack cat"
info=$("$bin/tesstool" sprite info ship.spr) || fail "converted sprite does not load"
echo "$info" | grep -q "page 0: 128 x 128 raw" || fail "page not raw: $info"
echo "$info" | grep -q "16 frames" || fail "frames lost: $info"
"$bin/tesstool" pack cat Tessavar.000 tessavar.001 data/gfx/Stamp.tga > stamp2.tga || fail "cat tga"
"$bin/tesstool" tga info stamp2.tga >/dev/null || fail "converted image is no TGA"

# A broken image fails the run and keeps the pack and the output as they were.
cp tessavar.001 before.001
mkdir -p src/data/bad && echo "not JPEG-2000" > src/data/bad/broken.jp2
"$bin/tesstool" respack create TessavarSprites.pak src/data >/dev/null || fail "respack create 2"
KESTRUP_HEADLESS=1 "$bin/kestrup" > log.txt 2>&1 && fail "broken image reported as success"
grep -q "failed! (broken.jp2" log.txt || fail "no failure line: $(cat log.txt)"
[ -e TessavarSprites.pak ] || fail "pack removed after a failure"
cmp -s tessavar.001 before.001 || fail "output changed by a failed run"

# A missing pack: the fatal box's text on standard error, non-zero status.
rm TessavarSprites.pak
KESTRUP_HEADLESS=1 "$bin/kestrup" > log.txt 2> err.txt && fail "missing pack reported as success"
grep -q "^Fatal Error: Failed to open compressed data pak file! Installation Failed$" err.txt || fail "stderr: $(cat err.txt)"
echo "1 passed, 0 failed"

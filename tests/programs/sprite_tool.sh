#!/usr/bin/env bash
# tesstool sprite: building from shape sources, reading back, refusing broken files.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
tool="$bin/tesstool"

cat > "$work/dot.shape" <<'SHAPE'
size 8 4
turns 4
colour FF000080
circle 4 2 2
frame
glow 4 2 3
SHAPE
"$tool" sprite build "$work/dot.spr" --format 2 --page 16 "$work/dot.shape" || fail "raw build failed"
"$tool" sprite build "$work/dotj.spr" --format 4 --jp2 --page 16 "$work/dot.shape" "$work/dot.shape" \
  || fail "jpeg build failed"
info=$("$tool" sprite info "$work/dot.spr") || fail "info failed"
echo "$info" | grep -q "^format 2, frame 8 x 4, 1 pages, 8 frames$" || fail "header line: $info"
echo "$info" | grep -q "^frame 7: page 0, u 0.5..1, v 0.75..1$" || fail "frame 7: $info"
info=$("$tool" sprite info "$work/dotj.spr") || fail "jpeg info failed"
echo "$info" | grep -q "^format 4, frame 8 x 4, 2 pages, 16 frames$" || fail "jpeg header: $info"
echo "$info" | grep -q "^page 1: 16 x 16 jpeg2000$" || fail "jpeg page: $info"

# TGA images are one frame each.
"$tool" tga stamp "$work/stamp.tga" || fail "no TGA to build from"
"$tool" sprite build "$work/stamp.spr" --format 3 --page 128 "$work/stamp.tga" "$work/STAMP.TGA" 2>/dev/null \
  && fail "missing TGA accepted"
"$tool" sprite build "$work/stamp.spr" --format 3 --page 128 "$work/stamp.tga" "$work/stamp.tga" \
  || fail "TGA build failed"
"$tool" sprite info "$work/stamp.spr" | grep -q "^format 3, frame 96 x 32, 1 pages, 2 frames$" || fail "TGA frames"

# Broken input: a cut file, a bad source, a bad option; the old output survives.
head -c 100 "$work/dot.spr" > "$work/cut.spr"
"$tool" sprite info "$work/cut.spr" 2>/dev/null && fail "cut file accepted"
echo "polygon 1 2" > "$work/bad.shape"
cp "$work/dot.spr" "$work/keep.spr"
"$tool" sprite build "$work/keep.spr" --format 2 "$work/bad.shape" 2>/dev/null && fail "bad source accepted"
cmp -s "$work/dot.spr" "$work/keep.spr" || fail "failed build touched the old file"
"$tool" sprite build "$work/x.spr" --format 9 "$work/dot.shape" 2>/dev/null && fail "format 9 accepted"

# The sample sprites list their frames: as built into the resource pack, and as the
# game reads them from the patch pack the unpacker made (pages raw there).
respack="$bin/../respack/data/sprites"
for name in ship asteroid particles; do
  "$tool" sprite info "$respack/$name.spr" | grep -q "^frame 0: page 0" || fail "sample $name"
  "$tool" pack cat "$bin/Tessavar.000" "$bin/tessavar.001" "data/sprites/$name.spr" > "$work/packed.spr" ||
    fail "sample $name not in the patch pack"
  "$tool" sprite info "$work/packed.spr" | grep -q "^frame 0: page 0" || fail "packed sample $name"
done
"$tool" sprite info "$respack/ship.spr" | grep -q "jpeg2000" || fail "ship has no JPEG-2000 page"
# Text in the font given with --font: the words make the picture (two texts, two
# files); without a font the line is refused.
printf 'size 40 16\ncolour FFFFFFFF\ntext 1 1 12 Hi\n' > "$work/hi.shape"
printf 'size 40 16\ncolour FFFFFFFF\ntext 1 1 12 Yo\n' > "$work/yo.shape"
"$tool" sprite build "$work/hi.spr" --format 2 "$work/hi.shape" 2>"$work/err" && fail "text without a font accepted"
grep -q "needs a font" "$work/err" || fail "no reason for the missing font: $(cat "$work/err")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$font" ]; then
  "$tool" sprite build "$work/hi.spr" --format 2 --font "$font" "$work/hi.shape" || fail "text build failed"
  "$tool" sprite build "$work/yo.spr" --format 2 --font "$font" "$work/yo.shape" || fail "second text build failed"
  "$tool" sprite build "$work/none.spr" --format 2 --font "$font" "$work/dot.shape" || fail "build with an unused font failed"
  cmp -s "$work/hi.spr" "$work/yo.spr" && fail "two texts drew the same picture"
  printf 'size 40 16\ntext 1 1 12\n' > "$work/empty.shape"
  "$tool" sprite build "$work/e.spr" --format 2 --font "$font" "$work/empty.shape" 2>/dev/null && fail "a text line without words accepted"
fi
echo "1 passed, 0 failed"

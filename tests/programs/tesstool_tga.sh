#!/usr/bin/env bash
# tesstool tga: info and convert through the game's reader and writer.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

stamp="$bin/data/targas/ShotAd.tga"
[ -f "$stamp" ] || fail "the build made no stamp image"
"$bin/tesstool" tga info "$stamp" | grep -q "32 bits, top-left origin, true colour" || fail "info of the stamp"

# A 2 x 1 bottom-left 24-bit image becomes a 32-bit top-left one with the same pixels.
printf '\0\0\2\0\0\0\0\0\0\0\0\0\2\0\1\0\30\0\1\2\3\4\5\6' > "$dir/small.tga"
"$bin/tesstool" tga info "$dir/small.tga" | grep -q "2 x 1, 24 bits, bottom-left origin" || fail "info of a small file"
"$bin/tesstool" tga convert "$dir/small.tga" "$dir/out.tga" || fail "convert"
[ "$(od -An -tx1 -j18 "$dir/out.tga" | tr -d ' \n')" = "010203ff040506ff" ] || fail "converted pixels"

# A truncated file is refused and nothing is written.
head -c 20 "$dir/small.tga" > "$dir/cut.tga"
"$bin/tesstool" tga convert "$dir/cut.tga" "$dir/none.tga" 2>/dev/null && fail "a truncated file converted"
[ -e "$dir/none.tga" ] && fail "a refused conversion wrote a file"
# A shape source drawn as a picture: its first frame, straight alpha, top row first.
printf 'size 2 1\ncolour FF0000FF\npolygon 0 0  1 0  1 1  0 1\nframe\ncolour 00FF00FF\npolygon 0 0  2 0  2 1  0 1\n' > "$dir/dot.shape"
"$bin/tesstool" tga shape "$dir/dot.tga" "$dir/dot.shape" || fail "shape"
[ "$(od -An -tx1 -j18 "$dir/dot.tga" | tr -d ' \n')" = "0000ffff00000000" ] || fail "shape pixels"
"$bin/tesstool" tga shape "$dir/none.tga" "$dir/none.shape" 2>/dev/null && fail "a missing source drew a picture"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# The running game draws the sample sprites (the pre-world display) through the sprite
# bank: its last frame shows them where they were placed and nothing elsewhere.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start}
fail() { echo "FAIL: $*"; exit 1; }

TESSAVAR_FRAMES=10 TESSAVAR_SHOT="$home/shot.tga" "$bin/tessavar" || fail "run failed"
[ -f "$home/shot.tga" ] || fail "no screenshot"
width=$(od -An -tu2 -j12 -N2 "$home/shot.tga" | tr -d ' ')
[ "$width" -eq 800 ] || [ "$width" -eq 640 ] || fail "odd width $width"
scale=$(( width == 800 ? 5 : 4 )) # quarters: 800 / 640 = 5 / 4

# Bytes of a run of pixels of one row (top-left origin, 4 bytes a pixel), alpha dropped.
colours() {
  local x=$(( $1 * scale / 4 )) y=$(( $2 * scale / 4 )) count=$3
  od -An -tu1 -v -j $(( 18 + (y * width + x) * 4 )) -N $(( count * 4 )) "$home/shot.tga" |
    tr -s ' ' '\n' | grep -v '^$' | awk 'NR % 4 != 0'
}
lit() { colours "$@" | awk '$1 > 16 { n++ } END { print n + 0 }'; }

# The ship at the centre of the 640 x 480 view, the large asteroid at (160, 140).
[ "$(lit 300 240 40)" -gt 10 ] || fail "no ship at the centre"
[ "$(lit 140 140 40)" -gt 10 ] || fail "no asteroid"
# Empty space stays black.
[ "$(lit 0 40 600)" -eq 0 ] || fail "something drawn across row 40"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# The player's ship in the running game: "/flight" typed into the console flies the
# first level's starter ship, and the scripted keys turn it, thrust and fire group 1.
# The last frame (fixed seed, software device) matches the golden picture:
# TESS_UPDATE_GOLDENS=1 rewrites it. Typed again, "/flight" ends the flight and the
# pre-world display comes back.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
golden=$here/golden/ship_flight.png
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=20
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

run() { # SCRIPT FRAMES: the game's exit status; its log in $home/log
  printf '%s\n' "$1" >"$home/script.txt"
  rm -f "$home/shot.tga"
  TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$home/shot.tga" \
    "$bin/tessavar" >/dev/null 2>"$home/log"
}

# Lit pixels in a box of the last frame (x, y, width, height).
lit() {
  python3 - "$home/shot.tga" "$@" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack('<HH', data[12:16])
x0, y0, w, h = (int(v) for v in sys.argv[2:6])
count = 0
for y in range(y0, y0 + h):
    row = y if data[17] & 0x20 else height - 1 - y
    for x in range(x0, x0 + w):
        at = 18 + (row * width + x) * 4
        count += max(data[at:at + 3]) > 40
print(count)
PY
}

# 1. Fly: turn right, thrust, fire.
run "2 key Grave
4 type /flight
5 key Return
7 key Grave
9 down Right
13 up Right
14 down Up
20 down Q
40 up Q" 50 || fail "run failed: $(tail -3 "$home/log")"
grep -q "could not be read\|no starter ship" "$home/log" && fail "the flight's data is incomplete: $(grep -m3 'could not be read\|no starter' "$home/log")"
[ -f "$home/shot.tga" ] || fail "no screenshot"
python3 "$here/golden_shot.py" "$home/shot.tga" "$golden" || fail "the picture differs from $golden (see above)"

# 2. Ended again: the sample scene is back, the ship at the middle of the screen.
run "2 key Grave
4 type /flight
5 key Return
7 type /flight
8 key Return
10 key Grave" 14 || fail "second run failed"
[ "$(lit 300 220 40 40)" -gt 10 ] || fail "the pre-world display did not come back"
echo "2 passed, 0 failed"

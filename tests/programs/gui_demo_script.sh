#!/usr/bin/env bash
# "/guidemo" in the running game: typed into the console, it opens the demonstration of
# the GUI's controls with the sample skin in front of the game; typed again it closes it.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

run() { # SCRIPT FRAMES: the game's exit status; its log in $home/log
  printf '%s\n' "$1" >"$home/script.txt"
  rm -f "$home/shot.tga"
  TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$home/shot.tga" \
    "$bin/tessavar" >/dev/null 2>"$home/log"
}

# The colour at x, y of the last frame, as "r g b".
pixel() {
  python3 - "$home/shot.tga" "$1" "$2" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack('<HH', data[12:16])
x, y = int(sys.argv[2]), int(sys.argv[3])
if not data[17] & 0x20:
    y = height - 1 - y
at = 18 + (y * width + x) * 4
print(data[at + 2], data[at + 1], data[at])
PY
}

# Near the bottom right of the window, where no control lies: the panel's dark blue.
near_panel() { # r g b
  [ $(( ($1 - 24) * ($1 - 24) + ($2 - 37) * ($2 - 37) + ($3 - 61) * ($3 - 61) )) -le 48 ]
}

run "2 key Grave
4 type /guidemo
5 key Return
6 key Grave" 10 || fail "run failed: $(tail -3 "$home/log")"
gui_failure='Failed to load layout|UI skin|Failed to load font|generic fail block'
grep -Eq "$gui_failure" "$home/log" && fail "the GUI did not load: $(grep -E "$gui_failure" "$home/log")"
[ -f "$home/shot.tga" ] || fail "no screenshot"
near_panel $(pixel 560 420) || fail "no demonstration window at 560,420: $(pixel 560 420)"

run "2 key Grave
4 type /guidemo
5 key Return
6 type /guidemo
7 key Return
8 key Grave" 12 || fail "run failed: $(tail -3 "$home/log")"
near_panel $(pixel 560 420) && fail "the demonstration stayed open"
echo "1 passed, 0 failed"

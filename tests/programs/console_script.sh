#!/usr/bin/env bash
# The console in the running game, driven by TESSAVAR_SCRIPT as a player would drive
# it: the key left of "1" opens it over the main menu, "/listvars" typed into
# it lists the variables, and the last frame matches the golden picture on the
# software device (TESS_UPDATE_GOLDENS=1 rewrites it). Closed again, the console
# takes no typing; open, "/quit" ends the game. The renderer's polygon count is
# written in the corner when asked for. Without its fonts the game does not start.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
golden=$here/golden/console_listvars.png
. "$(dirname "$0")/../support/game_run.sh" ""
. "$(dirname "$0")/../support/startup_keys.sh"

# 1. Open, type, run.
run_after_logo "2 key Grave
4 type /listvars
5 key Return" 10 || fail "run failed: $(tail -3 "$home/log")"
grep -qx "/listvars" "$home/log" || fail "the typed line was not run"
grep -qx "Var - constrainmouse : type - <boolean> : value = false" "$home/log" || fail "no variable listed"
[ -f "$home/shot.tga" ] || fail "no screenshot"
python3 "$here/golden_shot.py" "$home/shot.tga" "$golden" || fail "the picture differs from $golden (see above)"

# 2. Opened and closed again: what is typed then runs nothing.
run_after_logo "2 key Grave
4 key Grave
6 type /quit
7 key Return" 10 || fail "second run failed"
[ -f "$home/shot.tga" ] || fail "a closed console ran /quit"
grep -qx "/quit" "$home/log" && fail "a closed console took typing"

# 3. Open: "/quit" ends the game before its last frame.
run_after_logo "2 key Grave
4 type /quit
5 key Return" 50 || fail "third run failed"
grep -qx "/quit" "$home/log" || fail "/quit was not typed"
[ -f "$home/shot.tga" ] && fail "/quit did not end the game"

# 4. "/showpolycount true" typed into the console writes the renderer's polygon count
# in the top-left corner, which stays dark without it once the console is closed.
lit_corner() { # the lit pixels of rows 10 to 24, columns 10 to 199 of the last frame
  python3 - "$home/shot.tga" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack('<HH', data[12:16])
top_down = data[17] & 0x20
count = 0
for y in range(10, 25):
    row = y if top_down else height - 1 - y
    for x in range(10, 200):
        at = 18 + (row * width + x) * 4
        if max(data[at:at + 3]) > 128:
            count += 1
print(count)
PY
}
run_after_logo "2 key Grave
4 type /showpolycount true
5 key Return
7 key Grave" 10 || fail "overlay run failed"
grep -qx "/showpolycount true" "$home/log" || fail "the overlay command was not typed"
[ "$(lit_corner)" -gt 50 ] || fail "no polygon count drawn"
run_after_logo "2 key Grave
7 key Grave" 10 || fail "plain run failed"
[ "$(lit_corner)" -eq 0 ] || fail "something drawn in the corner without the overlay"

# 5. Without the skin's fonts the game does not start.
game=$home/game
mkdir -p "$game/data"
cp "$bin/tessavar" "$game/"
cp "$bin/data/Tessavar_Strings.tbl" "$game/data/"
out=$(TESSAVAR_FRAMES=2 "$game/tessavar" 2>&1) && fail "started without its fonts"
echo "$out" | grep -q "Error during startup - code 0x8000000b" || fail "no start-up message: $out"
echo "5 passed, 0 failed"

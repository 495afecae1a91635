#!/usr/bin/env bash
# The game as a player meets it, driven by TESSAVAR_SCRIPT on the dummy video driver:
# the main menu, a new game with the tutorial (the name left as offered), a flight in
# which the ship turns, thrusts and fires, Escape for the exit warning, and "Quit
# game" chosen with the arrow keys. TESSAVAR_TRACE shows the modes and screens in
# order; the run ends with status 0 before its frame limit. The main menu and the
# flight (fixed seed, software device) match their golden pictures; TESS_UPDATE_GOLDENS=1
# rewrites them.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=20
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

run() { # SCRIPT FRAMES: the game's exit status; its log in $home/log, its trace in $home/trace
  printf '%s\n' "$1" >"$home/script.txt"
  rm -f "$home/shot.tga" "$home/trace"
  TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$home/shot.tga" \
    TESSAVAR_TRACE="$home/trace" "$bin/tessavar" >/dev/null 2>"$home/log"
}
# The trace's fields by name: "frame", "time", "mode", "screen", "focus", "checksum".
field() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}

# New game (Return on the focused button), Return in the name box moves on to "Start
# with the tutorial", Return there; then in flight, once the ship has warped in (by
# frame 150): turn right, thrust (let go before Escape, or the held key would move the
# popup's focus), fire group 1.
new_game_and_fly="10 key Return
16 key Return
22 key Return
160 down Right
164 up Right
165 down Up
172 down Q
192 up Q
210 up Up"

# 1. The main menu as the game comes up.
run "" 12 || fail "the main menu run failed: $(tail -3 "$home/log")"
[ "$(field 11 mode)" = 1 ] && [ "$(field 11 screen)" = 2 ] && [ "$(field 11 focus)" = 2001 ] ||
  fail "not on the main menu with New game focused: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/main_menu.png" ||
  fail "the main menu differs from golden/main_menu.png (see above)"

# 2. The flight.
run "$new_game_and_fly" 220 || fail "the flight run failed: $(tail -3 "$home/log")"
[ "$(field 219 mode)" = 0 ] || fail "not in flight: $(tail -1 "$home/trace")"
[ "$(field 219 checksum)" != 0000000000000000 ] || fail "no world in flight"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/flight.png" ||
  fail "the flight differs from golden/flight.png (see above)"

# 3. The whole way: Escape in flight opens the exit warning (its "Carry on" focused, the
# game clock standing), Right moves to "Quit game", Return quits.
run "$new_game_and_fly
220 key Escape
230 key Right
236 key Return" 520 || fail "the quitting run failed with status $?: $(tail -3 "$home/log")"
last=$(tail -1 "$home/trace" | awk '{ print $2 }')
[ "$last" -lt 519 ] || fail "the game did not quit (it ran to its frame limit)"
# The modes and screens in order: main menu, then flight.
order=$(awk '{ print $6 "/" $8 }' "$home/trace" | uniq | tr '\n' ' ')
[ "$order" = "1/2 0/0 " ] || fail "modes and screens in this order: $order"
[ "$(field 225 focus)" = 104 ] || fail "the exit warning's Carry on has no focus: $(field 225 focus)"
[ "$(field 225 time)" = "$(field 229 time)" ] || fail "the game clock ran under the exit warning"
[ "$(field "$last" focus)" = 103 ] || fail "Quit game was not focused: $(tail -1 "$home/trace")"
echo "3 passed, 0 failed"

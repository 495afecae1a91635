#!/usr/bin/env bash
# The game as a player meets it, driven by TESSAVAR_SCRIPT on the dummy video driver:
# the logo skipped, the main menu, a new game with the tutorial (the name left as
# offered) and its intro skipped, flight school's first page read, a flight in which
# the ship turns and thrusts (the tutorial keeps the guns shut), Escape for the exit
# warning, and "Quit game" chosen with the arrow keys. TESSAVAR_TRACE shows the modes and screens in
# order; the run ends with status 0 before its frame limit. The main menu and the
# flight (fixed seed, software device) match their golden pictures; TESS_UPDATE_GOLDENS=1
# rewrites them.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/game_run.sh" 20
. "$here/../support/startup_keys.sh"
# The trace's fields by name: "frame", "time", "mode", "screen", "focus", "checksum",
# "covering", "step"...
field() { trace_value "$home/trace" "$1" "$2"; } # FRAME NAME

# The logo skipped, a new game with the tutorial and its intro skipped, flight school's
# first page read (startup_keys.sh). Then: turn right, thrust (let go before Escape, or
# the held key would move the popup's focus), and Q, which the tutorial does not let
# fire yet.
new_game_and_fly="$NEW_GAME_TUTORIAL
$READ_FIRST_PAGE
260 down Right
264 up Right
265 down Up
272 down Q
292 up Q
310 up Up"

# 1. The main menu, over its backdrop, once the logo is skipped.
run "$SKIP_LOGO" 32 || fail "the main menu run failed: $(tail -3 "$home/log")"
[ "$(field 10 covering)" = 1 ] || fail "no logo covered the game: $(awk '$2 == 10' "$home/trace")"
[ "$(field 31 mode)" = 1 ] && [ "$(field 31 screen)" = 2 ] && [ "$(field 31 focus)" = 2001 ] &&
  [ "$(field 31 covering)" = 0 ] || fail "not on the main menu with New game focused: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/main_menu.png" ||
  fail "the main menu differs from golden/main_menu.png (see above)"

# 2. The flight, with the tutorial's first page read.
run "$new_game_and_fly" 320 || fail "the flight run failed: $(tail -3 "$home/log")"
flight=$(awk '{ for (i = 1; i < NF; i += 2) if ($i == "mode" && $(i + 1) == 0) { print $2; exit } }' "$home/trace")
[ -n "$flight" ] && [ "$flight" -le 64 ] || fail "the intro was not skipped: flight at frame '$flight'"
[ "$(field 319 mode)" = 0 ] || fail "not in flight: $(tail -1 "$home/trace")"
[ "$(field 319 checksum)" != 0000000000000000 ] || fail "no world in flight"
[ "$(field 319 step)" = 1 ] && [ "$(field 250 time)" != "$(field 319 time)" ] ||
  fail "the first page was not read: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/flight.png" ||
  fail "the flight differs from golden/flight.png (see above)"

# 3. The whole way: Escape in flight opens the exit warning (its "Carry on" focused, the
# game clock standing), Right moves to "Quit game", Return quits.
run "$new_game_and_fly
320 key Escape
330 key Right
336 key Return" 620 || fail "the quitting run failed with status $?: $(tail -3 "$home/log")"
last=$(tail -1 "$home/trace" | awk '{ print $2 }')
[ "$last" -lt 619 ] || fail "the game did not quit (it ran to its frame limit)"
# The modes and screens in order: the logo, main menu, then flight.
order=$(awk '{ print $6 "/" $8 }' "$home/trace" | uniq | tr '\n' ' ')
[ "$order" = "0/0 1/2 0/0 " ] || fail "modes and screens in this order: $order"
[ "$(field 325 focus)" = 104 ] || fail "the exit warning's Carry on has no focus: $(field 325 focus)"
[ "$(field 325 time)" = "$(field 329 time)" ] || fail "the game clock ran under the exit warning"
[ "$(field "$last" focus)" = 103 ] || fail "Quit game was not focused: $(tail -1 "$home/trace")"
echo "3 passed, 0 failed"

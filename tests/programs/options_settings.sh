#!/usr/bin/env bash
# The options screen played with the keys on the dummy drivers: the main menu's
# Options, the window size to 800 x 600, the effects level up and the music level down,
# Apply. The window is 800 x 600 from then on, the settings file written at the end
# holds the three, and the next start comes up with them (its picture is 800 x 600 and
# it writes them again).
set -u
bin=$1
. "$(dirname "$0")/../support/game_run.sh" 3
. "$(dirname "$0")/../support/startup_keys.sh"
cfg=$home/Tessavar/Tessavar.cfg

# The frames of run_after_logo's SCRIPT and FRAMES and of field() count from AFTER_LOGO
# frames on, when the main menu is up.
field() { trace_value "$home/trace" $(($1 + AFTER_LOGO)) "$2"; } # FRAME NAME
key() { "$bin/tesstool" tree print "$cfg" | awk -v k="$1" '$1 == k { print $2; exit }'; }
# The picture's size from its TGA header, "W x H".
shot_size() {
  od -An -tu2 -j12 -N4 "$home/shot.tga" | awk '{ print $1 " x " $2 }'
}

# A first run with nothing changed gives the levels out of the box.
run_after_logo "" 4 || fail "the first run failed: $(tail -3 "$home/log")"
fx=$(key a_masterfxvolume)
music=$(key a_mastermusicvolume)
[ "$(key r_backBufferWidth)" = 640 ] || fail "the first window is not 640 wide: $(key r_backBufferWidth)"
[ "$fx" -lt 9 ] && [ "$music" -gt 0 ] || fail "levels out of the box leave no room: $fx $music"

# Down from New game reaches Options (the buttons between are disabled without a run or
# saves); Return there. On the options screen: Right on the window size, Return down to
# the effects level, Right, Return to the music level, Left, Return to Apply, Return.
run_after_logo "10 key Down
16 key Return
30 key Right
34 key Return
38 key Return
42 key Return
46 key Return
50 key Return
54 key Right
58 key Return
62 key Left
66 key Return
70 key Return" 90 || fail "the options run failed with status $?: $(tail -3 "$home/log")"
[ "$(field 14 focus)" = 2005 ] || fail "Down did not reach Options: $(field 14 focus)"
[ "$(field 28 screen)" = 14 ] && [ "$(field 28 focus)" = 14011 ] ||
  fail "not on the options screen at the window size: $(field 28 screen) $(field 28 focus)"
[ "$(field 68 focus)" = 14009 ] || fail "Apply was not focused: $(field 68 focus)"
[ "$(field 89 screen)" = 14 ] && [ "$(field 89 focus)" = 14001 ] ||
  fail "Apply did not hand the focus to the way back: $(field 89 focus)"
[ "$(shot_size)" = "800 x 600" ] || fail "the window is $(shot_size) after Apply"
[ "$(key r_backBufferWidth)" = 800 ] || fail "the settings file holds width $(key r_backBufferWidth)"
[ "$(key a_masterfxvolume)" = $((fx + 1)) ] || fail "effects level $(key a_masterfxvolume), not $((fx + 1))"
[ "$(key a_mastermusicvolume)" = $((music - 1)) ] ||
  fail "music level $(key a_mastermusicvolume), not $((music - 1))"

# The next start comes up in the 800 x 600 window and keeps the levels.
run_after_logo "" 6 || fail "the next run failed: $(tail -3 "$home/log")"
[ "$(shot_size)" = "800 x 600" ] || fail "the next start's window is $(shot_size)"
[ "$(key r_backBufferWidth)" = 800 ] || fail "the next run wrote width $(key r_backBufferWidth)"
[ "$(key a_masterfxvolume)" = $((fx + 1)) ] || fail "the next run wrote effects level $(key a_masterfxvolume)"
[ "$(key a_mastermusicvolume)" = $((music - 1)) ] ||
  fail "the next run wrote music level $(key a_mastermusicvolume)"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# The sequences a player meets first, on the dummy video driver with TESSAVAR_SCRIPT:
# start-up plays the logo (75 frames) before the main menu comes up over its
# backdrop; a new game with the tutorial plays the intro, skipped with Return once
# half a second has gone, and flight school's first page shows five seconds into the
# flight. The main menu with its backdrop, the intro (alone: the screens and the
# pointer are hidden under it) and the first page (fixed seed, software device) match
# their golden pictures; TESS_UPDATE_GOLDENS=1 rewrites them.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/game_run.sh" 20
field() { trace_value "$home/trace" "$1" "$2"; } # FRAME NAME

# 1. The logo holds the front end back for its 75 frames, then the main menu shows.
run "" 90 || fail "the start-up run failed: $(tail -3 "$home/log")"
[ "$(field 60 screen)" = 0 ] || fail "the main menu came during the logo: $(awk '$2 == 60' "$home/trace")"
first=$(awk '{ for (i = 1; i < NF; i += 2) if ($i == "screen" && $(i + 1) == 2) { print $2; exit } }' "$home/trace")
[ -n "$first" ] && [ "$first" -ge 74 ] && [ "$first" -le 76 ] || fail "the main menu came at frame '$first'"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/main_menu_backdrop.png" ||
  fail "the main menu differs from golden/main_menu_backdrop.png (see above)"

# 2. New game with the tutorial (Return twice), the intro (it refuses the Return at
# frame 102, within its first half second) shown by F11 and skipped at frame 124, and
# the first page of flight school.
run "90 key Return
96 key Return
102 key Return
116 key F11
124 key Return" 420 || fail "the tutorial run failed: $(tail -3 "$home/log")"
flight=$(awk '$2 > 90 { for (i = 1; i < NF; i += 2) if ($i == "mode" && $(i + 1) == 0) { print $2; exit } }' "$home/trace")
[ -n "$flight" ] && [ "$flight" -gt 124 ] && [ "$flight" -le 130 ] ||
  fail "the intro was not skipped at frame 124: flight at frame '$flight'"
[ "$(field 116 covering)" = 1 ] || fail "the intro was not playing at frame 116: $(awk '$2 == 116' "$home/trace")"
shots=("$home"/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 1 ] || fail "F11 wrote ${#shots[@]} screenshots, not 1"
python3 "$here/golden_shot.py" "${shots[0]}" "$here/golden/intro.png" ||
  fail "the intro differs from golden/intro.png (see above)"
# The page stops the game clock: it stands still from some frame on.
[ "$(field 400 time)" = "$(field 419 time)" ] || fail "no page stopped the game by frame 400"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/tutorial_first_page.png" ||
  fail "the first page differs from golden/tutorial_first_page.png (see above)"
echo "2 passed, 0 failed (the intro from frame $(awk '{ for (i = 1; i < NF; i += 2) if ($i == "covering" && $(i + 1) == 1 && $2 > 90) { print $2; exit } }' "$home/trace"), flight at $flight)"

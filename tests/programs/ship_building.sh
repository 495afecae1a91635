#!/usr/bin/env bash
# Building a ship in the running game, driven by TESSAVAR_SCRIPT on the dummy video
# driver: a new game without the tutorial comes to the bridge; the research screen
# starts manufacturing a cargo pod (its kind is the ninth to the right of the first on
# the manufacture tab; five crew); the zone map's "Wait a minute" passes the minute the
# pod needs; the stores list it; the hangar's empty fourth bay is named "Kestrel", and on
# the construction screen the pod is chosen from the stores (cargo is the fifth kind to
# the right among those the new ship can take) and placed on the grid: the cursor starts
# on the hull's first slot, which takes weapons only, so it steps right onto the next
# one before the fire key (Q) places it; Done, clicked with the pointer, keeps the ship.
# A jump to node 12 of the test zones begins a flight; the station holds the ship and
# asks for the in-game menu, ship 1 is launched, called back (R) and docked, and the
# docked menu offers the new ship as its fourth.
#
# TESSAVAR_FIXED_CLOCK makes the GUI's and the grid's real-time waits (the map's 2500 ms
# hold, the grid's 250 ms between inputs) a fixed number of frames, so that every step
# comes at a known frame under any load. TESSAVAR_TRACE shows the screens and the
# focus: a focus goes only to an enabled control, so the docked menu's focus reaching
# its fourth ship button shows that the ship is there. The research screen with the
# manufacture running, the stores with the pod, the construction screen with the pod
# fitted, the hangar with the new ship and the docked menu (F11) match their golden
# pictures; TESS_UPDATE_GOLDENS=1 rewrites them.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/campaign.bash" "$1" 41
export TESSAVAR_FIXED_CLOCK=1
use_zones normal

# Screens (the trace's "screen") and controls (its "focus") met on the way.
HUB=5 HANGAR=6 CONSTRUCTION=7 RESEARCH=10 STORES=11
MANUFACTURE_START=10009 CONSTRUCTION_DONE=7001 HANGAR_FIRST_BAY=6001
FOURTH_SHIP=1006

# The bridge's buttons from its first (the zone map): station, hangar, research, stores.
run "$to_hub
105 key Down
111 key Down
117 key Down
123 key Return
145 key Return
155 key Right
159 key Right
163 key Right
167 key Right
171 key Right
175 key Right
179 key Right
183 key Right
187 key Right
205 key Down
211 key Down
217 key Down
223 key Right
227 key Right
231 key Right
235 key Right
239 key Right
245 key Down
257 key Return
265 key F11
275 key Escape
295 key Return
311 key Right
317 key Right
323 key Return
375 key Escape
395 key Down
401 key Down
407 key Down
413 key Down
419 key Return
445 key F11
455 key Escape
475 key Down
481 key Down
487 key Return
515 key Down
521 key Down
527 key Return
545 type Kestrel
555 key Return
585 key Return
595 key Right
601 key Right
607 key Right
613 key Right
619 key Right
625 key Return
635 key Return
657 key Right
685 key Q
705 key F11
715 click left 545 448
745 key F11
755 key Escape
775 key Return
791 key Right
797 key Return
813 key Right
1095 key Return
1155 key R
1245 key F11
1255 key Down
1261 key Down
1267 key Down" 1285 || fail "the run failed: $(tail -3 "$home/log")"

at() { # FRAME SCREEN [FOCUS]: the trace shows that screen (and focus) at the frame
  [ "$(value "$1" screen)" = "$2" ] && { [ $# -lt 3 ] || [ "$(value "$1" focus)" = "$3" ]; } ||
    fail "frame $1 is not at screen $2${3:+, focus $3}: $(line "$1")"
}
at 135 $RESEARCH
at 255 $RESEARCH $MANUFACTURE_START
# Starting the job leaves the panel for its tab.
at 264 $RESEARCH
[ "$(value 264 focus)" != $MANUFACTURE_START ] || fail "the manufacture did not start: $(line 264)"
# The wait passes one minute of zone time.
before=$(value 315 zclock)
after=$(value 365 zclock)
[ "$after" -eq $((before + 60000)) ] || fail "the wait moved the zone clock from $before to $after"
at 435 $STORES
at 505 $HANGAR $HANGAR_FIRST_BAY
at 565 $CONSTRUCTION
at 710 $CONSTRUCTION
at 735 $HANGAR
flight=$(first 'v["mode"] == 0 && v["covering"] == 0')
[ -n "$flight" ] && [ "$(value "$flight" node)" = 12 ] || fail "no flight at node 12: $(tail -1 "$home/trace")"
menu=$(first 'v["mode"] == 2')
[ -n "$menu" ] && [ "$menu" -lt 1095 ] || fail "no in-game menu before frame 1095 (flight at $flight)"
docked=$(first 'v["frame"] > 1096 && v["mode"] == 2')
[ -n "$docked" ] && [ "$docked" -lt 1245 ] || fail "not docked before frame 1245: $(line 1244)"
[ "$(value 1284 mode)" = 2 ] && [ "$(value 1284 focus)" = $FOURTH_SHIP ] ||
  fail "the docked menu offers no fourth ship: $(line 1284)"

shots=("$home"/user/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 5 ] || fail "F11 wrote ${#shots[@]} screenshots, not 5"
names=(ship_building_research ship_building_stores ship_building_construction ship_building_hangar
  ship_building_docked)
for i in "${!names[@]}"; do
  python3 "$here/golden_shot.py" "${shots[$i]}" "$here/golden/${names[$i]}.png" ||
    fail "screenshot $i differs from golden/${names[$i]}.png (see above)"
done
echo "1 passed, 0 failed (flight at frame $flight, menu at $menu, docked at $docked)"

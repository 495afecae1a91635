#!/usr/bin/env bash
# Docking at the station in the running game, driven by TESSAVAR_SCRIPT on the dummy
# video driver. A new game without the tutorial comes to the bridge; on the test zones
# the zone map passes a minute in place and jumps to node 12, where three fighters wait,
# so the flight begins there. The station warps in without the player's ship, holds it
# and asks for the in-game menu; Return on the first ship launches it out of the left
# bay. The ship calls the station (R): the bays open, and the ship, still at the left
# bay's mouth, is taken in; the in-game menu comes up docked, and a second launch puts
# the ship back in flight. TESSAVAR_TRACE shows the modes (0 flight, 2 in-game menu)
# and the ship (its health, -1 while none flies). Midway through the station's arrival
# (F11) it shows on the black that hides the rest of the world; a frame of the ship
# riding into the bay (F11) and the last frame, after the second launch, match their
# golden pictures; TESS_UPDATE_GOLDENS=1 rewrites them.
#
# The map holds 2500 ms of real time before the flight, so the flight begins at a frame
# that depends on the machine's speed; the world stands still under the in-game menu,
# so everything after the first launch happens at fixed frames.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/campaign.bash" "$1" 41
use_zones normal

# On the zone map: Right twice to "Wait a minute", Return; Left to "Map view", Return;
# Right in the map view chooses node 12. In flight: F11 while the station arrives
# (from 3 s to 7 s into its warp, whatever frame the flight began at), Return in the
# in-game menu (its first ship focused), R calls the station, F11 while the ship rides in, Return in the
# docked menu.
run "$to_zone_map
111 key Right
117 key Right
123 key Return
141 key Left
147 key Return
163 key Right
370 key F11
445 key Return
505 key R
535 key F11
605 key Return" 645 || fail "the run failed: $(tail -3 "$home/log")"

flight=$(first 'v["mode"] == 0 && v["covering"] == 0')
[ -n "$flight" ] || fail "no flight: $(tail -1 "$home/trace")"
[ "$(value "$flight" node)" = 12 ] || fail "the flight is not at node 12: $(line "$flight")"
menu=$(first 'v["mode"] == 2')
[ -n "$menu" ] && [ "$menu" -lt 445 ] || fail "no in-game menu before frame 445 (flight at $flight): $(line 444)"
# Until the first launch the station holds the ship: none flies.
[ -z "$(awk -v m="$menu" '$2 < m && $18 != -1' "$home/trace")" ] ||
  fail "a ship flew before the station had it launched: $(awk -v m="$menu" '$2 < m && $18 != -1' "$home/trace" | head -1)"
[ "$(value 446 mode)" = 0 ] && [ "$(value 446 ship)" -gt 0 ] || fail "the first launch gave no ship in flight: $(line 446)"
docked=$(first 'v["frame"] > 446 && v["mode"] == 2')
[ -n "$docked" ] && [ "$docked" -gt 505 ] && [ "$docked" -lt 605 ] ||
  fail "the in-game menu came up at frame ${docked:-never} after the station was called at 505"
[ "$(value 534 mode)" = 0 ] || fail "not in flight while the ship rides in: $(line 534)"
[ "$(value 606 mode)" = 0 ] && [ "$(value 644 mode)" = 0 ] && [ "$(value 644 ship)" -gt 0 ] ||
  fail "the second launch did not put the ship back in flight: $(line 644)"
# The modes in order once the logo is over: front end, flight, the menu holding the
# ship, flight, docked, flight.
order=$(awk '!/ covering 1 / { print $6 }' "$home/trace" | uniq | tr '\n' ' ')
[ "$order" = "1 0 2 0 2 0 " ] || fail "modes in this order: $order"

shots=("$home"/user/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 2 ] && [ -f "${shots[1]}" ] || fail "F11 wrote ${#shots[@]} screenshots"
# The arriving station: lit pixels round the screen's centre, where it stands.
python3 - "${shots[0]}" <<'EOF' || fail "the station did not show while it arrived (${shots[0]})"
import struct, sys
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack('<HH', data[12:16])
lit = 0
for y in range(height // 2 - 80, height // 2 + 80):
    for x in range(width // 2 - 80, width // 2 + 80):
        at = 18 + (y * width + x) * 4
        lit += max(data[at:at + 3]) > 64
sys.exit(0 if lit > 160 * 160 // 4 else 1)
EOF
python3 "$here/golden_shot.py" "${shots[1]}" "$here/golden/station_docking.png" ||
  fail "the docking differs from golden/station_docking.png (see above)"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/station_launch.png" ||
  fail "the launch differs from golden/station_launch.png (see above)"
echo "1 passed, 0 failed (flight at frame $flight, menu at $menu, docked at $docked)"

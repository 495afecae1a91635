#!/usr/bin/env bash
# The zone map in the running game, driven by TESSAVAR_SCRIPT on the dummy video
# driver. A new game without the tutorial comes to the bridge, whose zone map button
# opens the galaxy map:
# 1. on the sample zones the zone map shows zone 0 around the start node; it matches
#    golden/zone_map.png;
# 2. on a test zone file whose boss node lies 40 units right of node 12 and 80 units
#    right of the start node 13, "Wait a minute" passes a minute in place (a group of
#    three fighters forms at the boss node), then the map view takes the keys, Right
#    chooses node 12 and the drive jumps there; the group comes to node 12 in the same
#    minute, so its 60 mass pulls the player into flight at node 12 after the map's hold;
# 3. on a test zone file whose start node is a transfer node, the map view opens on the
#    galaxy; it matches golden/galaxy_map.png;
# 4. on the test zones with the sample bosses, two jumps reach zone 0's boss node and
#    the flight there meets the star boss.
# TESSAVAR_TRACE shows each step; TESS_UPDATE_GOLDENS=1 rewrites the pictures.
set -u
here=$(cd "$(dirname "$0")" && pwd)
# The temporary home, the game's own program folder, run/value/first/line, the keys
# to the zone map and the test zones.
source "$here/lib/campaign.bash" "$1" 31

# 1. The sample zones' map.
run "$to_zone_map" 120 || fail "the zone map run failed: $(tail -3 "$home/log")"
[ "$(value 119 screen)" = 4 ] && [ "$(value 119 focus)" = 4001 ] ||
  fail "not on the zone map with Bridge focused: $(tail -1 "$home/trace")"
[ "$(value 119 zone)" = 0 ] && [ "$(value 119 node)" = 13 ] && [ "$(value 119 view)" = 1 ] ||
  fail "the map is not zone 0's at node 13: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/zone_map.png" ||
  fail "the zone map differs from golden/zone_map.png (see above)"

# 2. The jumps. On the zone map: Right twice to "Wait a minute", Return; Left to "Map
# view", Return; Right in the map view chooses node 12.
use_zones normal
grep -q "node 12 normal   (180, 100)" "$home/zones" && grep -q "node 13 normal   (140, 100) start" "$home/zones" ||
  fail "the test zone is not as it should be: $(grep 'node 1[23]' "$home/zones")"
run "$to_zone_map
111 key Right
117 key Right
123 key Return
141 key Left
147 key Return
163 key Right" 345 || fail "the jumping run failed: $(tail -3 "$home/log")"
grep -q "zones of data.game1.txt are refused" "$home/log" && fail "the test zones were refused: $(head -3 "$home/log")"
opened=$(first 'v["screen"] == 4')
[ -n "$opened" ] || fail "the zone map never opened: $(tail -1 "$home/trace")"
clock=$(value "$opened" zclock)
waited=$(first "v[\"zclock\"] >= $clock + 60000")
[ -n "$waited" ] || fail "Wait a minute passed no minute: $(tail -1 "$home/trace")"
[ "$(value "$waited" node)" = 13 ] || fail "the wait moved the player: $(line "$waited")"
[ "$waited" -lt 141 ] || fail "the wait came at frame $waited"
chosen=$(first 'v["target"] == 12')
[ -n "$chosen" ] || fail "Right chose no node 12: $(awk '$2 >= 163' "$home/trace" | head -2)"
jumped=$(first 'v["map"] == 1 && v["node"] == 12')
[ -n "$jumped" ] || fail "no jump to node 12"
# The jump starts a quarter second of game time after the choice (6 or 7 frames).
[ $((jumped - chosen)) -ge 6 ] && [ $((jumped - chosen)) -le 8 ] ||
  fail "the jump began $((jumped - chosen)) frames after the choice"
[ "$(value "$jumped" zclock)" -ge $((clock + 120000)) ] || fail "the jump added no minute: $(line "$jumped")"
held=$(first 'v["map"] == 2')
[ -n "$held" ] || fail "the map never held for a flight: $(tail -1 "$home/trace")"
[ "$(value "$held" parked)" = 3 ] || fail "the group did not wait at node 12: $(line "$held")"
flight=$(first 'v["mode"] == 0 && v["frame"] > '"$held")
[ -n "$flight" ] || fail "no flight after the hold: $(tail -1 "$home/trace")"
[ "$(value "$flight" zone)" = 0 ] && [ "$(value "$flight" node)" = 12 ] ||
  fail "the flight is not at node 12: $(line "$flight")"
# 2500 ms of real time: at most 63 frames of 40 ms, fewer on a busy machine whose
# frames take longer (the world's tests time the hold itself).
[ $((flight - held)) -ge 2 ] && [ $((flight - held)) -le 75 ] ||
  fail "the map held $((flight - held)) frames before the flight"

# 3. The galaxy: the map view from the transfer node 13.
use_zones transfer
grep -q "node 13 transfer" "$home/zones" || fail "node 13 is no transfer node: $(grep 'node 13' "$home/zones")"
# Zone 0 opens on the map with its arrival box (its alien station is in sight from
# there): Return closes it, then Right to "Map view", Return.
run "$to_zone_map
106 key Return
116 key Right
122 key Return" 145 || fail "the galaxy run failed: $(tail -3 "$home/log")"
[ "$(value 100 screen)" = 4 ] && [ "$(value 100 focus)" = 50001 ] ||
  fail "the zone's arrival box did not come: $(line 100)"
focus=$(value 144 focus)
[ "$(value 144 screen)" = 4 ] && [ "$(value 144 view)" = 0 ] && { [ "$focus" -lt 4001 ] || [ "$focus" -gt 4004 ]; } ||
  fail "the map view is not the galaxy's: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/galaxy_map.png" ||
  fail "the galaxy map differs from golden/galaxy_map.png (see above)"
# 4. The boss node: on the test zones with the sample star boss at zone 0's boss node,
# the map view takes the keys, the console reveals the boss node ("/showboss"), Right
# jumps to node 12 and Right again to the boss node, where the group forming there holds
# the map; the flight begins at the boss node (1) with the boss its only enemy in the
# world (groups are not made at a boss node), and the fight goes on.
use_zones normal boss
grep -q "node  1 boss" "$home/zones" && grep -q "zone 0: .*boss STAR_BOSS" "$home/zones" ||
  fail "no star boss at the test zones' boss node: $(head -3 "$home/zones")"
run "$to_zone_map
111 key Right
117 key Return
121 key Grave
123 type /showboss
124 key Return
126 key Grave
135 key Right
175 key Right" 375 || fail "the boss node run failed: $(tail -3 "$home/log")"
grep -q "Cannot read\|count as dead" "$home/log" && fail "the boss did not come whole: $(grep -m1 'Cannot\|dead' "$home/log")"
at_boss=$(first 'v["map"] == 1 && v["node"] == 1')
[ -n "$at_boss" ] || fail "no jump to the boss node: $(tail -1 "$home/trace")"
boss_flight=$(first 'v["mode"] == 0 && v["node"] == 1 && v["enemies"] == 1')
[ -n "$boss_flight" ] || fail "no flight with the boss at the boss node: $(tail -1 "$home/trace")"
[ "$(value 374 node)" = 1 ] && [ "$(value 374 enemies)" = 1 ] && [ "$(value 374 mode)" = 0 ] ||
  fail "the boss fight did not last: $(line 374)"
echo "4 passed, 0 failed (jump chosen at frame $chosen, started at $jumped, held at $held, flight at $flight;" \
  "the boss node's flight at $boss_flight)"

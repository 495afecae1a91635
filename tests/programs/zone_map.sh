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
#    galaxy; it matches golden/galaxy_map.png.
# TESSAVAR_TRACE shows each step; TESS_UPDATE_GOLDENS=1 rewrites the pictures.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home/user TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=31
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$home/user/tessavar/data" "$home/sample"
# A hall of fame whose first-play flag (the byte after the best time, 25 bytes from the
# end) is cleared.
"$bin/tesstool" save sample "$home/sample" >/dev/null || fail "tesstool save sample"
python3 - "$home/sample/records.bin" "$home/user/tessavar/data/records.bin" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
data[-25] = 0
open(sys.argv[2], 'wb').write(data)
EOF
"$bin/tesstool" save info "$home/user/tessavar/data/records.bin" | grep -q "first play: no" ||
  fail "the hall of fame given still has its first play to come"

# A program folder of our own: the game copied (it finds its folder from its own
# path), everything else linked, the zone file replaceable.
prog=$home/prog
mkdir -p "$prog"
cp "$bin/tessavar" "$prog/"
for entry in "$bin"/*; do
  name=$(basename "$entry")
  [ "$name" = tessavar ] || [ "$name" = data ] || ln -s "$entry" "$prog/$name"
done
cp -rs "$bin/data" "$prog/data"

run() { # SCRIPT FRAMES: the game's exit status; its log in $home/log, its trace in $home/trace
  printf '%s\n' "$1" >"$home/script.txt"
  rm -f "$home/shot.tga" "$home/trace"
  (cd "$home" && TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$home/shot.tga" \
    TESSAVAR_TRACE="$home/trace" "$prog/tessavar" >/dev/null 2>"$home/log")
}
# The trace's fields by name, and the first frame where a condition on them holds.
value() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}
first() { # AWK-CONDITION on v[NAME]
  awk "{ for (i = 1; i < NF; i += 2) v[\$i] = \$(i + 1) } $1 { print v[\"frame\"]; exit }" "$home/trace"
}
line() { awk -v f="$1" '$2 == f' "$home/trace"; }

# New game (Return); Down from the name box passes the difficulty to "Start with the
# tutorial", Down again to "Start without the tutorial" (a pilot's first game has the
# tutorial: the hall of fame given says a game was played), Return; the bridge comes
# with its zone map button focused: Return.
to_zone_map="10 key Return
20 key Down
30 key Down
36 key Return
50 key Return"

# 1. The sample zones' map.
run "$to_zone_map" 75 || fail "the zone map run failed: $(tail -3 "$home/log")"
[ "$(value 74 screen)" = 4 ] && [ "$(value 74 focus)" = 4001 ] ||
  fail "not on the zone map with Bridge focused: $(tail -1 "$home/trace")"
[ "$(value 74 zone)" = 0 ] && [ "$(value 74 node)" = 13 ] && [ "$(value 74 view)" = 1 ] ||
  fail "the map is not zone 0's at node 13: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/zone_map.png" ||
  fail "the zone map differs from golden/zone_map.png (see above)"

# A zone file of the test's own: zone 0 with ten normal nodes (nodes 4 to 13), its
# start node 13 at (140, 100), node 12 at (180, 100), the boss node at (220, 100) and
# everything else far away; an attack group of three fighters (20 mass each) that
# forms at once. The second zone and the transfer nodes come with the third part.
zone_file() { # NODE-13-KIND (normal or transfer)
  local normals="" transfer="" count=10 transfers=0
  for i in 0 1 2 3 4 5 6 7; do normals="$normals				n$i	$((600 + 30 * i)), 400
"; done
  normals="$normals				n8	180, 100
"
  if [ "$1" = transfer ]; then
    count=9 transfers=2
    transfer="			transfer
			{
				n0	140, 100, 1
				n1	300, 160, 1
			}"
  else
    normals="$normals				n9	140, 100
"
  fi
  cat <<EOF
ZONES
{
	numZones	2
	zone0
	{
		iniFileIdx	1
		numFixedResources	0
		numInfiniteResources	1
		infResource0
		{
			num	100
			maxInWorld	12
			maxInGame	3
			iniFile	data\\enemies\\fighter.txt
			type	ENEMY_FIGHTER
		}
		numAttckGroups	1
		attckGroup0
		{
			deployRadius	150
			spawnDelayS	0
			spawnDelayMaxS	1
			numInfGroups	1
			inf0
			{
				idx	0
				num	3
			}
		}
		map
		{
			hyperBgndPos	40, 40
			hyperBackground
			{
				spriteFile	data\\sprites\\maps\\zonepictures.spr
				startFrame	0
			}
			hyperBgndTitlePos	40, 20
			normalBgndPos	60, 60
			normalBackground
			{
				width	1
				height	1
				firstFrame	0
				displayLayer	10
				sprite
				{
					spriteFile	data\\sprites\\maps\\zonemaps.spr
				}
			}
			normalBgndTitlePos	60, 40
			numNormalNodes	$count
			numTransferNodes	$transfers
			numDangerNodes	0
			boss
			{
				node	220, 100
			}
			alienNode1	40, 400
			alienNode2	400, 300
			normal
			{
$normals			}
			crewNode	0
$transfer
		}
	}
	zone1
	{
		iniFileIdx	1
		numFixedResources	0
		numInfiniteResources	0
		numAttckGroups	0
		map
		{
			hyperBgndPos	340, 40
			hyperBackground
			{
				spriteFile	data\\sprites\\maps\\zonepictures.spr
				startFrame	1
			}
			hyperBgndTitlePos	340, 20
			numNormalNodes	2
			numTransferNodes	1
			numDangerNodes	0
			boss
			{
				node	300, 100
			}
			alienNode1	100, 300
			normal
			{
				n0	100, 100
				n1	200, 200
			}
			crewNode	0
			transfer
			{
				n0	90, 240, 0
			}
		}
	}
}
EOF
}
use_zones() { # NODE-13-KIND
  rm -f "$prog/data/game1.txt"
  zone_file "$1" >"$prog/data/game1.txt"
  (cd "$prog" && "$bin/tesstool" zone data/game1.txt) >"$home/zones" 2>&1 || fail "tesstool zone: $(cat "$home/zones")"
}

# 2. The jumps. On the zone map: Right twice to "Wait a minute", Return; Left to "Map
# view", Return; Right in the map view chooses node 12.
use_zones normal
grep -q "node 12 normal   (180, 100)" "$home/zones" && grep -q "node 13 normal   (140, 100) start" "$home/zones" ||
  fail "the test zone is not as it should be: $(grep 'node 1[23]' "$home/zones")"
run "$to_zone_map
66 key Right
72 key Right
78 key Return
96 key Left
102 key Return
118 key Right" 300 || fail "the jumping run failed: $(tail -3 "$home/log")"
grep -q "zones of data.game1.txt are refused" "$home/log" && fail "the test zones were refused: $(head -3 "$home/log")"
opened=$(first 'v["screen"] == 4')
[ -n "$opened" ] || fail "the zone map never opened: $(tail -1 "$home/trace")"
clock=$(value "$opened" zclock)
waited=$(first "v[\"zclock\"] >= $clock + 60000")
[ -n "$waited" ] || fail "Wait a minute passed no minute: $(tail -1 "$home/trace")"
[ "$(value "$waited" node)" = 13 ] || fail "the wait moved the player: $(line "$waited")"
[ "$waited" -lt 96 ] || fail "the wait came at frame $waited"
chosen=$(first 'v["target"] == 12')
[ -n "$chosen" ] || fail "Right chose no node 12: $(awk '$2 >= 118' "$home/trace" | head -2)"
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
run "$to_zone_map
66 key Right
72 key Return" 95 || fail "the galaxy run failed: $(tail -3 "$home/log")"
focus=$(value 94 focus)
[ "$(value 94 screen)" = 4 ] && [ "$(value 94 view)" = 0 ] && { [ "$focus" -lt 4001 ] || [ "$focus" -gt 4004 ]; } ||
  fail "the map view is not the galaxy's: $(tail -1 "$home/trace")"
python3 "$here/golden_shot.py" "$home/shot.tga" "$here/golden/galaxy_map.png" ||
  fail "the galaxy map differs from golden/galaxy_map.png (see above)"
echo "3 passed, 0 failed (jump chosen at frame $chosen, started at $jumped, held at $held, flight at $flight)"

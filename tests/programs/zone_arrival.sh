#!/usr/bin/env bash
# The zones in the running game, on a test zone file whose boss node lies next to
# zone 0's start node and whose attack group of three fighters forms at once (groups
# go on forming, but no more than three fighters are in the world at once): a new
# game without the tutorial (whose first flight keeps the zones' nodes still) comes to
# the bridge in zone 0 at node 13; on the zone map "Wait a minute" lets the zone clock
# run until the group has formed at the boss node and moved to the player's node,
# whose 60 mass of enemies pulls the player into flight there: node 13 with its
# asteroid field, the fighters warping in. TESSAVAR_TRACE shows each step. The game
# runs from a program folder of its own that links to the built one, with
# data/game1.txt replaced, and a hall of fame whose first play is over (so a new game
# may leave the tutorial out): lib/campaign.bash.
set -u
here=$(cd "$(dirname "$0")" && pwd)
# The temporary home with its hall of fame, the game's own program folder,
# run/value/first/line and the keys to the zone map.
source "$here/lib/campaign.bash" "$1" 7
rm -f "$prog/data/game1.txt"
normals=""
for i in 0 1 2 3 4 5 6 7 8 9; do
  x=$((600 + 30 * i))
  [ $i -eq 9 ] && x=140 # node 13, 40 units from the boss node
  normals="$normals		n$i	$x, 0
"
done
cat >"$prog/data/game1.txt" <<EOF
ZONES
{
	numZones	1
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
			numNormalNodes	10
			numTransferNodes	0
			numDangerNodes	0
			boss
			{
				node	100, 0
			}
			alienNode1	0, 400
			alienNode2	400, 400
			normal
			{
$normals			}
			crewNode	0
		}
	}
}
EOF
(cd "$prog" && "$bin/tesstool" zone data/game1.txt) | grep -q "node 13 normal   (140, 0) start" ||
  fail "the test zone is not as it should be"

# To the zone map; Right twice to "Wait a minute", pressed twice.
run "$to_zone_map
111 key Right
117 key Right
123 key Return
140 key Return" 400 || fail "the run failed: $(tail -3 "$home/log")"
grep -q "zones of data.game1.txt are refused" "$home/log" && fail "the test zones were refused: $(head -3 "$home/log")"

# The first flight frame after the logo (the game's mode reads flight before the
# front end starts).
flight=$(first 'v["mode"] == 0 && v["covering"] == 0')
[ -n "$flight" ] || fail "no flight: $(tail -1 "$home/trace")"
[ "$(value "$flight" zone)" = 0 ] && [ "$(value "$flight" node)" = 13 ] ||
  fail "the flight is not at zone 0's node 13: $(line "$flight")"
[ "$(value "$flight" field)" -gt 0 ] || fail "node 13 has no asteroid field"
# The group parks at the player's node while the map waits, before the flight; once
# the flight begins its three fighters are made there one a frame, warping in.
parked=$(first 'v["parked"] >= 3')
[ -n "$parked" ] || fail "no group came to node 13: $(tail -1 "$home/trace")"
[ "$parked" -lt "$flight" ] || fail "the flight (frame $flight) came before the group (frame $parked)"
[ "$(value "$((flight - 1))" screen)" = 4 ] || fail "the flight did not come from the zone map"
made=$(first 'v["enemies"] >= 3')
[ -n "$made" ] || fail "the fighters never came: $(tail -1 "$home/trace")"
[ "$made" -ge "$flight" ] && [ "$made" -le $((flight + 5)) ] ||
  fail "the fighters were made at frame $made, the flight began at $flight"
# The station warps in with them: its warp is the one beyond the fighters' three.
others=$(($(value "$made" warps) - 3))
[ "$others" -ge 0 ] || fail "the fighters did not warp in: $(line "$made")"
arrived=$(awk -v m="$made" -v o="$others" \
  '$2 > m { for (i = 1; i < NF; i += 2) if ($i == "warps" && $(i + 1) <= o) { print $2; exit } }' "$home/trace")
[ -n "$arrived" ] || fail "the fighters' warps never ended"
# Each warp takes 1.5 s unseen, 0.5 to 2.5 s growing and 1 s more for its effect.
[ $((arrived - made)) -ge 75 ] && [ $((arrived - made)) -le 130 ] ||
  fail "the warps ended $((arrived - made)) frames after the fighters were made"
[ "$(value "$arrived" enemies)" = 3 ] || fail "the fighters left at once: $(line "$arrived")"
echo "1 passed, 0 failed (flight at frame $flight, group at $parked, fighters made at $made, arrived by $arrived)"

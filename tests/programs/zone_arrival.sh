#!/usr/bin/env bash
# The zones in the running game, on a test zone file whose boss node lies next to
# zone 0's start node and whose attack group of three fighters forms at once (groups
# go on forming, but no more than three fighters are in the world at once): a new
# game (with the tutorial's flight) starts in zone 0 at node 13, which has its
# asteroid field; once the ship has warped in and the zone clock runs, the group
# forms at the boss node, moves to the player's node and its fighters warp in there.
# TESSAVAR_TRACE shows each step. The game runs from a program folder of its own that
# links to the built one, with data/game1.txt replaced.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home/user TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=7
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

# The program folder: the game itself copied (it finds its folder from its own path),
# everything else linked, the zone file our own.
prog=$home/prog
mkdir -p "$prog" "$home/user"
cp "$bin/tessavar" "$prog/"
for entry in "$bin"/*; do
  name=$(basename "$entry")
  [ "$name" = tessavar ] || [ "$name" = data ] || ln -s "$entry" "$prog/$name"
done
cp -rs "$bin/data" "$prog/data"
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

# New game (Return on New game, in the name box, on "Start with the tutorial").
printf '10 key Return\n16 key Return\n22 key Return\n' >"$home/script.txt"
(cd "$home" && TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=360 TESSAVAR_TRACE="$home/trace" \
  "$prog/tessavar" >/dev/null 2>"$home/log") || fail "the run failed: $(tail -3 "$home/log")"
grep -q "zones of data.game1.txt are refused" "$home/log" && fail "the test zones were refused: $(head -3 "$home/log")"

# The trace's fields by name, and the first frame where a condition on them holds.
value() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}
first() { # AWK-CONDITION on v[NAME]
  awk "{ for (i = 1; i < NF; i += 2) v[\$i] = \$(i + 1) } $1 { print v[\"frame\"]; exit }" "$home/trace"
}

flight=$(first 'v["mode"] == 0')
[ -n "$flight" ] || fail "no flight: $(tail -1 "$home/trace")"
[ "$(value "$flight" zone)" = 0 ] && [ "$(value "$flight" node)" = 13 ] ||
  fail "the flight is not at zone 0's node 13: $(awk -v f="$flight" '$2 == f' "$home/trace")"
[ "$(value "$flight" field)" -gt 0 ] || fail "node 13 has no asteroid field"
# The group parks at the player's node only after the ship has warped in, then its
# three fighters are made there one a frame, warping in.
parked=$(first 'v["parked"] >= 3')
[ -n "$parked" ] || fail "no group came to node 13: $(tail -1 "$home/trace")"
made=$(first 'v["enemies"] >= 3')
[ -n "$made" ] || fail "the fighters never came: $(tail -1 "$home/trace")"
[ "$made" -ge "$parked" ] || fail "fighters (frame $made) before their group arrived (frame $parked)"
[ "$made" -le $((parked + 5)) ] || fail "the fighters took from frame $parked to $made to be made"
[ "$(value "$made" warps)" -ge 3 ] || fail "the fighters did not warp in: $(awk -v f="$made" '$2 == f' "$home/trace")"
arrived=$(awk -v m="$made" '$2 > m { for (i = 1; i < NF; i += 2) if ($i == "warps" && $(i + 1) == 0) { print $2; exit } }' \
  "$home/trace")
[ -n "$arrived" ] || fail "the fighters' warps never ended"
# Each warp takes 1.5 s unseen, 0.5 to 2.5 s growing and 1 s more for its effect.
[ $((arrived - made)) -ge 75 ] && [ $((arrived - made)) -le 130 ] ||
  fail "the warps ended $((arrived - made)) frames after the fighters were made"
[ "$(value "$arrived" enemies)" = 3 ] || fail "the fighters left at once: $(awk -v f="$arrived" '$2 == f' "$home/trace")"
echo "1 passed, 0 failed (flight at frame $flight, group at $parked, fighters made at $made, arrived by $arrived)"

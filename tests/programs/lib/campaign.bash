# Shared by the program tests that play the campaign in the running game on the dummy
# drivers. Sourced by a test with the built program folder as its first argument:
#   source "$here/lib/campaign.bash" "$1" SEED
# It makes a temporary home (removed at exit) whose hall of fame says a game was
# played, so that a new game offers to start without the tutorial, and a program folder
# of the test's own (the game copied, as it finds its folder from its own path, the
# rest linked, data/game1.txt replaceable). Then:
#   run SCRIPT FRAMES  plays the script; the log is $home/log, the trace $home/trace,
#                      the last frame's picture $home/shot.tga, F11's in $home/*/screengrabs
#   value FRAME NAME   a trace field of a frame
#   first CONDITION    the first frame whose fields (v["NAME"]) meet an awk condition
#   line FRAME         the trace line of a frame
#   use_zones KIND [boss]  the test zones below (node 13 "normal" or "transfer"; with
#                      "boss", the sample star boss waits at zone 0's boss node and the
#                      disc boss at zone 1's)
#   $to_hub, $to_zone_map  the keys from start-up to the bridge and its zone map
bin=$1
. "$(dirname "${BASH_SOURCE[0]}")/../../support/game_run.sh" "$2"
export TESSAVAR_HOME=$home/user
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

prog=$home/prog
mkdir -p "$prog"
cp "$bin/tessavar" "$prog/"
for entry in "$bin"/*; do
  name=$(basename "$entry")
  [ "$name" = tessavar ] || [ "$name" = data ] || ln -s "$entry" "$prog/$name"
done
cp -rs "$bin/data" "$prog/data"

run() { # SCRIPT FRAMES: the game's exit status
  printf '%s\n' "$1" >"$home/script.txt"
  rm -rf "$home/user/tessavar/screengrabs"
  (cd "$home" && play "$prog/tessavar" "$2" "$home")
}
value() { trace_value "$home/trace" "$1" "$2"; } # FRAME NAME
first() { # AWK-CONDITION on v[NAME]
  awk "{ for (i = 1; i < NF; i += 2) v[\$i] = \$(i + 1) } $1 { print v[\"frame\"]; exit }" "$home/trace"
}
line() { awk -v f="$1" '$2 == f' "$home/trace"; }

# A new game without the tutorial (a pilot's first game has the tutorial: the hall of
# fame given says a game was played), the logo and the intro skipped as a player skips
# them (startup_keys.sh): the bridge, with its zone map button focused; Return there
# opens the zone map, which takes keys from frame 111.
. "$(dirname "${BASH_SOURCE[0]}")/../../support/startup_keys.sh"
to_hub=$NEW_GAME_NO_TUTORIAL
to_zone_map="$to_hub
$HUB_FRAME key Return"

# The test zones: zone 0 with ten normal nodes (nodes 4 to 13), its start node 13 at
# (140, 100), node 12 at (180, 100), the boss node at (220, 100) and everything else
# far away; an attack group of three fighters (20 mass each) that forms at once. A
# second zone and two transfer nodes come with a transfer node 13.
zone_file() { # NODE-13-KIND (normal or transfer) [boss]
  local normals="" transfer="" count=10 transfers=0 boss0="" boss1=""
  if [ "${2:-}" = boss ]; then
    boss0="		boss
		{
			iniFile	data\\enemies\\bossstar.txt
			type	STAR_BOSS
		}"
    boss1="		boss
		{
			iniFile	data\\enemies\\bossdisc.txt
			type	DISC_BOSS
		}"
  fi
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
$boss0
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
$boss1
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
use_zones() { # NODE-13-KIND [boss]
  rm -f "$prog/data/game1.txt"
  zone_file "$1" "${2:-}" >"$prog/data/game1.txt"
  (cd "$prog" && "$bin/tesstool" zone data/game1.txt) >"$home/zones" 2>&1 || fail "tesstool zone: $(cat "$home/zones")"
}

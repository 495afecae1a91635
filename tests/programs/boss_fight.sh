#!/usr/bin/env bash
# The five bosses against the player's ship in the running game: in the flight of an
# open survival run (the logo skipped; every gun works there) the console brings one
# boss ("/spawnenemy"; with this seed it comes ahead of the ship's nose), and the ship
# closes in for half a second and fires at it for a bounded number of frames (software
# device). Each run ends in order, the boss's file
# has every part, port and turret its script names, the boss stays in the world
# throughout, and a frame of the fight taken with F11 matches its golden picture
# (golden/<type>.png); TESS_UPDATE_GOLDENS=1 rewrites them.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/console_flight.sh"
export TESSAVAR_SEED=4
shot=$((SURVIVAL_FLIGHT_FRAME + 40))
frames=$((shot + 3))
failed=0

for type in STAR_BOSS MAGMA_BOSS RAIN_BOSS TRON_BOSS DISC_BOSS; do
  run=$home/$type
  mkdir -p "$run"
  {
    survival_keys
    console_spawn $SURVIVAL_FLIGHT_FRAME $type
    fight=$((CONSOLE_CLOSED + 2))
    printf '%d down Q\n%d down Up\n%d up Up\n%d key F11\n' $fight $fight $((fight + 12)) $shot
  } >"$run/script.txt"
  if ! run_flight "$bin" $frames "$run"; then
    echo "FAIL: $type: the run failed: $(tail -3 "$run/log")"
    failed=$((failed + 1))
    continue
  fi
  trace=$run/trace
  problem=""
  if grep -q "Cannot spawn\|Usage: /spawnenemy\|Cannot read\|count as dead" "$run/log"; then
    problem="the boss did not come whole: $(grep -m1 'Cannot\|Usage\|count as dead' "$run/log")"
  elif [ "$(field "$trace" $((frames - 1)) frame)" != $((frames - 1)) ]; then
    problem="the trace stops at $(tail -1 "$trace" | awk '{ print $2 }')"
  elif [ "$(field "$trace" $((CONSOLE_CLOSED + 1)) mode)" != 0 ]; then
    problem="not in flight: $(awk -v f=$((CONSOLE_CLOSED + 1)) '$2 == f' "$trace")"
  else
    gone=$(awk -v f="$CONSOLE_CLOSED" '$2 > f { for (i = 1; i < NF; i += 2) if ($i == "enemies" && $(i + 1) < 1) { print $2; exit } }' \
      "$trace")
    [ -z "$gone" ] || problem="no enemy in the world at frame $gone"
  fi
  if [ -z "$problem" ]; then
    shots=("$run"/*/screengrabs/Tessavar_*.tga)
    name=$(echo "$type" | tr 'A-Z' 'a-z')
    if [ ${#shots[@]} -ne 1 ] || [ ! -f "${shots[0]}" ]; then
      problem="F11 wrote ${#shots[@]} screenshots"
    elif ! python3 "$here/golden_shot.py" "${shots[0]}" "$here/golden/$name.png"; then
      problem="the fight differs from golden/$name.png (see above)"
    fi
  fi
  if [ -n "$problem" ]; then
    echo "FAIL: $type: $problem"
    failed=$((failed + 1))
  fi
done
echo "$((5 - failed)) passed, $failed failed"
[ $failed -eq 0 ]

#!/usr/bin/env bash
# Enemies against the player's ship in the running game: a new game's first flight
# (the logo and intro skipped, flight school's first page read), then three drones,
# three fighters and a worm brought in through the console ("/spawnenemy"), while the
# ship turns and tries its guns (the tutorial keeps them shut so far). TESSAVAR_TRACE
# shows the fight within a bounded number of frames: the enemies arrive, some of them
# leave the world (drones going off) and the ship loses health. A frame of the
# fight taken with F11 (fixed seed, software device) matches the golden picture;
# TESS_UPDATE_GOLDENS=1 rewrites it.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/console_flight.sh"
export TESSAVAR_SEED=20

# Once the ship has warped in the console brings the enemies; then the ship turns and
# tries its guns.
{
  new_game_keys
  console_spawn $FLIGHT_FRAME ENEMY_DRONE ENEMY_DRONE ENEMY_DRONE ENEMY_FIGHTER ENEMY_FIGHTER ENEMY_FIGHTER WORM
  fight=$((CONSOLE_CLOSED + 3))
  printf '%d down Q\n%d down Right\n%d key F11\n' $fight $fight $((fight + 36))
} >"$home/script.txt"
fight=$((CONSOLE_CLOSED + 3))
frames=$((fight + 180))

run_flight "$bin" $frames "$home" || fail "the run failed: $(tail -3 "$home/log")"
grep -q "Cannot spawn\|Usage: /spawnenemy\|Cannot read the enemy file" "$home/log" &&
  fail "an enemy did not come: $(grep -m1 'Cannot\|Usage' "$home/log")"
check=$((CONSOLE_CLOSED + 1))
[ "$(field "$home/trace" $check mode)" = 0 ] && [ "$(field "$home/trace" $check step)" = 1 ] ||
  fail "not in the tutorial's flight: $(awk -v f=$check '$2 == f' "$home/trace")"
arrived=$(field "$home/trace" $check enemies)
health=$(field "$home/trace" $check ship)
# Three drones, three fighters and a worm of at least three segments.
[ "$arrived" -ge 9 ] || fail "only $arrived enemies arrived"
[ "$health" -gt 0 ] || fail "no ship in the flight"
fewest=$(awk -v c=$check -v e=$frames '$2 > c && $2 < e { for (i = 1; i < NF; i += 2) if ($i == "enemies") print $(i + 1) }' \
  "$home/trace" | sort -n | head -1)
[ "$fewest" -lt "$arrived" ] || fail "no enemy left the world in 180 frames"
hurt=$(awk -v c=$check -v h="$health" '$2 > c { for (i = 1; i < NF; i += 2) if ($i == "ship" && $(i + 1) < h) { print $2; exit } }' \
  "$home/trace")
[ -n "$hurt" ] || fail "the ship was never hurt"

shots=("$home"/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ] || fail "F11 wrote ${#shots[@]} screenshots"
python3 "$here/golden_shot.py" "${shots[0]}" "$here/golden/enemy_fight.png" ||
  fail "the fight differs from golden/enemy_fight.png (see above)"
echo "1 passed, 0 failed"

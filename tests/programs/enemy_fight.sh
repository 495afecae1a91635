#!/usr/bin/env bash
# Enemies against the player's ship in the running game: a new game's first flight,
# then three drones, three fighters and a worm brought in through the console
# ("/spawnenemy"), while the ship turns and fires. TESSAVAR_TRACE shows the fight
# within a bounded number of frames: the enemies arrive, some of them leave the world
# (drones going off, enemies shot down) and the ship loses health. A frame of the
# fight taken with F11 (fixed seed, software device) matches the golden picture;
# TESS_UPDATE_GOLDENS=1 rewrites it.
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/console_flight.sh"
export TESSAVAR_SEED=20

# Once the ship has warped in the console brings the enemies; then the ship turns and
# fires.
{
  new_game_keys
  console_spawn $FLIGHT_FRAME ENEMY_DRONE ENEMY_DRONE ENEMY_DRONE ENEMY_FIGHTER ENEMY_FIGHTER ENEMY_FIGHTER WORM
  printf '180 down Q\n180 down Right\n216 key F11\n'
} >"$home/script.txt"

run_flight "$bin" 360 "$home" || fail "the run failed: $(tail -3 "$home/log")"
grep -q "Cannot spawn\|Usage: /spawnenemy\|Cannot read the enemy file" "$home/log" &&
  fail "an enemy did not come: $(grep -m1 'Cannot\|Usage' "$home/log")"
[ "$(field "$home/trace" 178 mode)" = 0 ] || fail "not in flight: $(awk '$2 == 178' "$home/trace")"
arrived=$(field "$home/trace" 178 enemies)
health=$(field "$home/trace" 178 ship)
# Three drones, three fighters and a worm of at least three segments.
[ "$arrived" -ge 9 ] || fail "only $arrived enemies arrived"
[ "$health" -gt 0 ] || fail "no ship in the flight"
fewest=$(awk '$2 > 178 && $2 < 360 { for (i = 1; i < NF; i += 2) if ($i == "enemies") print $(i + 1) }' "$home/trace" |
  sort -n | head -1)
[ "$fewest" -lt "$arrived" ] || fail "no enemy left the world in 180 frames"
hurt=$(awk -v h="$health" '$2 > 178 { for (i = 1; i < NF; i += 2) if ($i == "ship" && $(i + 1) < h) { print $2; exit } }' \
  "$home/trace")
[ -n "$hurt" ] || fail "the ship was never hurt"

shots=("$home"/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ] || fail "F11 wrote ${#shots[@]} screenshots"
python3 "$here/golden_shot.py" "${shots[0]}" "$here/golden/enemy_fight.png" ||
  fail "the fight differs from golden/enemy_fight.png (see above)"
echo "1 passed, 0 failed"

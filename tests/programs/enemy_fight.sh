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
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=20
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

run() { # FRAMES: the game's exit status; its log in $home/log, its trace in $home/trace
  TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$1 TESSAVAR_TRACE="$home/trace" "$bin/tessavar" \
    >/dev/null 2>"$home/log"
}
# The trace's fields by name ("frame", "mode", "objects", "enemies", "ship", ...).
field() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}

# New game with the tutorial's flight; once the ship has warped in (by frame 150) the
# console (the key left of "1") brings the enemies; then the ship turns and fires.
{
  printf '10 key Return\n16 key Return\n22 key Return\n160 key Grave\n'
  frame=162
  for type in ENEMY_DRONE ENEMY_DRONE ENEMY_DRONE ENEMY_FIGHTER ENEMY_FIGHTER ENEMY_FIGHTER WORM; do
    printf '%d type /spawnenemy %s\n%d key Return\n' $frame $type $((frame + 1))
    frame=$((frame + 2))
  done
  printf '177 key Grave\n180 down Q\n180 down Right\n216 key F11\n'
} >"$home/script.txt"

run 360 || fail "the run failed: $(tail -3 "$home/log")"
grep -q "Cannot spawn\|Usage: /spawnenemy\|Cannot read the enemy file" "$home/log" &&
  fail "an enemy did not come: $(grep -m1 'Cannot\|Usage' "$home/log")"
[ "$(field 178 mode)" = 0 ] || fail "not in flight: $(awk '$2 == 178' "$home/trace")"
arrived=$(field 178 enemies)
health=$(field 178 ship)
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

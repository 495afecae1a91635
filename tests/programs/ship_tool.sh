#!/usr/bin/env bash
# The sample ship data read through the game's own readers by tesstool ship: every
# design, its mass (hull plus parts, added up by hand from data-src/ships) and the
# flight check, and a refusal that names the file and key of a broken definition.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$bin"

out=$("$bin/tesstool" ship data/shipComponents.txt data/playerShips.txt 2>&1) || fail "sample data refused: $out"
expect() { echo "$out" | grep -qF -- "$1" || fail "missing \"$1\" in: $out"; }
expect 'designs 4'
expect 'slot 0 "Escape Pod" hull 0 hull_pod, 3 pods, mass 45, beam and weapon no, engine yes'
expect 'slot 1 "Sparrow" hull 1 hull_sparrow, 7 pods, mass 175, beam and weapon yes, engine yes'
expect 'slot 2 "Dart" hull 2 hull_dart, 5 pods, mass 135, beam and weapon yes, engine yes'
expect 'slot 3 "Bulwark" hull 3 hull_bulwark, 10 pods, mass 350, beam and weapon yes, engine yes'
# The Sparrow names six pods; its hull's seventh slot is completed empty.
expect 'pod 6 (2, 1) NONE -'
expect '18 STATION_VAC           "STATION_VAC" (Station vacuums): 1'
expect '0 station_gun mass 0 health 120 energy 0 ammo -1 "Station gun"'
expect '0 laser_lance mass 15 health 30 energy 15 ammo -1 "Lance laser"'

# Every display key names a text of the table.
echo "$out" | grep -q '"?"' && fail "a display key is missing from the string table"

# A definition without its thrust: refused, naming file, block and key.
sed '0,/\tthrust\t/{/\tthrust\t/d}' data/shipComponents.txt >"$work/parts.txt"
err=$("$bin/tesstool" ship "$work/parts.txt" 2>&1) && fail "a missing thrust was accepted"
echo "$err" | grep -q 'parts.txt:[0-9]*: missing key "thrust" in block "SHIP_COMPONENT_ENGINE_POD"' || fail "no reason: $err"
# A design naming a kind that does not exist.
sed 's/GRAVITY_BEAM/GRAVEL/' data/playerShips.txt >"$work/ships.txt"
err=$("$bin/tesstool" ship data/shipComponents.txt "$work/ships.txt" 2>&1) && fail "an unknown pod kind was accepted"
echo "$err" | grep -q 'ships.txt:[0-9]*: design "Escape Pod", pod2: unknown component kind "GRAVEL"' || fail "no reason: $err"
echo "1 passed, 0 failed"

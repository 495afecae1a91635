#!/usr/bin/env bash
# Every effect the sample ship data names is defined in the sample effect files (the
# game goes on silently without an effect it cannot find, so a misspelt name would
# only show as a missing shot or flame).
set -u
bin=$1
fail() { echo "FAIL: $*"; exit 1; }
defined=$(grep -h -P '^\tname\t' "$bin"/data/effects/*.txt | cut -f3 | tr 'A-Z' 'a-z' | tr -d '\r')
[ -n "$defined" ] || fail "no effect definitions under $bin/data/effects"
names=$(grep -h -P -i '^\t[a-z]*Effect\t' "$bin/data/shipComponents.txt" | cut -f3 | tr -d '\r' | sort -u)
[ -n "$names" ] || fail "the ship data names no effects"
for name in $names; do
  echo "$defined" | grep -qx "$(echo "$name" | tr 'A-Z' 'a-z')" || fail "effect \"$name\" is not defined"
done
for name in WarpIn1 WarpOut1 WarpIn2 WarpOut2 StationWarpOut alienHeal revEngine BossExplosion stationExplosion; do
  echo "$defined" | grep -qx "$(echo "$name" | tr 'A-Z' 'a-z')" || fail "effect \"$name\" is not defined"
done
echo "$(echo "$names" | wc -w) names of the ship data defined"

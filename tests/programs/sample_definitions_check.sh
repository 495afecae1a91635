#!/usr/bin/env bash
# tesstool check over the sample sprites, tiled pictures and bodies: a missing
# required key, a missing numbered block and a sprite file that is not there are each
# named with file and line.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

copy() {
  rm -rf "$work/game"
  mkdir -p "$work/game"
  cp -r "$bin/data" "$work/game/"
  cp "$bin/Tessavar.000" "$bin/tessavar.001" "$work/game/"
}
expect_problem() { # the text expected in the report
  local out
  out=$("$bin/tesstool" check "$work/game" 2>&1) && fail "check passed with $1: $out"
  echo "$out" | grep -qF -- "$1" || fail "expected '$1' in: $out"
}

copy
out=$("$bin/tesstool" check "$work/game" 2>&1) || fail "the copied sample data has problems: $out"

copy
sed -i '/^    displayLayer 15/d' "$work/game/data/samples/planet.txt"
expect_problem 'data/samples/planet.txt:2: missing key "displayLayer" in block "PLANET"'

copy
sed -i '/^    health 60/d' "$work/game/data/samples/scout.txt"
expect_problem 'data/samples/scout.txt:3: missing key "health" in block "SCOUT"'

copy
sed -i 's/^        sprite1$/        spriteOne/' "$work/game/data/samples/scout.txt"
expect_problem 'missing key "sprite1" in block "extraSprites"'

copy
sed -i 's/pods\.spr/podz.spr/' "$work/game/data/samples/scout.txt"
expect_problem 'data/samples/scout.txt:42: sprite file "data\sprites\podz.spr" is not there'

copy
sed -i 's/^        pathId 0$/        pathId 4/' "$work/game/data/samples/scout.txt"
expect_problem 'path 4 does not exist'
exit 0

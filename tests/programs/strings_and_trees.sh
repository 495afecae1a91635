#!/usr/bin/env bash
# The string table the build makes, the game's refusal to start without one, and
# what tesstool tree print shows of a data file.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TESSAVAR_HOME=$work/home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start}
mkdir -p "$TESSAVAR_HOME"
fail() { echo "FAIL: $*"; exit 1; }
table=$bin/data/Tessavar_Strings.tbl

[ "$("$bin/tesstool" strings get "$table" 0xbf000007)" = "January" ] || fail "0xbf000007 is not January"
[ "$("$bin/tesstool" strings get "$table" 0xc3000005)" = "December" ] || fail "0xc3000005 is not December"
[ "$("$bin/tesstool" strings get "$table" 0x7a000004)" = "Loading..." ] || fail "no loading text at 0x7a000004"
"$bin/tesstool" strings get "$table" 0x7a0000ff >/dev/null 2>&1 && fail "a missing id was found"
"$bin/tesstool" strings dump "$table" | grep -q "^0xbf000007	.*	January$" || fail "dump does not list January"

# The game runs from a copy of the program folder; without the table it refuses.
game=$work/game
mkdir -p "$game"
cp "$bin/tessavar" "$game/"
out=$(TESSAVAR_FRAMES=2 "$game/tessavar" 2>&1) && fail "started without a string table"
echo "$out" | grep -q "Tessavar hit a fatal error during startup" || fail "no error message: $out"

mkdir -p "$game/data"
head -c 100 "$table" >"$game/data/Tessavar_Strings.tbl"
TESSAVAR_FRAMES=2 "$game/tessavar" >/dev/null 2>&1 && fail "started with a truncated string table"

cp "$table" "$game/data/"
cp -r "$bin/data/gui" "$game/data/" # the GUI's fonts, which start-up needs as well
TESSAVAR_FRAMES=2 "$game/tessavar" >/dev/null 2>&1 || fail "did not start with the string table"

# A data file in 8-bit text with an include in capitals, read back by the game's reader.
mkdir -p "$work/defs"
printf 'part\n{\n\tsize\t3 // small\n}\n' >"$work/defs/Part.txt"
printf '// top\nlevel {\n  name  Alpha\n  #INCLUDE defs\\part.txt\n}\nbroken {\n' >"$work/level.txt"
expected=$(printf 'level\n{\n\tname\tAlpha\n\tpart\n\t{\n\t\tsize\t3 // small\n\t}\n}')
got=$(cd "$work" && "$bin/tesstool" tree print level.txt) || fail "tree print failed"
[ "$got" = "$expected" ] || fail "tree print gave: $got"
"$bin/tesstool" tree print "$work/missing.txt" 2>/dev/null && fail "a missing file printed"
echo "1 passed, 0 failed"

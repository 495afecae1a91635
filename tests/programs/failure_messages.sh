#!/usr/bin/env bash
# Failures the player must hear of, on standard error without asking for it: a
# damaged or unused patch pack (the sprites in it are missing, the screen black), a
# missing or damaged string table (start-up fails: which file, and why), and a
# settings folder that cannot be written (the settings of the run are lost).
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
unset TESSAVAR_LOG_STDERR
export TESSAVAR_DIALOGS=launcher:start TESSAVAR_FRAMES=2
[ -s "$bin/tessavar.001" ] || fail "the build made no tessavar.001"

# A program folder of its own (the game reads the folder its binary is in).
prog=$work/prog
mkdir "$prog"
cp -r "$bin/tessavar" "$bin/data" "$bin/Tessavar.000" "$bin/tessavar.001" "$prog/"
home=$work/home
run() { TESSAVAR_HOME=$home "$prog/tessavar" 2>&1; }

out=$(run) || fail "the whole folder did not run: $out"
echo "$out" | grep -qi "pack file\|sprite file" && fail "a whole folder reported a pack or sprite failure: $out"

# Cut short in the middle of its records: named, with where the damage starts.
size=$(stat -c %s "$bin/tessavar.001")
head -c $((size / 2)) "$bin/tessavar.001" > "$prog/tessavar.001"
out=$(run) || fail "a damaged patch pack stopped the game: $out"
echo "$out" | grep -q "^Pack file tessavar.001 is damaged: the record at byte [0-9]* runs past the end" ||
  fail "the damaged tessavar.001 is not reported: $out"
cp "$bin/tessavar.001" "$prog/"

# Without Tessavar.000 no pack is read: the unused patch pack is named, and so are
# the sprite files that could then not be found.
rm "$prog/Tessavar.000"
out=$(run) || fail "a folder without Tessavar.000 did not run: $out"
echo "$out" | grep -q "^Pack file tessavar.001 is not used: .*Tessavar.000" || fail "the unused pack is not named: $out"
echo "$out" | grep -q "^Sprite file data/frontend/loading.spr: cannot be read" || fail "the missing sprites are not named: $out"
cp "$bin/Tessavar.000" "$prog/"

# The string table: missing, then damaged. Start-up fails, and one line names the file.
mv "$prog/data/Tessavar_Strings.tbl" "$work/table"
out=$(run) && fail "the game ran without its string table"
echo "$out" | grep -qx "The string table data/Tessavar_Strings.tbl is missing from the program folder and its packs" ||
  fail "the missing string table is not named: $out"
head -c 100 "$work/table" > "$prog/data/Tessavar_Strings.tbl"
out=$(run) && fail "the game ran with a damaged string table"
echo "$out" | grep -q "^The string table data/Tessavar_Strings.tbl is damaged: " ||
  fail "the damaged string table is not named: $out"
mv "$work/table" "$prog/data/Tessavar_Strings.tbl"

# A user folder that cannot be made (a file has its name): the game runs, and the
# settings it could not write are reported with their path and the reason.
home=$work/blocked
mkdir "$home"
touch "$home/Tessavar"
out=$(run) || fail "a run with an unwritable user folder failed: $out"
echo "$out" | grep -q "^The settings were not saved: $home/Tessavar/Tessavar.cfg could not be written (Not a directory)" ||
  fail "the lost settings are not reported: $out"
echo "1 passed, 0 failed"

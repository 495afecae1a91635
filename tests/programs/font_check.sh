#!/usr/bin/env bash
# tesstool check reads the fonts of a data folder as the game does: glyph tables are
# not taken for definition files, a damaged one is named, and so is a font that the
# skin names but nobody baked.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A copy of the program folder's data, with the packs that hold its sprites.
cp -r "$bin/data" "$work/"
for pack in "$bin"/[Tt]essavar.0[0-9][0-9]; do
  if [ -f "$pack" ]; then cp "$pack" "$work/"; fi
done
(cd "$work" && "$bin/tesstool" check . >"$work/out" 2>&1) || fail "the sample fonts have problems: $(cat "$work/out")"

# A glyph on a page that does not exist, and a skin font without its files.
printf '1\n65 9 0 0 4 4 5\n' >"$work/data/gui/gui_small.txt"
printf 'skin\n{\n\tsystemfont\tsystem_font\n\tfont2\tnothing\n}\n' >"$work/data/gui/defaultSkin.skin"
(cd "$work" && "$bin/tesstool" check . >"$work/out" 2>&1) && fail "damaged fonts passed"
grep -q "data/gui/gui_small.txt.*page that does not exist" "$work/out" || fail "no word of the bad page: $(cat "$work/out")"
grep -q "font2 names the font \"nothing\"" "$work/out" || fail "no word of the missing font: $(cat "$work/out")"
grep -q "does not parse" "$work/out" && fail "a glyph table was read as a definition file"
echo "1 passed, 0 failed"

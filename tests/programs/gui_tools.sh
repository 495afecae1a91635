#!/usr/bin/env bash
# The GUI's files through tesstool: the sample demonstration layout listed with the
# places worked out by hand from its file and the skin's borders, a skin drawn from a
# source of sizes, and tesstool check naming a broken skin or layout by file and line.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$bin"

out=$("$bin/tesstool" layout data/gui/layouts/demo.txt 2>&1) || fail "the demonstration layout was refused: $out"
expect() { echo "$out" | grep -qF -- "$1" || fail "missing \"$1\" in: $out"; }
# The window at 40,24 with borders of 6 and a caption of 16: its controls start at 46,46.
expect 'window id 9000 at 40,24 size 560x432 screen 40,24 layer 2 "Control room"'
expect '  button id 9001 at 12,48 size 150x26 screen 58,94 tooltip 9011 links up -1 down 9002 left -1 right 9004 "Launch" font 1'
expect '  listbutton id 9004 at 180,48 size 170x26 screen 226,94 links up -1 down 9005 left 9001 right -1 3 options "Easy" "Normal" "Hard"'
expect '  listbutton id 9005 at 180,80 size 170x26 screen 226,126 links up 9004 down 9006 left 9002 right -1 numbers 1 to 12'
expect '  editbox id 9006 at 180,112 size 170x26 screen 226,158 links up 9005 down 9007 left 9003 right -1 length 12 font 1'
# Pictures of size 0 take the 96 x 32 picture's, the bordered button twice its border of 5.
expect '  staticimage id 9008 at 280,156 size 96x32 screen 326,202 image "data\gui\layouts\demo_picture.tga"'
expect '  imagebutton id 9009 at 280,200 size 106x42 screen 326,246 image "data\gui\layouts\demo_picture.tga"'
# The scanner window inside it (326,298) has its own border and caption: 332,320.
expect '  window id 9030 at 280,252 size 250x96 screen 326,298 "Scanner"'
expect '    window (3D) id 9031 at 4,4 size 80x56 screen 336,324'
expect '    button id 9032 at 96,4 size 130x24 screen 428,324 "Sweep" font 1'
expect '    page 0: "Incoming transmission." "[p_name], a drone swarm is closing" "on the station. Launch at once!"'
echo "$out" | grep -q 'demo.txt:[0-9]' && fail "the demonstration layout has problems: $out"

# What the reader corrects is named with its line.
printf 'layout\n{\n\twindow\n\t{\n\t\tlayer\t7\n\t\tslider\n\t\t{\n\t\t}\n\t}\n}\n' >"$work/odd.txt"
out=$("$bin/tesstool" layout "$work/odd.txt" 2>&1) || fail "a layout with corrections was refused: $out"
expect 'odd.txt:3: "layer" 7 is taken as 3'
expect 'odd.txt:6: "slider" is no control class; the block makes nothing'
expect 'window id -1 at 0,0 size 0x0 screen 0,0 layer 3'
"$bin/tesstool" layout "$work/none.txt" >/dev/null 2>&1 && fail "a missing layout was listed"

# A skin drawn from a source that gives only sizes reads back whole.
printf 'skin\n{\n\twindowborderwidth\t4\n\twindowborderheight\t4\n\tbuttonborderwidth\t3\n\tbuttonborderheight\t3\n\twindowcaptionheight\t12\n\tcloseboxwidth\t8\n\tcloseboxheight\t8\n\tconversationborderwidth\t4\n\tconversationborderheight\t4\n\tconversationflashythingwidth\t8\n\tconversationflashythingheight\t8\n\tlistbuttonarrowwidth\t10\n}\n' >"$work/plain.skin"
mkdir -p "$work/out"
"$bin/tesstool" skin draw "$work/plain.skin" "$work/out" || fail "a skin source of sizes was refused"
[ -s "$work/out/plain.tga" ] && grep -q 'frame_br_corner_sb' "$work/out/plain.skin" || fail "no texture or pieces written"
sed '/listbuttonarrowwidth/d' "$work/plain.skin" >"$work/short.skin"
err=$("$bin/tesstool" skin draw "$work/short.skin" "$work/out" 2>&1) && fail "a source without the arrow width was drawn"
echo "$err" | grep -q 'missing key "listbuttonarrowwidth"' || fail "no reason: $err"

# tesstool check: the sample skin and layout are clean; broken copies are named.
# A copy of the program folder's data, with the packs that hold its sprites.
copy() {
  rm -rf "$work/game"
  mkdir -p "$work/game"
  cp -r "$bin/data" "$work/game/"
  for pack in "$bin"/[Tt]essavar.0[0-9][0-9]; do
    if [ -f "$pack" ]; then cp "$pack" "$work/game/"; fi
  done
}
expect_problem() {
  local out
  out=$("$bin/tesstool" check "$work/game" 2>&1) && fail "check passed with $1: $out"
  echo "$out" | grep -q -- "$1" || fail "expected '$1' in: $out"
}
copy
out=$("$bin/tesstool" check "$work/game" 2>&1) || fail "the sample GUI data has problems: $out"
sed '/mouse_wait/d' "$bin/data/gui/defaultSkin.skin" >"$work/game/data/gui/defaultSkin.skin"
expect_problem 'data/gui/defaultSkin.skin:[0-9]*: missing key "mouse_wait" in block "skin"'
copy
rm "$work/game/data/sounds/gui/alert.wav"
expect_problem 'the sound "data\\sounds\\gui\\alert.wav" cannot be read'
copy
sed 's/demo_picture.tga/nothing.tga/' "$bin/data/gui/layouts/demo.txt" >"$work/game/data/gui/layouts/demo.txt"
expect_problem 'data/gui/layouts/demo.txt:[0-9]*: the image "data\\gui\\layouts\\nothing.tga" does not read as a TGA image'
copy
sed 's/maxstringlength\t12/maxstringlength\t0/' "$bin/data/gui/layouts/demo.txt" >"$work/game/data/gui/layouts/demo.txt"
expect_problem 'data/gui/layouts/demo.txt:[0-9]*: "maxstringlength" 0 is taken as 1'
echo "1 passed, 0 failed"

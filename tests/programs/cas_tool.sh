#!/usr/bin/env bash
# tesstool cas: a readable source compiled and read back as the game reads it, a
# source with a mistake refused without leaving a file, and the sample logo.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
tool="$bin/tesstool"

cat >"$dir/fade.txt" <<'SRC'
fade
{
	sprite
	{
		file		data\pictures\card.spr
		group		2
		length		30
		position	0, 320, 240, 17
		colourRamp	0, 9, 0, 255, 255, 255, 255, 255, 255, 255
		visible		0, 1
	}
	text
	{
		line		First
		line		__SecondKey
		length		40
		font		1
		position	0, 10, 20, 0
	}
}
SRC
"$tool" cas build "$dir/fade.txt" "$dir/out/fade.cas" || fail "the source did not compile"
out=$("$tool" cas info "$dir/out/fade.cas") || fail "info on fade.cas failed"
expected='length 40
sprite 0: data\pictures\card.spr group 2 length 30 keys position 1 rotation 0 scale 0 colour 10 frame 0 visible 1
text 0: length 40 font 1 keys position 1 colour 0
  line First
  line __SecondKey'
[ "$out" = "$expected" ] || fail "fade.cas reads as: $out"

sed 's/font\t\t1/font\t\t5/' "$dir/fade.txt" >"$dir/bad.txt"
err=$("$tool" cas build "$dir/bad.txt" "$dir/bad.cas" 2>&1) && fail "a font of 5 was accepted"
echo "$err" | grep -q "text track 0: font" || fail "the message does not name the track: $err"
[ -e "$dir/bad.cas" ] && fail "a refused source left a file"
"$tool" cas build "$dir/none.txt" "$dir/none.cas" 2>/dev/null && fail "a missing source compiled"
head -c 60 "$dir/out/fade.cas" >"$dir/cut.cas"
"$tool" cas info "$dir/cut.cas" 2>/dev/null && fail "a cut file was described"

logo=$("$tool" cas info "$bin/data/animations/logo/logo.cas") || fail "no sample logo"
echo "$logo" | grep -q '^sprite 0: data\\animations\\logo\\logo.spr ' || fail "the logo has no emblem: $logo"
echo "$logo" | grep -q '^sound 0: data\\animations\\logo\\logo.wav ' || fail "the logo has no chime: $logo"
echo "1 passed, 0 failed"

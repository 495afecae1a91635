#!/usr/bin/env bash
# tesstool cas: a readable source compiled and read back as the game reads it, a
# source with a mistake refused without leaving a file, and the sample logo.
set -u
bin=$(cd "$1" && pwd)
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
# check: the sample logo as the game would play it from the program folder, then a
# sequence with a problem of every kind in a folder of its own.
(cd "$bin" && "$tool" cas check 'data\animations\logo\logo.cas') || fail "the sample logo has problems"
game=$dir/game
mkdir -p "$game/data/seq"
cat >"$game/card.shape" <<'SHAPE'
size 4 4
colour FFFFFFFF
circle 2 2 2
frame
circle 2 2 1
SHAPE
"$tool" sprite build "$game/data/seq/card.spr" --format 2 --page 8 "$game/card.shape" >/dev/null || fail "no sprite"
printf 'not a wave file' >"$game/data/seq/noise.wav"
printf '[English]\n__Hello = Hello | data/seq/hello.ogg\n' >"$game/strings.txt"
"$tool" strings build "$game/strings.txt" "$game/data/Tessavar_Strings.tbl" >/dev/null || fail "no string table"
python3 - "$game/data/seq/bad.cas" <<'PY'
import struct, sys
def s(text):
    units = text.encode("utf-16-le") + b"\0\0"
    return struct.pack("<I", len(units) // 2) + units
def keys(fmt, *records):
    return struct.pack("<I", len(records)) + b"".join(struct.pack("<I" + fmt, *r) for r in records)
none = struct.pack("<I", 0)
sprite = lambda name, frames, position: (s(name) + struct.pack("<iI", -1, 10) + position + none + none +
                                         none + frames + none)
out = b"CAS\1" + struct.pack("<III", 2, 1, 1)
out += sprite("data\\seq\\card.spr", keys("I", (0, 1), (4, 2)), keys("fff", (0, 1, 2, 25)))
out += sprite("data\\seq\\missing.spr", none, none)
out += struct.pack("<I", 2) + s("__Hello") + s("__Nobody") + struct.pack("<Ii", 10, 7)
out += keys("fff", (5, 0, 0, 0), (3, 0, 0, 0)) + keys("ffff", (0, 300, 0, 0, 0))
out += s("data\\seq\\noise.wav") + struct.pack("<IB", 10, 0) + keys("f", (0, 2)) + none + keys("I", (0, 0), (12, 1))
open(sys.argv[1], "wb").write(out)
PY
got=$(cd "$game" && "$tool" cas check data/seq/bad.cas) && fail "a sequence with problems passed the check"
expected='data/seq/bad.cas: sprite track 0: position key at step 0 names a plane outside 0..20
data/seq/bad.cas: sprite track 0: frame key at step 4 shows frame 2 of a sprite with 2
data/seq/bad.cas: sprite track 1: sprite file "data\seq\missing.spr" cannot be read
data/seq/bad.cas: sprite track 1: no position key: the sprite goes on plane 0 and is never placed
data/seq/bad.cas: text track 0: font 7 is drawn as the system font
data/seq/bad.cas: text track 0: voice file "data/seq/hello.ogg" of __Hello is missing
data/seq/bad.cas: text track 0: the string table has no key __Nobody
data/seq/bad.cas: text track 0: colour key at step 0 has a channel outside 0..255
data/seq/bad.cas: text track 0: position key at step 5 is shown from step 0
data/seq/bad.cas: text track 0: position key at step 3 follows step 5 and is never reached
data/seq/bad.cas: sound track 0: pan key at step 0 is outside -1..1
data/seq/bad.cas: sound track 0: play key at step 12 is not below the track'"'"'s length 10'
[ "$(echo "$got" | grep -v 'sample "')" = "$expected" ] || fail "the check listed: $got"
# The sample's line gives the WAV reader's reason.
echo "$got" | grep -q '^data/seq/bad.cas: sound track 0: sample "data\\seq\\noise.wav": ..*' || fail "sample: $got"
echo "1 passed, 0 failed"

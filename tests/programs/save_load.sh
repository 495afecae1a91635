#!/usr/bin/env bash
# A game saved and loaded as a player does it, driven by TESSAVAR_SCRIPT on the dummy
# drivers: a new game without the tutorial (the hub), Escape, Save, slot 1 named
# "ALPHA", the saving message and "OK", back to the main menu, Load, slot 1, the
# loading message and "OK", and the hub. The trace shows the screens in order; the
# slot's files are there, and `tesstool save info` reads in them the name, the pilot,
# the zone and node and the stocks the trace shows at the hub. Then a lost run: a quick
# action whose ship is destroyed, the dead screen with its results, the hall of fame,
# and the new best time in records.bin.
set -u
bin=$1
home=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=11
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

# A pilot who has played before may start without the tutorial: a records file of an
# empty hall of fame with the first-play flag cleared (tag, eight empty records of 178
# bytes, the best time, the flag, two scores and two codes).
# The best quick-action time of a records file is given too.
make_records() { # PATH BEST-QUICK-ACTION-MS
  python3 - "$1" "$2" <<'PY'
import struct, sys
record = bytes(76) + struct.pack("<I", 1) + b"\0"
record += (struct.pack("<I", 1) + b"\0" + bytes(12)) * 5
record += struct.pack("<I", 4) + b"DMH\0" + struct.pack("<i", 1)
assert len(record) == 178
data = struct.pack("<I", 4) + b"V_3\0" + record * 8 + struct.pack("<IB", int(sys.argv[2]), 0) + bytes(8 + 16)
open(sys.argv[1], "wb").write(data)
PY
}
mkdir -p "$home/tessavar/data/saves"
make_records "$home/tessavar/data/records.bin" 90000

# The logo skipped, a new game started without the tutorial and its intro skipped
# (startup_keys.sh): the hub. Escape: the main menu. Down twice to Save, Return. Return
# on slot 1, the "..." erased, "ALPHA" typed, Return; after the message "OK"; Escape:
# the main menu. Down twice to Load, Return; Return on slot 1; after the message "OK":
# the hub.
. "$(dirname "$0")/../support/startup_keys.sh"
script="$NEW_GAME_NO_TUTORIAL
111 key Escape
125 key Down
129 key Down
133 key Return
147 key Return
155 key Backspace
157 key Backspace
159 key Backspace
163 type ALPHA
167 key Return
241 key Return
255 key Escape
269 key Down
273 key Down
277 key Return
291 key Return
371 key Return"
printf '%s\n' "$script" >"$home/script.txt"
(cd "$home" && TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=391 TESSAVAR_TRACE="$home/trace" \
  "$bin/tessavar" >/dev/null 2>"$home/log") || fail "the run failed: $(tail -3 "$home/log")"

field() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}
# The screens in order: none under the logo, main menu, hub, main menu, save, main
# menu, load, hub.
order=$(awk '{ print $8 }' "$home/trace" | uniq | tr '\n' ' ')
[ "$order" = "0 2 5 2 8 2 9 5 " ] || fail "screens in this order: $order ($(grep -i "slot\|save" "$home/log" | head -3))"
saves=$home/tessavar/data/saves
[ -f "$saves/save0zone.bin" ] && [ -f "$saves/save0ships.txt" ] || fail "slot 1's files are missing"
last=$(tail -1 "$home/trace" | awk '{ print $2 }')
[ "$(field "$last" mode)" = 1 ] || fail "not in the front end at the end: $(tail -1 "$home/trace")"

# What the game's reader makes of the slot, from the program folder (its zones).
(cd "$bin" && "$bin/tesstool" save info "$saves/save0zone.bin") >"$home/info" 2>&1 ||
  fail "tesstool save info refused the slot: $(cat "$home/info")"
grep -q '^slot name: "ALPHA"$' "$home/info" || fail "the slot name: $(cat "$home/info")"
grep -q '^pilot: "HALVERN"' "$home/info" || fail "the pilot: $(cat "$home/info")"
grep -q "checksum .*: matches" "$home/info" || fail "the checksum: $(cat "$home/info")"
zone=$(field "$last" zone)
node=$(field "$last" node)
grep -q "^zone block: zone $zone node $node," "$home/info" ||
  fail "the trace's zone $zone node $node against: $(grep "zone block" "$home/info")"
# The stocks of the slot (its campaign's three gem counts) are those the trace shows at
# the hub.
gems=$(field "$last" gems)
stocks=$(sed -n 's/^campaign: gems \([0-9]*\) \([0-9]*\) \([0-9]*\),.*/\1 + \2 + \3/p' "$home/info")
[ -n "$stocks" ] && [ $(($stocks)) = "$gems" ] ||
  fail "the slot's stocks against the trace's $gems gems: $(grep "^campaign:" "$home/info")"

# A lost run: a quick action (the logo skipped, Down three times to Quick action, Return,
# Return on its popup) whose ship the console's two worms and four fighters destroy, from
# a hall of fame whose best quick-action time is 1000 ms. The dead screen shows the run's
# time and the best time, both the run's (the quick action's clock counts 40 ms a frame
# of flight); Continue, then Down twice and Return: the hall of fame. records.bin keeps
# the new best time.
lost=$home/lost
mkdir -p "$lost/tessavar/data"
make_records "$lost/tessavar/data/records.bin" 1000
spawns=""
at=182
for type in WORM WORM ENEMY_FIGHTER ENEMY_FIGHTER ENEMY_FIGHTER ENEMY_FIGHTER; do
  spawns="$spawns
$at type /spawnenemy $type
$((at + 1)) key Return"
  at=$((at + 2))
done
printf '%s\n' "$SKIP_LOGO" "30 key Down" "38 key Down" "46 key Down" "54 key Return" "72 key Return" \
  "180 key Grave$spawns" "$at key Grave" "940 key F11" "960 key Return" "980 key Down" "986 key Down" "992 key Return" \
  >"$lost/script.txt"
(cd "$lost" && TESSAVAR_HOME=$lost TESSAVAR_FIXED_CLOCK=1 TESSAVAR_SCRIPT="$lost/script.txt" TESSAVAR_FRAMES=1010 \
  TESSAVAR_TRACE="$lost/trace" "$bin/tessavar" \
  >/dev/null 2>"$lost/log") || fail "the lost run failed: $(tail -3 "$lost/log")"
first_frame() { # AWK-CONDITION on v[NAME]
  awk "{ for (i = 1; i < NF; i += 2) v[\$i] = \$(i + 1) } $1 { print v[\"frame\"]; exit }" "$lost/trace"
}
flight=$(first_frame 'v["mode"] == 0 && v["ship"] > 0')
sunk=$(first_frame "v[\"frame\"] > ${flight:-0} && v[\"mode\"] == 0 && v[\"ship\"] < 0")
dead=$(first_frame 'v["mode"] == 1 && v["screen"] == 3')
fame=$(first_frame 'v["mode"] == 1 && v["screen"] == 16')
[ -n "$flight" ] && [ -n "$sunk" ] && [ -n "$dead" ] && [ "$sunk" -lt "$dead" ] ||
  fail "no quick action lost to the dead screen (flight $flight, ship lost $sunk, dead screen $dead)"
[ -n "$fame" ] && [ "$fame" -gt "$dead" ] || fail "the hall of fame did not follow the dead screen"
best=$("$bin/tesstool" save info "$lost/tessavar/data/records.bin" | sed -n 's/^best quick-action time: \([0-9]*\) ms$/\1/p')
ran=$(((sunk - flight) * 40))
[ -n "$best" ] && [ "$best" -ge $((ran - 80)) ] && [ "$best" -le $((ran + 80)) ] ||
  fail "records.bin's best quick-action time \"$best\" ms, the run $ran ms (frames $flight to $sunk)"
# The dead screen's results as they show: this run's time and the best, both 00:17 (the
# quick action's ship lost 17 s into its flight, beyond the old best of 1 s).
if [ "${TESS_SANITIZED:-0}" != 1 ]; then
  shot=$(find "$lost" -iname "Tessavar_00000.tga" | head -1)
  [ -n "$shot" ] || fail "no screenshot of the dead screen's results"
  python3 "$(dirname "$0")/golden_shot.py" "$shot" "$(dirname "$0")/golden/lost_run_results.png" ||
    fail "the dead screen's results differ from golden/lost_run_results.png"
fi
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# A game saved and loaded as a player does it, driven by TESSAVAR_SCRIPT on the dummy
# drivers: a new game without the tutorial (the hub), Escape, Save, slot 1 named
# "ALPHA", the saving message and "OK", back to the main menu, Load, slot 1, the
# loading message and "OK", and the hub. The trace shows the screens in order; the
# slot's files are there, and `tesstool save info` reads in them the name, the pilot
# and the zone and node the trace shows at the hub.
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
mkdir -p "$home/tessavar/data/saves"
python3 - "$home/tessavar/data/records.bin" <<'PY'
import struct, sys
record = bytes(76) + struct.pack("<I", 1) + b"\0"
record += (struct.pack("<I", 1) + b"\0" + bytes(12)) * 5
record += struct.pack("<I", 4) + b"DMH\0" + struct.pack("<i", 1)
assert len(record) == 178
data = struct.pack("<I", 4) + b"V_3\0" + record * 8 + struct.pack("<IB", 90000, 0) + bytes(8 + 16)
open(sys.argv[1], "wb").write(data)
PY

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
echo "1 passed, 0 failed"

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

# New game, Down from the name box past the difficulty to "Start without the tutorial", Return: the
# hub. Escape: the main menu. Down twice to Save, Return. Return on slot 1, the "..."
# erased, "ALPHA" typed, Return; after the message "OK"; Escape: the main menu. Down
# twice to Load, Return; Return on slot 1; after the message "OK": the hub.
script="10 key Return
16 key Down
18 key Down
24 key Return
40 key Escape
54 key Down
58 key Down
62 key Return
76 key Return
84 key Backspace
86 key Backspace
88 key Backspace
92 type ALPHA
96 key Return
170 key Return
184 key Escape
198 key Down
202 key Down
206 key Return
220 key Return
300 key Return"
printf '%s\n' "$script" >"$home/script.txt"
(cd "$home" && TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=320 TESSAVAR_TRACE="$home/trace" \
  "$bin/tessavar" >/dev/null 2>"$home/log") || fail "the run failed: $(tail -3 "$home/log")"

field() { # FRAME NAME
  awk -v f="$1" -v n="$2" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$home/trace"
}
# The screens in order: main menu, hub, main menu, save, main menu, load, hub.
order=$(awk '{ print $8 }' "$home/trace" | uniq | tr '\n' ' ')
[ "$order" = "2 5 2 8 2 9 5 " ] || fail "screens in this order: $order ($(grep -i "slot\|save" "$home/log" | head -3))"
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

#!/usr/bin/env bash
# The game played through as a player would, in one run: playthrough/script.txt gives
# the keys by frame (TESSAVAR_SCRIPT) from the start-up (the logo skipped) to the main
# menu, a new game (its intro skipped) and flight school's first flight, back to the
# main menu, a survival run among the asteroids (a rock shot apart with the gravity
# beam on), the hall of fame and the campaign (drones and fighters shot down, a rock
# broken into gems that the gravity beam draws into the hold, the hold unloaded into
# the station's stocks once docked); then a second campaign: a cargo pod's manufacture
# started on the research screen, the game saved to a slot, loaded again from the main
# menu, a minute waited on the zone map while the manufacture draws on the stocks, the
# pod fitted on a new ship in the hangar (its construction screen must match
# golden/playthrough_construction.png), the zone map's jumps, a flight of a minute
# until the station calls for attention, docked again, the in-game menu's launch button
# taking the station and the ship out of the node to the zone map, a jump to a node
# where enemies wait, fought down there with the station's guns, docked and out again by
# the launch button, a jump to the boss node, a flight against the star boss (its pods,
# guns and hull hit) where the ship and its escape pod are lost, the dead screen with the
# run's results and the hall of fame. The run has a fixed seed and a fixed
# clock (TESSAVAR_FIXED_CLOCK: 40 ms of real time a frame, so the GUI's timing does
# not depend on the machine's load), on the dummy video and audio drivers.
#
# 1. Every step must show in the trace, in order (the step table below): a step that
#    does not happen fails the test, whatever the stored trace says.
# 2. The whole trace (every frame's state and world checksum) must equal
#    playthrough/expected.trace on the software device with one drawing thread and with
#    every hardware thread, and on OpenGL (Mesa on SDL's offscreen driver) where an
#    OpenGL context can be made.
#
# A change of the game's behaviour changes the trace. Record it again on purpose, and
# say why in the commit:
#   TESS_UPDATE_GOLDENS=1 bash tests/programs/playthrough.sh build/bin
# (the steps are still checked; the other runs are compared with the new trace).
set -u
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
script=$here/playthrough/script.txt
expected=$here/playthrough/expected.trace
frames=10250
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=35 TESSAVAR_FIXED_CLOCK=1
export SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

# The steps: a name and an awk condition on the trace's fields (v["mode"], v["screen"],
# ...; p[] holds the frame before). Each must hold at some frame at or after the frame
# where the one before it held.
steps=(
  'the logo covers the start|v["covering"] == 1'
  'main menu|v["mode"] == 1 && v["screen"] == 2 && v["focus"] == 2001 && v["covering"] == 0'
  'the intro of a new game|v["mode"] == 1 && v["covering"] == 1'
  'new game: a flight at zone 0 node 13|v["mode"] == 0 && v["zone"] == 0 && v["node"] == 13 && v["ship"] > 0 && v["covering"] == 0'
  'flight school: its first page read|v["mode"] == 0 && v["step"] == 1'
  'the ship flies|v["mode"] == 0 && v["checksum"] != first_checksum'
  'the exit warning|v["mode"] == 0 && v["focus"] == 104'
  'the main menu again|v["mode"] == 1 && v["screen"] == 2'
  'survival: a flight among asteroids|v["mode"] == 0 && v["asteroids"] > 0 && v["ship"] > 0'
  'a rock shot apart: its pieces join the field|v["mode"] == 0 && p["mode"] == 0 && v["asteroids"] > p["asteroids"]'
  'the main menu after the run|v["mode"] == 1 && v["screen"] == 2'
  'the hall of fame|v["mode"] == 1 && v["screen"] == 16'
  'back from the hall of fame|v["mode"] == 1 && v["screen"] == 2'
  'the intro of the campaign|v["mode"] == 1 && v["covering"] == 1'
  'a new game without the tutorial: the bridge|v["mode"] == 1 && v["screen"] == 5 && v["covering"] == 0'
  'the zone map at node 13|v["mode"] == 1 && v["screen"] == 4 && v["node"] == 13'
  'a jump to node 12|v["screen"] == 4 && v["node"] == 12'
  'jumps on to node 7, where enemies wait|v["screen"] == 4 && v["node"] == 7 && v["parked"] > 0'
  'the map holds before the flight|v["screen"] == 4 && v["map"] == 2'
  'the station brings the pilot: its in-game menu|v["mode"] == 2 && v["screen"] == 1'
  'ship 1 launched among the enemies|v["mode"] == 0 && v["ship"] > 0 && v["enemies"] > 0'
  'a kill|v["mode"] == 0 && v["kills"] > 0 && v["score"] > 0'
  'more kills|v["mode"] == 0 && v["kills"] >= 3'
  'mined: the gravity beam has drawn gems into the hold|v["mode"] == 0 && v["hold"] >= 2'
  'docked: a gem unloaded into the stocks|v["mode"] == 0 && v["hold"] > 0 && v["hold"] == p["hold"] - 1 && v["gems"] == p["gems"] + 1'
  'the last gem unloaded: the hold empty|v["mode"] == 0 && v["hold"] == 0 && p["hold"] == 1 && v["gems"] == p["gems"] + 1'
  'docked at the station: its in-game menu again|v["mode"] == 2 && v["screen"] == 1'
  'launched again|v["mode"] == 0 && v["ship"] > 0'
  'the main menu at the end|v["mode"] == 1 && v["screen"] == 2'
  'a second campaign: the bridge at node 13|v["mode"] == 1 && v["screen"] == 5 && v["node"] == 13'
  'the research screen|v["mode"] == 1 && v["screen"] == 10'
  'a manufacture started: Start leaves the panel for its tab|v["screen"] == 10 && p["focus"] == 10009 && v["focus"] == 10003'
  'the save screen|v["mode"] == 1 && v["screen"] == 8'
  'saved: the main menu|v["mode"] == 1 && v["screen"] == 2'
  'the load screen|v["mode"] == 1 && v["screen"] == 9'
  'the loaded game: its bridge at node 13 with its stocks|v["mode"] == 1 && v["screen"] == 5 && v["node"] == 13 && v["gems"] > 0'
  'the zone map: the manufacture draws on the stocks as the zone clock runs|v["screen"] == 4 && p["screen"] == 4 && v["gems"] < p["gems"]'
  'the hangar|v["mode"] == 1 && v["screen"] == 6'
  'a new ship named: its construction screen|v["mode"] == 1 && v["screen"] == 7'
  'the ship kept: back in the hangar|v["screen"] == 6 && p["screen"] == 7'
  'the bridge again|v["mode"] == 1 && v["screen"] == 5'
  'the jumps stop at node 7, where enemies wait|v["screen"] == 4 && v["node"] == 7 && v["map"] == 2'
  'ship 1 launched among the enemies again|v["mode"] == 0 && v["ship"] > 0 && v["enemies"] > 0'
  'a minute later, docked: the in-game menu at node 7|v["mode"] == 2 && v["screen"] == 1 && v["node"] == 7'
  'the launch button: the station warps out with the ship aboard|p["mode"] == 2 && p["focus"] == 1002 && v["mode"] == 0 && v["warps"] > 0'
  'the departure ends on the zone map at node 7|v["mode"] == 1 && v["screen"] == 4 && v["node"] == 7 && v["objects"] == 0'
  'a jump to node 6, where the enemies wait|v["screen"] == 4 && v["node"] == 6 && v["map"] == 2'
  'ship 1 launched among the enemies at node 6|v["mode"] == 0 && v["node"] == 6 && v["ship"] > 0 && v["enemies"] > 0'
  'the enemies at node 6 fought down with the station'"'"'s guns|v["mode"] == 0 && v["node"] == 6 && v["kills"] >= 20'
  'docked at node 6: the in-game menu|v["mode"] == 2 && v["screen"] == 1 && v["node"] == 6'
  'the launch button again: the station warps out of node 6|p["mode"] == 2 && p["focus"] == 1002 && v["mode"] == 0 && v["warps"] > 0'
  'the zone map at node 6|v["mode"] == 1 && v["screen"] == 4 && v["node"] == 6 && v["objects"] == 0'
  'a jump to the boss node: the map holds|v["screen"] == 4 && v["node"] == 1 && v["map"] == 2'
  'the flight begins beside the star boss|v["mode"] == 0 && v["node"] == 1 && v["boss"] > 0'
  'the station'"'"'s in-game menu at the boss node|v["mode"] == 2 && v["screen"] == 1 && v["node"] == 1'
  'ship 1 launched: the boss'"'"'s chat|v["mode"] == 0 && v["ship"] > 0 && v["boss"] > 0 && v["chat"] == 44'
  'the chat closed|v["mode"] == 0 && v["ship"] > 0 && v["chat"] == -1'
  'the guns hit the boss'"'"'s pods and guns|v["mode"] == 0 && v["bossparts"] >= 0 && v["bossparts"] < p["bossparts"]'
  'the boss'"'"'s own health falls|v["mode"] == 0 && v["boss"] >= 0 && v["boss"] < p["boss"]'
  'the ship lost at the boss node|v["mode"] == 0 && v["node"] == 1 && p["ship"] >= 0 && v["ship"] < 0'
  'its escape pod lost too: the dead screen|v["mode"] == 1 && v["screen"] == 3'
  'the main menu after the lost run|v["mode"] == 1 && v["screen"] == 2'
  'the hall of fame after the lost run|v["mode"] == 1 && v["screen"] == 16'
)

check_steps() { # TRACE
  local from=0 entry name condition at
  for entry in "${steps[@]}"; do
    name=${entry%%|*}
    condition=${entry#*|}
    at=$(awk -v from="$from" "
      { for (k in v) p[k] = v[k]; for (i = 1; i < NF; i += 2) v[\$i] = \$(i + 1) }
      v[\"mode\"] == 0 && first_checksum == \"\" { first_checksum = v[\"checksum\"] }
      \$2 >= from && ($condition) { print \$2; exit }" "$1")
    [ -n "$at" ] || fail "the step \"$name\" did not happen after frame $from (trace: $1)"
    from=$at
  done
}

# The pilot has played before: a hall of fame (tesstool's sample) whose first-play flag,
# the byte after the best time 25 bytes from the end, is cleared, so a new game may start
# without the tutorial.
"$bin/tesstool" save sample "$home/sample" >/dev/null || fail "tesstool save sample failed"
python3 - "$home/sample/records.bin" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
data[-25] = 0
open(sys.argv[1], 'wb').write(data)
EOF
"$bin/tesstool" save info "$home/sample/records.bin" | grep -q "first play: no" ||
  fail "the hall of fame given still has its first play to come"

# One run: RENDERER (d3d or ogl), the video driver and the drawing threads (empty: all).
run() { # NAME RENDERER DRIVER THREADS
  local user=$home/$1
  mkdir -p "$user/Tessavar/data"
  cp "$home/sample/records.bin" "$user/Tessavar/data/records.bin"
  printf 'Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\t%s\n\tr_fullscreen\tfalse\n\tr_backBufferWidth\t640\n}\n' \
    "$2" >"$user/Tessavar/Tessavar.cfg"
  TESSAVAR_HOME=$user SDL_VIDEODRIVER=$3 TESSAVAR_THREADS=$4 TESSAVAR_SCRIPT=$script TESSAVAR_FRAMES=$frames \
    TESSAVAR_TRACE=$home/$1.trace "$bin/tessavar" >/dev/null 2>"$home/$1.log" ||
    fail "the $1 run failed: $(tail -3 "$home/$1.log")"
}

compare() { # NAME
  cmp -s "$expected" "$home/$1.trace" && return 0
  echo "expected: $(diff "$expected" "$home/$1.trace" | grep -m1 '^<' | cut -c3-400)"
  echo "got:      $(diff "$expected" "$home/$1.trace" | grep -m1 '^>' | cut -c3-400)"
  fail "the $1 run's trace differs from playthrough/expected.trace"
}

run software-1 d3d dummy 1
[ "$(wc -l <"$home/software-1.trace")" -eq "$frames" ] || fail "the run ended before its last frame"
check_steps "$home/software-1.trace"
# The slot the second campaign saved reads as its name in the game's reader.
(cd "$bin" && "$bin/tesstool" save info "$home/software-1/Tessavar/data/saves/save0zone.bin") >"$home/slot" 2>&1 ||
  fail "tesstool save info refused the playthrough's slot: $(cat "$home/slot")"
grep -q '^slot name: "ALPHA"$' "$home/slot" || fail "the playthrough's slot: $(head -3 "$home/slot")"
# The new ship's construction screen with the cargo pod on its second slot (F11), as
# golden/playthrough_construction.png shows it.
shots=("$home"/software-1/*/screengrabs/Tessavar_*.tga)
[ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ] || fail "F11 wrote ${#shots[@]} screenshots, not 1"
python3 "$here/golden_shot.py" "${shots[0]}" "$here/golden/playthrough_construction.png" ||
  fail "the construction screen differs from golden/playthrough_construction.png (see above)"
if [ "${TESS_UPDATE_GOLDENS:-0}" = 1 ]; then
  cp "$home/software-1.trace" "$expected"
  echo "trace recorded: $expected"
fi
# The same seed and script give the same world whatever compiler, optimisation or
# sanitizer built the game, so the sanitized build (TESS_SANITIZED=1, set by the
# hardening stage) compares its trace too; the drawing-thread and OpenGL runs, which
# change nothing in the world, are left to the normal build for time.
compare software-1
passed=1
if [ "${TESS_SANITIZED:-0}" = 1 ]; then
  echo "1 passed, 0 failed (sanitized build: one run, steps and trace compared)"
  exit 0
fi

run software-all d3d dummy ""
compare software-all
passed=$((passed + 1))

run opengl ogl offscreen ""
if grep -q "Renderer: OpenGL" "$home/opengl.log"; then
  compare opengl
  passed=$((passed + 1))
else
  echo "OpenGL part skipped: no OpenGL context can be made here"
fi
echo "$passed passed, 0 failed"

#!/usr/bin/env bash
# The settings file and the start-up dialogs, answered through TESSAVAR_DIALOGS:
# the launcher on a first run, "-c" and a false "g_runonce"; quitting ends silently;
# an orderly end writes a fresh file in the owners' order.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home
cfg=$home/Tessavar/Tessavar.cfg
fail() { echo "FAIL: $*"; exit 1; }

# run DIALOGS [option]: runs two frames; prints stdout and the console on stderr.
run() {
  TESSAVAR_DIALOGS=$1 TESSAVAR_LOG_STDERR=1 TESSAVAR_FRAMES=2 "$bin/tessavar" ${2:+"$2"} 2>&1
}
started() { echo "$1" | grep -q "^Operating System Information :$"; }
key() { "$bin/tesstool" tree print "$cfg" | awk -v k="$1" '$1 == k { print $2; exit }'; }

# First run, the player quits in the launcher: nothing runs, nothing is written.
out=$(run launcher:quit) || fail "quit from the launcher exited non-zero"
started "$out" && fail "the game started after a quit: $out"
echo "$out" | grep -qi "error" && fail "a quit is not an error: $out"
[ -e "$cfg" ] && fail "a quit wrote the settings file"

# Quitting from the set-up dialog ends the same way.
out=$(run launcher:settings,setup:cancel) || fail "cancel in the set-up dialog exited non-zero"
started "$out" && fail "the game started after the set-up dialog was cancelled"
[ -e "$cfg" ] && fail "a cancelled set-up wrote the settings file"

# First run started from the launcher: an orderly end writes the file.
out=$(run launcher:start) || fail "a started first run failed: $out"
started "$out" || fail "the game did not start from the launcher: $out"
[ -f "$cfg" ] || fail "no settings file after an orderly end"
[ "$(key g_runonce)" = true ] || fail "g_runonce is not true after an orderly end"

# Written in the owners' order: g_runonce, r_renderer, renderer, audio, input keys.
order=$("$bin/tesstool" tree print "$cfg" | awk '$1 ~ /^[graiRGAI]_/ { print substr($1, 1, 1) }' | tr -d '\n')
[ "${order:0:2}" = gr ] || fail "the file does not begin g_runonce, r_renderer: $order"
echo "$order" | grep -qx 'gr*a*i*' || fail "keys out of their owners' order: $order"
"$bin/tesstool" tree print "$cfg" | awk '$1 ~ /_/ { print $1 }' | sed -n 2p | grep -qx r_renderer \
  || fail "r_renderer is not the second key"
"$bin/tesstool" tree print "$cfg" | awk '$1 ~ /^i_/ { print $1 }' | head -1 | grep -qx i_forcedi5 \
  || fail "i_forcedi5 does not lead the input keys"

# Run once before: the launcher is not shown (its quit answer is never used)...
out=$(run launcher:quit) || fail "second run failed"
started "$out" || fail "the launcher stopped a run after g_runonce: $out"

# ...unless "-c" asks for it.
out=$(run launcher:quit -C) || fail "-C with a quit exited non-zero"
started "$out" && fail "-C did not show the launcher"

# A false g_runonce shows the launcher; the set-up dialog's choice is what runs, and
# keys that no device writes are gone after the orderly end.
printf '{\r\n\tg_runonce\tfalse\r\n\tg_language\t3\r\n\tr_renderer\tD3D\r\n\tr_backBufferWidth\t1024\r\n\ti_forcedi5\ttrue\r\n}\r\n' > "$cfg"
out=$(run launcher:quit) || fail "quit with g_runonce false exited non-zero"
started "$out" && fail "g_runonce false did not show the launcher"
out=$(run launcher:settings,setup:ok) || fail "set-up confirmed run failed: $out"
started "$out" || fail "the game did not start after the set-up dialog"
[ "$(key g_runonce)" = true ] || fail "g_runonce not rewritten"
[ -z "$(key g_language)" ] || fail "g_language survived the rewrite"
[ "$(key r_renderer)" = d3d ] || fail "a D3D file was switched to $(key r_renderer)"
[ "$(key r_backBufferWidth)" = 640 ] || fail "width 1024 was not written as 640"
[ "$(key i_forcedi5)" = true ] || fail "the chosen input version was not kept"
# A fresh account may not even have the base folder (~/.local/share): it is made,
# so the settings of an orderly end are kept.
fresh=$home/fresh
mkdir "$fresh"
out=$(env -u TESSAVAR_HOME -u XDG_DATA_HOME HOME="$fresh" TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 \
  TESSAVAR_FRAMES=2 "$bin/tessavar" 2>&1) || fail "a run in a fresh home failed: $out"
[ -f "$fresh/.local/share/Tessavar/Tessavar.cfg" ] || fail "no settings file in a fresh home: $out"
echo "1 passed, 0 failed"

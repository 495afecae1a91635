#!/usr/bin/env bash
# Every file the game writes for the player goes to a temporary name and is renamed
# over the old one, so a game killed at any moment leaves each file whole, old or new.
# The game runs again and again from one user folder that already holds a settings
# file, a key map and a hall of fame, and is killed (SIGKILL) at a random moment
# around its orderly end, where it writes the settings and the key map; after every
# kill each file must still read. The times come from a fixed seed, so a failure can be played again.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=0 TESSAVAR_FIXED_CLOCK=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }
RANDOM=35

# The files of an orderly run, which also makes the folders.
TESSAVAR_FRAMES=5 "$bin/tessavar" >/dev/null 2>&1 || fail "the first run failed"
"$bin/tesstool" save sample "$home/sample" >/dev/null || fail "tesstool save sample failed"
records=$(find "$home" -iname records.bin -not -path "$home/sample/*" | head -1)
[ -n "$records" ] || records=$(find "$home" -type d -iname data -path "*tessavar*" | head -1)/records.bin
cp "$home/sample/records.bin" "$records"
keymap=$(dirname "$records")/keymap.dat
[ -f "$keymap" ] || "$bin/tesstool" keymap write "$keymap" >/dev/null || fail "tesstool keymap write failed"
cfg=$(find "$home" -iname tessavar.cfg | head -1)
[ -f "$cfg" ] || fail "the orderly run wrote no settings file"

check_files() { # WHEN
  "$bin/tesstool" tree print "$cfg" 2>/dev/null | grep -q "g_runonce" || fail "$1: the settings file does not read"
  "$bin/tesstool" keymap print "$keymap" >/dev/null 2>&1 || fail "$1: the key map does not read"
  "$bin/tesstool" save info "$records" >/dev/null 2>&1 || fail "$1: records.bin does not read"
}
check_files "before the kills"

# How long an orderly run of 20 frames takes, start-up and shutdown included (ms).
start=$(date +%s%N)
TESSAVAR_FRAMES=20 "$bin/tessavar" >/dev/null 2>&1 || fail "the timed run failed"
span=$((($(date +%s%N) - start) / 1000000))
check_files "after an orderly run"

kills=0
for round in $(seq 1 8); do
  # A moment from half the run's time to a little beyond its end.
  at=$((span / 2 + RANDOM % (span * 6 / 10 + 1)))
  TESSAVAR_FRAMES=20 "$bin/tessavar" >/dev/null 2>&1 &
  game=$!
  sleep "$(printf '%d.%03d' $((at / 1000)) $((at % 1000)))"
  if kill -KILL "$game" 2>/dev/null; then
    kills=$((kills + 1))
  fi
  wait "$game" 2>/dev/null
  check_files "round $round (killed at $at ms of $span)"
done
[ "$kills" -gt 0 ] || fail "the game was never killed: every run ended before its moment"
echo "1 passed, 0 failed ($kills of 8 runs killed, each file read after every one)"

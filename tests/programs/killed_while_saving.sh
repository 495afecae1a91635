#!/usr/bin/env bash
# Every file the game writes for the player goes to a temporary name and is renamed
# over the old one, so a game killed at any moment leaves each file whole, old or new.
# The game runs again and again from one user folder that already holds a settings
# file, a key map and a hall of fame, and is killed (SIGKILL) at a random moment
# around its orderly end, where it writes the settings and the key map; after every
# kill each file must still read, and the next start clears the temporary files left
# beside them. The times come from a fixed seed, so a failure can be played again.
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
# The user's data folder, in whatever letter case the game made it.
data=$(find "$home" -type d -ipath "$home/tessavar/data" | head -1)
[ -n "$data" ] || fail "the first run made no data folder"
records=$data/records.bin
cp "$home/sample/records.bin" "$records"
keymap=$data/keymap.dat
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

# The next start removes the temporary files a kill left beside the records and the key
# map (one more is put there to be sure of one), and nothing else of that folder.
touch "$data/keymap.dat.tmpK1ll3d"
kept=$(ls "$data" | grep -v '\.tmp[A-Za-z0-9]\{6\}$')
TESSAVAR_FRAMES=5 "$bin/tessavar" >/dev/null 2>&1 || fail "the run after the kills failed"
[ "$(ls "$data")" = "$kept" ] || fail "after the next start the folder holds: $(ls "$data" | tr '\n' ' ')"
check_files "after the next start"
echo "1 passed, 0 failed ($kills of 8 runs killed, each file read after every one)"

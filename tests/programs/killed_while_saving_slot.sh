#!/usr/bin/env bash
# A save slot is a pair of files (the zone file, headed by the checksum of its ships
# file, and the ships file), each written to a temporary name and renamed. A game killed
# (SIGKILL) at any moment while it saves to a slot must leave every slot that exists
# readable: the previous save or the new one, never a broken one.
#
# Two slots are saved first in an orderly run: slot 1 "ALPHA" and slot 2 "BRAVO". Then,
# round after round, a new game without the tutorial goes back to the main menu and saves
# over slot 1 under a new name, and the game is killed while it saves: as soon as the
# save's first temporary file is in the saves folder, after a random number of further
# looks at the folder (within the writes and renames), or a random few milliseconds later
# (the frames after it). After every kill `tesstool save info` must take both slots, slot 1
# under its previous name or its new one, slot 2 as it was. The next start clears the
# temporary files the kills left. The moments come from a fixed seed, so a failure can
# be played again.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/campaign.bash" "$1" 11
export TESSAVAR_FIXED_CLOCK=1
RANDOM=29
saves=$home/user/tessavar/data/saves

# From the bridge: Escape, the main menu; Down to Save (twice, past Continue; three times
# once a slot exists, past Load), Return. The keys of the save screen by frame from BASE:
# Return on slot SLOT's button (Down to reach it), the name box's text erased (eight
# Deletes and eight Backspaces, wherever its cursor is), NAME typed, Return; for a slot in use, Return on the overwrite question's
# "Yes".
to_save_screen() { # DOWNS
  printf '%s\n%d key Escape\n' "$to_hub" $HUB_FRAME
  local i
  for ((i = 0; i < $1; i++)); do echo "$((HUB_FRAME + 14 + 4 * i)) key Down"; done
  echo "$((HUB_FRAME + 26)) key Return"
}
save_keys() { # BASE SLOT NAME
  local at=$1 i
  for ((i = 1; i < $2; i++)); do
    echo "$at key Down"
    at=$((at + 4))
  done
  echo "$at key Return"
  for i in 1 2 3 4 5 6 7 8; do
    echo "$((at + 4 + 2 * i)) key Delete"
    echo "$((at + 20 + 2 * i)) key Backspace"
  done
  echo "$((at + 40)) type $3"
  echo "$((at + 44)) key Return"
  echo "$((at + 52)) key Return"
}

# Slot 1 then slot 2 (each "OK" on the complete popup taken by Return), in order.
run "$(to_save_screen 2)
$(save_keys 135 1 ALPHA)
265 key Return
$(save_keys 281 2 BRAVO)
415 key Return" 445 || fail "the orderly saves failed: $(tail -3 "$home/log")"

slot_name() { # SLOT: the name tesstool save info reads in a slot that checks out, or nothing
  local info
  info=$(cd "$bin" && "$bin/tesstool" save info "$saves/save$(($1 - 1))zone.bin" 2>&1) || return 0
  sed -n 's/^slot name: "\(.*\)"$/\1/p' <<<"$info"
}
[ "$(slot_name 1)" = ALPHA ] && [ "$(slot_name 2)" = BRAVO ] ||
  fail "the orderly saves: slot 1 \"$(slot_name 1)\", slot 2 \"$(slot_name 2)\" ($(ls "$saves"))"

# One round: slot 1 saved over as NAME, the game killed at a moment of WAY: "temp" as
# soon as a temporary file of the save is there (before any rename), "ships" as soon as
# the new ships file has been renamed into place (the zone file may not have been yet),
# "looks" after COUNT further looks at the folder once a temporary file is there, "ms"
# COUNT milliseconds after that (the frames after the save). The folder is looked at by
# the shell itself (no process started), so that a look takes microseconds; a save that
# went by between two looks (a busy machine) has left a ships file newer than the round.
printf '%s\n' "$(to_save_screen 3)" "$(save_keys 135 1 NEWNAME)" >"$home/round.txt"
kill_round() { # NAME WAY COUNT
  sed "s/NEWNAME/$1/" "$home/round.txt" >"$home/script.txt"
  rm -f "$saves"/*.tmp*  # left by the round before
  touch "$home/mark"
  (cd "$home" && TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=285 exec "$prog/tessavar" \
    >/dev/null 2>"$home/log") &
  local game=$! looks=0 temps renamed
  while kill -0 "$game" 2>/dev/null; do
    temps=("$saves"/*.tmp*)
    renamed=0
    [ "$saves/save0ships.txt" -nt "$home/mark" ] && renamed=1
    [ -e "${temps[0]}" ] || [ "$renamed" = 1 ] || continue
    case $2 in
    temp) break ;;
    ships) [ "$renamed" = 1 ] && break ;;
    looks) [ "$looks" -ge "$3" ] && break ;;
    ms)
      sleep "0.$(printf '%03d' "$3")"
      break
      ;;
    esac
    looks=$((looks + 1))
  done
  kill -KILL "$game" 2>/dev/null
  local killed=$?
  wait "$game" 2>/dev/null
  [ "$saves/save0ships.txt" -nt "$home/mark" ] || [ "$killed" = 0 ] ||
    fail "round $1: the game ended without saving ($(tail -3 "$home/log"))"
  return "$killed"
}

previous=ALPHA
kills=0 new=0 ways=(temp ships looks ms)
for round in 1 2 3 4 5 6 7 8 9 10 11 12; do
  name=R$round way=${ways[$((round % 4))]} count=$((RANDOM % 100))
  kill_round "$name" "$way" "$count" && kills=$((kills + 1))
  now=$(slot_name 1)
  [ "$now" = "$previous" ] || [ "$now" = "$name" ] ||
    fail "round $round (killed by $way $count): slot 1 reads \"$now\", not \"$previous\" or \"$name\": $(cd "$bin" && "$bin/tesstool" save info "$saves/save0zone.bin" 2>&1 | head -5)"
  [ "$(slot_name 2)" = BRAVO ] || fail "round $round: slot 2 no longer reads"
  [ "$now" = "$name" ] && new=$((new + 1))
  previous=$now
done
[ "$kills" -gt 0 ] || fail "the game was never killed while it saved"

# The next start removes the temporary files the kills left in the saves folder (one
# more is put there to be sure of one), and nothing else there.
touch "$saves/save1zone.bin.tmpK1ll3d"
kept=$(ls "$saves" | grep -v '\.tmp[A-Za-z0-9]\{6\}$')
run "" 5 || fail "the run after the kills failed: $(tail -3 "$home/log")"
[ "$(ls "$saves")" = "$kept" ] || fail "after the next start the saves folder holds: $(ls "$saves" | tr '\n' ' ')"
[ "$(slot_name 1)" = "$previous" ] && [ "$(slot_name 2)" = BRAVO ] || fail "the slots no longer read after the next start"
echo "1 passed, 0 failed ($kills of 12 saves killed, $new of them the new save; both slots read after every one)"

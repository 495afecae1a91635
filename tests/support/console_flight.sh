# Sourced by the program tests that fight in a new game's first flight: the game runs
# on the dummy drivers from a home of its own; a new game (with the tutorial's flight)
# is keyed in and, once the ship has warped in, the console (the key left of "1")
# brings the enemies the test names with "/spawnenemy". Gives:
#   home                 a temporary folder, removed at exit
#   FLIGHT_FRAME         the frame by which the ship has warped in
#   new_game_keys        the script lines of a new game
#   console_spawn FRAME TYPE...   the script lines that open the console at FRAME,
#                        bring each TYPE and close it; CONSOLE_CLOSED is its last frame
#   run_flight BIN FRAMES HOME    runs the game with HOME/script.txt, its trace in
#                        HOME/trace and its log in HOME/log (TESSAVAR_HOME is HOME)
#   field TRACE FRAME NAME        a trace field ("mode", "objects", "enemies", "ship") at a frame
#   fail MESSAGE...
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

FLIGHT_FRAME=160
new_game_keys() { # Return on New game, in the name box, on "Start with the tutorial"
  printf '10 key Return\n16 key Return\n22 key Return\n'
}
console_spawn() { # FRAME TYPE...
  local frame=$1
  shift
  printf '%d key Grave\n' "$frame"
  frame=$((frame + 2))
  for type in "$@"; do
    printf '%d type /spawnenemy %s\n%d key Return\n' "$frame" "$type" $((frame + 1))
    frame=$((frame + 2))
  done
  CONSOLE_CLOSED=$((frame + 1))
  printf '%d key Grave\n' "$CONSOLE_CLOSED"
}
run_flight() { # BIN FRAMES HOME
  TESSAVAR_HOME=$3 TESSAVAR_SCRIPT="$3/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_TRACE="$3/trace" "$1/tessavar" \
    >/dev/null 2>"$3/log"
}
field() { # TRACE FRAME NAME
  awk -v f="$2" -v n="$3" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$1"
}

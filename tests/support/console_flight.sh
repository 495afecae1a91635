# Sourced by the program tests that fight in a new game's first flight: the game runs
# on the dummy drivers from a home of its own; a new game with the tutorial is keyed in
# (the logo and intro skipped, flight school's first page read: startup_keys.sh) and,
# once the ship has warped in, the console (the key left of "1") brings the enemies the
# test names with "/spawnenemy". The tutorial's first flight keeps the guns shut and
# its next page waits ten seconds of flight. Gives:
#   home                 a temporary folder, removed at exit
#   FLIGHT_FRAME         the frame by which the ship has warped in and the page is read
#   new_game_keys        the script lines of a new game up to FLIGHT_FRAME
#   SURVIVAL_FLIGHT_FRAME, survival_keys   the same for an open survival run, whose
#                        flight has every gun and no pages
#   console_spawn FRAME TYPE...   the script lines that open the console at FRAME,
#                        bring each TYPE and close it; CONSOLE_CLOSED is its last frame
#   run_flight BIN FRAMES HOME    runs the game with HOME/script.txt, its trace in
#                        HOME/trace, its log in HOME/log and its last frame in
#                        HOME/shot.tga (TESSAVAR_HOME is HOME)
#   field TRACE FRAME NAME        a trace field ("mode", "objects", "enemies", "ship") at a frame
#   fail MESSAGE...
. "$(dirname "${BASH_SOURCE[0]}")/game_run.sh" ""
. "$(dirname "${BASH_SOURCE[0]}")/startup_keys.sh"

FLIGHT_FRAME=$PAGE_READ_FRAME
new_game_keys() {
  printf '%s\n' "$NEW_GAME_TUTORIAL" "$READ_FIRST_PAGE"
}
SURVIVAL_FLIGHT_FRAME=220
survival_keys() {
  printf '%s\n' "$SURVIVAL_RUN"
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
  TESSAVAR_HOME=$3 play "$1/tessavar" "$2" "$3"
}
field() { trace_value "$@"; } # TRACE FRAME NAME

# The running game for a program test, sourced by it after it has set `bin` (the program
# folder): a home of its own removed at the end, the dummy drivers, the launcher answered,
# the log on stderr, the seed given as this file's argument (none when it is empty).
#   run SCRIPT FRAMES   plays SCRIPT (TESSAVAR_SCRIPT lines) for FRAMES frames: the game's
#                       exit status; its log in $home/log, its trace in $home/trace and
#                       its last frame in $home/shot.tga
#   run_after_logo SCRIPT FRAMES  the same with the start-up logo skipped as a player
#                       skips it: SCRIPT's frames and FRAMES count from AFTER_LOGO on, when
#                       the main menu is up (startup_keys.sh, which the test sources)
#   play GAME FRAMES DIR  the same for the program GAME with DIR/script.txt, its files
#                       in DIR
#   trace_value TRACE FRAME NAME  a field of a frame's trace line
#   fail MESSAGE...
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1
[ -z "$1" ] || export TESSAVAR_SEED=$1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

play() { # GAME FRAMES DIR
  rm -f "$3/shot.tga" "$3/trace"
  TESSAVAR_SCRIPT="$3/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$3/shot.tga" TESSAVAR_TRACE="$3/trace" "$1" \
    >/dev/null 2>"$3/log"
}
run() { # SCRIPT FRAMES
  printf '%s\n' "$1" >"$home/script.txt"
  play "$bin/tessavar" "$2" "$home"
}
run_after_logo() { # SCRIPT FRAMES
  after_logo "$1" >"$home/script.txt"
  play "$bin/tessavar" $(($2 + AFTER_LOGO)) "$home"
}
trace_value() { # TRACE FRAME NAME
  awk -v f="$2" -v n="$3" '$2 == f { for (i = 1; i < NF; i += 2) if ($i == n) print $(i + 1) }' "$1"
}

# The running game for a program test, sourced by it after it has set `bin` (the program
# folder): a home of its own removed at the end, the dummy drivers, the launcher answered,
# the log on stderr, the seed given as this file's argument.
#   run SCRIPT FRAMES   plays SCRIPT (TESSAVAR_SCRIPT lines) for FRAMES frames: the game's
#                       exit status; its log in $home/log, its trace in $home/trace and
#                       its last frame in $home/shot.tga
#   fail MESSAGE...
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start TESSAVAR_LOG_STDERR=1 TESSAVAR_SEED=$1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

run() { # SCRIPT FRAMES
  printf '%s\n' "$1" >"$home/script.txt"
  rm -f "$home/shot.tga" "$home/trace"
  TESSAVAR_SCRIPT="$home/script.txt" TESSAVAR_FRAMES=$2 TESSAVAR_SHOT="$home/shot.tga" \
    TESSAVAR_TRACE="$home/trace" "$bin/tessavar" >/dev/null 2>"$home/log"
}

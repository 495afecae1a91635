#!/usr/bin/env bash
# The start-up dialogs on a real X server, used as a player uses them: the launcher
# and "Initial Setup" by keyboard alone; Escape held in "Advanced OpenGL Options"
# closes that dialog only; "Check For Updates" and "Web Site" come back to a launcher
# whose "Start Game" starts the game at the first click; Ctrl+C and SIGTERM end the
# program while a dialog is up. Needs a private Xvfb and xdotool; runs under openbox
# when it is installed (a window manager gives each new window the focus).
set -u
[ -n "${DEBUG_TEST:-}" ] && set -x
bin=$1
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool missing: skipped"; echo "0 passed, 0 failed"; exit 0
fi
fail() { echo "FAIL: $*"; [ -f "${log:-}" ] && sed 's/^/  game: /' "$log"; exit 1; }
. "$(dirname "$0")/../support/private_xvfb.sh"
work=$(mktemp -d)
game=""; wm=""
trap '{ for p in $game $wm ${XVFB_PID:-}; do kill -9 $p; wait $p; done; } 2>/dev/null; rm -rf "$work"' EXIT
unset SDL_VIDEODRIVER TESSAVAR_DIALOGS TESSAVAR_FRAMES
export SDL_AUDIODRIVER=dummy TESSAVAR_LOG_STDERR=0
start_private_xvfb 1024x768x24 || fail "Xvfb did not start"
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  # Ready once it has made its check window; a window mapped before may be missed.
  for _ in $(seq 200); do
    xdotool search --name '^Openbox$' >/dev/null 2>&1 && break
    sleep 0.05
  done
fi

# A page opener of our own in front of PATH: it notes the address and ends with the
# status in $work/status.
mkdir "$work/opener"
printf '#!/bin/sh\necho "$1" >> "%s/opened"\nexit $(cat "%s/status")\n' "$work" "$work" > "$work/opener/xdg-open"
chmod +x "$work/opener/xdg-open"
echo 0 > "$work/status"

# start NAME [env...]: a first run in a home of its own; the game ends after 5 frames.
start() {
  local name=$1; shift
  home=$work/$name; log=$work/$name.log
  mkdir -p "$home"
  env "$@" TESSAVAR_HOME="$home" TESSAVAR_FRAMES=5 PATH="$work/opener:$PATH" "$bin/tessavar" 2> "$log" &
  game=$!
}
# shown TITLE: waits until the dialog window shows that caption and stays where the
# window manager put it; its id in $window, and it has the focus.
shown() {
  local place="" last
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    if [ -n "$window" ]; then
      last=$place
      place=$(xdotool getwindowgeometry "$window" 2>/dev/null | tr -d '\n')
      if [ -n "$place" ] && [ "$place" = "$last" ]; then
        xdotool windowfocus --sync "$window" 2>/dev/null
        return 0
      fi
    fi
    kill -0 "$game" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
# ended: waits for the game to end; its status in $status (124: still running).
ended() {
  status=124
  for _ in $(seq 200); do
    if ! kill -0 "$game" 2>/dev/null; then
      wait "$game"; status=$?; game=""; return 0
    fi
    sleep 0.1
  done
  return 1
}
key() { "$bin/tesstool" tree print "$home/Tessavar/Tessavar.cfg" | awk -v k="$1" '$1 == k { print $2; exit }'; }
launcher="Tessavar V1.5c"

# The keyboard alone: an arrow moves the launcher's focus to "Alter Settings", Space
# opens "Initial Setup"; Tab reaches "Display", the arrow picks "Windowed", Enter
# starts the game with that choice.
start keyboard
shown "$launcher" || fail "no launcher"
xdotool key Right space
shown "Initial Setup" || fail "the keyboard did not open Initial Setup from the launcher"
xdotool key Tab Right Return
ended || fail "the game did not end after its frames"
[ "$status" -eq 0 ] || fail "the game started by keyboard ended with $status: $(tail -5 "$log")"
[ "$(key r_fullscreen)" = false ] || fail "the windowed choice was not kept: r_fullscreen $(key r_fullscreen)"

# Escape held in "Advanced OpenGL Options": its auto-repeats must not cancel "Initial
# Setup" too. One fresh press there then quits, writing nothing.
start escape
shown "$launcher" || fail "no launcher"
xdotool key Tab space
shown "Initial Setup" || fail "no Initial Setup"
xdotool key shift+Tab shift+Tab space
shown "Advanced OpenGL Options" || fail "Shift+Tab and Space did not open the advanced options"
xdotool keydown Escape
sleep 1.5 # long past the key's repeat delay
xdotool keyup Escape
shown "Initial Setup" || fail "holding Escape ended the program, not only the advanced options"
kill -0 "$game" 2>/dev/null || fail "holding Escape ended the program"
xdotool key Escape
ended || fail "Escape in Initial Setup did not end the program"
[ "$status" -eq 0 ] || fail "quitting in Initial Setup ended with $status"
[ -e "$home/Tessavar/Tessavar.cfg" ] && fail "a quit wrote the settings"

# The pages: an opener that fails is reported, one that works gets the site's
# address, is reaped, and the launcher's "Start Game" then starts the game at once.
start pages
shown "$launcher" || fail "no launcher"
echo 3 > "$work/status"
xdotool mousemove --sync --window "$window" 134 128 click 1 # "Check For Updates"
for _ in $(seq 100); do grep -q "Cannot open" "$log" && break; sleep 0.1; done
grep -q "Cannot open https://tessavar.invalid/update" "$log" || fail "a page that could not be opened was not reported"
echo 0 > "$work/status"
rm -f "$work/opened"
xdotool mousemove --sync --window "$window" 332 128 click 1 # "Web Site"
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
[ "$(cat "$work/opened" 2>/dev/null)" = "https://tessavar.invalid/" ] || fail "the site's page was not opened"
for _ in $(seq 100); do ps -o stat= --ppid "$game" | grep -q Z || break; sleep 0.1; done
ps -o stat= --ppid "$game" | grep -q Z && fail "the page opener was left a zombie"
shown "$launcher" || fail "the launcher did not come back after the pages"
xdotool mousemove --sync --window "$window" 92 80 click 1 # "Start Game"
ended || fail "the game did not start and end at the first click on Start Game"
[ "$status" -eq 0 ] || fail "the game started after the pages ended with $status"
[ "$(key g_runonce)" = true ] || fail "the game did not run after the pages"

# Signals while a dialog is up: SIGTERM in the launcher, Ctrl+C in Initial Setup.
start term
shown "$launcher" || fail "no launcher"
kill -TERM "$game"
ended || fail "SIGTERM did not end the program in the launcher"
start interrupt --default-signal=INT
shown "$launcher" || fail "no launcher"
xdotool key Tab space
shown "Initial Setup" || fail "no Initial Setup"
kill -INT "$game"
ended || fail "Ctrl+C did not end the program in Initial Setup"
echo "1 passed, 0 failed"

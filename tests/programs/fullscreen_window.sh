#!/usr/bin/env bash
# Full screen on an X server with no window manager: nobody carries out a request for
# full screen there, so the game window itself must cover the screen, or the scaled
# frame is cut off. With a window manager (openbox, when installed) it must cover it
# too. Needs a private Xvfb.
set -u
bin=$1
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "Xvfb, xdotool or xwininfo missing: skipped"; echo "0 passed, 0 failed"; exit 0
fi
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/../support/private_xvfb.sh"
home=$(mktemp -d)
xvfb=""; wm=""; game=""
trap 'for p in $game $wm $xvfb ${XVFB_PID:-}; do kill $p 2>/dev/null; done; rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
mkdir -p "$home/Tessavar"

# The software renderer at 800 x 600, full screen on a 1024 x 768 screen; $1 is the
# window manager to run first, or nothing.
check_cover() {
  local manager=$1
  XVFB_PID=""
  start_private_xvfb 1024x768x24 || fail "Xvfb did not start"
  xvfb=$XVFB_PID
  if [ -n "$manager" ]; then
    "$manager" >/dev/null 2>&1 &
    wm=$!
    sleep 1
  fi
  printf 'Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\td3d\n\tr_fullscreen\ttrue\n\tr_backBufferWidth\t800\n}\n' \
    > "$home/Tessavar/Tessavar.cfg"
  TESSAVAR_FRAMES=100000 "$bin/tessavar" >/dev/null 2>&1 &
  game=$!
  local geometry="" window
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tessavar$' 2>/dev/null | tail -1)
    if [ -n "$window" ]; then
      geometry=$(xwininfo -id "$window" 2>/dev/null |
        awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
             /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x "," y " " w "x" h }')
      [ "$geometry" = "0,0 1024x768" ] && break
    fi
    sleep 0.1
  done
  kill $game; wait $game 2>/dev/null; game=""
  [ -n "$wm" ] && { kill $wm; wait $wm 2>/dev/null; wm=""; }
  kill $xvfb; wait $xvfb 2>/dev/null; xvfb=""
  [ -n "$geometry" ] || fail "no game window (window manager: ${manager:-none})"
  [ "$geometry" = "0,0 1024x768" ] ||
    fail "the full-screen window is at $geometry, not 0,0 1024x768 (window manager: ${manager:-none})"
}

check_cover ""
command -v openbox >/dev/null && check_cover openbox
echo "1 passed, 0 failed"

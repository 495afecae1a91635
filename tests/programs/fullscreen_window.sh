#!/usr/bin/env bash
# Full screen on an X server with no window manager: nobody carries out a request for
# full screen there, so the game window itself must cover the screen, or the scaled
# frame is cut off. With a window manager (openbox, when installed) it must cover it
# too. Both renderers do it the same way, whatever modes the display has: the window
# covers the desktop and the frame is scaled to it. Needs a private Xvfb.
set -u
bin=$1
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xwininfo >/dev/null ||
   ! command -v python3 >/dev/null; then
  echo "Xvfb, xdotool, xwininfo or python3 missing: skipped"; echo "0 passed, 0 failed"; exit 0
fi
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/../support/private_xvfb.sh"
home=$(mktemp -d)
fb=$home/screen
xvfb=""; wm=""; game=""
trap 'for p in $game $wm $xvfb ${XVFB_PID:-}; do kill $p 2>/dev/null; done; rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
mkdir -p "$home/Tessavar"

# lit_low: true when the screen (Xvfb's frame buffer file) shows a lit pixel below row
# 610. An 800 x 600 frame scaled to 1024 x 768 reaches there (the main menu's version
# text at y 575 of 600 lands at 736); drawn unscaled in a corner, nothing can.
lit_low() {
  python3 - "$fb/Xvfb_screen0" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
fields = struct.unpack('>25I', data[:100])
start = fields[0] + fields[19] * 12
width, height, stride = fields[4], fields[5], fields[12]
for y in range(611, height):
    row = data[start + y * stride:start + y * stride + width * 4]
    for x in range(0, width):
        if row[4 * x] + row[4 * x + 1] + row[4 * x + 2] > 90:
            sys.exit(0)
sys.exit(1)
PY
}

# An 800 x 600 frame full screen on a 1024 x 768 screen; $1 is the renderer, $2 the
# window manager to run first, or nothing.
check_cover() {
  local renderer=$1 manager=$2
  XVFB_PID=""
  rm -rf "$fb"; mkdir "$fb"
  start_private_xvfb 1024x768x24 -fbdir "$fb" || fail "Xvfb did not start"
  xvfb=$XVFB_PID
  if [ -n "$manager" ]; then
    "$manager" >/dev/null 2>&1 &
    wm=$!
    sleep 1
  fi
  printf 'Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\t%s\n\tr_fullscreen\ttrue\n\tr_backBufferWidth\t800\n}\n' \
    "$renderer" > "$home/Tessavar/Tessavar.cfg"
  TESSAVAR_FRAMES=100000 "$bin/tessavar" >/dev/null 2>&1 &
  game=$!
  local geometry="" window scaled=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tessavar$' 2>/dev/null | tail -1)
    if [ -n "$window" ]; then
      geometry=$(xwininfo -id "$window" 2>/dev/null |
        awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
             /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x "," y " " w "x" h }')
      if [ "$geometry" = "0,0 1024x768" ] && lit_low; then scaled=yes; break; fi
    fi
    sleep 0.1
  done
  kill $game; wait $game 2>/dev/null; game=""
  [ -n "$wm" ] && { kill $wm; wait $wm 2>/dev/null; wm=""; }
  kill $xvfb; wait $xvfb 2>/dev/null; xvfb=""
  local where="renderer $renderer, window manager: ${manager:-none}"
  [ -n "$geometry" ] || fail "no game window ($where)"
  [ "$geometry" = "0,0 1024x768" ] || fail "the full-screen window is at $geometry, not 0,0 1024x768 ($where)"
  [ -n "$scaled" ] || fail "the frame is not scaled to the screen ($where)"
}

for renderer in d3d ogl; do
  check_cover $renderer ""
  command -v openbox >/dev/null && check_cover $renderer openbox
done
echo "1 passed, 0 failed"

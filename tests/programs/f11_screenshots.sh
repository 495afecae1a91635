#!/usr/bin/env bash
# Holding F11 in the running game writes one numbered screenshot per frame. Needs an
# X server to type into: a private Xvfb, driven by xdotool.
set -u
bin=$1
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool missing: skipped"; echo "0 passed, 0 failed"; exit 0
fi
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/../support/private_xvfb.sh"
home=$(mktemp -d)
XVFB_PID=""
trap '[ -n "$XVFB_PID" ] && kill $XVFB_PID 2>/dev/null; rm -rf "$home"' EXIT
start_private_xvfb 1024x768x24 || fail "Xvfb did not start"
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=launcher:start SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER

TESSAVAR_FRAMES=100000 "$bin/tessavar" >/dev/null 2>&1 &
game=$!
window=""
# Up to 20 s for a loaded machine; the last visible match is the window in use.
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Tessavar$' 2>/dev/null | tail -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no game window"
sleep 0.5
xdotool windowfocus --sync "$window"
sleep 0.3
count() { ls "$home"/*/screengrabs/Tessavar_*.tga 2>/dev/null | wc -l; }
# Held until eight shots exist (a loaded machine runs fewer frames a second).
xdotool keydown F11
for _ in $(seq 300); do
  [ "$(count)" -ge 8 ] && break
  sleep 0.05
done
xdotool keyup F11
sleep 0.5
held=$(count)
sleep 0.5
# Released: no more shots.
[ "$(count)" -eq "$held" ] || fail "screenshots go on after F11 was released"
kill $game; wait $game 2>/dev/null

shots=$(count)
[ "$shots" -ge 8 ] || fail "only $shots screenshots while F11 was held"
[ -f "$home/Tessavar/screengrabs/Tessavar_00000.tga" ] || fail "numbering does not start at 00000"
last=$(printf 'Tessavar_%05u.tga' $((shots - 1)))
[ -f "$home/Tessavar/screengrabs/$last" ] || fail "numbers have gaps"
echo "1 passed, 0 failed"

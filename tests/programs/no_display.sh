#!/usr/bin/env bash
# With no display to reach, the game does not run unseen: start-up fails with the
# renderer's message and a failure status, and writes no settings.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER TESSAVAR_HOME="$home" TESSAVAR_DIALOGS=launcher:start \
      TESSAVAR_FRAMES=5 SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$home" timeout 60 "$bin/tessavar" 2>&1)
status=$?
[ $status -ne 0 ] || fail "exit status 0 without a display"
[ $status -ne 124 ] || fail "still running after 60 s"
echo "$out" | grep -q "Renderer failed to initialise" || fail "no start-up message: $out"
[ "$(echo "$out" | grep -c 'No display to show')" -eq 1 ] || fail "the reason is not given once"
[ -z "$(find "$home" -iname 'tessavar.cfg')" ] || fail "settings written after a failed start"
# Asked for by name, the same driver runs the game (automated runs).
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen TESSAVAR_HOME="$home" TESSAVAR_DIALOGS=launcher:start \
    TESSAVAR_FRAMES=5 SDL_AUDIODRIVER=dummy timeout 60 "$bin/tessavar" >/dev/null 2>&1 || fail "offscreen run failed"
echo "1 passed, 0 failed"

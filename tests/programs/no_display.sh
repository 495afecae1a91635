#!/usr/bin/env bash
# With no display to reach, the game does not run unseen: start-up fails with the
# renderer's message and a failure status, and writes no settings. Standard error
# holds what a player can act on: no complaints of libraries that SDL merely tried
# (Wayland's about XDG_RUNTIME_DIR, ALSA's on a machine without a sound card).
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR TESSAVAR_HOME="$home" \
      TESSAVAR_DIALOGS=launcher:start TESSAVAR_FRAMES=5 SDL_AUDIODRIVER=dummy timeout 60 "$bin/tessavar" 2>&1)
status=$?
[ $status -ne 0 ] || fail "exit status 0 without a display"
[ $status -ne 124 ] || fail "still running after 60 s"
echo "$out" | grep -q "Renderer failed to initialise" || fail "no start-up message: $out"
[ "$(echo "$out" | grep -c 'No display to show')" -eq 1 ] || fail "the reason is not given once: $out"
echo "$out" | grep -q "XDG_RUNTIME_DIR" && fail "a library's complaint reached standard error: $out"
[ -z "$(find "$home" -iname 'tessavar.cfg')" ] || fail "settings written after a failed start"
# Asked for by name, the same driver runs the game (automated runs). No audio driver
# is named: SDL looks for a sound card as for a player, and whatever it finds or
# not, the console says how the game sounds, and ALSA says nothing.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_AUDIODRIVER -u XDG_RUNTIME_DIR SDL_VIDEODRIVER=offscreen \
      TESSAVAR_HOME="$home" TESSAVAR_DIALOGS=launcher:start TESSAVAR_FRAMES=5 timeout 60 "$bin/tessavar" 2>&1) \
  || fail "offscreen run failed: $out"
echo "$out" | grep -q "^Audio: \(sound plays through\|no sound output\)" || fail "the console does not say how the game sounds: $out"
echo "$out" | grep -q "ALSA\|XDG_RUNTIME_DIR" && fail "a library's complaint reached standard error: $out"
echo "1 passed, 0 failed"

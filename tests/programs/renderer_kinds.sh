#!/usr/bin/env bash
# "r_renderer" "ogl" runs the game on OpenGL (SDL's offscreen driver on Mesa, no display
# needed) and leaves a screenshot; where no OpenGL context can be made (the dummy video
# driver) the game starts on the software renderer instead and writes "d3d" back.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start}
export SDL_AUDIODRIVER=dummy TESSAVAR_LOG_STDERR=1
fail() { echo "FAIL: $*"; exit 1; }

# An 8-bit settings file that asks for OpenGL in a 640 x 480 window.
write_settings() {
  mkdir -p "$home/Tessavar"
  printf 'Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\togl\n\tr_fullscreen\tfalse\n\tr_backBufferWidth\t640\n}\n' \
    > "$home/Tessavar/Tessavar.cfg"
}
written_kind() {
  "$bin/tesstool" tree print "$home/Tessavar/Tessavar.cfg" | awk '$1 == "r_renderer" { print $2 }'
}

# OpenGL on the offscreen driver.
write_settings
log=$(SDL_VIDEODRIVER=offscreen TESSAVAR_FRAMES=20 TESSAVAR_SHOT="$home/ogl.tga" "$bin/tessavar" 2>&1) \
  || fail "the OpenGL run failed: $log"
if echo "$log" | grep -q "Failed to load the OpenGL library\|Failed to create the OpenGL context"; then
  echo "OpenGL part skipped: no OpenGL context can be made here"
else
  echo "$log" | grep -q "^Version - " || fail "no OpenGL driver in the log: $log"
  [ "$(written_kind)" = ogl ] || fail "the OpenGL run wrote back '$(written_kind)'"
  info=$("$bin/tesstool" tga info "$home/ogl.tga") || fail "no readable screenshot of the OpenGL run"
  echo "$info" | grep -q "640 x 480, 32 bits, top-left origin" || fail "unexpected screenshot: $info"
  # The top row (right of the pointer) is the main menu's plain background, and the
  # stamp sits upright in the bottom-left corner over it: the frame was read the right
  # way up.
  background=$(od -v -An -tx1 -j$((18 + 32 * 4)) -N4 "$home/ogl.tga" | tr -d ' \n')
  top=$(od -v -An -tx1 -j$((18 + 32 * 4)) -N$(((640 - 32) * 4)) "$home/ogl.tga" | tr -d ' \n' | sed "s/$background//g")
  [ -z "$top" ] || fail "the top row of the OpenGL frame is not of one colour"
  corner=$(od -v -An -tx1 -j$((18 + 472 * 640 * 4 + 16 * 4)) -N64 "$home/ogl.tga" | tr -d ' \n' | sed "s/$background//g")
  [ -n "$corner" ] || fail "no stamp in the bottom-left corner of the OpenGL frame"
fi

# No OpenGL at all: the software renderer runs and is written back.
write_settings
log=$(SDL_VIDEODRIVER=dummy TESSAVAR_FRAMES=5 TESSAVAR_SHOT="$home/d3d.tga" "$bin/tessavar" 2>&1) \
  || fail "the run without OpenGL failed: $log"
[ "$(written_kind)" = d3d ] || fail "the fallback run wrote back '$(written_kind)'"
"$bin/tesstool" tga info "$home/d3d.tga" | grep -q "640 x 480" || fail "no screenshot of the fallback run"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# An automated run draws on the software renderer with no display and leaves a
# screenshot of its last frame: black start-up frames with the stamp at the bottom left.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
fail() { echo "FAIL: $*"; exit 1; }

TESSAVAR_FRAMES=30 TESSAVAR_SHOT="$home/last.tga" "$bin/tessavar" || fail "the run failed"
[ -f "$home/last.tga" ] || fail "no screenshot was written"
info=$("$bin/tesstool" tga info "$home/last.tga") || fail "the screenshot is not a readable TGA: $info"
echo "$info" | grep -Eq "(640 x 480|800 x 600), 32 bits, top-left origin" || fail "unexpected screenshot: $info"

# Pixels: 18-byte header, then rows from the top. The frame is opaque; the bottom-left
# corner carries the stamp over the black start-up frame.
width=$(echo "$info" | sed -E 's/.*: ([0-9]+) x ([0-9]+).*/\1/')
height=$(echo "$info" | sed -E 's/.*: ([0-9]+) x ([0-9]+).*/\2/')
alpha=$(od -v -An -tx1 -j18 -N$((width * 4)) "$home/last.tga" | tr -s ' \n' '\n' | grep -v '^$' | sed -n '4~4p' | sort -u | tr -d '\n')
[ "$alpha" = "ff" ] || fail "the top row is not opaque: $alpha"
corner=$(od -v -An -tx1 -j$((18 + (height - 8) * width * 4 + 16 * 4)) -N64 "$home/last.tga" | tr -d ' \n' | sed 's/000000ff//g')
[ -n "$corner" ] || fail "no stamp in the bottom-left corner"

# The orderly end writes the settings of the renderer that ran.
cfg=$(ls "$home"/[Tt]essavar/[Tt]essavar.cfg 2>/dev/null | head -1)
[ -n "$cfg" ] || fail "no settings file was written"
text=$(iconv -f UTF-16 -t UTF-8 "$cfg" | tr -d '\r')
echo "$text" | grep -Eq "^\s*r_renderer\s+d3d$" || fail "settings do not name d3d: $text"
echo "$text" | grep -Eq "^\s*g_runonce\s+true$" || fail "settings lack g_runonce"
echo "$text" | grep -Eq "^\s*r_backBufferWidth\s+(640|800)$" || fail "settings lack the width"

# The screenshot path may not be writable: the run still ends in order.
TESSAVAR_FRAMES=3 TESSAVAR_SHOT="$home/no/such/folder/x.tga" "$bin/tessavar" 2>/dev/null || fail "a failed screenshot failed the run"
echo "1 passed, 0 failed"

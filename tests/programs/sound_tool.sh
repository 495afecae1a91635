#!/usr/bin/env bash
# tesstool sound: tones written as WAV files read back as the game reads them.
set -u
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
tool="$bin/tesstool"

"$tool" sound tone "$dir/a.wav" 22050 1 16 1000 0.5 || fail "mono tone not written"
"$tool" sound tone "$dir/sub/b.wav" 11025 2 8 440 0.25 0.8 || fail "stereo tone not written"
out=$("$tool" sound info "$dir/a.wav") || fail "info on a.wav failed"
[ "$out" = "$dir/a.wav: WAV, 22050 Hz, 1 channel, 16 bits, 0.500 s" ] || fail "a.wav: $out"
out=$("$tool" sound info "$dir/sub/b.wav") || fail "info on b.wav failed"
[ "$out" = "$dir/sub/b.wav: WAV, 11025 Hz, 2 channels, 8 bits, 0.250 s" ] || fail "b.wav: $out"
# 44 header bytes and 11025 frames of 2 bytes.
[ "$(stat -c %s "$dir/a.wav")" -eq $((44 + 22050)) ] || fail "a.wav has the wrong size"

printf 'RIFF\004\000\000\000WAVEjunk' > "$dir/bad.wav"
"$tool" sound info "$dir/bad.wav" 2>/dev/null && fail "a bad file was described"
"$tool" sound info "$dir/none.wav" 2>/dev/null && fail "a missing file was described"
"$tool" sound tone "$dir/c.wav" 22050 3 16 1000 0.5 2>/dev/null; [ $? -eq 2 ] || fail "three channels accepted"
"$tool" sound tone "$dir/c.wav" 22050 1 16 x 0.5 2>/dev/null; [ $? -eq 2 ] || fail "a bad number accepted"
[ -e "$dir/c.wav" ] && fail "a refused tone left a file"
# Noise bursts and sweeps: 16-bit mono of the length asked.
"$tool" sound noise "$dir/n.wav" 22050 0.2 0.7 || fail "noise not written"
out=$("$tool" sound info "$dir/n.wav") || fail "info on n.wav failed"
[ "$out" = "$dir/n.wav: WAV, 22050 Hz, 1 channel, 16 bits, 0.200 s" ] || fail "n.wav: $out"
"$tool" sound sweep "$dir/s.wav" 11025 1800 600 0.1 || fail "sweep not written"
[ "$(stat -c %s "$dir/s.wav")" -eq $((44 + 2 * 1102)) ] || fail "s.wav has the wrong size"
"$tool" sound noise "$dir/d.wav" 22050 0 2>/dev/null; [ $? -eq 2 ] || fail "noise of no length accepted"
"$tool" sound sweep "$dir/d.wav" 22050 0 600 0.1 2>/dev/null; [ $? -eq 2 ] || fail "a sweep from 0 Hz accepted"
[ -e "$dir/d.wav" ] && fail "a refused sound left a file"
echo "1 passed, 0 failed"

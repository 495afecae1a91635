#!/usr/bin/env bash
# The game starts, runs and ends in order with a sound device, and silent without one.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start} TESSAVAR_LOG_STDERR=1
fail() { echo "FAIL: $*"; exit 1; }

out=$(SDL_AUDIODRIVER=dummy TESSAVAR_FRAMES=5 "$bin/tessavar" 2>&1) || fail "run with the dummy driver failed: $out"
echo "$out" | grep -q "Stereo secondary buffers available" || fail "no device capabilities logged: $out"
# The orderly end writes the audio settings with the rest.
cfg=$(iconv -f UTF-16 -t UTF-8 "$home/Tessavar/Tessavar.cfg") || fail "no settings file written"
for key in a_disableAudio a_force8bitSamples a_outputFrequencyId a_maxSimultaneousSamples \
           a_masterfxvolume a_mastermusicvolume a_mastervoicevolume; do
  echo "$cfg" | grep -q "^[[:space:]]*$key[[:space:]]" || fail "settings file lacks $key: $cfg"
done

out=$(SDL_AUDIODRIVER=no-such-driver TESSAVAR_FRAMES=5 "$bin/tessavar" 2>&1) || fail "run without sound failed: $out"
echo "$out" | grep -q "runs silent" || fail "a missing device was not reported: $out"
echo "$out" | grep -q "Caps:" && fail "capabilities logged without a device"
# "a_disableAudio" true: the game runs silent without touching the device, and keeps the key.
printf 'Tessavar\n{\n\tg_runonce\ttrue\n\ta_disableAudio\ttrue\n\ta_mastermusicvolume\t3\n}\n' \
  > "$home/Tessavar/Tessavar.cfg"
out=$(SDL_AUDIODRIVER=dummy TESSAVAR_FRAMES=5 "$bin/tessavar" 2>&1) || fail "run with audio disabled failed: $out"
echo "$out" | grep -q "Caps:" && fail "the device was opened although audio is disabled"
cfg=$(iconv -f UTF-16 -t UTF-8 "$home/Tessavar/Tessavar.cfg") || fail "no settings file written"
echo "$cfg" | grep -q "a_disableAudio[[:space:]]*true" || fail "a_disableAudio not kept: $cfg"
echo "$cfg" | grep -q "a_mastermusicvolume[[:space:]]*3" || fail "the music level not kept: $cfg"
echo "1 passed, 0 failed"

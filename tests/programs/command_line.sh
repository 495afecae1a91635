#!/usr/bin/env bash
# What the programs do with what a user types: an option the game does not know is
# ignored and said to be; "-u" opens the update page through the desktop's opener
# and fails, saying why, when it cannot; tesstool shows its usage when asked and
# names the reason when a file cannot be read; tess.sh shows its usage before it
# installs or builds anything.
set -u
bin=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export TESSAVAR_HOME=$work/home TESSAVAR_LOG_STDERR=0
unset TESSAVAR_DIALOGS

# An unknown option: the game starts as without it, and one line says so.
out=$(TESSAVAR_DIALOGS=launcher:start TESSAVAR_FRAMES=1 "$bin/tessavar" --hlep 2>&1) ||
  fail "an unknown option stopped the game: $out"
[ "$(echo "$out" | grep -c .)" -eq 1 ] || fail "not one line for an unknown option: $out"
echo "$out" | grep -q '^Unknown option "--hlep" ignored' || fail "the unknown option is not named: $out"
[ -f "$work/home/Tessavar/Tessavar.cfg" ] || fail "the game did not run after an unknown option"

# "-u": a page opener of our own in front of PATH notes the address and ends with the
# status in $work/status; without any opener the page cannot be opened either.
mkdir "$work/opener" "$work/none"
printf '#!/bin/sh\necho "$1" >> "%s/opened"\nexit $(cat "%s/status")\n' "$work" "$work" > "$work/opener/xdg-open"
chmod +x "$work/opener/xdg-open"
echo 0 > "$work/status"
out=$(PATH="$work/opener:$PATH" "$bin/tessavar" -u 2>&1) || fail "-u failed with a working opener: $out"
[ "$(cat "$work/opened")" = "https://tessavar.invalid/update" ] || fail "-u did not hand the update page to the opener"
echo 3 > "$work/status"
out=$(PATH="$work/opener:$PATH" "$bin/tessavar" -u 2>&1) && fail "-u succeeded though the opener failed"
echo "$out" | grep -q "^Cannot open https://tessavar.invalid/update: no program to show it" ||
  fail "a failed opener is not reported: $out"
out=$(PATH="$work/none" "$bin/tessavar" -u 2>&1) && fail "-u succeeded without any opener"
echo "$out" | grep -q "^Cannot open https://tessavar.invalid/update: xdg-open could not be started" ||
  fail "a missing opener is not reported: $out"

# tesstool: usage on request; a file it cannot read fails with the reason.
out=$("$bin/tesstool" --help 2>/dev/null) || fail "tesstool --help failed"
echo "$out" | grep -q "^usage: tesstool" || fail "tesstool --help shows no usage: $out"
echo "$out" | grep -q "tesstool tree print FILE" || fail "tesstool --help lists no groups: $out"
mkdir "$work/folder"
printf 'not a pack\n' > "$work/text"
head -c 300 /dev/zero | tr '\0' '\1' > "$work/binary"
check_refused() { # WHAT EXPECTED-REASON COMMAND...
  local what=$1 reason=$2; shift 2
  out=$("$@" 2>&1 >/dev/null) && fail "$what succeeded"
  echo "$out" | grep -q -- "$reason" || fail "$what gives no reason: $out"
}
check_refused "tree print of a missing file" "cannot read $work/missing: No such file or directory" \
  "$bin/tesstool" tree print "$work/missing"
check_refused "tree print of a folder" "cannot read $work/folder: it is a folder" \
  "$bin/tesstool" tree print "$work/folder"
check_refused "tree print of a binary file" "holds nothing the data-tree reader understands" \
  "$bin/tesstool" tree print "$work/binary"
check_refused "pack list of a missing file" "cannot mount $work/missing: No such file or directory" \
  "$bin/tesstool" pack list "$work/missing"
check_refused "pack list of a text file" "$work/text is damaged: no pack record at byte 0" \
  "$bin/tesstool" pack list "$work/text"

# tess.sh: usage at once, and nothing installed or built (no build folder appears).
out=$(TESS_BUILD_DIR="$work/build" "$src/tess.sh" --help 2>&1) || fail "tess.sh --help failed: $out"
echo "$out" | grep -q "^usage: ./tess.sh" || fail "tess.sh --help shows no usage: $out"
out=$(TESS_BUILD_DIR="$work/build" "$src/tess.sh" --bogus 2>&1) && fail "tess.sh took an unknown mode"
echo "$out" | grep -q "^usage: ./tess.sh" || fail "tess.sh shows no usage for an unknown mode: $out"
[ -e "$work/build" ] && fail "tess.sh built something when asked for help"
echo "1 passed, 0 failed"

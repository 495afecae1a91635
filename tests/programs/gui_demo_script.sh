#!/usr/bin/env bash
# "/guidemo" in the running game: typed into the console, it opens the demonstration of
# the GUI's controls with the sample skin in front of the game; typed again it closes it.
set -u
bin=$1
. "$(dirname "$0")/../support/game_run.sh" ""
. "$(dirname "$0")/../support/startup_keys.sh"

# Whether two screenshots show the same picture.
same_picture() { # A B
  python3 - "$1" "$2" <<'PY'
import sys
a, b = (open(p, 'rb').read() for p in sys.argv[1:3])
sys.exit(0 if a[18:] == b[18:] and a[12:16] == b[12:16] else 1)
PY
}

# The same frames with the console opened and closed but no demonstration: the main
# menu as it is.
plain() { # FRAMES CLOSE_FRAME -> $home/plain.tga
  run_after_logo "2 key Grave
$2 key Grave" "$1" || fail "plain run failed: $(tail -3 "$home/log")"
  mv "$home/shot.tga" "$home/plain.tga"
}

plain 10 6
run_after_logo "2 key Grave
4 type /guidemo
5 key Return
6 key Grave" 10 || fail "run failed: $(tail -3 "$home/log")"
gui_failure='Failed to load layout|UI skin|Failed to load font|generic fail block'
grep -Eq "$gui_failure" "$home/log" && fail "the GUI did not load: $(grep -E "$gui_failure" "$home/log")"
[ -f "$home/shot.tga" ] || fail "no screenshot"
same_picture "$home/shot.tga" "$home/plain.tga" && fail "no demonstration window in front of the game"

plain 12 8
run_after_logo "2 key Grave
4 type /guidemo
5 key Return
6 type /guidemo
7 key Return
8 key Grave" 12 || fail "run failed: $(tail -3 "$home/log")"
same_picture "$home/shot.tga" "$home/plain.tga" || fail "the demonstration stayed open"
echo "1 passed, 0 failed"

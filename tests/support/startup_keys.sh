# The keys by which a player comes through start-up, shared by every program test that
# goes through it (TESSAVAR_SCRIPT lines, frames counted from 0). The logo and a new
# game's intro refuse a skip for their first half second of real time; a frame lasts at
# least 40 ms, so the frames below always leave that half second, and a busy machine
# only makes them longer. The main menu and the chat boxes take keys a quarter second
# after they come.
#   SKIP_LOGO             Return at frame 15 skips the start-up logo; the main menu
#                         comes at once
#   AFTER_LOGO            20: the frames a script made for a game without the logo moves
#   after_logo SCRIPT     prints SKIP_LOGO and SCRIPT with every frame AFTER_LOGO later
#   NEW_GAME_TUTORIAL     the logo skipped, New game, Return in the name box starts with
#                         the tutorial, its intro skipped: the flight begins by frame 64
#   NEW_GAME_NO_TUTORIAL  the logo skipped, New game, Down twice to "Start without the
#                         tutorial" (the hall of fame must say a game was played),
#                         Return, the intro skipped: the bridge takes keys at HUB_FRAME
#   READ_FIRST_PAGE       flight school's first page (5 s of game time into the flight,
#                         a letter a frame) completed and turned with four Returns; the
#                         tutorial's flight goes on from PAGE_READ_FRAME
#   SURVIVAL_RUN          the logo skipped, Down four times to Survival, Return, Return
#                         on "Open survival": its flight begins by frame 82
SKIP_LOGO="15 key Return"
AFTER_LOGO=20
after_logo() { # SCRIPT
  echo "$SKIP_LOGO"
  [ -z "$1" ] || printf '%s\n' "$1" | awk -v by=$AFTER_LOGO '{ sub(/^[0-9]+/, $1 + by); print }'
}
NEW_GAME_TUTORIAL="$SKIP_LOGO
30 key Return
36 key Return
60 key Return"
NEW_GAME_NO_TUTORIAL="$SKIP_LOGO
30 key Return
40 key Down
50 key Down
56 key Return
80 key Return"
HUB_FRAME=95
READ_FIRST_PAGE="200 key Return
215 key Return
230 key Return
245 key Return"
PAGE_READ_FRAME=260
SURVIVAL_RUN="$SKIP_LOGO
30 key Down
38 key Down
46 key Down
54 key Down
62 key Return
80 key Return"

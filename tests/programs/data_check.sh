#!/usr/bin/env bash
# tesstool check: the built sample data loads cleanly through the game's readers,
# and each kind of slip in a copy of it is named with its file and line.
set -u
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

out=$("$bin/tesstool" check "$bin" 2>&1) || fail "the sample data has problems: $out"
echo "$out" | grep -q " 0 problems$" || fail "no summary: $out"
# The data folder itself may be given too.
"$bin/tesstool" check "$bin/data" >/dev/null 2>&1 || fail "the data folder given directly was refused"

copy() {
  rm -rf "$work/game"
  mkdir -p "$work/game"
  cp -r "$bin/data" "$work/game/"
}
expect_problem() { # file:line and text expected in the report
  local out
  out=$("$bin/tesstool" check "$work/game" 2>&1) && fail "check passed with $1: $out"
  echo "$out" | grep -q -- "$1" || fail "expected '$1' in: $out"
}

# A block glued to its brace breaks the grammar: that block and all after it are lost.
copy
printf 'LEVEL\n{\n\tworldWidth\t3000\n}\nSTARFIELD{\n\tnumLayers\t0\n}\nMORE\n{\n}\n' >"$work/game/data/init5.txt"
expect_problem "data/init5.txt:5: block \"STARFIELD{\" does not parse"

# A level without its playfield width.
copy
printf 'LEVEL\n{\n\ttreeDepth\t5\n}\n' >"$work/game/data/init6.txt"
expect_problem 'data/init6.txt:1: LEVEL gives no positive "worldWidth"'

# A broken LEVEL section before a good one: the level loads, the broken one is named.
copy
printf 'LEVEL\n{\n\tworldWidth\t3000\n\t-1\n}\nLEVEL\n{\n\tworldWidth\t3000\n}\n' >"$work/game/data/init7.txt"
expect_problem 'data/init7.txt:1: section "LEVEL" does not parse'

# A HUD layout block the HUD has no part for (and every part left out).
copy
printf 'COMPASS\n{\n}\n' >"$work/game/data/hud.txt"
expect_problem 'data/hud.txt:1: the HUD has no part of this name'

# Asteroids of a kind the game does not know, a field without a spawn site, stars
# from a file that is not there, and an asteroid effect the effect list lacks.
copy
printf 'LEVEL\n{\n\tworldWidth\t3000\n}\nASTEROID_DEFS\n{\n\tnumDefs\t1\n\tdef0\n\t{\n\t\ttype\tpebble\n\t}\n\tspawnSites\n\t{\n\t\tnumSites\t0\n\t}\n}\nSTARFIELD\n{\n\tnumLayers\t1\n\tlayer0\n\t{\n\t\tnumSprites\t1\n\t\tsprite0\n\t\t{\n\t\t\ttype\tbasic\n\t\t\tname\tdata\\sprites\\nostars.spr\n\t\t}\n\t}\n}\n' >"$work/game/data/init8.txt"
expect_problem 'data/init8.txt:8: unknown asteroid type "pebble"'
expect_problem 'data/init8.txt:12: 0 spawn sites'
expect_problem 'data/init8.txt:26: sprite file "data\\sprites\\nostars.spr" is not there'
copy
sed -i 's/deathEffect\trockBreak/deathEffect\trockBust/' "$work/game/data/init1.txt"
expect_problem 'effect "rockBust" is not in the effect list'
# Text pages: a file without a first page, and a picture tag that never closes.
copy
printf 'chat\n{\n\tEnglish\n\t{\n\t\tpage1\n\t\t{\n\t\t\tline0\tx\n\t\t}\n\t}\n}\n' >"$work/game/data/chat/empty.txt"
expect_problem 'data/chat/empty.txt:3: there is no "page0"'
copy
printf 'chat\n{\n\tEnglish\n\t{\n\t\tpage0\n\t\t{\n\t\t\tline0\tsee [12 here\n\t\t}\n\t}\n}\n' >"$work/game/data/chat/open.txt"
expect_problem 'data/chat/open.txt:5: "\[12 here" is no picture tag'

# A sequence that names a sprite file the folder does not have.
copy
printf 'seq\n{\n\tsprite\n\t{\n\t\tfile\tdata\\gone.spr\n\t\tlength\t5\n\t\tposition\t0, 1, 2, 3\n\t}\n}\n' >"$work/seq.txt"
"$bin/tesstool" cas build "$work/seq.txt" "$work/game/data/seq.cas" || fail "the sequence did not compile"
expect_problem 'data/seq.cas:0: sprite track 0: sprite file "data\\gone.spr" cannot be read'

# The sequences the screens ask for by the director's table: the station screen's
# backdrop (22) and the picture of a pilot who reached three zones (12 + 3) gone.
copy
rm "$work/game/data/frontend/station/backdrop/station_bdrp.cas" "$work/game/data/animations/drivesections/fame_3.cas"
expect_problem "data/frontend/station/backdrop/station_bdrp.cas:0: sequence 22 of the director's table is not there"
expect_problem "data/animations/drivesections/fame_3.cas:0: sequence 15 of the director's table is not there"

# A ship part without a required key, and a design pod of no kind: the files the
# level names are read as the level reads them.
copy
awk '/^\tthrust\t/ && !done { done = 1; next } { print }' "$bin/data/shipComponents.txt" >"$work/game/data/shipComponents.txt"
expect_problem 'data/shipComponents.txt:[0-9]*: missing key "thrust" in block "SHIP_COMPONENT_ENGINE_POD"'
copy
sed '0,/type\tBATTERY/s//type\tWARP_CORE/' "$bin/data/playerShips.txt" >"$work/game/data/playerShips.txt"
expect_problem 'data/playerShips.txt:[0-9]*: design "Sparrow", pod4: unknown component kind "WARP_CORE"'

# A part naming an effect that no effect file defines.
copy
sed '0,/engineEffect\tengineTrail/s//engineEffect\tengineTrial/' "$bin/data/shipComponents.txt" >"$work/game/data/shipComponents.txt"
expect_problem 'data/shipComponents.txt:0: "engine_basic" names the effect "engineTrial", which no effect file defines'

# Effects: an event that starts an effect nobody defined, a sprite file that is not
# there, and a definition the cache cannot hold.
copy
cat >>"$work/game/data/effects/world.txt" <<'EFFECTS'
EFFECT
{
	name	broken
	maxParticles	4
	maxEmitters	1
	particle
	{
		appearance
		{
			type	SPRITE
			sprite
			{
				spriteFile	data\effects\missing.spr
			}
		}
	}
	controller
	{
		type	STATIC
	}
	emitter
	{
		type	SIMPLE_PARTICLE
		event
		{
			type	EMITTER_START
			chanceOfTriggering	1
			triggerEffect0	nothingAtAll
		}
	}
}
EFFECT
{
	name	greedy
	maxParticles	100000
	maxEmitters	1
	emitter
	{
		type	SIMPLE_PARTICLE
	}
}
EFFECTS
expect_problem 'effect BROKEN: an event names "nothingAtAll", which is no effect'
expect_problem 'effect BROKEN: sprite file "data\\effects\\missing.spr" cannot be read'
expect_problem 'effect GREEDY: maxParticles 100000 is outside 0..4096'

# The station's warp square drawn opaque: its fades would leave the screen black.
copy
mkdir -p "$work/game/data/sprites/particles"
printf 'size 8 8\ncolour FFFFFFFF\npolygon 0 0 8 0 8 8 0 8\n' >"$work/square.shape"
"$bin/tesstool" sprite build "$work/game/data/sprites/particles/blacksquare.spr" --format 0 --page 8 \
  "$work/square.shape" >/dev/null || fail "the opaque square did not build"
expect_problem 'blacksquare.spr has pixel format 0, not the alpha-blended 2'

"$bin/tesstool" check "$work/nothing" >/dev/null 2>&1 && fail "a folder without data passed"
exit 0

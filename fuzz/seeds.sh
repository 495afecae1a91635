#!/usr/bin/env bash
# Makes the seed corpus of every fuzz harness with tesstool (and kestrup for the
# packs it writes), from the sample sources beside this script.
#   fuzz/seeds.sh BIN_DIR OUT_DIR
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
tool="$bin/tesstool"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for harness in pack_archive data_tree string_table text_format tga wave sprite_file font_glyph_table jpeg2000 resource_pack definitions effects ship_data station enemies cas gui_skin gui_layout hud text_page records key_map zone_block save_slot ships_file; do
  mkdir -p "$out/$harness"
done
quiet() {
  local output
  output=$("$@" 2>&1) || { echo "$output" >&2; return 1; }
}

# Images: the screenshot stamp, and the same picture as JPEG-2000 in both containers.
quiet "$tool" tga stamp "$out/tga/stamp.tga"
quiet "$tool" jp2 encode "$out/tga/stamp.tga" "$out/jpeg2000/stamp.jp2"
quiet "$tool" jp2 encode "$out/tga/stamp.tga" "$out/jpeg2000/stamp-alpha.j2k" --codestream --alpha

# Sprites: two small frames in every pixel format, raw and as JPEG-2000 pages.
cat >"$work/tiny.shape" <<'SHAPE'
size 4 4
colour FF8040FF
circle 2 2 2
frame
colour 40FF80C0
glow 2 2 2
SHAPE
for format in 0 1 2 3 4; do
  quiet "$tool" sprite build "$out/sprite_file/raw$format.spr" --format $format --page 8 "$work/tiny.shape"
done
quiet "$tool" sprite build "$out/sprite_file/jp2-0.spr" --format 0 --jp2 --page 8 "$work/tiny.shape"
quiet "$tool" sprite build "$out/sprite_file/jp2-2.spr" --format 2 --jp2 --page 8 "$work/tiny.shape"

# Glyph tables: a font baked from the sample fonts' source, and the build's own.
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$dejavu" ]; then
  quiet "$tool" font bake "$work" seed "$dejavu" 10 --codes 1,32-126,233
  cp "$work/seed.txt" "$out/font_glyph_table/baked.txt"
fi
for table in "$bin"/data/gui/*.txt; do
  if [ -f "$table" ]; then cp "$table" "$out/font_glyph_table/"; fi
done

# Sounds: short tones in every PCM layout the game plays.
for channels in 1 2; do
  for bits in 8 16; do
    quiet "$tool" sound tone "$out/wave/tone-$channels-$bits.wav" 8000 $channels $bits 440 0.005
  done
done

# Sequences: the sample logo, and a small one with a track of every kind in groups.
quiet "$tool" cas build "$src/../data-src/animations/logo/logo.txt" "$out/cas/logo.cas"
quiet "$tool" cas build "$src/seeds/sequence.txt" "$out/cas/sequence.cas"

# Data trees: 8-bit text, and the same as the game writes it (UTF-16, plain and scrambled).
cp "$src/seeds/tree.txt" "$out/data_tree/tree-8bit.txt"
# Definition blocks: the sample data's definition files.
find "$src/../data-src" -name '*.txt' ! -path '*/strings/*' | while read -r f; do
  cp "$f" "$out/definitions/$(basename "$(dirname "$f")")-$(basename "$f")"
done
cp "$src/seeds/collision.txt" "$out/definitions/"
# Effects: the sample effect files and one definition of every kind and mode.
cp "$src/../data-src/effects/"*.txt "$out/effects/"
cp "$src/seeds/effects.txt" "$out/effects/"
quiet "$tool" tree write "$src/seeds/tree.txt" "$out/data_tree/tree-utf16.txt"
quiet "$tool" tree write "$src/seeds/tree.txt" "$out/data_tree/tree-scrambled.txt" --scrambled

# Ship data: the sample components and designs, 8-bit, and the designs as a save
# holds them (UTF-16, scrambled).
cp "$src/../data-src/ships/shipComponents.txt" "$out/ship_data/components.txt"
cp "$src/../data-src/ships/playerShips.txt" "$out/ship_data/designs.txt"
quiet "$tool" tree write "$src/../data-src/ships/playerShips.txt" "$out/ship_data/designs-saved.txt" --scrambled

# Parts of large objects: a docking port.
cp "$src/seeds/port.txt" "$out/station/"

# Enemies: the sample drone, fighter, worm, carrier and bosses, and the first three in one file.
cp "$src/../data-src/enemies/drone.txt" "$src/../data-src/enemies/fighter.txt" "$src/../data-src/enemies/worm.txt" \
  "$src/../data-src/enemies/"{carrier,bossstar,bossmagma,bossrain,bosstron,bossdisc}.txt "$out/enemies/"
cat "$src/../data-src/enemies/"{drone,fighter,worm,worm,worm}.txt >"$out/enemies/all.txt"

# GUI: a skin and a layout with every control class.
cp "$src/seeds/skin.skin" "$out/gui_skin/"
cp "$src/seeds/layout.txt" "$out/gui_layout/"
cp "$src/../data-src/gui/demo.txt" "$out/gui_layout/"

# Zone blocks: a new game in the harness's zones, every zone played.
quiet "$tool" zone "$src/seeds/zones.txt" --block "$out/zone_block/new-game.bin"

# HUD: the sample layout.
cp "$src/../data-src/hud/hud.txt" "$out/hud/"

# Records: a hall of fame as the game writes it.
quiet "$tool" save sample "$work" "$src/seeds/zones.txt"
cp "$work/records.bin" "$out/records/"

# Key maps: the default one and one of other keys.
quiet "$tool" keymap write "$out/key_map/default.dat"
quiet "$tool" keymap write "$out/key_map/other.dat" 30 31 32 33 57 42 44 45 156

# Save slots: a new game in the harness's zones; ships files: the sample designs as a
# slot keeps them, and the sample slot's empty one.
cp "$work/save0zone.bin" "$out/save_slot/"
# Both also with special cargo kept by zone 0 (the slot with its strike spent too), and
# in the older form without either.
python3 - "$out/zone_block/new-game.bin" "$out/save_slot/save0zone.bin" <<'PY'
import sys
cargo = b"\x04\x00\x00\x00V_C\x00"
strike = b"\x04\x00\x00\x00V_S\x00"
for path in sys.argv[1:]:
    data = open(path, "rb").read()
    at = data.index(cargo) + len(cargo)
    cargoed = data[:at] + b"\x01\x01" + data[at + 2:]
    if cargoed[-9:-1] == strike:
        cargoed = cargoed[:-1] + b"\x01"
    open(path[:-4] + "-cargo.bin", "wb").write(cargoed)
    older = bytearray()
    rest = data
    while cargo in rest:
        cut = rest.index(cargo)
        older += rest[:cut]
        rest = rest[cut + len(cargo) + 2:]
    if rest[-9:-1] == strike:
        rest = rest[:-9]
    open(path[:-4] + "-older.bin", "wb").write(bytes(older + rest))
PY
cp "$out/ship_data/designs-saved.txt" "$out/ships_file/"
cp "$work/save0ships.txt" "$out/ships_file/"

# Text pages: the sample briefing and tutorial.
cp "$src/../data-src/chat/"*.txt "$out/text_page/"

# String tables: a small one of two languages and the sample table.
quiet "$tool" strings build "$src/seeds/strings.txt" "$out/string_table/small.tbl"
if [ -f "$bin/data/Tessavar_Strings.tbl" ]; then
  cp "$bin/data/Tessavar_Strings.tbl" "$out/string_table/sample.tbl"
fi

# Formats: the sample table's texts with placeholders, in UTF-16 as the table holds them.
python3 - "$src/../data-src/strings/Tessavar_Strings.txt" "$out/text_format" <<'PY'
import sys
texts = [line.split("=", 1)[1].strip() for line in open(sys.argv[1], encoding="utf-8")
         if "=" in line and "%" in line and not line.startswith("#")]
for number, text in enumerate(texts):
    open(f"{sys.argv[2]}/text-{number}", "wb").write(text.encode("utf-16-le"))
PY

# Resource pack: a folder of sprites, an image and a text file, as the unpacker reads it.
mkdir -p "$work/pack/data/sprites" "$work/pack/data/images"
cp "$out/sprite_file/raw3.spr" "$out/sprite_file/jp2-2.spr" "$work/pack/data/sprites/"
cp "$out/jpeg2000/stamp.jp2" "$work/pack/data/images/"
cp "$src/seeds/tree.txt" "$work/pack/data/"
quiet "$tool" respack create "$out/resource_pack/small.pak" "$work/pack/data"

# Pack files: the same folder as tesstool stores it, and as kestrup writes it.
(cd "$work/pack" && quiet "$tool" pack create "$out/pack_archive/zip.pack" data)
mkdir -p "$work/unpack"
cp "$out/resource_pack/small.pak" "$work/unpack/TessavarSprites.pak"
(cd "$work/unpack" && KESTRUP_HEADLESS=1 quiet "$bin/kestrup")
cp "$work/unpack/tessavar.001" "$out/pack_archive/unpacked.pack"

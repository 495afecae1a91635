#!/usr/bin/env bash
# tesstool pack: packs it writes, patch packs, packs written by ZIP tools and
# damaged packs, all read through the game's own archive.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; echo "0 passed, 1 failed"; exit 1; }
tool="$bin/tesstool"

mkdir -p data/Sub
printf 'hello' > data/a.txt
head -c 70000 /dev/urandom > data/Sub/big.bin
: > data/empty.txt
printf 'loose' > extra.txt

"$tool" pack create main.000 data ./extra.txt 2>/dev/null || fail "create failed"
expected=$(printf '%10u  %s\n' 70000 data/Sub/big.bin 5 data/a.txt 0 data/empty.txt 5 extra.txt)
[ "$("$tool" pack list main.000)" = "$expected" ] || fail "list of a fresh pack: $("$tool" pack list main.000)"
"$tool" pack cat main.000 data/Sub/big.bin | cmp -s - data/Sub/big.bin || fail "cat of a binary entry differs"
[ "$("$tool" pack cat main.000 'DATA\sub\BIG.BIN' | wc -c)" = 70000 ] || fail "name with backslashes and capitals"
[ "$("$tool" pack cat main.000 /extra.txt)" = loose ] || fail "leading separator not dropped"

# Later packs replace entries of the same name.
mkdir -p p1/data p2/data
printf 'patched once' > p1/data/a.txt
printf 'patched twice' > p2/data/A.TXT
(cd p1 && "$tool" pack create ../patch.001 data 2>/dev/null) || fail "create patch 1"
(cd p2 && "$tool" pack create ../patch.002 data/A.TXT 2>/dev/null) || fail "create patch 2"
[ "$("$tool" pack cat main.000 patch.001 data/a.txt)" = "patched once" ] || fail "patch 1 does not override"
[ "$("$tool" pack cat main.000 patch.001 patch.002 data/a.txt)" = "patched twice" ] || fail "patch 2 does not override"
[ "$("$tool" pack list main.000 patch.001 patch.002 | grep -ci 'data/a.txt')" = 1 ] || fail "overridden entry listed twice"
"$tool" pack list main.000 patch.001 patch.002 | grep -q '^ *13  data/a.txt$' || fail "patched size not listed"

# A ZIP tool's stored entries, with extra fields and a central directory at the end;
# its deflated entry is not found.
if command -v python3 >/dev/null; then
  python3 - <<'PY' || fail "python could not write the zip"
import zipfile
with zipfile.ZipFile("tool.zip", "w") as z:
    info = zipfile.ZipInfo("data/frontend/main.txt")
    info.extra = b"\x99\x99\x04\x00abcd"
    z.writestr(info, b"window { }\n", compress_type=zipfile.ZIP_STORED)
    z.writestr("data/packed.txt", b"x" * 500, compress_type=zipfile.ZIP_DEFLATED)
    info = zipfile.ZipInfo("data/gui/skin.bin")
    info.extra = b"\x98\x98\x10\x00" + bytes(range(16))
    z.writestr(info, bytes(range(256)) * 3, compress_type=zipfile.ZIP_STORED)
PY
  expected=$(printf '%10u  %s\n' 11 data/frontend/main.txt 768 data/gui/skin.bin)
  [ "$("$tool" pack list tool.zip)" = "$expected" ] || fail "zip listing: $("$tool" pack list tool.zip)"
  [ "$("$tool" pack cat tool.zip data/frontend/main.txt)" = "window { }" ] || fail "zip entry text"
  python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)) * 3)' > skin.expected
  "$tool" pack cat tool.zip data/gui/skin.bin | cmp -s - skin.expected || fail "zip binary entry differs"
  "$tool" pack cat tool.zip data/packed.txt 2>/dev/null && fail "deflated entry was read"
else
  fail "python3 is needed to write the ZIP fixture"
fi

# A pack cut inside its last record keeps the records before it; garbage has none.
# Either is listed as far as it reads, and the listing fails naming the damage.
size=$(stat -c %s main.000)
head -c $((size - 3)) main.000 > cut.000
[ "$("$tool" pack list cut.000 2>/dev/null | wc -l)" = 3 ] || fail "truncated pack: $("$tool" pack list cut.000)"
"$tool" pack list cut.000 >/dev/null 2>err.txt && fail "a truncated pack listed as whole"
grep -q "cut.000 is damaged: the record at byte [0-9]* runs past the end" err.txt || fail "no reason: $(cat err.txt)"
"$tool" pack cat cut.000 extra.txt 2>/dev/null && fail "truncated entry was read"
head -c 1000 /dev/zero | tr '\0' J > junk.000
[ -z "$("$tool" pack list junk.000 2>err.txt)" ] || fail "garbage pack listed entries"
grep -q "junk.000 is damaged: no pack record at byte 0" err.txt || fail "garbage pack: $(cat err.txt)"

"$tool" pack list missing.000 2>/dev/null && fail "missing pack listed"
"$tool" pack cat main.000 data/none.txt 2>/dev/null && fail "missing entry read"
"$tool" pack frobnicate 2>/dev/null; [ $? = 2 ] || fail "usage error status"
echo "1 passed, 0 failed"

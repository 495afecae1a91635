#!/usr/bin/env bash
# Runs every fuzz harness (or the ones named) for SECONDS each.
#   fuzz/run.sh SECONDS [HARNESS...]      e.g. fuzz/run.sh 600 tga wave
# Environment:
#   TESS_FUZZ_BUILD  build folder (default build-asan), brought up to date first;
#                    a new one is configured with clang, AddressSanitizer,
#                    UndefinedBehaviorSanitizer and the harnesses
#   TESS_FUZZ_JOBS   harnesses run at once (default 1)
#   TESS_JOBS        build jobs (default: all cores)
# The corpus grows in BUILD/fuzz/corpus/HARNESS across runs, starting from the
# seeds that fuzz/seeds.sh makes and the inputs kept under
# tests/*/regressions/HARNESS/. A crash, hang, leak or sanitizer report leaves
# its input in BUILD/fuzz/findings/HARNESS/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

all=(pack_archive data_tree string_table text_format tga wave sprite_file font_glyph_table jpeg2000 resource_pack definitions effects ship_data station enemies cas gui_skin gui_layout hud text_page records key_map zone_block save_slot ships_file)
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [HARNESS...]   harnesses: ${all[*]}" >&2
  exit 2
fi
seconds=$1
shift
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=("${all[@]}")
for h in "${harnesses[@]}"; do
  [[ " ${all[*]} " == *" $h "* ]] || { echo "$0: no harness '$h'" >&2; exit 2; }
done

build=${TESS_FUZZ_BUILD:-build-asan}
jobs=${TESS_FUZZ_JOBS:-1}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DTESS_SANITIZE=address,undefined -DTESS_BUILD_FUZZERS=ON -DTESS_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" -j "${TESS_JOBS:-$(nproc)}" --target fuzzers tesstool kestrup sample_data

# Absolute: the harnesses work in a scratch folder of their own.
work="$(cd "$build" && pwd)/fuzz"
# Seeds and scratch folders of this run only: runs may overlap.
run="$work/run.$$"
trap 'rm -rf "$run"' EXIT
bash fuzz/seeds.sh "$build/bin" "$run/seeds" >/dev/null
mkdir -p "$work/logs" "$run/tmp"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One harness: its corpus, its seeds and the kept regression inputs; 25 s for one
# input counts as a hang.
run_one() {
  local h=$1
  local corpus="$work/corpus/$h" findings="$work/findings/$h/"
  mkdir -p "$corpus" "$findings" "$run/tmp/$h"
  local dirs=("$corpus" "$run/seeds/$h")
  for d in tests/*/regressions/"$h"; do
    [ -d "$d" ] && dirs+=("$(pwd)/$d")
  done
  if TMPDIR="$run/tmp/$h" "$build/bin/fuzz_$h" -max_total_time="$seconds" -timeout=25 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings" "${dirs[@]}" \
      >"$work/logs/$h.log" 2>&1; then
    echo "fuzz $h: ${seconds} s, $(ls "$corpus" | wc -l) inputs in the corpus, no finding"
    return 0
  fi
  echo "fuzz $h: FAILED, input kept in $findings; the end of $work/logs/$h.log:"
  tail -n 40 "$work/logs/$h.log"
  return 1
}

passed=0
failed=0
pids=()
wait_one() {
  local pid=${pids[0]}
  pids=("${pids[@]:1}")
  if wait "$pid"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}
for h in "${harnesses[@]}"; do
  [ ${#pids[@]} -ge "$jobs" ] && wait_one
  run_one "$h" &
  pids+=($!)
done
while [ ${#pids[@]} -gt 0 ]; do wait_one; done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# The hardening stages of CI, each in its own build folder with clang at -O1:
#   build-asan  AddressSanitizer + UndefinedBehaviorSanitizer: the whole test suite,
#               and the fuzz harnesses of the file readers
#   build-tsan  ThreadSanitizer: the test programs whose code starts threads
#               (platform: audio streams and the software device's worker pool;
#               kestrup: the worker and the converting threads)
# then every fuzz harness for SECONDS (default 30) through fuzz/run.sh.
#   tests/harden.sh [SECONDS]     (./tess.sh harden installs clang first)
# TESS_JOBS sets the build jobs, test jobs and harnesses run at once (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=${TESS_JOBS:-$(nproc)}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

configure() {
  local dir=$1 sanitize=$2
  shift 2
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DTESS_SANITIZE="$sanitize" -DTESS_BUILD_BENCHMARKS=OFF "$@" >/dev/null
}

echo "== AddressSanitizer and UndefinedBehaviorSanitizer: every test"
configure build-asan address,undefined -DTESS_BUILD_FUZZERS=ON
cmake --build build-asan -j "$jobs"
# Mesa's OpenGL driver leaks by design and is unloaded before the leak check can
# name it, so whatever may open an OpenGL context runs without the leak check: the
# tests with OpenGL in their names, the cross-renderer comparisons, the renderer
# start-up and the whole-program runs.
gl='OpenGL|CrossRenderer|RendererStartup'
unchecked="$gl|^program\\."
export UBSAN_OPTIONS=print_stacktrace=1
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900 -E "$unchecked"
# TESS_SANITIZED: the playthrough compares the trace of its one-thread run and leaves
# the other runs, which change nothing in the world, to the normal build (see
# tests/programs/playthrough.sh).
TESS_SANITIZED=1 ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900 -R "$unchecked"

echo "== ThreadSanitizer: the tests of platform/ and kestrup/"
configure build-tsan thread -DTESS_BUILD_FUZZERS=OFF
cmake --build build-tsan -j "$jobs" --target test_platform test_kestrup
# Mesa's driver threads synchronise in ways ThreadSanitizer cannot follow, and
# start none of ours: the OpenGL tests stay out here too.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" --timeout 900 -L '^(platform|kestrup)$' -E "$gl"

echo "== Fuzzing: every harness for $seconds s"
TESS_FUZZ_BUILD=build-asan TESS_FUZZ_JOBS=$jobs bash fuzz/run.sh "$seconds"

#!/usr/bin/env bash
# Sets up, builds and then runs the game or the tests.
#   ./tess.sh run [game options]   install what is missing, build, make the sample data, play
#   ./tess.sh test                 install what is missing, build, run every test
#   ./tess.sh harden [SECONDS]     every test under the sanitizers, then each fuzz
#                                  harness for SECONDS (default 30): tests/harden.sh
set -euo pipefail
cd "$(dirname "$0")"

usage() {
  cat <<'EOF'
usage: ./tess.sh [run|test|harden] [ARGS...]
  run [game options]   install what is missing, build, make the sample data and play
                       (the default; options such as -c go to the game)
  test                 install what is missing, build and run every test
  harden [SECONDS]     every test under the sanitizers, then each fuzz harness for
                       SECONDS (default 30)
TESS_BUILD_DIR names the build folder (default build); TESS_CMAKE_ARGS adds CMake
arguments. Packages are installed with apt-get, through sudo when not root.
EOF
}

mode=${1:-run}
[ $# -gt 0 ] && shift
# Asked for help, or not understood: nothing is installed or built.
case "$mode" in
  run|test|harden) ;;
  -h|--help|help) usage; exit 0 ;;
  *) echo "tess.sh: unknown mode '$mode'" >&2; usage >&2; exit 2 ;;
esac

packages=(cmake ninja-build g++ pkg-config git
          libsdl2-dev libopenjp2-7-dev libopenjp2-tools libvorbis-dev libogg-dev
          libfreetype-dev fonts-dejavu-core
          libgtest-dev libbenchmark-dev libgl-dev libgl1-mesa-dri libegl1 libegl-mesa0 xvfb xauth xdotool x11-utils openbox python3 locales)
# The sanitizer builds and the fuzz harnesses are built with clang.
[ "$mode" = harden ] && packages+=(clang libclang-rt-14-dev)
# A player on a desktop gets what opens web pages ("-u", the launcher's two pages).
if [ "$mode" = run ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  packages+=(xdg-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # sudo resets the environment: the setting goes through env to reach apt-get.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

if [ "$mode" = harden ]; then
  exec bash tests/harden.sh "$@"
fi

build=${TESS_BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${TESS_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$jobs"

case "$mode" in
  run)
    exec "$build/bin/tessavar" "$@"
    ;;
  test)
    ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600
    ;;
esac

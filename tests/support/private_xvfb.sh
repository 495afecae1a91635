# Sourced by the program tests that need an X server. start_private_xvfb SCREEN
# [ARG...] starts an Xvfb of that screen (e.g. 1024x768x24), with any further
# arguments (say -fbdir DIR), on a display number the server picks itself, so runs side by side never share or fight over one, and returns once it
# accepts clients: DISPLAY is exported and XVFB_PID names the server. False when no
# server came up within 20 seconds.
start_private_xvfb() {
  local ready number=""
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" "${@:2}" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  XVFB_PID=$!
  # The number is written, with a newline, once the server is ready.
  for _ in $(seq 400); do
    if read -r number < "$ready" && [ -n "$number" ]; then break; fi
    number=""
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$ready"
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
}

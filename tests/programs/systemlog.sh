#!/usr/bin/env bash
# Start-up writes the version and a description of the machine to the console.
set -u
bin=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TESSAVAR_HOME=$home TESSAVAR_DIALOGS=${TESSAVAR_DIALOGS:-launcher:start}
fail() { echo "FAIL: $*"; exit 1; }

log=$(TESSAVAR_LOG_STDERR=1 TESSAVAR_FRAMES=1 "$bin/tessavar" 2>&1 >/dev/null) || fail "run failed: $log"
vendor=$(grep -m1 '^vendor_id' /proc/cpuinfo | sed 's/.*: //')
for line in "V1.5c" "Operating System Information :" "Core hardware configuration :" \
            "        CPU Ident = $vendor" "            TSC" "Multimedia :"; do
  echo "$log" | grep -qxF -- "$line" || fail "no line '$line' in: $log"
done
# The audio start-up that follows ends with a dash line of its own.
system=$(echo "$log" | sed '/^\(Caps:\|Audio:\)/,$d')
[ "$(echo "$system" | grep -cx -- '-\{75\}')" -eq 2 ] || fail "the log is not framed by two dash lines"
# The console reaches standard error without being asked, with the renderer that
# started; TESSAVAR_LOG_STDERR=0 keeps it quiet.
plain=$(env -u TESSAVAR_LOG_STDERR TESSAVAR_FRAMES=1 "$bin/tessavar" 2>&1) || fail "plain run failed"
echo "$plain" | grep -q "CPU Ident" || fail "the console is not on standard error by default: $plain"
echo "$plain" | grep -qx "Renderer: software" || fail "the renderer that started is not said: $plain"
quiet=$(TESSAVAR_LOG_STDERR=0 TESSAVAR_FRAMES=1 "$bin/tessavar" 2>&1) || fail "quiet run failed"
echo "$quiet" | grep -q "CPU Ident" && fail "TESSAVAR_LOG_STDERR=0 did not keep the console quiet"
echo "1 passed, 0 failed"

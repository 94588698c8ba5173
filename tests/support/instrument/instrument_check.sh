#!/usr/bin/env bash
# The scripted instrument against the port probe over socat pairs: both ends
# use the program's tty device, so this also shows the device working
# through a real pseudo-terminal pair.
#
# Usage: instrument_check.sh BIN_DIR   (the folder holding test_instrument and
# serial_probe). Exits 0 when every case passes, 77 when socat is missing.
set -u
bin=${1:?usage: instrument_check.sh BIN_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)
command -v socat >/dev/null || { echo "socat is not installed: skipped"; exit 77; }

work=$(mktemp -d)
instrument_pid=
cleanup() {
  [ -n "$instrument_pid" ] && kill "$instrument_pid" 2>/dev/null
  "$here/serial_pair.sh" stop "$work"
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {  # check NAME COMMAND...: runs the command, reports a failure
  local name=$1; shift
  if "$@" >"$work/out" 2>&1; then echo "ok   $name"; else
    echo "FAIL $name"; sed 's/^/     /' "$work/out"; failures=$((failures + 1)); fi
}
start() {  # start ARGS...: the instrument on ttyA1 in the background
  "$bin/test_instrument" "$A" "$@" & instrument_pid=$!
}
finish() {  # ends the background instrument
  kill "$instrument_pid" 2>/dev/null; wait "$instrument_pid" 2>/dev/null; instrument_pid=
}

read -r A B < <("$here/serial_pair.sh" "$work") || exit 1
[ -n "${B:-}" ] || { echo "no serial pair"; exit 1; }

# The instrument's port opens before the probe talks, so the probe waits for
# each answer with its time-out rather than the test sleeping.
start --rangefinder --values 12.5,13.0
check "rangefinder answers H" "$bin/serial_probe" "$B" --send H --expect H,12.5,M
check "rangefinder answers R with the next value" "$bin/serial_probe" "$B" --send R --expect H,13.0,M
check "the values cycle" "$bin/serial_probe" "$B" --send H --expect H,12.5,M
check "other requests get no answer" bash -c "! '$bin/serial_probe' '$B' --send X --timeout 300"
finish

start --echo --capture "$work/capture"
check "echo sends the line back" "$bin/serial_probe" "$B" --send "Plot 1 Tree 2" --expect "Plot 1 Tree 2"
finish
check "capture holds every byte received" bash -c "[ \"\$(od -c '$work/capture')\" = \"\$(printf 'Plot 1 Tree 2\r' | od -c)\" ]"

start --caliper --every 50 --values 7.25
check "caliper sends readings by itself" "$bin/serial_probe" "$B" --listen --expect 7.25
finish

# One-time output: the pair keeps what the instrument sent until it is read.
"$bin/serial_probe" "$B" --listen --timeout 0 >/dev/null 2>&1  # drain
"$bin/test_instrument" "$A" --long 1500 --burst 2 --values 9 --exit-after 300
long=$(printf 'ABCDEFGHIJKLMNOPQRSTUVWXYZ%.0s' $(seq 1 58) | head -c 1500)
check "one long line" "$bin/serial_probe" "$B" --listen --expect "$long"
check "burst line 1" "$bin/serial_probe" "$B" --listen --expect B,1,9
check "burst line 2" "$bin/serial_probe" "$B" --listen --expect B,2,9

"$bin/test_instrument" "$A" --garbage 500 --exit-after 300
check "garbage: 500 bytes with 0xFF and 0x00" bash -c "
  timeout 5 head -c 500 '$B' >'$work/garbage'
  [ \$(stat -c %s '$work/garbage') = 500 ] && od -An -tx1 '$work/garbage' | grep -q ff &&
  od -An -tx1 '$work/garbage' | grep -q 00"

check "a bad option is refused" bash -c "! '$bin/test_instrument' '$A' --every x 2>/dev/null"
check "a missing device does not open" bash -c "'$bin/test_instrument' '$work/none'; [ \$? = 2 ]"

[ "$failures" = 0 ] || { echo "$failures failed"; exit 1; }
echo "all passed"

#!/usr/bin/env bash
# The Windows serial device under Wine, over a COM port mapped to a
# pseudo-terminal.
#
# Usage: wine_serial_check.sh WIN64_BUILD_DIR [LINUX_BUILD_DIR]
#   WIN64_BUILD_DIR holds tests/serial_probe.exe; LINUX_BUILD_DIR (default
#   WIN64_BUILD_DIR/../linux) holds tests/test_instrument. Builds nothing.
#   Needs wine (64-bit) and socat.
#
# In a private Wine prefix (WIN64_BUILD_DIR/serial-check/prefix) it makes two
# socat pairs, maps COM5 and COM12 onto one end of each with
#   wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d <pty> /f
# and plays an echoing instrument on the other ends. serial_probe.exe opens
# COM5 by its name "COM5:" and COM12 by "\\.\COM12" through the program's
# device code, configures the line, raises DTR and RTS, writes "PING" CR and
# must read "PING" back.
#
# What Wine needs: Wine makes its COM devices (dosdevices/comN links) from
# the Ports key when its device manager starts, so after changing the key
# the wineserver is stopped (wineserver -k) and the next start picks the
# mapping up. Wine 8 over a pseudo-terminal: SetupComm is a stub that
# succeeds; GetCommState asks for the modem lines (TIOCMGET), which a
# pseudo-terminal lacks, warns and still succeeds; SetCommState,
# SetCommTimeouts, PurgeComm, ReadFile and WriteFile work. DTR and RTS have
# no lines to drive there; the device ignores their result (nothing depends
# on them). WINEDEBUG=trace+comm shows each call. Exits 0 when both ports answer, 77 when wine or socat is missing, 1
# with the probe's output otherwise; always stops the Wine and socat it started.
set -u
win=${1:?usage: wine_serial_check.sh WIN64_BUILD_DIR [LINUX_BUILD_DIR]}
win=$(cd "$win" && pwd)
linux=${2:-$win/../linux}
here=$(cd "$(dirname "$0")/.." && pwd)

note() { echo "wine_serial_check: $*"; }
fail() { echo "wine_serial_check: FAIL: $*" >&2; exit 1; }

wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; }
[ -n "$wine" ] || wine=$(command -v wine || true)
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || { [ -x /usr/lib/wine/wineserver ] && wineserver=/usr/lib/wine/wineserver; }
if [ -z "$wine" ] || [ -z "$wineserver" ] || ! command -v socat >/dev/null; then
  echo "wine or socat is not installed: skipped"; exit 77
fi
probe="$win/tests/serial_probe.exe"
instrument="$linux/tests/test_instrument"
[ -f "$probe" ] || fail "no $probe (build the win64 target serial_probe)"
[ -x "$instrument" ] || fail "no $instrument (build the linux target test_instrument)"

work="$win/serial-check"
mkdir -p "$work"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  "$here/support/serial_pair.sh" stop "$work"
  if [ -d "$WINEPREFIX" ]; then "$wineserver" -k >/dev/null 2>&1; fi
  return 0
}
trap cleanup EXIT

mapfile -t pairs < <("$here/support/serial_pair.sh" "$work" 2) || true
[ "${#pairs[@]}" = 2 ] || fail "no socat pairs"
read -r a5 b5 <<<"${pairs[0]}"
read -r a12 b12 <<<"${pairs[1]}"
# Wine opens the mapped path itself; give it the pseudo-terminal, not the link.
pty5=$(readlink -f "$a5")
pty12=$(readlink -f "$a12")

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  note "creating the Wine prefix $WINEPREFIX"
  timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed (see $work/wineboot.log)"
fi
timeout 300 "$wineserver" -w
for map in "COM5 $pty5" "COM12 $pty12"; do
  set -- $map
  timeout 60 "$wine" reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f \
    >"$work/reg.log" 2>&1 || fail "cannot map $1 (see $work/reg.log)"
done
# The device manager reads the Ports key when it starts.
"$wineserver" -k >/dev/null 2>&1
timeout 60 "$wineserver" -w

# The instruments see the pairs hang up when they are stopped: logs, not noise.
"$instrument" "$b5" --echo 2>"$work/instrument5.log" & pids+=($!)
"$instrument" "$b12" --echo 2>"$work/instrument12.log" & pids+=($!)

status=0
for port in 5 12; do
  if timeout 120 "$wine" "$probe" "$port" --send PING --expect PING >"$work/probe$port.log" 2>&1; then
    note "COM$port: ok"
  else
    status=1
    echo "wine_serial_check: COM$port failed:" >&2
    sed 's/^/  /' "$work/probe$port.log" >&2
  fi
done
[ "$status" = 0 ] && note "passed"
exit "$status"

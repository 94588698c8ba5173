#!/usr/bin/env bash
# GUI smoke test of "Tallyfin PC.exe" under Wine on a private X server.
#
# Usage: gui_smoke.sh BUILD_DIR
#   BUILD_DIR is the win64 build folder holding "Tallyfin PC.exe" (directly or
#   in frontends/win32). Needs wine (64-bit), Xvfb, xdotool, ImageMagick and
#   x11-utils.
#
# In a fresh Wine prefix under BUILD_DIR it installs the program as
# C:\Orvandat\Tallyfin PC\Tallyfin PC.exe inside a 1024x768 Wine virtual
# desktop, starts it, checks that a second start ends at once with status 0
# and no second window, checks the registry values and the settings file it
# writes, takes a screenshot of the main window with its menu bar, command
# bar and status area (BUILD_DIR/gui_smoke.png), opens the Data choice dialog
# with Alt+D and closes it with Escape (BUILD_DIR/gui_smoke_data.png), opens
# the keystroke help in the scroll window through Alt+H and Enter and closes
# it with Escape (BUILD_DIR/gui_smoke_help.png), answers the exit prompt and
# waits for the program to end. Last it runs the Windows front-end tests
# (BUILD_DIR/tests/win32_frontend_tests.exe, when built) on the same X server,
# where they can make windows. Exits non-zero with a message on the first
# failure; always stops Wine and the X server it started.
set -u

fail() {
  echo "gui_smoke: FAIL: $*" >&2
  exit 1
}
note() { echo "gui_smoke: $*"; }

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || fail "no build folder $1"

exe="$build/Tallyfin PC.exe"
[ -f "$exe" ] || exe="$build/frontends/win32/Tallyfin PC.exe"
[ -f "$exe" ] || fail "no \"Tallyfin PC.exe\" in $build or $build/frontends/win32"

for tool in Xvfb xdotool xdpyinfo import convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; }
[ -n "$wine" ] || wine=$(command -v wine || true)
[ -n "$wine" ] || fail "wine is not installed"
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || { [ -x /usr/lib/wine/wineserver ] && wineserver=/usr/lib/wine/wineserver; }
[ -n "$wineserver" ] || fail "wineserver is not installed"

work="$build/gui-smoke"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid" 2>/dev/null; fi
  if [ -d "$WINEPREFIX" ]; then "$wineserver" -k >/dev/null 2>&1; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls "$@" every half second until it succeeds; false after $timeout s.
wait_for() {
  local timeout=$1
  shift
  local until=$((SECONDS + timeout))
  while ! "$@"; do
    [ $SECONDS -lt $until ] || return 1
    sleep 0.5
  done
}

# --- X server on a free display -------------------------------------------
start_xvfb() {
  local n
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    if wait_for 10 xdpyinfo >/dev/null 2>&1; then return 0; fi
    # Lost a race for the display, or the server would not start: next one.
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

rm -rf "$work"
mkdir -p "$work" || fail "cannot create $work"
start_xvfb || fail "no X server could be started (see $work/xvfb.log)"
note "X server on $DISPLAY"

# --- Wine prefix with a virtual desktop -------------------------------------
note "creating the Wine prefix $WINEPREFIX"
timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed (see $work/wineboot.log)"
timeout 300 "$wineserver" -w || fail "wineboot did not finish"
# Every window of the prefix goes onto one 1024x768 desktop, so the
# screenshot shows what Windows would.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d tallyfin /f >/dev/null 2>&1 ||
  fail "cannot set the virtual desktop"
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v tallyfin /d 1024x768 /f >/dev/null 2>&1 ||
  fail "cannot set the virtual desktop size"
"$wine" explorer /desktop=tallyfin,1024x768 >"$work/explorer.log" 2>&1 &
desktop_up() { xdotool search --name 'Wine desktop' >/dev/null 2>&1; }
wait_for 60 desktop_up || fail "the Wine virtual desktop did not appear"

install_dir="$WINEPREFIX/drive_c/Orvandat/Tallyfin PC"
if ! mkdir -p "$install_dir" || ! cp "$exe" "$install_dir/Tallyfin PC.exe"; then
  fail "cannot install the program"
fi
win_exe='C:\Orvandat\Tallyfin PC\Tallyfin PC.exe'

main_windows() { xdotool search --name '^Tallyfin PC$' 2>/dev/null; }
program_windows() { xdotool search --onlyvisible --class 'tallyfin pc.exe' 2>/dev/null; }

# --- First start -------------------------------------------------------------
note "starting $win_exe"
"$wine" "$win_exe" >"$work/run1.log" 2>&1 &
app_pid=$!
window_up() {
  kill -0 "$app_pid" 2>/dev/null || return 0  # ended: stop waiting, reported below
  [ -n "$(main_windows)" ]
}
wait_for 90 window_up || fail "no \"Tallyfin PC\" window within 90 s"
if ! kill -0 "$app_pid" 2>/dev/null; then
  wait "$app_pid"
  fail "the program ended at start-up with status $? (see $work/run1.log)"
fi
main_id=$(main_windows | head -1)
note "main window up (X window $main_id)"

# --- Second start: refused, silently -----------------------------------------
started=$(date +%s%N)
timeout 60 "$wine" "$win_exe" >"$work/run2.log" 2>&1
rc=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ $rc -eq 0 ] || fail "the second start ended with status $rc (expected 0)"
[ $elapsed_ms -lt 20000 ] || fail "the second start took $elapsed_ms ms"
count=$(main_windows | wc -l)
[ "$count" -eq 1 ] || fail "$count \"Tallyfin PC\" windows after the second start (expected 1)"
kill -0 "$app_pid" 2>/dev/null || fail "the first instance ended when the second started"
note "second start refused in $elapsed_ms ms"

# --- Registry values -----------------------------------------------------------
reg=$("$wine" reg query 'HKCU\Software\Tallyfin PC' 2>/dev/null | tr -d '\r')
[ -n "$reg" ] || fail "no registry key HKCU\\Software\\Tallyfin PC"
# reg_value NAME: the REG_SZ data of NAME; status 1 when NAME is missing.
reg_value() {
  printf '%s\n' "$reg" | awk -v name="$1" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name "    REG_SZ") == 1 {
      print substr(line, length(name "    REG_SZ    ") + 1); found = 1; exit
    }
    END { exit !found }'
}
expect_value() {
  local got
  got=$(reg_value "$1") || fail "registry value \"$1\" is missing"
  [ "$got" = "$2" ] || fail "registry value \"$1\" is \"$got\" (expected \"$2\")"
}
expect_value 'PC InstallDir' "C:\\"
expect_value 'PC AppPath' 'C:\Orvandat\Tallyfin PC\Apps'
expect_value 'PC DataPath' 'C:\Orvandat\Tallyfin PC\Data'
expect_value 'Software Version' '4.13.05'
reg_value 'CurAppName' >/dev/null || fail "registry value \"CurAppName\" is missing"
note "registry values present"

# --- Settings file in the install root ------------------------------------------
dft="$WINEPREFIX/drive_c/tfp_mobilePC.dft"
[ -f "$dft" ] || fail "no settings file C:\\tfp_mobilePC.dft"
size=$(stat -c %s "$dft")
[ "$size" -eq 9560 ] || fail "C:\\tfp_mobilePC.dft is $size bytes (expected 9560)"
note "settings file C:\\tfp_mobilePC.dft is 9560 bytes"

# --- Screenshot -----------------------------------------------------------------
shot="$build/gui_smoke.png"
import -window root "$shot" || fail "cannot take the screenshot"
# The main window covers the desktop; its ground below the status lines is green.
pixel=$(convert "$shot" -format '%[fx:int(255*p{512,700}.r)],%[fx:int(255*p{512,700}.g)],%[fx:int(255*p{512,700}.b)]' info: 2>/dev/null)
[ "$pixel" = "0,160,0" ] || fail "the main window is not green at (512,700): $pixel (see $shot)"
note "screenshot $shot"

# --- Command bar and status area ---------------------------------------------------
# share COLOUR X Y W H: the per-cent of the area's pixels that are exactly COLOUR.
share() {
  convert "$shot" -crop "$4x$5+$2+$3" +repage -fill black +opaque "$1" -fill white -opaque "$1" \
    -format '%[fx:int(100*mean)]' info: 2>/dev/null
}
# The six pictures cover most of the band of the buttons (125 pixels square,
# 40 apart, half a button below the menu bar) ...
green=$(share 'rgb(0,160,0)' 0 110 1024 110)
[ -n "$green" ] && [ "$green" -le 45 ] || fail "the command bar does not show its six pictures ($green% green; see $shot)"
# ... and the status lines below them are white text on the green.
white=$(share 'rgb(255,255,255)' 0 240 1024 200)
[ -n "$white" ] && [ "$white" -ge 2 ] || fail "no status lines below the command bar ($white% white; see $shot)"
note "command bar and status area drawn ($green% green in the button band, $white% white below)"

desktop=$(xdotool search --name 'Wine desktop' | head -1)
# Makes the main window the active one, whatever happened to the focus since.
activate_main() {
  xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
  # A click on the caption.
  xdotool mousemove --window "$main_id" 200 10 click 1
}
# window_named REGEX: the X windows whose name matches (one a line).
window_named() { xdotool search --name "$1" 2>/dev/null; }

# --- Alt+D: the Data choice dialog; Escape closes it ----------------------------------
activate_main
xdotool key alt+d
data_up() { [ -n "$(window_named '^Data$')" ]; }
wait_for 30 data_up || fail "Alt+D did not bring up the Data choice dialog"
sleep 1  # let it paint before the picture
import -window root "$build/gui_smoke_data.png" || fail "cannot take the screenshot of the Data dialog"
xdotool key Escape
data_gone() { ! data_up; }
wait_for 30 data_gone || fail "Escape did not close the Data choice dialog"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the Data choice dialog"
note "Alt+D opened the Data choice dialog, Escape closed it ($build/gui_smoke_data.png)"

# --- Alt+H, Enter: the keystroke help in the scroll window; Escape closes it -------------
activate_main
xdotool key alt+h
helps_up() { [ -n "$(window_named '^Helps$')" ]; }
wait_for 30 helps_up || fail "Alt+H did not bring up the Helps choice dialog"
# The first button, "Virtual Display Keystrokes", has the focus.
xdotool key Return
help_up() { [ -n "$(window_named 'KEYSTROKE Help for Virtual Display')" ]; }
wait_for 30 help_up || fail "the keystroke help did not open in the scroll window"
sleep 1
import -window root "$build/gui_smoke_help.png" || fail "cannot take the screenshot of the scroll window"
xdotool key Escape
help_gone() { ! help_up; }
wait_for 30 help_gone || fail "Escape did not close the scroll window"
note "the keystroke help opened in the scroll window, Escape closed it ($build/gui_smoke_help.png)"

# --- Exit through Alt+E and the exit prompt -----------------------------------------
activate_main
xdotool key alt+e
prompt_up() { [ "$(program_windows | wc -l)" -ge 2 ]; }
wait_for 30 prompt_up || fail "Alt+E did not bring up the exit prompt"
xdotool key Return
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 30 ended || fail "the program did not end after the exit prompt was answered Yes"
wait "$app_pid"
rc=$?
app_pid=""
[ $rc -eq 0 ] || fail "the program ended with status $rc"
note "program closed with status 0"

# --- The Windows front-end tests, where windows can be made -------------------------------
unit="$build/tests/win32_frontend_tests.exe"
if [ -f "$unit" ]; then
  note "running $(basename "$unit")"
  timeout 600 "$wine" "$unit" >"$work/win32_tests.log" 2>&1
  rc=$?
  [ $rc -eq 0 ] || fail "the Windows front-end tests failed with status $rc (see $work/win32_tests.log)"
  ! grep -q '^\[  SKIPPED \]' "$work/win32_tests.log" ||
    fail "Windows front-end tests were skipped on an X server (see $work/win32_tests.log)"
  note "$(grep -E '^\[  PASSED  \]' "$work/win32_tests.log" | tr -s ' ')"
else
  note "no $unit: the Windows front-end tests were not built"
fi
note "PASS"

#!/usr/bin/env bash
# GUI smoke test of "Tallyfin PC.exe" under Wine on a private X server.
#
# Usage: gui_smoke.sh BUILD_DIR [PACKAGE]
#   BUILD_DIR is the win64 build folder holding "Tallyfin PC.exe" (directly or
#   in frontends/win32). PACKAGE is the demo application package Cruise.tfa;
#   by default the native build's (BUILD_DIR/../linux/examples/Cruise.tfa),
#   else it is built with BUILD_DIR/../linux/tools/tfa-build/tfa-build. Needs
#   wine (64-bit), Xvfb, xdotool, ImageMagick and x11-utils.
#
# In a fresh Wine prefix under BUILD_DIR it installs the program as
# C:\Orvandat\Tallyfin PC\Tallyfin PC.exe (with the installer named by
# TALLYFIN_SETUP, run with /S, when that is set) inside a 1024x768 Wine virtual
# desktop, with two folders acting as removable storage (C:\spare, empty, and
# C:\card holding "Tallyfin Mobile\Apps\Cruise.tfa") and the unit named ABC.
# It starts the program, checks that a second start ends at once with status 0
# and no second window, checks the registry values and the settings file it
# writes, takes a screenshot of the main window with its menu bar, command
# bar and status area (BUILD_DIR/gui_smoke.png), opens the Data choice dialog
# with Alt+D and closes it with Escape (BUILD_DIR/gui_smoke_data.png), opens
# the keystroke help in the scroll window through Alt+H and Enter and closes
# it with Escape (BUILD_DIR/gui_smoke_help.png).
# Applications: Alt+A, Load From Removable Storage; in its dialog Enter on the
# empty drive says "No App Selected", Down picks the card and Enter loads
# Cruise.tfa (BUILD_DIR/gui_smoke_removable.png); Alt+A, Select Application,
# Enter takes Cruise: "CurAppName" reads Cruise
# (BUILD_DIR/gui_smoke_app.png). It answers the exit prompt and starts the
# program again: Cruise is still current (BUILD_DIR/gui_smoke_restart.png).
# Data: Alt+D, Collect Data, the name North Block for the new dataset: the
# edit window opens over the main window with the dataset in its title and
# level 1 of the cruise drawn in its colours (BUILD_DIR/gui_smoke_new_dataset.png,
# gui_smoke_edit.png; the font question answered No); the data folder holds
# the dataset's level-1 table and version table; F1 shows and hides the
# keystroke help (gui_smoke_edit_help.png), Ctrl+K opens "Action Key Events"
# (gui_smoke_action_keys.png); three plot lines are keyed, the third's crew
# picked from its list after ZZ is refused and its slope 70 taken at the
# warning (gui_smoke_keyed.png), and Escape goes back; Collect Data again and
# Enter on the dataset in the list (gui_smoke_datasets.png) opens it again on
# plot 3, PageUp twice shows plot 1 (gui_smoke_reopened.png); dbfread reads
# the keyed values.
# The whole cruise, with the terminal smoke's keys in its order: plot 1's
# timer runs two seconds (Ctrl+T twice); a fourth plot refuses plot number 2
# (gui_smoke_unique.png) and is deleted again (F10, "Delete Current Line?" and
# the child data question answered y); F5 from plot 1 picks TREES in "Select
# Child" (gui_smoke_child_list.png) and three trees are keyed
# (gui_smoke_trees.png), two logs under tree 2 (gui_smoke_logs.png) and one
# under tree 1 (F5, F4 back); F9 inserts a tree before tree 2
# (gui_smoke_insert.png, gui_smoke_inserted.png): tree 2's logs table becomes
# tree 3's; F10 deletes that tree and its logs table
# (gui_smoke_delete_tree_children.png); F3 finds the hemlock by species
# (gui_smoke_search.png, gui_smoke_found.png); F4 stays while a fourth tree
# lacks its DBH (gui_smoke_no_dbh.png); plot 2 gets a tree and, through
# Alt+F5, its regeneration (gui_smoke_regen.png). Opened again the trees are
# there (gui_smoke_trees_again.png); dbfread and ogrinfo read every table of
# the dataset under its name. Every height comes from a scripted rangefinder
# on COM 3 (Ctrl+P), which Wine maps onto a socat cable
# (HKLM\Software\Wine\Ports); F7's PRINT.RPF prints plot 1's trees on COM 4,
# whose other end must receive them byte for byte (gui_smoke_print_chosen.png,
# gui_smoke_printed.png). The questions in message boxes are waited for
# by window name; the pop-ups drawn in the edit window are given time, and
# screenshots show them; which screen is up is told by its colours.
# Dataset exchange (each dialog in a BUILD_DIR/gui_smoke_*.png; the files
# read after each step by exchange_tables.py, which dumps the raw tables with
# dbfread first): Bundle Dataset on "01 [North Block]" leaves no raw table and
# bundles holding every record; Extract Dataset brings back every table
# record for record; bundled again, Transfer Data, Removable Storage: Backup
# puts the bundles on the card (Tallyfin Mobile\Data\Cruise) byte for byte,
# Move with Archive Before Move takes them off the data folder onto the card
# and into Archives\<today>; Copy From Removable Storage brings them back;
# copied into the pending-data folder they are posted through Pending
# Datasets over the present ones (both overwrite questions Yes) and the
# pending folder goes; extracted again, the Data menu's Erase NonBundled
# Data, Erase All Nonbundled (two questions Yes) erases the raw tables and
# spares bundles beside them; Apps, Erase Application on Cruise (both
# questions Yes) removes its data folder, control folder and package,
# empties "CurAppName" and the status area names no application. Exit.
# Last it runs the Windows front-end tests
# (BUILD_DIR/tests/win32_frontend_tests.exe, when built) on the same X server,
# where they can make windows. Exits non-zero with a message on the first
# failure; always stops Wine and the X server it started.
set -u
# The check of the tables the whole-cruise stage leaves.
source "$(dirname "$0")/cruise_tables.sh" || exit 1
# Wine, the X server and the virtual desktop.
source "$(dirname "$0")/wine_desktop.sh" || exit 1

fail() {
  echo "gui_smoke: FAIL: $*" >&2
  # What the screen showed, for the one who reads the failure.
  if [ -n "${xvfb_pid:-}" ] && import -window root "$work/failure.png" 2>/dev/null; then
    echo "gui_smoke: the screen at the failure: $work/failure.png" >&2
  fi
  exit 1
}
note() { echo "gui_smoke: $*"; }

[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR [PACKAGE]" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || fail "no build folder $1"
package=${2:-}

exe="$build/Tallyfin PC.exe"
[ -f "$exe" ] || exe="$build/frontends/win32/Tallyfin PC.exe"
[ -f "$exe" ] || fail "no \"Tallyfin PC.exe\" in $build or $build/frontends/win32"

for tool in Xvfb xdotool xdpyinfo import convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
find_wine

work="$build/gui-smoke"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=""
app_pid=""
instrument_pids=()
serial=""
cleanup() {
  ((${#instrument_pids[@]})) && kill "${instrument_pids[@]}" 2>/dev/null
  [ -n "${host_pid:-}" ] && kill "$host_pid" 2>/dev/null
  [ -n "$serial" ] && bash "$(dirname "$0")/../support/serial_pair.sh" stop "$serial"
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid" 2>/dev/null; fi
  stop_wine_desktop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$work"
mkdir -p "$work" || fail "cannot create $work"

# --- The demo application package --------------------------------------------------
if [ -z "$package" ]; then
  package="$build/../linux/examples/Cruise.tfa"
  if [ ! -f "$package" ]; then
    tool="$build/../linux/tools/tfa-build/tfa-build"
    source_dir=$(cd "$(dirname "$0")/../.." && pwd)/examples/cruise
    [ -x "$tool" ] || fail "no Cruise.tfa and no tfa-build in $build/../linux (build the linux preset first)"
    package="$work/Cruise.tfa"
    SOURCE_DATE_EPOCH=1714521600 ASAN_OPTIONS=detect_leaks=0 "$tool" build "$source_dir/cruise.json" \
      --out "$work/Cruise" --package "$package" >"$work/tfa-build.log" 2>&1 ||
      fail "tfa-build could not build Cruise.tfa (see $work/tfa-build.log)"
  fi
fi
[ -f "$package" ] || fail "no application package $package"

start_xvfb || fail "no X server could be started (see $work/xvfb.log)"
note "X server on $DISPLAY"

# --- Wine prefix with a virtual desktop -------------------------------------
boot_wine_prefix
# Two serial cables (socat pseudo-terminal pairs) mapped onto COM 3 and COM 4:
# the demo's rangefinder answers on COM 3 with the heights the trees are
# given below, in order; the printer's end of COM 4 captures what it gets.
instrument="$build/../linux/tests/test_instrument"
[ -x "$instrument" ] || fail "no scripted instrument at $instrument (build the linux preset first)"
serial="$work/serial"
printed="$work/printed.txt"
serial_pair() { bash "$(dirname "$0")/../support/serial_pair.sh" "$@"; }
mapfile -t cables < <(serial_pair "$serial" 3)
[ "${#cables[@]}" = 3 ] || fail "no serial cables"
"$instrument" "$serial/ttyA1" --rangefinder --values 120,100,100,110,130,15 >"$work/rangefinder.log" 2>&1 &
instrument_pids+=($!)
"$instrument" "$serial/ttyA2" --capture "$printed" >"$work/printer.log" 2>&1 &
instrument_pids+=($!)
# Wine opens the mapped path itself: the pseudo-terminal, not socat's link.
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM3 /t REG_SZ /d "$(readlink -f "$serial/ttyB1")" /f >/dev/null 2>&1 &&
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM4 /t REG_SZ /d "$(readlink -f "$serial/ttyB2")" /f >/dev/null 2>&1 &&
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ /d "$(readlink -f "$serial/ttyB3")" /f >/dev/null 2>&1 ||
  fail "cannot map COM 2, COM 3 and COM 4"
# Wine makes its COM devices from the Ports key when it starts.
"$wineserver" -k >/dev/null 2>&1
timeout 60 "$wineserver" -w
start_wine_desktop

install_dir="$WINEPREFIX/drive_c/Orvandat/Tallyfin PC"
if [ -n "${TALLYFIN_SETUP:-}" ]; then
  # The installer, run silently, puts the program there.
  timeout 300 "$wine" "$TALLYFIN_SETUP" /S >"$work/setup.log" 2>&1 && [ -f "$install_dir/Tallyfin PC.exe" ] ||
    fail "$TALLYFIN_SETUP /S did not install the program (see $work/setup.log)"
elif ! mkdir -p "$install_dir" || ! cp "$exe" "$install_dir/Tallyfin PC.exe"; then
  fail "cannot install the program"
fi
win_exe='C:\Orvandat\Tallyfin PC\Tallyfin PC.exe'

# Two folders act as removable storage: an empty one first, then the card
# with the demo application. The unit is named ABC, so the data file names
# carry the unit code ABC___.
card_apps="$WINEPREFIX/drive_c/card/Tallyfin Mobile/Apps"
if ! mkdir -p "$WINEPREFIX/drive_c/spare" "$card_apps" || ! cp "$package" "$card_apps/Cruise.tfa"; then
  fail "cannot prepare the removable storage folders"
fi
"$wine" reg add 'HKCU\Software\Tallyfin PC' /v 'Removable Storage Folders' /d 'C:\spare;C:\card' /f \
  >/dev/null 2>&1 || fail "cannot set \"Removable Storage Folders\""
"$wine" reg add 'HKCU\Software\Tallyfin PC' /v 'Unit ID' /d ABC /f >/dev/null 2>&1 ||
  fail "cannot set \"Unit ID\""

main_windows() { xdotool search --name '^Tallyfin PC$' 2>/dev/null; }
program_windows() { xdotool search --onlyvisible --class 'tallyfin pc.exe' 2>/dev/null; }
# window_named REGEX: the X windows whose name matches (one a line).
window_named() { xdotool search --name "$1" 2>/dev/null; }
# gone REGEX: no window's name matches.
gone() { [ -z "$(window_named "$1")" ]; }
# shown REGEX: some window's name matches.
shown() { [ -n "$(window_named "$1")" ]; }
ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# start_program LOG: starts the program and waits for its main window.
start_program() {
  note "starting $win_exe"
  "$wine" "$win_exe" >"$work/$1.log" 2>&1 &
  app_pid=$!
  window_up() {
    kill -0 "$app_pid" 2>/dev/null || return 0  # ended: stop waiting, reported below
    [ -n "$(main_windows)" ]
  }
  wait_for 90 window_up || fail "no \"Tallyfin PC\" window within 90 s"
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid"
    fail "the program ended at start-up with status $? (see $work/$1.log)"
  fi
  main_id=$(main_windows | head -1)
  note "main window up (X window $main_id)"
}

# --- First start -------------------------------------------------------------
start_program run1

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
reg=""
read_reg() { reg=$("$wine" reg query 'HKCU\Software\Tallyfin PC' 2>/dev/null | tr -d '\r'); }
# reg_value NAME: the REG_SZ data of NAME in the last read; status 1 when NAME is missing.
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
read_reg
[ -n "$reg" ] || fail "no registry key HKCU\\Software\\Tallyfin PC"
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
# pixel FILE X Y: "r,g,b" of one pixel of a screenshot.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null
}
shot="$build/gui_smoke.png"
import -window root "$shot" || fail "cannot take the screenshot"
# The main window covers the desktop; its ground below the status lines is green.
got=$(pixel "$shot" 512 700)
[ "$got" = "0,160,0" ] || fail "the main window is not green at (512,700): $got (see $shot)"
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
# screenshot NAME: BUILD_DIR/NAME once the last change has been painted.
screenshot() {
  sleep 1
  import -window root "$build/$1" || fail "cannot take the screenshot $1"
}

# choose_bar ALT_KEY CAPTION: opens a choice dialog of the command bar.
choose_bar() {
  activate_main
  xdotool key "$1"
  wait_for 30 shown "^$2\$" || fail "$1 did not bring up the $2 choice dialog"
}

# --- Alt+D: the Data choice dialog; Escape closes it ----------------------------------
choose_bar alt+d Data
screenshot gui_smoke_data.png
xdotool key Escape
wait_for 30 gone '^Data$' || fail "Escape did not close the Data choice dialog"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the Data choice dialog"
note "Alt+D opened the Data choice dialog, Escape closed it ($build/gui_smoke_data.png)"

# --- Alt+H, Enter: the keystroke help in the scroll window; Escape closes it -------------
choose_bar alt+h Helps
# The first button, "Virtual Display Keystrokes", has the focus.
xdotool key Return
help='KEYSTROKE Help for Virtual Display'
wait_for 30 shown "$help" || fail "the keystroke help did not open in the scroll window"
screenshot gui_smoke_help.png
xdotool key Escape
wait_for 30 gone "$help" || fail "Escape did not close the scroll window"
note "the keystroke help opened in the scroll window, Escape closed it ($build/gui_smoke_help.png)"

# --- Alt+A, Load From Removable Storage: Cruise.tfa from the card ---------------------------
choose_bar alt+a Apps
# Select Application has the focus; three tabs (Erase Application,
# Application Version) reach Load From Removable Storage.
xdotool key Tab Tab Tab Return
removable='^Load From Removable Storage$'
wait_for 30 shown "$removable" || fail "the Load From Removable Storage dialog did not open"
# The drive list has the focus on the first drive, the empty folder.
xdotool key Return
wait_for 30 shown '^Error$' || fail "Enter on the empty drive did not say \"No App Selected\""
xdotool key Return
wait_for 30 gone '^Error$' || fail "the \"No App Selected\" box did not close"
# Down takes the card: its package list shows Cruise.tfa, chosen.
xdotool key Down
screenshot gui_smoke_removable.png
xdotool key Return
wait_for 30 shown '^Load App!$' || fail "loading Cruise.tfa did not succeed (see $build/gui_smoke_removable.png)"
xdotool key Return
wait_for 30 gone '^Load App!$' || fail "the \"Load Application Succeeded!!\" box did not close"
cmp -s "$package" "$install_dir/Apps/Cruise.tfa" || fail "Apps\\Cruise.tfa is not the package from the card"
xdotool key Escape
wait_for 30 gone "$removable" || fail "Escape did not close the Load From Removable Storage dialog"
note "Cruise.tfa loaded from removable storage ($build/gui_smoke_removable.png)"

# --- Alt+A, Select Application: Cruise ------------------------------------------------------
choose_bar alt+a Apps
xdotool key Return
wait_for 30 shown '^Select Application$' || fail "the application list did not open"
# Cruise.tfa, the only application, is chosen.
xdotool key Return
wait_for 30 gone '^Select Application$' || fail "Enter did not take the application"
cruise_current() { read_reg; [ "$(reg_value CurAppName)" = Cruise ]; }
wait_for 30 cruise_current || fail "\"CurAppName\" is \"$(reg_value CurAppName)\" after selecting Cruise"
[ -f "$install_dir/Apps/Cruise/app.ctl" ] || fail "Cruise was not extracted into Apps\\Cruise"
screenshot gui_smoke_app.png
note "Cruise selected: \"CurAppName\" is Cruise ($build/gui_smoke_app.png)"

# --- Exit through Alt+E and the exit prompt -----------------------------------------
exit_program() {
  activate_main
  xdotool key alt+e
  prompt_up() { [ "$(program_windows | wc -l)" -ge 2 ]; }
  wait_for 30 prompt_up || fail "Alt+E did not bring up the exit prompt"
  xdotool key Return
  wait_for 30 ended || fail "the program did not end after the exit prompt was answered Yes"
  wait "$app_pid"
  local rc=$?
  app_pid=""
  [ $rc -eq 0 ] || fail "the program ended with status $rc"
  note "program closed with status 0"
}
exit_program

# --- A restart keeps Cruise -------------------------------------------------------------
start_program run3
read_reg
expect_value CurAppName Cruise
screenshot gui_smoke_restart.png
note "after a restart Cruise is still current ($build/gui_smoke_restart.png)"

# --- Alt+D, Collect Data: a new dataset North Block opens the edit window ---------------
edit_title='TFMobile   ~App"Cruise"  ~Dataset"North Block"'
edit_windows() { xdotool search --name 'Dataset"North Block"' 2>/dev/null; }
edit_shown() { [ -n "$(edit_windows)" ]; }
edit_gone() { [ -z "$(edit_windows)" ]; }
# Fitting the font to the window may first report a grid option it has to
# drop ("Font Size Problem", OK) and then ask whether to reformat the screens
# ("Font Size Error"): answered No, the designed layout stays.
font_box() { shown '^Font Size Problem$' || shown '^Font Size Error$'; }
answer_font_question() {
  local i
  for i in 1 2 3; do
    wait_for 8 font_box || return 0
    if shown '^Font Size Problem$'; then
      xdotool key Return
      wait_for 10 gone '^Font Size Problem$' || fail "the font message did not close"
    else
      xdotool key n
      wait_for 10 gone '^Font Size Error$' || fail "the font question did not close"
    fi
  done
}
# colour_measure PICTURE R,G,B GEOMETRY FORMAT: FORMAT measured on the area
# with the colour's pixels white and all others black. The colour is marked
# first, as it may be black itself.
colour_measure() {
  convert "$1" -crop "$3" +repage -fill 'rgb(1,2,3)' -opaque "rgb($2)" -fill black +opaque 'rgb(1,2,3)' \
    -fill white -opaque 'rgb(1,2,3)' -format "$4" info: 2>/dev/null
}
# count_colour PICTURE R,G,B: how many pixels of the edit window's area have the colour.
count_colour() { colour_measure "$1" "$2" 1000x700+10+30 '%[fx:int(mean*w*h)]'; }
# colour_share PICTURE R,G,B GEOMETRY: the per-cent of the area's pixels that have the colour.
colour_share() { colour_measure "$1" "$2" "$3" '%[fx:int(100*mean)]'; }
# expect_edit_window PICTURE: the edit window is up with its title, drawing
# level 1 of the cruise in its colours (BUILD_DIR/PICTURE).
expect_edit_window() {
  answer_font_question
  wait_for 30 edit_shown || fail "the edit window did not open"
  local id name got
  id=$(edit_windows | head -1)
  name=$(xdotool getwindowname "$id")
  [ "$name" = "$edit_title" ] || fail "the edit window's title is '$name' (expected '$edit_title')"
  screenshot "$1"
  got=$(pixel "$build/$1" 512 700)
  [ "$got" != "0,160,0" ] || fail "the edit window does not cover the main window (see $build/$1)"
  # The titles in the Prompts colours (black on LtGray in a new settings file),
  # real text on them: both colours present in quantity.
  local gray black
  gray=$(count_colour "$build/$1" 224,224,224)
  black=$(count_colour "$build/$1" 0,0,0)
  [ "${gray:-0}" -gt 2000 ] || fail "the edit window shows no LtGray titles ($gray pixels; see $build/$1)"
  [ "${black:-0}" -gt 500 ] || fail "the edit window shows no black text ($black pixels; see $build/$1)"
}
# Collect Data on North Block (the first dataset): the edit window opens.
open_north_block() {
  choose_bar alt+d Data
  xdotool key Return
  wait_for 30 shown '^Select Dataset$' || fail "Collect Data did not offer the dataset list"
  xdotool key Return
  answer_font_question
  wait_for 30 edit_shown || fail "the edit window did not open"
}
leave_edit_window() {
  xdotool key Escape
  wait_for 30 edit_gone || fail "Escape did not close the edit window"
  sleep 1
  import -window root "$work/after_edit.png" || fail "cannot take a screenshot"
  local got
  got=$(pixel "$work/after_edit.png" 512 700)
  [ "$got" = "0,160,0" ] || fail "the main window did not come back after the edit window: $got (see $work/after_edit.png)"
}
# key_plot NUMBER CREW NOTES: one plot line, a key at a time as a crew types:
# plot, date and time (full: they move on), crew (full), stand, slope, aspect
# (full), three display columns, notes.
key_plot() {
  xdotool type --delay 120 "$1"; xdotool key --delay 120 Return
  xdotool type --delay 120 "050124083000$2N12"; xdotool key --delay 120 Return
  xdotool type --delay 120 35; xdotool key --delay 120 Return
  xdotool type --delay 120 180; xdotool key --delay 120 Return Return Return
  xdotool type --delay 120 "$3"; xdotool key --delay 120 Return
}

choose_bar alt+d Data
# Collect Data, the first button, has the focus.
xdotool key Return
dataset_dialog() { shown '^Create New Dataset$' || shown '^Select Dataset$'; }
wait_for 30 dataset_dialog || fail "Collect Data did not bring up a dataset dialog"
# Without datasets the create dialog comes at once; else New opens it.
if shown '^Select Dataset$'; then xdotool key alt+n; fi
wait_for 30 shown '^Create New Dataset$' || fail "the Create New Dataset dialog did not open"
xdotool type --delay 40 'North Block'
screenshot gui_smoke_new_dataset.png
xdotool key Return
expect_edit_window gui_smoke_edit.png
data_dir="$install_dir/Data/Cruise"
plots="$data_dir/01 1A____[North Block]ABC___~~PLOTS.dbf"
for f in '01 1A____[North Block]ABC___~~PLOTS.dbf' '01 1A____[North Block]ABC___#$$DataAppVer.dbf'; do
  [ -f "$data_dir/$f" ] || fail "no \"$f\" in Data\\Cruise (found: $(ls "$data_dir" 2>/dev/null | tr '\n' ' '))"
done
note "dataset North Block made; its edit window shows level 1 ($build/gui_smoke_edit.png)"

# F1 on the keyboard shows the keystroke help in the scroll window, a second F1 hides it.
line_help='KEYSTROKE Help for Line Display'
xdotool key F1
wait_for 30 shown "$line_help" || fail "F1 did not show the keystroke help"
screenshot gui_smoke_edit_help.png
xdotool key F1
wait_for 30 gone "$line_help" || fail "a second F1 did not hide the keystroke help"
# Ctrl+K opens the action keys; Escape closes them.
xdotool key ctrl+k
wait_for 30 shown '^Action Key Events$' || fail "Ctrl+K did not open \"Action Key Events\""
screenshot gui_smoke_action_keys.png
xdotool key Escape
wait_for 30 gone '^Action Key Events$' || fail "Escape did not close \"Action Key Events\""
note "F1 toggled the keystroke help, Ctrl+K opened the action keys ($build/gui_smoke_action_keys.png)"

# Two plot lines, PageDown to the second; leave.
key_plot 1 ABR windthrow
xdotool key --delay 200 Next
key_plot 2 JMC steep
# Plot 3 through the checks: the crew column opens its list box, "ZZ" is
# refused there, Tab lists the crews and "l" Enter picks LKO; slope 70 asks
# the warning question, answered y.
xdotool key --delay 200 Next
xdotool type --delay 120 3; xdotool key --delay 120 Return
xdotool type --delay 120 050124083000
screenshot gui_smoke_crew_box.png
xdotool type --delay 120 ZZ; xdotool key --delay 120 Return
sleep 1
xdotool key --delay 200 Tab
screenshot gui_smoke_crew_list.png
xdotool key --delay 200 l Return
xdotool type --delay 120 N12; xdotool key --delay 120 Return
xdotool type --delay 120 70; xdotool key --delay 120 Return
screenshot gui_smoke_slope_warning.png
xdotool key --delay 200 y
xdotool type --delay 120 180; xdotool key --delay 120 Return Return Return
xdotool type --delay 120 rocky; xdotool key --delay 120 Return
screenshot gui_smoke_keyed.png
leave_edit_window
note "three plot lines keyed, the third's crew picked from its list after ZZ was refused ($build/gui_smoke_crew_list.png) and its slope taken at the warning ($build/gui_smoke_slope_warning.png)"

# --- Collect Data again: Enter on North Block opens it again --------------------------------
choose_bar alt+d Data
xdotool key Return
wait_for 30 shown '^Select Dataset$' || fail "Collect Data did not offer the dataset list"
# 01 [North Block], the dataset last used, is chosen.
screenshot gui_smoke_datasets.png
xdotool key Return
expect_edit_window gui_smoke_edit2.png
# It opens on plot 3, the line last used; PageUp shows plot 2, then plot 1.
xdotool key --delay 200 Prior
sleep 0.5
xdotool key --delay 200 Prior
screenshot gui_smoke_reopened.png
leave_edit_window
note "the dataset list reopened North Block in the edit window, PageUp went back to plot 1 ($build/gui_smoke_reopened.png)"

# Another program reads exactly the keyed values.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
got=$("$py" - "$plots" <<'PY' 2>&1
import sys, dbfread
for r in dbfread.DBF(sys.argv[1], ignorecase=False):
    print("|".join(str(r[f]).strip() for f in ("PLOT", "CRUISEDT", "STARTTM", "CREW", "STAND", "SLOPE", "ASPECT", "NOTES")))
PY
)
want=$'1|05/01/24|08:30:00|ABR|N12|35|180|windthrow\n2|05/01/24|08:30:00|JMC|N12|35|180|steep\n3|05/01/24|08:30:00|LKO|N12|70|180|rocky'
[ "$got" = "$want" ] || fail "dbfread read:"$'\n'"$got"$'\n'"instead of:"$'\n'"$want"
note "dbfread reads the keyed plots"

# --- The whole cruise: timer, unique plot, trees, logs, insert, delete, search, regeneration --
# The keys and their order are the terminal smoke's. Questions asked through
# a message box ("Insert Line?", "Delete Current Line?") are windows named
# "Warning !"; the pop-ups drawn in the edit window (the child data question,
# "Entry Must" "Be Unique", the search box) are given time and keyed on.
# The files show what was stored: the tables of the trees, logs and
# regeneration appear, move and go as the lines do.
trees1='01 2AA___[North Block]ABC___~   1~TREES.dbf'
trees2='01 2AA___[North Block]ABC___~   2~TREES.dbf'
regen2='01 2AB___[North Block]ABC___~   2~REGEN.dbf'
logs_of() { printf '01 3AAA__[North Block]ABC___~   1-%3d~LOGS.dbf' "$1"; }
in_data() { [ -f "$data_dir/$1" ]; }
not_in_data() { [ ! -f "$data_dir/$1" ]; }
data_files() { ls "$data_dir" 2>/dev/null | tr '\n' ' '; }
expect_file() {
  wait_for 15 in_data "$1" || fail "$2: no \"$1\" in Data\\Cruise (found: $(data_files))"
}
expect_no_file() {
  wait_for 15 not_in_data "$1" || fail "$2: \"$1\" is still in Data\\Cruise"
}
# trees_shown PICTURE: BUILD_DIR/PICTURE shows the trees, whose grid alone
# starts with the dark green titles of its plot and crew.
trees_shown() {
  local green
  green=$(colour_share "$build/$1" 0,96,0 110x16+0+0)
  [ "${green:-0}" -ge 30 ]
}
# answer_box WHAT PICTURE: waits for the message box asking WHAT, takes
# BUILD_DIR/PICTURE and answers y.
answer_box() {
  wait_for 30 shown '^Warning !$' || fail "no message box asking \"$1\""
  screenshot "$2"
  xdotool key y
  wait_for 30 gone '^Warning !$' || fail "the message box asking \"$1\" did not close on y"
  sleep 0.5
}
# choose_child PICTURE: waits for the "Select Child" list, takes
# BUILD_DIR/PICTURE; the keys that pick the child come after.
choose_child() {
  wait_for 30 shown '^Select Child$' || fail "F5 did not bring up \"Select Child\""
  screenshot "$1"
}
# Trees and logs are keyed in their grids a key at a time; Enter at the end of
# a line makes the next one (a blank last line goes when the level is left).
# The height is read from the rangefinder (Ctrl+P), which answers with the
# next height of its list: the height given here is what it will send. The
# sensor input throws away keys typed ahead while it opens its port, so
# Ctrl+P waits a moment. (The tables read after the cruise show each height.)
read_height() {
  sleep 1
  xdotool key ctrl+p
  sleep 1.2
}
key_tree() {  # species dbh height crown [more]: the cursor starts on the tree number
  xdotool key --delay 120 Return; xdotool type --delay 120 "$1"; xdotool key --delay 120 Return
  xdotool type --delay 120 "$2"; xdotool key --delay 120 Return; read_height "$3"; xdotool type --delay 120 "$4"
  xdotool type --delay 120 0; xdotool key --delay 120 Return
  [ "${5:-}" = more ] && xdotool key --delay 120 Return
  sleep 0.3
}
key_log() {  # length topdia grade cull: the Enter after the cull makes the next line
  xdotool key --delay 120 Return; xdotool type --delay 120 "$1"; xdotool key --delay 120 Return
  xdotool type --delay 120 "$2"; xdotool key --delay 120 Return; xdotool type --delay 120 "$3$4"
  xdotool key --delay 120 Return
  sleep 0.3
}

choose_bar alt+d Data
xdotool key Return
wait_for 30 shown '^Select Dataset$' || fail "Collect Data did not offer the dataset list"
xdotool key Return
expect_edit_window gui_smoke_cruise.png
# The plot timer of plot 1: End goes to the last column of the page.
xdotool key End; sleep 0.3; xdotool key ctrl+t; sleep 2.3; xdotool key ctrl+t; sleep 0.3
# A fourth plot: the duplicate number 2 is refused, then the line is deleted again.
xdotool key ctrl+Next; sleep 0.3; xdotool key Next; sleep 0.4
screenshot gui_smoke_plot4.png
xdotool type --delay 120 2; xdotool key --delay 120 Return
sleep 0.5
screenshot gui_smoke_unique.png
# The refusal stays up for 2.5 s.
sleep 3
xdotool key F10
answer_box "Delete Current Line?" gui_smoke_delete_plot.png
screenshot gui_smoke_delete_plot_children.png
xdotool key y
sleep 1
screenshot gui_smoke_plot3.png
note "plot 1 timed, plot 4 refused number 2 and was deleted again ($build/gui_smoke_unique.png, $build/gui_smoke_plot3.png)"

# Plot 1's trees: three, keyed a key at a time (each starts with Enter).
xdotool key ctrl+Prior; sleep 0.3
xdotool key F5
choose_child gui_smoke_child_list.png
xdotool key Return
wait_for 30 gone '^Select Child$' || fail "Enter did not take TREES from \"Select Child\""
sleep 0.5
key_tree DF 20 120 C more
key_tree GF 18 100 D more
key_tree LP 14 100 I
screenshot gui_smoke_trees.png
trees_shown gui_smoke_trees.png || fail "F5 and TREES did not open the trees of plot 1 (see $build/gui_smoke_trees.png)"
expect_file "$trees1" "the trees of plot 1"
# Two logs under tree 2, one under tree 1.
xdotool key Up; sleep 0.3; xdotool key F5
sleep 1
key_log 16 12 S2 5
key_log 16 8 S3 0
screenshot gui_smoke_logs.png
xdotool key F4
sleep 1
expect_file "$(logs_of 2)" "the logs of tree 2"
xdotool key Up; sleep 0.3; xdotool key F5
sleep 1
key_log 18 15 S1 0
xdotool key F4
sleep 1
expect_file "$(logs_of 1)" "the log of tree 1"
note "three trees under plot 1, two logs under tree 2 and one under tree 1 ($build/gui_smoke_trees.png, $build/gui_smoke_logs.png)"
# A tree inserted before tree 2: the trees after it move down, tree 2's logs with them.
xdotool key Down; sleep 0.3; xdotool key F9
answer_box "Insert Line?" gui_smoke_insert.png
sleep 0.3
key_tree WH 22 110 C
screenshot gui_smoke_inserted.png
expect_file "$(logs_of 3)" "after the insert"
expect_no_file "$(logs_of 2)" "after the insert"
note "a tree inserted before tree 2: its logs are now tree 3's ($build/gui_smoke_inserted.png)"
# Tree 3, the grand fir with its logs, is deleted with them.
xdotool key Down; sleep 0.3; xdotool key F10
answer_box "Delete Current Line?" gui_smoke_delete_tree.png
screenshot gui_smoke_delete_tree_children.png
xdotool key y
sleep 0.8
expect_no_file "$(logs_of 3)" "after the delete of tree 3"
in_data "$(logs_of 1)" || fail "the delete of tree 3 took tree 1's logs too"
note "tree 3 deleted with its logs ($build/gui_smoke_delete_tree_children.png)"
# F3 on the species column finds the hemlock.
xdotool key ctrl+Home; sleep 0.3; xdotool key Return; sleep 0.3
xdotool key F3
sleep 1
screenshot gui_smoke_search.png
xdotool type --delay 120 west; xdotool key F5
screenshot gui_smoke_found.png
# The cell found, line 2's species, is drawn in the cursor's black; line 1's,
# a row above it, is not. Where the rows lie depends on the font the window
# fitted, so the black cell is looked for down the species column.
found_y=""
for y in $(seq 60 2 140); do
  share=$(colour_share "$build/gui_smoke_found.png" 0,0,0 186x8+182+$y)
  if [ "${share:-0}" -ge 60 ]; then found_y=$y; break; fi
done
above=100
[ -n "$found_y" ] && above=$(colour_share "$build/gui_smoke_found.png" 0,0,0 186x8+182+$((found_y - 22)))
[ -n "$found_y" ] && [ "$found_y" -ge 80 ] && [ "$found_y" -le 124 ] && [ "${above:-100}" -lt 50 ] ||
  fail "F3 did not find the hemlock on line 2 (black at y=${found_y:-none}; see $build/gui_smoke_found.png)"
# A fourth tree without its DBH: F4 stays on the trees; with the DBH it leaves.
xdotool key ctrl+End; sleep 0.3; xdotool key Return; sleep 0.3
xdotool key --delay 120 Return; xdotool type --delay 120 RC; xdotool key --delay 120 Return; sleep 0.3
xdotool key F4; sleep 1
screenshot gui_smoke_no_dbh.png
trees_shown gui_smoke_no_dbh.png || fail "F4 left the trees although tree 4 has no DBH (see $build/gui_smoke_no_dbh.png)"
xdotool type --delay 120 30; xdotool key --delay 120 Return; sleep 0.3
xdotool key F4
sleep 1
screenshot gui_smoke_plots_again.png
! trees_shown gui_smoke_plots_again.png || fail "F4 did not go back to the plots (see $build/gui_smoke_plots_again.png)"
note "F3 searched the species ($build/gui_smoke_search.png, $build/gui_smoke_found.png), F4 waited for tree 4's DBH ($build/gui_smoke_no_dbh.png)"
# Plot 2: a tree, then its regeneration through the sibling key.
xdotool key Next; sleep 0.3; xdotool key F5
choose_child gui_smoke_child_list2.png
xdotool key Return
wait_for 30 gone '^Select Child$' || fail "Enter did not take TREES from \"Select Child\""
sleep 0.5
key_tree DF 25 130 D
xdotool key alt+F5; sleep 1
screenshot gui_smoke_regen.png
xdotool key --delay 120 Return; xdotool type --delay 120 PP; xdotool key --delay 120 Return
xdotool type --delay 120 212; xdotool key --delay 120 Return; sleep 0.3
xdotool key F4
sleep 1
expect_file "$trees2" "the tree of plot 2"
expect_file "$regen2" "the regeneration of plot 2"
screenshot gui_smoke_plot2.png
leave_edit_window
note "a whole cruise keyed: regeneration under plot 2 ($build/gui_smoke_regen.png)"

# Left and opened again, everything is there.
choose_bar alt+d Data
xdotool key Return
wait_for 30 shown '^Select Dataset$' || fail "Collect Data did not offer the dataset list"
xdotool key Return
expect_edit_window gui_smoke_cruise2.png
xdotool key Prior; sleep 0.3; xdotool key F5
# REGEN was the last choice.
choose_child gui_smoke_child_list3.png
xdotool key Up Return
wait_for 30 gone '^Select Child$' || fail "Enter did not take TREES from \"Select Child\""
screenshot gui_smoke_trees_again.png
trees_shown gui_smoke_trees_again.png || fail "opened again, F5 did not show the trees of plot 1 (see $build/gui_smoke_trees_again.png)"
note "opened again, plot 1 shows its four trees ($build/gui_smoke_trees_again.png)"
# F7: the global program list, drawn in the edit window, offers the report
# (its one name in the black bar of the choice), whose box stays until a key.
xdotool key F7
sleep 1
screenshot gui_smoke_programs.png
# The list stands in the middle of the window, its rows where the fitted font puts them.
chosen=0
for y in $(seq 300 4 420); do
  share=$(colour_share "$build/gui_smoke_programs.png" 0,0,0 200x12+390+$y)
  [ "${share:-0}" -gt "$chosen" ] && chosen=$share
done
if [ "${chosen:-0}" -ge 40 ]; then
  xdotool key Return
  sleep 1
  screenshot gui_smoke_report.png
  # The report's box covers the grid, whose dark green plot titles are gone meanwhile.
  ! trees_shown gui_smoke_report.png || fail "the report's box did not appear (see $build/gui_smoke_report.png)"
  xdotool key x
  sleep 1
  screenshot gui_smoke_report_closed.png
  trees_shown gui_smoke_report_closed.png || fail "a key did not close the report (see $build/gui_smoke_report_closed.png)"
  note "F7 listed the programs and ran the report ($build/gui_smoke_programs.png, $build/gui_smoke_report.png)"
else
  fail "F7 did not bring up the program list (see $build/gui_smoke_programs.png)"
fi
# F7, PRINT.RPF (the second name): the plot's trees are printed on COM 4,
# whose other end receives exactly what printed_report writes.
printed_report "$work/printed-wanted.txt"
printed_whole() { [ -f "$printed" ] && [ "$(stat -c %s "$printed")" -ge "$(stat -c %s "$work/printed-wanted.txt")" ]; }
xdotool key F7
sleep 1
xdotool key Down
sleep 0.5
screenshot gui_smoke_print_chosen.png
xdotool key Return
if wait_for 15 printed_whole && cmp -s "$printed" "$work/printed-wanted.txt"; then
  note "PRINT.RPF printed the plot's trees on COM 4 through Wine's COM port, byte for byte ($build/gui_smoke_print_chosen.png)"
else
  fail "the printer's end of COM 4 received: $(od -c "$printed" 2>&1 | head -20) (see $build/gui_smoke_print_chosen.png)"
fi
sleep 0.5
screenshot gui_smoke_printed.png
trees_shown gui_smoke_printed.png || fail "the trees were not drawn again after printing (see $build/gui_smoke_printed.png)"
xdotool key Escape
sleep 1
leave_edit_window

# Every table of the dataset, read by dbfread and ogrinfo.
check_cruise_tables "$data_dir"

# The demo's line-exit program refuses a log longer than its tree: tree 4
# (no height so far) is given 15 ft, and a 20 ft log under it stays until it is 12.
choose_bar alt+d Data
xdotool key Return
wait_for 30 shown '^Select Dataset$' || fail "Collect Data did not offer the dataset list"
xdotool key Return
expect_edit_window gui_smoke_cruise3.png
xdotool key F5
choose_child gui_smoke_child_list4.png
xdotool key Return
wait_for 30 gone '^Select Child$' || fail "Enter did not take TREES from \"Select Child\""
sleep 0.5
xdotool key ctrl+End; sleep 0.3; xdotool key Home; sleep 0.3
xdotool key --delay 120 Return Return Return; read_height 15
xdotool key F5
sleep 1
key_log 20 8 S1 0
sleep 0.5
screenshot gui_smoke_long_log.png
xdotool key y
sleep 1
screenshot gui_smoke_long_log_refused.png
! trees_shown gui_smoke_long_log_refused.png || fail "the long log was not refused: the logs were left (see $build/gui_smoke_long_log_refused.png)"
xdotool key Home; sleep 0.3; xdotool key --delay 120 Return; xdotool type --delay 120 12; xdotool key --delay 120 Return
sleep 0.3
xdotool key F4
sleep 1
screenshot gui_smoke_log_kept.png
trees_shown gui_smoke_log_kept.png || fail "the corrected log did not let the logs be left (see $build/gui_smoke_log_kept.png)"
expect_file "$(logs_of 4)" "the corrected log of tree 4"
py=/usr/bin/python3
[ -x "$py" ] || py=python3
lengths=$("$py" - "$data_dir/$(logs_of 4)" <<'PY' 2>&1
import sys, dbfread
print(" ".join(str(r["LENGTH"]) for r in dbfread.DBF(sys.argv[1], ignorecase=False)))
PY
)
[ "$lengths" = "12.0" ] || fail "tree 4's logs hold \"$lengths\", not the one corrected log of 12 ft"
note "a log longer than its tree was refused by the program and kept once shorter ($build/gui_smoke_long_log.png, $build/gui_smoke_log_kept.png)"
xdotool key Escape
sleep 1
leave_edit_window

# --- GPS: a receiver replayed on COM 2 ------------------------------------------------------
# GPS, Port Settings keeps the default port (COM2:, NMEA) and opens it; the
# main window shows the GPS block; the edit window's caption carries the
# position, then, while the replay is stopped, the silence warning and the
# reconnect, and the position again once it plays on.
replay="$(dirname "$0")/../support/nmea_replay.py"
sent="$work/nmea-sent.log"
rm -f "$sent"
# Every fourth epoch has 3 satellites: the warning filters refuse it.
start_replay() {
  python3 "$replay" "$serial/ttyA3" --few-every 4 --log "$sent" >>"$work/nmea-replay.log" 2>&1 &
  replay_pid=$!
  instrument_pids+=($replay_pid)
}
start_replay
choose_bar alt+g GPS
xdotool key Tab Tab Return  # the first button (Log Waypoint) has the focus; Port Settings is the third
wait_for 30 shown '^GPS Comm Port Settings$' || fail "the GPS choice did not open \"GPS Comm Port Settings\""
screenshot gui_smoke_gps_port.png
xdotool key Return
wait_for 30 gone '^GPS Comm Port Settings$' || fail "Enter did not close \"GPS Comm Port Settings\""
sleep 1
xdotool key Return  # "Open the GPS Port With New Settings?": Yes
sleep 3
screenshot gui_smoke_gps_main.png
note "GPS port settings and the main window's GPS block ($build/gui_smoke_gps_port.png, $build/gui_smoke_gps_main.png)"
gps_edit() { xdotool search --name "North Block.*$1" 2>/dev/null | grep -q .; }
no_log_shown() { ! gps_edit "Positions logged"; }
open_north_block
if wait_for 20 gps_edit "45.*31'2.*Sv:8"; then
  note "the edit window's caption shows the receiver's position: $(xdotool getwindowname "$(edit_windows | head -1)")"
else
  fail "the edit window's caption does not show the GPS position: '$(xdotool getwindowname "$(edit_windows | head -1)")'"
fi
screenshot gui_smoke_gps_edit.png

# Ctrl+G on plot 1: a point averaged from 5 fixes into LAT, LON and ELEV;
# then a line log, stopped by moving to plot 2 (PageDown asks), where a
# polygon is logged and stopped with Ctrl+G.
xdotool key ctrl+g
wait_for 20 shown '^Start GPS Logging$' || fail "Ctrl+G did not offer the logging types"
screenshot gui_smoke_gps_types.png
xdotool key Return
wait_for 20 shown '^Averaging Points$' || fail "the point was not averaged"
screenshot gui_smoke_gps_averaging.png
wait_for 40 gone '^Averaging Points$' || fail "averaging did not store by itself"
xdotool key ctrl+g
wait_for 20 shown '^Start GPS Logging$' || fail "Ctrl+G did not offer the logging types again"
xdotool key Down; sleep 0.3; xdotool key Return
wait_for 20 gps_edit "Plot:LINE Positions logged" || fail "the line log did not start"
sleep 13
xdotool key Next
wait_for 20 shown '^Stop GPS Data Logging$' || fail "moving to another line did not ask to stop the log"
screenshot gui_smoke_gps_stop_line.png
xdotool key Return
sleep 1
xdotool key ctrl+g
wait_for 20 shown '^Start GPS Logging$' || fail "Ctrl+G did not offer the logging types on plot 2"
xdotool key Down; sleep 0.3; xdotool key Down; sleep 0.3; xdotool key Return
wait_for 20 gps_edit "Plot:POLY Positions logged" || fail "the polygon log did not start"
sleep 9
xdotool key ctrl+g
wait_for 20 shown '^GPS Logging Choices$' || fail "Ctrl+G did not offer to stop the polygon"
screenshot gui_smoke_gps_choices.png
xdotool key Tab; sleep 0.3; xdotool key Return
wait_for 20 shown '^Stop GPS Data Logging$' || fail "the polygon's stop was not asked"
xdotool key Return
wait_for 20 no_log_shown || fail "the polygon log did not stop"
line_file=$(ls "$data_dir"/*"~   1~Plot^GPS Line ^.GPF" 2>/dev/null | head -1)
poly_file=$(ls "$data_dir"/*"~   2~Plot^GPS Poly ^.GPF" 2>/dev/null | head -1)
if [ -n "$line_file" ] && [ -n "$poly_file" ] &&
   /usr/bin/python3 "$(dirname "$0")/gps_log_check.py" "$sent" "$plots" "$line_file" "$poly_file" >"$work/gps-log-check.txt" 2>&1; then
  note "GPS logging: $(tr '\n' ';' <"$work/gps-log-check.txt")"
else
  fail "the GPS logs do not hold what the receiver sent: line '${line_file:-none}', polygon '${poly_file:-none}': $(cat "$work/gps-log-check.txt" 2>/dev/null)"
fi
kill "$replay_pid" 2>/dev/null
wait "$replay_pid" 2>/dev/null
wait_for 20 gps_edit "Warning ! GPS  Not Detected" || fail "the caption did not show the silence warning"
wait_for 20 gps_edit "Attempting to ReConnect" || fail "the caption did not show the reconnect"
start_replay
wait_for 30 gps_edit "45.*31'2.*Sv:8" || fail "the position did not come back after the receiver talked again"
note "a silent receiver was reported and reconnected, and its position came back"
leave_edit_window

# --- Waypoints and navigation ---------------------------------------------------------------
# Log Waypoint (the GPS choice's first button) captures "WP Here"; Edit
# Waypoints (its fifth) adds two typed waypoints; Ctrl+N in the edit window
# opens navigation from WP Here to North Corner: the window shows the points
# (start green, destination red, current blue), the legs and the track.
erase_field() { xdotool key End; for _ in $(seq 1 24); do xdotool key BackSpace; done; }
choose_bar alt+g GPS
xdotool key Return
wait_for 30 shown '^Capture Waypoint$' || fail "Log Waypoint did not open \"Capture Waypoint\""
screenshot gui_smoke_capture.png
erase_field
xdotool type --delay 50 "WP Here"
xdotool key Return
wait_for 30 gone '^Capture Waypoint$' || fail "OK did not close \"Capture Waypoint\""
add_waypoint() {
  xdotool key alt+a
  wait_for 30 shown '^Capture Waypoint$' || { fail "Add New did not open \"Capture Waypoint\""; return; }
  xdotool type --delay 50 "$1"
  xdotool key Tab; erase_field; xdotool type --delay 50 -- "$2"
  xdotool key Tab; erase_field; xdotool type --delay 50 -- "$3"
  xdotool key Return
  wait_for 30 gone '^Capture Waypoint$' || fail "OK did not store the waypoint $1"
}
choose_bar alt+g GPS
xdotool key Tab Tab Tab Tab Return
if wait_for 30 shown '^Select Waypoint to Edit$'; then
  add_waypoint "North Corner" 45.5250 -122.6750
  add_waypoint "East Gate" 45.5240 -122.6730
  screenshot gui_smoke_waypoints.png
  xdotool key alt+f
  wait_for 30 gone '^Select Waypoint to Edit$' || fail "Finished did not close the browser"
else
  fail "Edit Waypoints did not open \"Select Waypoint to Edit\""
fi
if /usr/bin/python3 "$(dirname "$0")/waypoints_check.py" "$WINEPREFIX/drive_c/Waypoints.dbf" >"$work/waypoints.txt" 2>&1; then
  note "C:\\Waypoints.dbf holds the captured and the two typed waypoints (dbfread)"
else
  fail "C:\\Waypoints.dbf does not hold the three waypoints: $(cat "$work/waypoints.txt")"
fi
open_north_block
sleep 1
xdotool key ctrl+n
if wait_for 30 shown '^Navigation Waypoints$'; then
  xdotool key Down; sleep 0.3; xdotool key shift+Tab; sleep 0.3; xdotool key Down; sleep 0.3; xdotool key Return
else
  fail "Ctrl+N did not offer the start and destination"
fi
if wait_for 30 shown '^Graphical Navigation Window$'; then
  sleep 10  # ten positions for the track
  nav_shot="$build/gui_smoke_navigation.png"
  screenshot gui_smoke_navigation.png
  colours=$(convert "$nav_shot" -fill black +opaque 'rgb(0,160,0)' -fill white -opaque 'rgb(0,160,0)' -format '%[fx:mean>0]' info: 2>/dev/null)
  blue=$(convert "$nav_shot" -fill black +opaque 'rgb(0,0,255)' -fill white -opaque 'rgb(0,0,255)' -format '%[fx:mean>0]' info: 2>/dev/null)
  track=$(convert "$nav_shot" -fill black +opaque 'rgb(0,128,128)' -fill white -opaque 'rgb(0,128,128)' -format '%[fx:mean>0]' info: 2>/dev/null)
  if [ "$colours" = 1 ] && [ "$blue" = 1 ] && [ "$track" = 1 ]; then
    note "the navigation window draws the start, the destination, the current position and the track ($nav_shot)"
  else
    fail "the navigation window lacks a point or the track (green $colours, blue $blue, track $track; see $nav_shot)"
  fi
  red_pixels=$(convert "$nav_shot" -fill black +opaque 'rgb(220,0,0)' -fill white -opaque 'rgb(220,0,0)' -format '%[fx:int(mean*w*h)]' info: 2>/dev/null)
  [ "${red_pixels:-0}" -ge 20 ] || fail "no destination or leg to go in red ($red_pixels pixels; see $nav_shot)"
  xdotool key F4
  wait_for 30 gone '^Graphical Navigation Window$' || fail "F4 did not close the navigation window"
else
  fail "the navigation window did not open"
fi
leave_edit_window

# --- Setups: Temp Coordinate Files and Set Date - Time (each cancelled) ----------------------
# The first button (Preferences) has the focus; Tab moves down the buttons.
choose_bar alt+s Setups
xdotool key Tab Tab Tab Return
wait_for 30 shown '^Temp Coordinate Files$' || fail "the Setups choice did not open \"Temp Coordinate Files\""
screenshot gui_smoke_temp_coord.png
xdotool key Escape
wait_for 30 gone '^Temp Coordinate Files$' || fail "Escape did not close \"Temp Coordinate Files\""
choose_bar alt+s Setups
xdotool key Tab Tab Tab Tab Return
wait_for 30 shown '^Set Date - Time$' || fail "the Setups choice did not open \"Set Date - Time\""
screenshot gui_smoke_date_time.png
xdotool key Escape
wait_for 30 gone '^Set Date - Time$' || fail "Escape did not close \"Set Date - Time\""
note "Temp Coordinate Files and Set Date - Time shown and cancelled ($build/gui_smoke_temp_coord.png, $build/gui_smoke_date_time.png)"

# --- Dataset exchange: bundle, extract, backup, move, copy, post, erase ----------------------
# Each step is driven through its dialog as a user would, and the data folder
# and the card are read after it: no record may be lost on the way. The
# dataset North Block holds the tables and coordinate files keyed above.
exchange_tables() { "$py" "$(dirname "$0")/exchange_tables.py" "$@" >"$work/exchange.txt" 2>&1; }
exchange_said() { tr '\n' ' ' <"$work/exchange.txt"; }
# unix_path C:\A\B: the prefix's file for a Windows path on drive C.
unix_path() {
  local p=${1#[Cc]:}
  printf '%s%s' "$WINEPREFIX/drive_c" "${p//\\//}"
}
bundles() { (cd "$data_dir" && LC_ALL=C ls -1 -- '[North Block]'* 2>/dev/null); }
raw_tables() { (cd "$data_dir" && LC_ALL=C ls -1 -- '01 '* 2>/dev/null); }
# same_files FROM TO: every bundle of FROM is in TO, byte for byte.
same_files() {
  local f n=0
  while IFS= read -r f; do
    cmp -s "$1/$f" "$2/$f" || return 1
    n=$((n + 1))
  done < <(cd "$1" && LC_ALL=C ls -1 -- '[North Block]'* 2>/dev/null)
  [ "$n" -gt 0 ]
}
# The program's windows with the main window alone: no dialog or message left.
main_alone_count=$(program_windows | wc -l)
main_alone() { [ "$(program_windows | wc -l)" -eq "$main_alone_count" ]; }
# data_button TABS CAPTION: the Data choice's button TABS tabs after Collect
# Data (Transfer Data 1, Tag For Auto Transfer 2, Bundle Dataset 4, Extract
# Dataset 5, Pending Datasets 6), whose dialog is CAPTION.
data_button() {
  choose_bar alt+d Data
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Tab; done
  xdotool key Return
  wait_for 30 shown "^$2\$" || fail "the Data choice's button $1 tabs on did not open \"$2\""
}
# answer_message CAPTION KEY [PICTURE]: waits for the message box CAPTION,
# takes BUILD_DIR/PICTURE and answers it with KEY; that box (a next one may
# have the same caption) must then close.
answer_message() {
  wait_for 60 shown "^$1\$" || fail "no message \"$1\" (windows: $(program_window_names))"
  local box
  box=$(window_named "^$1\$" | head -1)
  [ -n "${3:-}" ] && screenshot "$3"
  xdotool key "$2"
  box_gone() { ! window_named "^$1\$" | grep -qx "$box"; }
  wait_for 30 box_gone "$1" || fail "the message \"$1\" did not close on $2"
}
program_window_names() {
  local w
  for w in $(program_windows); do printf '"%s" ' "$(xdotool getwindowname "$w" 2>/dev/null)"; done
}
# Bundle Dataset on 01 [North Block], the one raw dataset, chosen in its list.
bundle_north_block() {
  data_button 4 'Extracted \(Raw\) Datasets'
  screenshot "$1"
  xdotool key Return
  wait_for 30 gone '^Extracted \(Raw\) Datasets$' || fail "Enter did not take the dataset to bundle"
  wait_for 120 main_alone || fail "bundling did not end quietly (windows: $(program_window_names))"
  exchange_tables bundled "$data_dir" "$work/raw-before.json" ||
    fail "after bundling: $(exchange_said) (files: $(data_files))"
  note "bundled: $(exchange_said)"
}
# Extract Dataset on North Block, the one bundled dataset.
extract_north_block() {
  data_button 5 'Bundled Datasets'
  screenshot "$1"
  xdotool key Return
  wait_for 30 gone '^Bundled Datasets$' || fail "Enter did not take the dataset to extract"
  wait_for 120 main_alone || fail "extracting did not end quietly (windows: $(program_window_names))"
  exchange_tables raw "$data_dir" "$work/raw-before.json" ||
    fail "after extracting: $(exchange_said) (files: $(data_files))"
  [ -z "$(bundles)" ] || fail "after extracting, bundles are left: $(bundles | tr '\n' ' ')"
  note "extracted: $(exchange_said)"
}

ls -l "$data_dir" >"$work/data-before-exchange.txt"
exchange_tables dump "$data_dir" "$work/raw-before.json" || fail "cannot read the dataset's tables: $(exchange_said)"
note "before the exchange the data folder holds $(exchange_said)"

# 1. Bundle, 2. extract: the same tables come back with every record.
bundle_north_block gui_smoke_bundle_list.png
[ -z "$(raw_tables)" ] || fail "bundling left raw tables: $(raw_tables | tr '\n' ' ')"
extract_north_block gui_smoke_extract_list.png

# 3. Bundle again; Transfer Data, Removable Storage: Backup onto the card.
bundle_north_block gui_smoke_bundle_list2.png
card_data="$WINEPREFIX/drive_c/card/Tallyfin Mobile/Data/Cruise"
data_button 1 'Transfer Data'
screenshot gui_smoke_transfer.png
# The storage button has the focus.
xdotool key Return
wait_for 30 shown '^Backup / Move Dataset$' || fail "the storage button did not open \"Backup / Move Dataset\""
# The drive list has the focus on the first folder, the empty one: Down takes the card.
xdotool key Down
screenshot gui_smoke_backup.png
xdotool key alt+b
answer_message 'Backup Dataset' Return gui_smoke_backup_done.png
same_files "$data_dir" "$card_data" || fail "the card's Cruise folder does not hold the bundles byte for byte (card: $(ls "$card_data" 2>&1 | tr '\n' ' '))"
note "Backup put the bundles on the card byte for byte ($build/gui_smoke_backup.png, $build/gui_smoke_backup_done.png)"

# 4. Archive Before Move checked, Move: the bundles leave the data folder for
# the card and today's archive. The backup's copies are taken off the card
# first, so that what is read there is what the move wrote.
cp -a "$data_dir" "$work/bundled" || fail "cannot keep a copy of the bundles"
rm -f "$card_data"/'[North Block]'*
xdotool key alt+a
sleep 0.5
screenshot gui_smoke_archive_checked.png
xdotool key alt+m
answer_message 'Move Dataset' Return gui_smoke_move_done.png
archive="$data_dir/Archives/$(date +%Y%m%d)"
[ -z "$(bundles)" ] || fail "after the move, bundles are left in the data folder: $(bundles | tr '\n' ' ')"
same_files "$work/bundled" "$card_data" || fail "after the move the card does not hold the bundles byte for byte"
same_files "$work/bundled" "$archive" || fail "after the move $archive does not hold the bundles (found: $(ls "$data_dir/Archives" "$archive" 2>&1 | tr '\n' ' '))"
xdotool key Escape
wait_for 30 gone '^Backup / Move Dataset$' || fail "Escape did not close \"Backup / Move Dataset\""
note "Move took the bundles to the card and archived them in Archives\\$(date +%Y%m%d) ($build/gui_smoke_archive_checked.png)"

# 5. Copy From Removable Storage: the card, Cruise, North Block, Copy.
shown '^Transfer Data$' || fail "\"Transfer Data\" closed with \"Backup / Move Dataset\""
xdotool key alt+c
wait_for 30 shown '^Copy Dataset From Removable Storage$' || fail "the copy button did not open its dialog"
xdotool key Down
sleep 0.5
screenshot gui_smoke_copy.png
xdotool key alt+c
answer_message 'Copy Dataset' Return gui_smoke_copy_done.png
same_files "$work/bundled" "$data_dir" || fail "Copy did not bring the bundles back (files: $(data_files))"
xdotool key Escape
wait_for 30 gone '^Copy Dataset From Removable Storage$' || fail "Escape did not close the copy dialog"
xdotool key Escape
wait_for 30 gone '^Transfer Data$' || fail "Escape did not close \"Transfer Data\""
note "Copy brought the bundles back from the card ($build/gui_smoke_copy.png)"

# 6. Pending Datasets: the card's bundles in the pending Cruise folder are
# posted over the ones present (both questions Yes); the folder goes.
read_reg
pending=$(unix_path "$(reg_value Pending_DataPath)") || fail "registry value \"Pending_DataPath\" is missing"
mkdir -p "$pending/Cruise" && cp -p "$card_data"/'[North Block]'* "$pending/Cruise/" || fail "cannot fill $pending/Cruise"
# The bundles present are made stale (other bytes), so that only the posted
# ones can match afterwards.
for f in "$data_dir"/'[North Block]'*; do printf 'stale' >"$f" || fail "cannot mark $f stale"; done
data_button 6 'Post Pending Datasets'
screenshot gui_smoke_post.png
xdotool key Return
answer_message 'Overwrite Warning a !' y gui_smoke_overwrite.png
answer_message 'Overwrite Warning b !' y
answer_message 'Post Dataset Success' Return gui_smoke_posted.png
[ ! -e "$pending/Cruise" ] || fail "the pending Cruise folder is still there: $(ls "$pending/Cruise" | tr '\n' ' ')"
same_files "$work/bundled" "$data_dir" || fail "Post did not leave the bundles in the data folder (files: $(data_files))"
xdotool key Escape
wait_for 30 gone '^Post Pending Datasets$' || fail "Escape did not close \"Post Pending Datasets\""
note "Post put the pending bundles over the present ones and removed the pending folder ($build/gui_smoke_overwrite.png)"

# Host transfer: this program under Wine and tallyfin-host on Linux, over
# loopback. North Block is chosen in the host list and South Block (a copy
# under another name) is tagged for every transfer; the host's outbox holds a
# package, a dataset, a message and a program update for every unit.
host_bin="$build/../linux/tools/host/tallyfin-host"
[ -x "$host_bin" ] || fail "no tallyfin-host at $host_bin (build the linux preset first)"
hostroot="$work/host"
drive_c="$WINEPREFIX/drive_c"
rm -rf "$hostroot" && mkdir -p "$hostroot"/outbox/all/{apps,datasets,messages,updates}
cp "$package" "$hostroot/outbox/all/apps/Survey.tfa"
cp "$work/bundled/[North Block]1A____ABC___+PLOTS.dbf" "$hostroot/outbox/all/datasets/[Cruise]1A____OFFICE+PLOTS.dbf" 2>/dev/null ||
  cp "$(ls "$work/bundled"/'[North Block]'*PLOTS.dbf | head -n 1)" "$hostroot/outbox/all/datasets/[Cruise]1A____OFFICE+PLOTS.dbf"
printf 'Crew 4: the East Block is closed to traffic\r\nfrom Monday. Use the north road.\r\n' >"$hostroot/outbox/all/messages/Roads.mes"
head -c 70000 /dev/urandom >"$hostroot/outbox/all/updates/Tallyfin PC.exe"
for f in "$data_dir"/'[North Block]'*; do n=$(basename "$f"); cp "$f" "$data_dir/${n/North Block/South Block}"; done
hostport=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$host_bin" --root "$hostroot" --port "$hostport" --listen 127.0.0.1 >"$work/host.log" 2>&1 &
host_pid=$!
host_listening() { grep -q listening "$work/host.log"; }
wait_for 10 host_listening || fail "tallyfin-host did not start: $(cat "$work/host.log")"

# Setups, TCP/IP Transfer Setups (five tabs on): 127.0.0.1, the port, both boxes ticked, Save.
choose_bar alt+s Setups
xdotool key Tab Tab Tab Tab Tab Return
wait_for 30 shown '^Tallyfin Host IP Address$' || fail "the Setups choice did not open \"Tallyfin Host IP Address\""
screenshot gui_smoke_host_address.png
retype() { xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace && xdotool type --delay 50 "$1"; }
retype 127; xdotool key Tab; retype 0; xdotool key Tab; retype 0; xdotool key Tab; retype 1; xdotool key Tab
retype "$hostport"
xdotool key Tab space Tab space
sleep 0.5
screenshot gui_smoke_host_address_filled.png
xdotool key alt+s
wait_for 30 gone '^Tallyfin Host IP Address$' || fail "Save did not close \"Tallyfin Host IP Address\""
host_line=$(cat "$drive_c/TFM_Host_IP.txt" 2>/dev/null)
[ "$host_line" = "127.0.0.1 $hostport" ] || fail "TFM_Host_IP.txt holds \"$host_line\", not \"127.0.0.1 $hostport\""
note "TCP/IP Transfer Setups wrote \"$host_line\" ($build/gui_smoke_host_address_filled.png)"

# Tag For Auto Transfer: South Block (the second entry) marked, OK.
data_button 2 'Tag For Auto Transfer'
xdotool key Down Return
sleep 0.5
screenshot gui_smoke_tag.png
xdotool key alt+o
wait_for 30 gone '^Tag For Auto Transfer$' || fail "OK did not close \"Tag For Auto Transfer\""
read_reg
[ "$(reg_value AutoXfer)" = "South Block" ] || fail "\"AutoXfer\" is \"$(reg_value AutoXfer)\", not \"South Block\""

# Transfer Data, Host Transfer, North Block: the summary and the two notices.
data_button 1 'Transfer Data'
xdotool key alt+h
wait_for 30 shown '^Bundled Datasets$' || fail "Host Transfer did not open \"Bundled Datasets\""
# The list opens with nothing chosen: Home takes the first, North Block.
sleep 0.5
xdotool key Home
sleep 0.5
screenshot gui_smoke_host_list.png
xdotool key Return
answer_message 'File Transfer Complete' Return gui_smoke_host_summary.png
answer_message 'Pending Data' Return
answer_message 'Pending Messages' Return
wait_for 30 gone '^Transfer Data$' || fail "\"Transfer Data\" did not close after a complete host transfer"
session=$(ls "$hostroot/inbox/ABC" 2>/dev/null | head -n 1)
sent=0
for f in "$data_dir"/'[North Block]'* "$data_dir"/'[South Block]'*; do
  n=$(basename "$f")
  if [ "$(sha256sum <"$f")" = "$(sha256sum <"$hostroot/inbox/ABC/$session/$n" 2>/dev/null)" ]; then
    sent=$((sent + 1))
  else
    fail "the host's copy of $n differs (sha256)"
  fi
  cmp -s "$f" "$data_dir/Archives/$(date +%Y%m%d)/$n" || fail "$n was not archived after the transfer"
done
[ "$sent" -ge 14 ] || fail "$sent dataset files reached the host, not 14 or more"
host_same() { [ "$(sha256sum <"$1")" = "$(sha256sum <"$2" 2>/dev/null)" ] || fail "$3 differs from the host's (sha256)"; }
read_reg
host_same "$hostroot/outbox/all/apps/Survey.tfa" "$install_dir/Apps_Pending/Survey.tfa" "the received package"
host_same "$hostroot/outbox/all/datasets/[Cruise]1A____OFFICE+PLOTS.dbf" \
  "$(unix_path "$(reg_value Pending_DataPath)")/Cruise/[Cruise]1A____OFFICE+PLOTS.dbf" "the received dataset"
host_same "$hostroot/outbox/all/messages/Roads.mes" "$drive_c/Messages/Roads.mes" "the received message"
host_same "$hostroot/outbox/all/updates/Tallyfin PC.exe" "$drive_c/TCPIP_Receive/Temp/Tallyfin PC.exe" "the program update"
grep -q "result=complete" "$work/host.log" || fail "the host did not keep the session: $(tail -n 1 "$work/host.log")"
note "Host Transfer: $sent dataset files on the host and archived (sha256); package, dataset, message and update placed byte for byte ($build/gui_smoke_host_summary.png)"
kill "$host_pid" 2>/dev/null; wait "$host_pid" 2>/dev/null; host_pid=

# What came: the package under Pending Applications, the message in the viewer.
activate_main
xdotool key F10; sleep 0.5; xdotool key p; sleep 0.5; xdotool key a; sleep 0.5; xdotool key Return
if wait_for 30 shown '^Pending Applications$'; then
  screenshot gui_smoke_pending_apps.png
  xdotool key Escape
  wait_for 30 gone '^Pending Applications$' || fail "Escape did not close \"Pending Applications\""
  # Leaving the list without a package is said, and nothing is installed.
  answer_message Error Return gui_smoke_no_app_selected.png
else
  fail "the Pending menu did not open \"Pending Applications\""
fi
activate_main
xdotool key F10; sleep 0.5; xdotool key p; sleep 0.5; xdotool key Down Down Right; sleep 0.5; xdotool key v
if wait_for 30 shown '^Messages$'; then
  screenshot gui_smoke_messages.png
  xdotool key Return
  if wait_for 30 shown '^Roads.mes$'; then
    screenshot gui_smoke_message_shown.png
    xdotool key Escape
    wait_for 30 gone '^Roads.mes$' || fail "Escape did not close the message viewer"
    note "Pending: Survey.tfa under Pending Applications, Roads.mes in the message viewer ($build/gui_smoke_pending_apps.png, $build/gui_smoke_message_shown.png)"
  else
    fail "the message viewer did not open Roads.mes"
  fi
else
  fail "the Pending menu did not open \"Messages\""
fi
rm -f "$data_dir"/'[South Block]'*
wait_for 30 main_alone || fail "windows are left after the host transfer stage: $(program_window_names)"

# 7. Extract again; Erase NonBundled Data (in the Data menu), Erase All
# Nonbundled, both questions Yes: the raw tables go, the bundles stay.
extract_north_block gui_smoke_extract_list2.png
# Extracting used the bundles up: copies of them are put beside the raw
# tables, which the erase must spare.
cp -p "$work/bundled"/'[North Block]'* "$data_dir/" || fail "cannot put the bundles back beside the raw tables"
activate_main
xdotool key F10
sleep 0.5
xdotool key d
sleep 0.5
screenshot gui_smoke_data_menu.png
xdotool key e
wait_for 30 shown '^Erase Datasets$' || fail "the Data menu's Erase NonBundled Data did not open \"Erase Datasets\""
screenshot gui_smoke_erase_datasets.png
xdotool key alt+a
answer_message 'Erase All Nonbundled Data' y gui_smoke_erase_question.png
answer_message 'Erase All Nonbundled Data' y
raw_erased() { exchange_tables nonbundled-gone "$data_dir" "$work/raw-before.json"; }
wait_for 60 raw_erased || fail "after the erase: $(exchange_said)"
same_files "$work/bundled" "$data_dir" || fail "the erase of the nonbundled data took bundles too (files: $(data_files))"
xdotool key Escape
wait_for 30 gone '^Erase Datasets$' || fail "Escape did not close \"Erase Datasets\""
note "Erase All Nonbundled erased the raw tables and kept the bundles: $(exchange_said) ($build/gui_smoke_erase_datasets.png)"

# 8. Erase Application on Cruise, the current one: both questions Yes.
choose_bar alt+a Apps
xdotool key Tab Return
wait_for 30 shown '^Delete Application$' || fail "Erase Application did not open \"Delete Application\""
screenshot gui_smoke_delete_app.png
xdotool key Return
answer_message Cruise y gui_smoke_delete_app_question.png
answer_message Cruise y gui_smoke_delete_current.png
xdotool key Escape
wait_for 30 gone '^Delete Application$' || fail "Escape did not close \"Delete Application\""
[ ! -e "$data_dir" ] || fail "the data folder of Cruise is still there: $(data_files)"
[ ! -e "$install_dir/Apps/Cruise" ] || fail "the control folder Apps\\Cruise is still there"
[ ! -e "$install_dir/Apps/Cruise.tfa" ] || fail "Apps\\Cruise.tfa is still there"
read_reg
[ -z "$(reg_value CurAppName)" ] || fail "\"CurAppName\" is \"$(reg_value CurAppName)\" after Cruise was erased"
screenshot gui_smoke_app_erased.png
# The application line of the status area reads as at the first start, before any application.
convert "$build/gui_smoke.png" -crop 1024x26+0+256 +repage "$work/app_line_first.png" &&
  convert "$build/gui_smoke_app_erased.png" -crop 1024x26+0+256 +repage "$work/app_line_erased.png" ||
  fail "cannot cut the application line out of the screenshots"
differs=$(compare -metric AE "$work/app_line_first.png" "$work/app_line_erased.png" null: 2>&1)
[ "$differs" = 0 ] || fail "the status area still names an application ($differs pixels differ from the first start; see $build/gui_smoke_app_erased.png)"
note "Erase Application removed Cruise, its data and its package; no application is current ($build/gui_smoke_app_erased.png)"

exit_program

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

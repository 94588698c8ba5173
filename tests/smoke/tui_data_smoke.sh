#!/usr/bin/env bash
# End-to-end test of the terminal program "tallyfin" with an application:
# loading it from removable storage, selecting it, collecting data.
#
# Usage: tui_data_smoke.sh TALLYFIN_BINARY CRUISE_PACKAGE WORK_FOLDER [SCRIPTED_SCREEN]
#
# Runs tallyfin in 100x30 tmux panes (a private tmux socket; XDG_CONFIG_HOME
# and XDG_DATA_HOME inside WORK_FOLDER). The registry store is written
# first: the folder WORK_FOLDER/card counts as removable storage ("Removable
# Storage Folders") and holds "Tallyfin Mobile/Apps/Cruise.tfa"; the unit is
# named "ABC" ("Unit ID"), so the data files carry the unit code "ABC___".
#
#  1. Apps (Alt+A), its "Load From Removable Storage" button: the card's
#     package list shows Cruise.tfa; Alt+L loads it ("Load Application
#     Succeeded!!"); the package lands in the applications folder.
#  2. Apps, "Select Application", Enter in the list: the status reads
#     "Current Application: Cruise" and the registry store's CurAppName is
#     "Cruise". The program is left (Alt+E, y) and started again: the status
#     line reads the same.
#  3. Data (Alt+D), "Collect Data": with no dataset yet the name is asked at
#     once; "North Block" opens the edit window: the title with App"Cruise"
#     and Dataset"North Block", level 1 of the cruise (titles such as "Plot
#     number" and "Crew", the prompt row); the level-1 table and the
#     dataset's version table are in the data folder. F1 shows and hides the
#     keystroke help, Ctrl+K opens "Action Key Events", Escape closes it.
#  4. Three plot lines are keyed a key at a time (moving with Enter, PageDown
#     to the next); the third's crew "ZZ" is refused in its list box and
#     picked from the list (Tab), its slope 70 asks the warning question;
#     Escape goes back; Collect Data again offers "01 [North
#     Block]", the edit window shows plot 3 and PageUp plots 2 and 1; dbfread reads
#     the level-1 table with exactly the keyed values.
#  5. The whole cruise: plot 1's timer runs two seconds (Ctrl+T twice); a
#     fourth plot refuses plot number 2 ("Entry Must" "Be Unique") and is
#     deleted again (F10); F5 from plot 1 picks TREES in "Select Child" and
#     three trees are keyed, two logs under tree 2 and one under tree 1 (F5,
#     F4 back); F9 inserts a tree before tree 2 (its logs move to tree 3),
#     F10 deletes that tree with its logs; F3 finds the hemlock by species;
#     F4 stays while a fourth tree lacks its DBH; plot 2 gets a tree and,
#     through Alt+F5, its regeneration. Opened again the trees are there;
#     dbfread and ogrinfo read every table of the dataset under its name.
#     The demo's programs: tree 1's basal area shows once its DBH is left;
#     F7 on plot 1's trees lists REPORT.RPF, whose box counts the 4 trees
#     and their 10.80 square feet until a key. After the tables are read,
#     tree 4 is given a height of 15 ft and a 20 ft log under it is refused
#     by the demo's line-exit program ("Log longer than the") until it is 12.
#     Every height comes from a scripted rangefinder on COM 3 (Ctrl+P on the
#     height cell; a socat cable mapped in the registry store as Ports\COM3);
#     F7's PRINT.RPF prints plot 1's trees on COM 4, whose other end must
#     receive them byte for byte. Last the rangefinder sends garbage, a line
#     of 10,000 characters and 10,000 lines and loses its cable: the cell
#     reports the port's failure, and the crown beside it is keyed.
#  6. GPS: a receiver replayed on a third cable (Ports\COM2); GPS, "Port
#     Settings" keeps the default port and opens it: the main window shows the
#     position, satellites and fix, the edit window's title bar the position;
#     the replay stops: "Warning ! GPS  Not Detected!!!", then "*** Attempting
#     to ReConnect ! ***"; it starts again: the position is back; "Connect /
#     Disconnect" takes the GPS block away. Ctrl+G on plot 1 averages a point
#     into LAT/LON/ELEV, logs a line stopped by PageDown's question, and on
#     plot 2 a polygon stopped by Ctrl+G; gps_log_check.py holds the tables
#     to what the replay sent. Setups, "Set Date - Time" shows the
#     clock and refuses 02/30 (Escape then leaves the clock alone).
#     Waypoints: Log Waypoint captures one, Edit Waypoints adds two typed
#     ones (Waypoints.dbf read by dbfread); Navigation to one of them draws
#     them in braille with the legs, its text agrees with GeodSolve, the
#     background points come from its menu; Ctrl+N opens it over the edit
#     window.
#  7. Dataset exchange: Bundle Dataset and Extract Dataset (dbfread: every
#     record in the bundles, then every table back); Transfer Data backs the
#     raw dataset up to the card, moves a new bundle there with Archive
#     Before Move, copies it back; Pending Datasets posts it over itself
#     (both questions); Erase NonBundled Data erases the raw dataset and
#     keeps the bundles; Erase Application removes Cruise whole. Host
#     transfer against tallyfin-host on loopback: TCP/IP Transfer Setups
#     writes the address, Tag For Auto Transfer tags a second dataset; with no
#     host the transfer is refused (10061); with the host both datasets go
#     and a package, a dataset, a message and an update come back byte for
#     byte, the package under Pending Applications, the message in the viewer.
#  8. Alt+E on the main window, y: the program ends with status 0.
# Every wait polls with a time-out. Prints each failure; exits non-zero when
# there was one. The tmux server is always killed.
set -u
# The check of the tables the whole-cruise stage leaves.
source "$(dirname "$0")/cruise_tables.sh" || exit 1
# Columns are counted in characters.
export LC_ALL=C.UTF-8

usage() { echo "usage: $0 TALLYFIN_BINARY CRUISE_PACKAGE WORK_FOLDER [SCRIPTED_SCREEN]" >&2; exit 2; }
[ $# -eq 3 ] || [ $# -eq 4 ] || usage
# The engine's rendering of the same first screen on the scripted host
# (written by the editor tests), compared with what tmux shows.
scripted_screen=${4:-}
command -v tmux >/dev/null || { echo "tui_data_smoke: FAIL: tmux is not installed" >&2; exit 1; }
[ -x "$1" ] || { echo "tui_data_smoke: FAIL: no program at $1" >&2; exit 1; }
[ -f "$2" ] || { echo "tui_data_smoke: FAIL: no package at $2" >&2; exit 1; }
bin=$(realpath "$1")
package=$(realpath "$2")
mkdir -p "$3" || exit 1
work=$(realpath "$3")

root="$work/root"
card="$work/card"
config="$work/config"
store="$config/tallyfin/registry"
status_file="$work/exit-status"
apps="$root/Orvandat/Tallyfin PC/Apps"
data="$root/Orvandat/Tallyfin PC/Data/Cruise"
rm -rf "$root" "$card" "$config" "$work/data" "$status_file"
mkdir -p "$root" "$card/Tallyfin Mobile/Apps" "$config/tallyfin" "$work/data"
cp "$package" "$card/Tallyfin Mobile/Apps/Cruise.tfa" || exit 1

# The store's text values escape backslashes and quotes.
store_text() { local s=${1//\\/\\\\}; printf '%s' "${s//\"/\\\"}"; }
{
  printf '[HKCU\\Software\\Tallyfin PC]\n'
  printf '"Removable Storage Folders"=sz:"%s"\n' "$(store_text "$card")"
  printf '"Unit ID"=sz:"ABC"\n'
} >"$store"

# Two serial cables (socat pseudo-terminal pairs): the demo's rangefinder
# answers on COM 3 with the heights the trees are given below, in order, and
# the printer's end of COM 4 captures every byte it receives.
instrument=${TALLYFIN_INSTRUMENT:-$(dirname "$bin")/../../tests/test_instrument}
serial="$work/serial"
printed="$work/printed.txt"
rm -rf "$serial" "$printed"
serial_pair() { bash "$(dirname "$0")/../support/serial_pair.sh" "$@"; }
instrument_pids=()
if [ ! -x "$instrument" ]; then
  echo "tui_data_smoke: FAIL: no scripted instrument at $instrument" >&2; exit 1
fi
serial_pair "$serial" 3 >/dev/null || { echo "tui_data_smoke: FAIL: no serial cables" >&2; exit 1; }
"$instrument" "$serial/ttyA1" --rangefinder --values 120,100,100,110,130,15 >"$work/rangefinder.log" 2>&1 &
instrument_pids+=($!)
"$instrument" "$serial/ttyA2" --capture "$printed" >"$work/printer.log" 2>&1 &
instrument_pids+=($!)
{
  printf '[HKCU\\Software\\Tallyfin PC\\Ports]\n'
  printf '"COM3"=sz:"%s"\n' "$(store_text "$serial/ttyB1")"
  printf '"COM4"=sz:"%s"\n' "$(store_text "$serial/ttyB2")"
  printf '"COM2"=sz:"%s"\n' "$(store_text "$serial/ttyB3")"
} >>"$store"

socket="tallyfin-data-smoke-$$"
pane=""
tm() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() {
  tm kill-server >/dev/null 2>&1 || true
  ((${#instrument_pids[@]})) && kill "${instrument_pids[@]}" 2>/dev/null
  serial_pair stop "$serial"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

failures=0
fail() {
  echo "tui_data_smoke: FAIL: $*" >&2
  failures=$((failures + 1))
}
note() { echo "tui_data_smoke: $*"; }
screen() { tm capture-pane -p -t "$pane" 2>/dev/null; }
show_screen() {
  echo "--- pane ---" >&2
  screen >&2
  echo "------------" >&2
}
finish() {
  if ((failures > 0)); then
    echo "tui_data_smoke: $failures failure(s)" >&2
    exit 1
  fi
  note "ok"
  exit 0
}

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
screen_has() { local s; s=$(screen) && [[ $s == *"$1"* ]]; }
screen_has_all() { local t; for t in "$@"; do screen_has "$t" || return 1; done; }
screen_lacks() { ! screen_has "$1"; }
status_written() { [ -s "$status_file" ]; }
keys() { tm send-keys -t "$pane" "$@"; }
# expect SECONDS WHAT TEXT...: waits for every text; on failure says WHAT and shows the pane.
expect() {
  local limit=$1 what=$2
  shift 2
  if wait_until "$limit" screen_has_all "$@"; then
    return 0
  fi
  fail "$what"
  show_screen
  return 1
}
# The registry store's text value NAME under the program's key.
stored() { grep -i "^\"$1\"=sz:" "$store" 2>/dev/null | head -n 1 | sed 's/^[^=]*=sz:"\(.*\)"$/\1/'; }

# click_on TEXT: a left click (SGR mouse report, as the terminal sends it)
# on the middle of the first place TEXT stands on the screen.
click_on() {
  local text=$1 line row=0 col
  while IFS= read -r line; do
    row=$((row + 1))
    if [[ $line == *"$text"* ]]; then
      local before=${line%%"$text"*}
      col=$((${#before} + ${#text} / 2 + 1))
      keys -l $'\e'"[<0;$col;${row}M"
      keys -l $'\e'"[<0;$col;${row}m"
      return 0
    fi
  done < <(screen)
  return 1
}

runs=0
# Starts the program in a new tmux session; its status goes to a file.
start_program() {
  runs=$((runs + 1))
  rm -f "$status_file"
  local run
  printf -v run 'env TERM=xterm-256color XDG_CONFIG_HOME=%q XDG_DATA_HOME=%q %q --root %q; echo $? > %q; echo SMOKE-PROGRAM-ENDED; exec sleep 600' \
    "$config" "$work/data" "$bin" "$root" "$status_file"
  tm new-session -d -s "run$runs" -x 100 -y 30 "$run" || { fail "tmux could not start"; finish; }
  pane="run$runs:0.0"
  if ! wait_until 30 screen_has_all "Tallyfin PC" "Current Application"; then
    fail "the main screen did not appear within 30 s (start $runs)"
    show_screen
    status_written && fail "the program ended with status $(cat "$status_file")"
    finish
  fi
}
# Answers the exit question with y and waits for the program to end with status 0.
leave_program() {
  if expect 10 "Alt+E did not bring up \"Exit Tallyfin?\"" "Exit Tallyfin?"; then
    keys y
    if wait_until 15 status_written; then
      [ "$(cat "$status_file")" = 0 ] || fail "the program ended with status $(cat "$status_file"), not 0"
    else
      fail "the program did not end within 15 s of the answer"
      show_screen
    fi
  fi
}

# --- 1. Load From Removable Storage ---------------------------------------------------------
start_program
note "main screen shown"
keys M-a
if expect 10 "Alt+A did not bring up the Apps choice" "Select Application" "Load From Removable Storage"; then
  click_on "Load From Removable Storage" || fail "could not click the \"Load From Removable Storage\" button"
  if expect 10 "the removable storage dialog did not open" "Removable Storage" "Applications" "Close"; then
    # Another removable drive may come first: move down the drive list to the card.
    for _ in 1 2 3 4 5 6 7 8; do
      wait_until 2 screen_has "Cruise.tfa" && break
      keys Down
    done
    if screen_has "Cruise.tfa"; then
      note "the card's package list shows Cruise.tfa"
      keys M-l
      if expect 10 "loading did not report \"Load Application Succeeded!!\"" "Load Application Succeeded!!"; then
        keys Enter
        wait_until 10 screen_lacks "Load Application Succeeded!!" || fail "the report did not close"
      fi
    else
      fail "no drive of the dialog lists Cruise.tfa"
      show_screen
    fi
    keys Escape
    wait_until 10 screen_lacks "Cruise.tfa" || fail "Escape did not close the removable storage dialog"
  fi
fi
if cmp -s "$package" "$apps/Cruise.tfa"; then
  note "package loaded into the applications folder"
else
  fail "the applications folder does not hold the card's Cruise.tfa"
fi

# --- 2. Select Application, kept over a restart ---------------------------------------------
keys M-a
if expect 10 "Alt+A did not bring up the Apps choice" "Select Application"; then
  keys Enter
  if expect 10 "Select Application did not list the packages" "< Applications >" "Cruise.tfa" "< Enter to Select >"; then
    keys Enter
  fi
fi
if expect 20 "the status line does not read \"Current Application: Cruise\"" "Current Application: Cruise"; then
  note "Cruise selected"
fi
[ "$(stored CurAppName)" = Cruise ] || fail "the registry store's CurAppName is \"$(stored CurAppName)\", not \"Cruise\""
[ -f "$apps/Cruise/app.ctl" ] || fail "the application folder was not extracted"
keys M-e
leave_program

start_program
if expect 10 "after a restart the status line does not read \"Current Application: Cruise\"" "Current Application: Cruise"; then
  note "Cruise still current after a restart"
fi

# --- 3. Collect Data on a new dataset: the edit window, help, action keys ------------------
clock_mask='s#[0-9]{2}/[0-9]{2}/[0-9]{2}#DATE#g; s#[0-9]{2}:[0-9]{2}:[0-9]{2}#TIME#g'
title_app='~App"Cruise"'
title_set='~Dataset"North Block"'
plots="$data/01 1A____[North Block]ABC___~~PLOTS.dbf"
version="$data/01 1A____[North Block]ABC___#\$\$DataAppVer.dbf"
keys M-d
if expect 10 "Alt+D did not bring up the Data choice" "Collect Data"; then
  keys Enter
  if expect 10 "Collect Data did not ask for the new dataset's name" "Create New Dataset"; then
    keys -l "North Block"
    keys Enter
    if expect 15 "the edit window did not show level 1 of the cruise" "TFMobile" "$title_app" "$title_set" \
        "Plot number" "Crew" "Slope %" "Plot number (filled in)"; then
      note "edit window open on North Block"
      screen_lacks "Current Application" || fail "the main window shows through the edit window"
      screen > "$work/edit-window.txt"
      if [ -n "$scripted_screen" ]; then
        # Below the title bar the terminal shows the Screen row for row.
        if [ ! -f "$scripted_screen" ]; then
          fail "no scripted rendering at $scripted_screen"
        # The new plot's date and time come from the clock: the scripted host's
        # is a fake one, so both stand as DATE and TIME here.
        elif ! diff <(sed -n 2,25p "$work/edit-window.txt" | sed -E 's/ *$//; '"$clock_mask") \
                    <(sed -n 1,24p "$scripted_screen" | sed -E 's/ *$//; '"$clock_mask") >"$work/screen.diff"; then
          fail "the terminal's edit window differs from the scripted host's rendering:"$'\n'"$(cat "$work/screen.diff")"
        else
          note "the terminal shows the scripted host's rendering of the same Screen"
        fi
      fi
    fi
  fi
fi
[ -f "$plots" ] || fail "the data folder lacks $(basename "$plots")"
[ -f "$version" ] || fail "the data folder lacks $(basename "$version")"
keys F1
if expect 10 "F1 did not show the keystroke help" "KEYSTROKE Help for Line Display"; then
  keys F1
  wait_until 10 screen_lacks "KEYSTROKE Help for Line Display" || fail "a second F1 did not close the help"
fi
keys C-k
if expect 10 "Ctrl+K did not open the action keys" "Action Key Events" "Ins Line"; then
  keys Escape
  wait_until 10 screen_lacks "Action Key Events" || fail "Escape did not close the action keys"
fi

# --- 4. Two plot lines keyed, left, and opened again -----------------------------------------
# A key at a time, as a crew types: plot, date and time (full: they move on),
# crew (full), stand, slope, aspect (full), three display columns, notes.
type_slowly() { local i; for ((i = 0; i < ${#1}; i++)); do keys -l "${1:i:1}"; sleep 0.05; done; }
key_plot() {
  type_slowly "$1"; keys Enter; type_slowly 050124; type_slowly 083000; type_slowly "$2"
  type_slowly N12; keys Enter; type_slowly 35; keys Enter; type_slowly 180
  keys Enter; keys Enter; keys Enter; type_slowly "$3"; keys Enter
}
key_plot 1 ABR windthrow
expect 10 "the notes of plot 1 were not shown" "windthrow"
keys PageDown
sleep 0.3
key_plot 2 JMC steep
expect 10 "the notes of plot 2 were not shown" "steep"
# Plot 3 through the checks: the crew is keyed in its list box, "ZZ" is
# refused and the crew picked from the list instead; slope 70 is past the
# warning limit and taken on the answer y.
keys PageDown
sleep 0.3
type_slowly 3; keys Enter; type_slowly 050124; type_slowly 083000
if expect 10 "the crew column did not open its list box" "Key in CREW Data" "<Tab to Select from List>"; then
  type_slowly ZZ; keys Enter
  sleep 0.5
  expect 10 "the refused crew did not leave its list box open" "Key in CREW Data"
  keys Tab
  if expect 10 "Tab did not list the crews" "ABR" "JMC" "LKO" "RST"; then
    keys L; keys Enter
    wait_until 10 screen_lacks "Key in CREW Data" || fail "picking a crew did not close the list box"
  fi
fi
type_slowly N12; keys Enter; type_slowly 70; keys Enter
if expect 10 "slope 70 did not ask the warning question" "SLOPE Near" "Limit,Use Data? Y/N"; then
  keys y
fi
type_slowly 180; keys Enter; keys Enter; keys Enter; type_slowly rocky; keys Enter
expect 10 "the notes of plot 3 were not shown" "rocky" && note "plot 3 keyed through the crew list and the slope warning"
keys Escape
if expect 10 "Escape did not bring the main window back" "Current Application: Cruise"; then
  screen_lacks "TFMobile" || fail "the edit window is still shown"
fi
keys M-d
if expect 10 "Alt+D did not bring up the Data choice" "Collect Data"; then
  keys Enter
  if expect 10 "the dataset list does not offer \"01 [North Block]\"" "Select Dataset" "01 [North Block]"; then
    keys Enter
    if expect 15 "the edit window did not open again on plot 3" "$title_set" "rocky"; then
      keys PageUp
      expect 10 "PageUp did not show plot 2" "steep"
      keys PageUp
      expect 10 "PageUp did not show plot 1" "windthrow" && note "the plots shown again"
    fi
  fi
fi
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"
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
if [ "$got" = "$want" ]; then
  note "dbfread reads the keyed plots"
else
  fail "dbfread read:"$'\n'"$got"$'\n'"instead of:"$'\n'"$want"
fi

# --- 5. The whole cruise: timer, unique plot, trees, logs, insert, delete, search, regeneration --
# Trees and logs are keyed in their grids a key at a time; Enter at the end of
# a line makes the next one (a blank last line goes when the level is left).
# The height is read from the rangefinder (Ctrl+P), which answers with the
# next height of its list: the height given here is what it will send.
# The sensor input throws away keys typed ahead while it opens the port, so
# Ctrl+P waits until the cell is reached. (The tables read after the cruise
# show each height arrived.)
read_height() {  # height: Ctrl+P on the height cell; the reading is stored and the cursor moves on
  wait_until 5 screen_has "Height: Ctrl+P reads" || fail "the height cell was not reached for $1"
  sleep 0.5
  keys C-p
  wait_until 5 screen_lacks "Height: Ctrl+P reads" || fail "the rangefinder's $1 did not arrive"
  sleep 0.2
}
key_tree() {  # species dbh height crown [more]: the cursor starts on the tree number
  keys Enter; type_slowly "$1"; keys Enter; type_slowly "$2"; keys Enter; read_height "$3"; type_slowly "$4"
  type_slowly 0; keys Enter
  [ "${5:-}" = more ] && keys Enter
  sleep 0.3
}
key_log() {  # length topdia grade cull: the Enter after the cull makes the next line
  keys Enter; type_slowly "$1"; keys Enter; type_slowly "$2"; keys Enter; type_slowly "$3"
  type_slowly "$4"; keys Enter
  sleep 0.3
}
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
expect 15 "reopened on plot 1" "windthrow"
# the plot timer: End goes to the last column of the page
keys End; sleep 0.3; keys C-t; sleep 2.3; keys C-t; sleep 0.3
# a fourth plot: a duplicate number is refused, then the line is deleted again
keys C-PageDown; sleep 0.3; keys PageDown; sleep 0.4
expect 5 "plot 4 numbered" "Plot    4"
type_slowly 2; keys Enter
expect 5 "duplicate plot refused" "Entry Must" "Be Unique"
wait_until 5 screen_lacks "Be Unique"
keys F10
expect 5 "delete question" "Delete Current Line?"
keys y
expect 5 "child data question" "This Will ALSO ERASE" && keys y
expect 5 "back on plot 3 after the delete" "rocky" "Plot    3"
# plot 1's trees
keys C-PageUp; sleep 0.3
keys F5
expect 5 "child list" "Select Child" "TREES" "REGEN" && keys Enter
expect 5 "trees of plot 1" "Plot 1     Crew ABR" "Species"
# tree 1..3, a key at a time; the cursor starts on the tree number
# (each tree starts with Enter)
key_tree DF 20 120 C more
# the demo's field-exit program fills the basal area once the DBH is left
expect 5 "tree 1's basal area (0.005454 x 20 x 20)" "2.18" "Basal area"
key_tree GF 18 100 D more
key_tree LP 14 100 I
keys Up; sleep 0.3; keys F5
expect 5 "logs of tree 2" "Length" "Grade"
key_log 16 12 S2 5
key_log 16 8 S3 0
keys F4
expect 5 "back on the trees" "Lodgepole pine"
# a log under tree 1 too
keys Up; sleep 0.3; keys F5
expect 5 "logs of tree 1" "Length" "Grade"
key_log 18 15 S1 0
keys F4
expect 5 "back on the trees" "Lodgepole pine"
# a tree inserted before tree 2: the trees after it move down, tree 2's logs with them
keys Down; sleep 0.3; keys F9
expect 5 "insert question" "Insert Line?" && keys y
sleep 0.8
key_tree WH 22 110 C
# tree 3, the grand fir with its logs, is deleted with them
keys Down; sleep 0.3; keys F10
expect 5 "delete question" "Delete Current Line?" && keys y
expect 5 "child data question" "This Will ALSO ERASE" "Child Level Data." && keys y
sleep 0.8
# F3 on the species column finds the hemlock
keys C-Home; sleep 0.3; keys Enter; sleep 0.3
keys F3
expect 5 "search box" "< Search: F7=Binary >" "Species" "< F5-1st F6-Next >"
type_slowly west; keys F5
wait_until 5 screen_lacks "< Search: F7=Binary >" || fail "the search box stayed"
expect 5 "found line 2" "Line    2"
# a fourth tree without its DBH: F4 stops on it
keys C-End; sleep 0.3; keys Enter; sleep 0.3
keys Enter; type_slowly RC; keys Enter; sleep 0.3
keys F4; sleep 1
if screen_has "Western redcedar" && screen_lacks "windthrow"; then
  note "F4 stayed on the trees while tree 4 lacks its DBH"
else
  fail "F4 left the trees although tree 4 has no DBH"
  show_screen
fi
type_slowly 30; keys Enter; sleep 0.3
keys F4
expect 5 "back on the plots" "Plot number" "windthrow"
# plot 2: a tree, then its regeneration through the sibling key
keys PageDown; sleep 0.3; keys F5
expect 5 "child list" "Select Child" && keys Enter
expect 5 "trees of plot 2" "Plot 2     Crew JMC"
key_tree DF 25 130 D
keys M-F5; sleep 1
expect 5 "the regeneration of plot 2" "Height class" "Count"
keys Enter; type_slowly PP; keys Enter; type_slowly 2; type_slowly 12; keys Enter; sleep 0.3
keys F4
expect 5 "back on the plots from the regeneration" "Plot number" "steep"
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"
note "a whole cruise keyed: trees and logs under plot 1, a tree inserted and one deleted with its logs, regeneration under plot 2"
# Left and opened again, everything is there.
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
expect 15 "the dataset did not open again on plot 2" "steep"
keys PageUp; sleep 0.3; keys F5
expect 5 "child list" "Select Child" && { keys Up; keys Enter; }  # REGEN was the last choice
expect 5 "the trees of plot 1 again" "Douglas-fir" "Western hemlock" "Lodgepole pine" "Western redcedar"
screen > "$work/trees-of-plot-1.txt"
# F7: the global program list offers the report; its box counts the plot's trees
keys F7
if expect 5 "F7 did not list the programs" "< Select Program >" "REPORT.RPF" "< Esc - Abort >"; then
  keys Enter
  if expect 5 "the report's box did not come" "Cruise report" "Trees on this plot:" "10.80"; then
    screen_has "Trees on this plot:             4" || fail "the report does not count 4 trees"
    keys x
    wait_until 5 screen_lacks "Cruise report" || fail "a key did not close the report"
    expect 5 "the trees were not drawn again after the report" "Douglas-fir" "Lodgepole pine"
  fi
fi
# F7, PRINT.RPF: the plot's trees are printed on COM 4, whose other end
# receives exactly what printed_report writes.
printed_report "$work/printed-wanted.txt"
printed_whole() { [ -f "$printed" ] && [ "$(stat -c %s "$printed")" -ge "$(stat -c %s "$work/printed-wanted.txt")" ]; }
keys F7
if expect 5 "F7 did not list the print program" "< Select Program >" "PRINT.RPF"; then
  keys Down; sleep 0.3; keys Enter
  if wait_until 10 printed_whole && cmp -s "$printed" "$work/printed-wanted.txt"; then
    note "PRINT.RPF printed the plot's trees on COM 4, byte for byte"
  else
    fail "the printer's end of COM 4 received:"$'\n'"$(od -c "$printed" 2>&1 | head -20)"
  fi
  expect 5 "the trees were not drawn again after printing" "Douglas-fir" "Lodgepole pine"
fi
keys Escape
expect 5 "back on the plots" "windthrow"
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"

# Every table of the dataset, read by dbfread and ogrinfo.
check_cruise_tables "$data"

# The demo's line-exit program refuses a log longer than its tree: tree 4
# (no height so far) is given 15 ft, and a 20 ft log under it stays until it is 12.
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
expect 15 "reopened on plot 1" "windthrow"
keys F5
expect 5 "child list" "Select Child" && keys Enter  # TREES was the last choice
expect 5 "the trees of plot 1" "Western redcedar"
keys C-End; sleep 0.3; keys Home; sleep 0.3
keys Enter; sleep 0.3; keys Enter; sleep 0.3; keys Enter; sleep 0.3
read_height 15; sleep 0.2
keys F5
expect 5 "logs of tree 4" "Length" "Grade"
key_log 20 8 S1 0
if expect 5 "the long log was not refused" "Log longer than the" "tree is tall. Press Y"; then
  keys y
  wait_until 5 screen_lacks "Log longer than the" || fail "the refusal stayed"
  screen_has "20.0" || fail "the refused log's length is gone"
  keys Home; sleep 0.3; keys Enter; sleep 0.3; type_slowly 12; keys Enter; sleep 0.3
  expect 5 "the log's length corrected" "12.0"
  keys F4
  expect 5 "the corrected log was not stored: the trees did not come back" "Western redcedar" "Basal area" \
    && note "a log longer than its tree was refused by the program, and kept once shorter"
fi
keys Escape
expect 5 "back on the plots" "windthrow"
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"

# A rangefinder gone bad: while the height cell of tree 4 waits, garbage
# bytes, a line of 10,000 characters and a burst of 10,000 lines arrive, then
# the cable goes (its socat ends). None of it is stored; the failing port is
# reported; the cell is left and the crown keyed; the program goes on.
kill "${instrument_pids[0]}" 2>/dev/null
wait "${instrument_pids[0]}" 2>/dev/null
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
expect 15 "reopened on plot 1" "windthrow"
keys F5
expect 5 "child list" "Select Child" && keys Enter
expect 5 "the trees of plot 1" "Western redcedar"
keys C-End; sleep 0.3; keys Home; sleep 0.3
keys Enter; sleep 0.3; keys Enter; sleep 0.3; keys Enter; sleep 0.3
expect 5 "the height cell of tree 4 was not reached" "Height: Ctrl+P reads"
sleep 0.5
"$instrument" "$serial/ttyA1" --garbage 5000 --long 10000 --burst 10000 --exit-after 1500 >"$work/bad-rangefinder.log" 2>&1
sleep 1
kill "$(sed -n 1p "$serial/serial_pair.pids")" 2>/dev/null
if expect 10 "the vanished rangefinder was not reported" "Com3 ReadFile() error:" "Check the Sensor Cable"; then
  keys Escape
  wait_until 5 screen_lacks "Check the Sensor Cable" || fail "the port's warning stayed"
  keys Right; sleep 0.5; type_slowly C; sleep 0.5
  if screen_has "Western redcedar  30.0  15    C"; then
    note "a rangefinder sending garbage, a 10,000-character line and 10,000 lines, then vanishing, was reported; tree 4's crown keyed beside it"
  else
    fail "tree 4's crown was not keyed after the rangefinder vanished"; show_screen
  fi
fi
keys F4
expect 5 "back on the plots after the rangefinder vanished" "windthrow"
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"

# --- 6. The GPS receiver on COM 2 ------------------------------------------------------------
# A receiver replayed into the third cable: Port Settings keeps the default
# port (COM2:, NMEA, 9600) and opens it; the main window and the edit window
# show the position; the receiver falls silent (the replay stops): the
# warning, then the reconnect; it talks again and the position is back.
replay=$(dirname "$0")/../support/nmea_replay.py
sent="$work/nmea-sent.log"
rm -f "$sent"
# Every fourth epoch has 3 satellites: the warning filters refuse it.
start_replay() {
  python3 "$replay" "$serial/ttyA3" --few-every 4 --log "$sent" >>"$work/nmea-replay.log" 2>&1 &
  replay_pid=$!
  instrument_pids+=($replay_pid)
}
start_replay
keys M-g
if expect 10 "Alt+G did not bring up the GPS choice" "Port Settings" "Connect / Disconnect"; then
  click_on "Port Settings" || fail "could not click the \"Port Settings\" button"
  if expect 10 "the port settings dialog did not open" "GPS Comm Port Settings" "COM2:" "NMEA"; then
    keys Enter
    if expect 10 "the new port settings were not offered for opening" "Open the GPS Port With New Settings?"; then
      keys y
    fi
  fi
fi
if expect 15 "the main window does not show the receiver's position" "GPS: 45°31'2" "122°40'3" "Sv:8" "GPS  A3D" "UTC: "; then
  note "the main window shows the position of a receiver replayed on COM 2"
fi
[ -f "$root/GPS_Port.dft" ] || fail "GPS_Port.dft was not written in the install root"
screen >"$work/main-window-gps.txt"
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
if expect 15 "the edit window's title bar does not show the position" "windthrow" "45°31'2" "Sv:8"; then
  note "the edit window's title bar shows the GPS position"
  screen >"$work/edit-window-gps.txt"
fi
# Ctrl+G on plot 1: a point averaged from 5 fixes into LAT, LON and ELEV.
keys C-g
if expect 10 "Ctrl+G did not offer the logging types" "Start GPS Logging" "Select GPS Logging Type"; then
  keys Enter
  expect 10 "the point was not averaged" "Averaging Points" "Points Left To"
  wait_until 30 screen_lacks "Averaging Points" || fail "averaging did not store by itself"
  expect 5 "plot 1's latitude was not stored" "Latitude           45.52" "Longitude        -122.67"
fi
# A line log on plot 1 (every 5 s), stopped by moving to plot 2, where a
# polygon is logged (every fix) and stopped with Ctrl+G.
keys C-g
if expect 10 "Ctrl+G did not offer the logging types again" "Select GPS Logging Type"; then
  keys Down Space Enter
  expect 10 "the line log did not start" "Plot:LINE Positions logged:"
  sleep 6
  # Into plot 1's trees and back: the record stays the logged one, nothing is asked.
  keys F5
  expect 10 "F5 did not offer the children while logging" "Select Child" && keys Enter
  expect 10 "the trees of plot 1 did not open while logging" "Western redcedar"
  screen_lacks "You Must Stop GPS Logging" || fail "moving into a child level asked to stop the log"
  keys F4
  expect 10 "F4 did not bring plot 1 back while logging" "Plot    1" "windthrow"
  screen_lacks "You Must Stop GPS Logging" || fail "coming back from the child level asked to stop the log"
  sleep 6
  keys PageDown
  if expect 10 "moving to another line did not ask to stop the log" "You Must Stop GPS Logging Before" \
      "Moving to a Different Line."; then
    keys y
    expect 10 "the move to plot 2 did not follow" "Plot    2"
  fi
fi
keys C-g
if expect 10 "Ctrl+G did not offer the logging types on plot 2" "Select GPS Logging Type"; then
  keys Down Down Space Enter
  expect 10 "the polygon log did not start" "Plot:POLY Positions logged:"
  sleep 9
  keys C-g
  if expect 10 "Ctrl+G did not offer to stop the polygon" "GPS Logging Choices" "Stop Current Log"; then
    keys Tab Enter
    expect 10 "the stop was not asked" "Stop Logging GPS Polygon" && keys y
    wait_until 10 screen_lacks "Positions logged" || fail "the polygon log did not stop"
  fi
fi
line_file=$(ls "$data"/*"~   1~Plot^GPS Line ^.GPF" 2>/dev/null | head -1)
poly_file=$(ls "$data"/*"~   2~Plot^GPS Poly ^.GPF" 2>/dev/null | head -1)
# A second polygon on plot 2: the file exists; No overwrites it.
[ -n "$poly_file" ] && cp "$poly_file" "$work/first-polygon.GPF"
keys C-g
if expect 10 "Ctrl+G did not offer the logging types for a second polygon" "Select GPS Logging Type"; then
  keys Down Down Space Enter
  if expect 10 "the existing polygon file was not asked about" "GPS Polygon File Exists" "Press No to Overwrite"; then
    keys n
    expect 10 "the second polygon log did not start" "Plot:POLY Positions logged:"
    sleep 5
    keys C-g
    expect 10 "Ctrl+G did not offer to stop the second polygon" "Stop Current Log" && keys Tab Enter
    expect 10 "the second stop was not asked" "Stop Logging GPS Polygon" && keys y
    wait_until 10 screen_lacks "Positions logged" || fail "the second polygon log did not stop"
  fi
fi
if [ -n "$poly_file" ] && /usr/bin/python3 - "$work/first-polygon.GPF" "$poly_file" <<'PY'
import sys, dbfread
old = list(dbfread.DBF(sys.argv[1], ignorecase=False))
new = list(dbfread.DBF(sys.argv[2], ignorecase=False))
sys.exit(0 if old and new and new[0]["UTC_TOF"] > old[-1]["UTC_TOF"] else 1)
PY
then
  note "No to \"GPS Polygon File Exists\" replaced the old polygon"
else
  fail "the second polygon did not replace the first one"
fi
py=/usr/bin/python3
[ -x "$py" ] || py=python3
if [ -n "$line_file" ] && [ -n "$poly_file" ] &&
   "$py" "$(dirname "$0")/gps_log_check.py" "$sent" "$plots" "$line_file" "$poly_file" >"$work/gps-log-check.txt" 2>&1; then
  note "GPS logging: $(tr '\n' ';' <"$work/gps-log-check.txt")"
else
  fail "the GPS logs do not hold what the receiver sent: line '${line_file:-none}', polygon '${poly_file:-none}': $(cat "$work/gps-log-check.txt" 2>/dev/null)"
fi
# The coordinate files as GIS layers: tallyfin-gis, read back by ogrinfo.
gis=$(dirname "$bin")/../../tools/gis/tallyfin-gis
if [ -x "$gis" ] && "$gis" "$data" --dataset 1 --out "$work/gis" >"$work/gis.log" 2>&1 &&
   ogrinfo -so -al "$work/gis/lines.geojson" 2>/dev/null | grep -q "Geometry: Line String" &&
   ogrinfo -so -al "$work/gis/polygons.geojson" 2>/dev/null | grep -q "Feature Count: 1" &&
   ogrinfo -so -al "$work/gis/polygons.geojson" 2>/dev/null | grep -q "Geometry: Polygon"; then
  note "tallyfin-gis wrote the line and the polygon as GeoJSON layers that ogrinfo reads"
else
  fail "tallyfin-gis did not give ogrinfo the logged line and polygon (see $work/gis.log)"
fi
keys Escape
expect 10 "Escape did not bring the main window back" "Current Application: Cruise"
kill "$replay_pid" 2>/dev/null
wait "$replay_pid" 2>/dev/null
if expect 12 "a silent receiver was not reported" "Warning ! GPS  Not Detected!!!" \
   && expect 12 "the program did not reconnect to a silent receiver" "*** Attempting to ReConnect ! ***"; then
  note "a receiver falling silent is reported, then reconnected"
fi
start_replay
if wait_until 20 screen_lacks "Attempting to ReConnect" && expect 10 "the position did not come back" "GPS: 45°31'2" "Sv:8"; then
  note "the receiver talking again brings the position back"
fi

# Waypoints and navigation: Log Waypoint captures the position as "WP Here";
# Edit Waypoints adds two typed positions; Navigation from WP Here to North
# Corner draws the points, the legs and the track in braille, and its text
# agrees with GeodSolve; Ctrl+N opens it over the edit window.
erase=()
for _ in $(seq 1 24); do erase+=(BSpace); done
gps_menu() { keys F10 && sleep 0.3 && keys Right Right Right && sleep 0.3; }
gps_menu
keys Enter
if expect 10 "Log Waypoint did not open the capture dialog" "Capture Waypoint" "Edit Waypoint Name" "Re-Capture"; then
  keys "${erase[@]}"; sleep 0.5
  keys -l "WP Here"; sleep 0.5
  keys Enter
  wait_until 10 screen_lacks "Capture Waypoint" || fail "the captured waypoint was not taken"
fi
add_waypoint() {
  click_on "Add New" || { fail "no \"Add New\" button in the browser"; return; }
  if expect 10 "Add New did not open the capture dialog" "Capture Waypoint" "Capture GPS"; then
    # In steps: the program keeps only so many keys it has not read yet.
    keys -l "$1"; sleep 0.5
    keys Tab "${erase[@]}"; sleep 0.5
    keys -l -- "$2"; sleep 0.5
    keys Tab "${erase[@]}"; sleep 0.5
    keys -l -- "$3"; sleep 0.5
    keys Enter
    expect 10 "the new waypoint $1 did not become current" "Waypoint:$4 of $4" "$1"
  fi
}
gps_menu
keys Up Enter
if expect 10 "Edit Waypoints did not open the browser" "Select Waypoint to Edit" "Waypoint:1 of 1" "WP Here"; then
  add_waypoint "North Corner" 45.5250 -122.6750 2
  add_waypoint "East Gate" 45.5240 -122.6730 3
  click_on "Finished" || fail "no \"Finished\" button in the browser"
  wait_until 10 screen_lacks "Select Waypoint to Edit" || fail "Finished did not close the browser"
fi
if "$py" "$(dirname "$0")/waypoints_check.py" "$root/Waypoints.dbf" >"$work/waypoints.txt" 2>&1; then
  note "Waypoints.dbf holds the captured and the two typed waypoints (dbfread)"
else
  fail "Waypoints.dbf does not hold the three waypoints: $(cat "$work/waypoints.txt")"
fi
gps_menu
keys Down Enter
if expect 10 "Navigation did not offer the start and destination" "Navigation Waypoints" "From Waypoint" "To Waypoint" "East Gate"; then
  keys Down BTab Down && sleep 0.3 && keys Enter
fi
if expect 10 "the navigation window did not open" "Graphical Navigation Window" "Background Points" \
   "North Corner" "WP Here" "Current Position" "To Destination GO:" "From Start To End:" \
   "From: WP Here   To: North Corner" "├"; then
  sleep 8  # a few positions for the track
  screen >"$work/navigation.txt"
  if "$py" -c 'import sys; t = open(sys.argv[1], encoding="utf-8").read(); sys.exit(sum(0x2801 <= ord(c) <= 0x28FF for c in t) < 10)' "$work/navigation.txt"; then
    note "the navigation window draws the waypoints, the legs and the track in braille"
  else
    fail "the navigation window shows no braille dots"
  fi
  if python3 "$(dirname "$0")/nav_check.py" "$work/navigation.txt" "$sent" 45.5250 -122.6750 >"$work/nav-check.txt" 2>&1; then
    note "$(cat "$work/nav-check.txt")"
  else
    fail "the distance and bearing to go disagree with GeodSolve: $(cat "$work/nav-check.txt")"
  fi
  keys F10 Enter
  if expect 10 "the window's menu did not open the background points" "Select Background Reference" "Available Background Points"; then
    click_on "Add All" && sleep 0.3 && click_on "OK"
    expect 10 "the background points were not drawn" "Graphical Navigation Window" "East Gate"
  fi
  keys Escape
  expect 10 "Escape did not close the navigation window" "Current Application: Cruise"
fi
keys M-d
expect 10 "Alt+D did not bring up the Data choice" "Collect Data" && keys Enter
expect 10 "the dataset list did not come" "01 [North Block]" && keys Enter
if expect 15 "the edit window did not open for Ctrl+N" "TFMobile" "Plot number"; then
  keys C-n
  if expect 10 "Ctrl+N did not offer the start and destination" "Navigation Waypoints"; then
    keys Enter
    if expect 10 "Ctrl+N did not open the navigation window" "Graphical Navigation Window" "To Destination GO:"; then
      keys F4
      expect 10 "F4 did not bring the edit window back" "TFMobile" "Plot number" && note "Ctrl+N opens navigation over the edit window; F4 closes it"
    fi
  fi
  keys Escape
  expect 10 "Escape did not bring the main window back" "Current Application: Cruise"
fi
keys M-g
if expect 10 "Alt+G did not bring up the GPS choice" "Connect / Disconnect"; then
  click_on "Connect / Disconnect"
  wait_until 10 screen_lacks "GPS: 45" || fail "Connect / Disconnect did not take the GPS block away"
fi

# Setups, "Set Date - Time" shows the clock's date and time; a date that does
# not exist is refused (nothing is set: the machine's clock is left alone).
keys M-s
if expect 10 "Alt+S did not bring up the Setups choice" "Set Date - Time"; then
  click_on "Set Date - Time"
  if expect 10 "the date and time dialog did not open" "month/day/year" "24-hour clock" "$(date +%Y)"; then
    keys BSpace BSpace 02 Tab BSpace BSpace 30 Enter
    expect 10 "a date that does not exist was not refused" "02/30/" "Is Not a Valid Date" && keys Enter
    keys Escape
    wait_until 10 screen_lacks "month/day/year" || fail "Cancel did not close the date and time dialog"
    note "Set Date - Time shows the clock and refuses 02/30"
  fi
fi
# Setups, "Temp Coordinate Files": the check box of the ClearCoordFiles setting.
keys M-s
if expect 10 "Alt+S did not bring up the Setups choice" "Temp Coordinate Files"; then
  click_on "Temp Coordinate Files"
  if expect 10 "the Temp Coordinate Files dialog did not open" "Clear Them When the Dataset Changes"; then
    keys Escape
    wait_until 10 screen_lacks "Clear Them When" || fail "Escape did not close the Temp Coordinate Files dialog"
    note "Temp Coordinate Files shows its setting"
  fi
fi

# --- 7. Dataset exchange: bundle, extract, backup, move, copy back, post, erase ---------------
tables_py="$(dirname "$0")/exchange_tables.py"
mobile="$card/Tallyfin Mobile/Data/Cruise"
pending="$root/Pending_Data/Cruise"
# data_choice BUTTON: the Data choice, then a click on the button.
data_choice() {
  keys M-d
  expect 10 "Alt+D did not bring up the Data choice" "$1" && sleep 0.3 && click_on "$1"
}
# answer TEXT KEY: waits for the message TEXT and answers it with KEY.
answer() {
  expect 10 "no \"$1\" was shown" "$1" && sleep 0.2 && keys "$2"
}
bundle_now() {
  data_choice "Bundle Dataset"
  if expect 10 "Bundle Dataset did not list the raw datasets" "Extracted (Raw) Datasets" "01 [North Block]"; then
    keys Enter
    wait_until 30 screen_lacks "Extracted (Raw) Datasets" || fail "the raw dataset list did not close"
    wait_until 30 test -f "$data/[North Block]2AA___ABC___TREES+.dbf" || fail "no trees bundle was written"
    sleep 0.5
  fi
}
extract_now() {
  data_choice "Extract Dataset"
  if expect 10 "Extract Dataset did not list the bundled datasets" "Bundled Datasets" "North Block"; then
    keys Enter
    wait_until 30 test -f "$data/01 1A____[North Block]ABC___~~PLOTS.dbf" || fail "extraction did not give back the plots"
    sleep 0.5
  fi
}
# The storage dialogs of Transfer Data.
transfer_storage() {
  data_choice "Transfer Data"
  expect 10 "Transfer Data did not open its dialog" "Removable Storage (Backup / Move)" "Host Transfer" &&
    sleep 0.3 && click_on "$1"
}
close_transfer() {
  keys Escape; sleep 0.3; keys Escape
  wait_until 10 screen_lacks "Host Transfer" || fail "the Transfer Data dialog did not close"
}

"$py" "$tables_py" dump "$data" "$work/raw-tables.json" >"$work/exchange.log" 2>&1 || fail "dbfread could not read the dataset: $(cat "$work/exchange.log")"
bundle_now
if "$py" "$tables_py" bundled "$data" "$work/raw-tables.json" >>"$work/exchange.log" 2>&1; then
  note "Bundle Dataset: $(tail -n 1 "$work/exchange.log"), no raw table left"
else
  fail "the bundles do not hold the raw records: $(tail -n 1 "$work/exchange.log")"
fi
extract_now
if "$py" "$tables_py" raw "$data" "$work/raw-tables.json" >>"$work/exchange.log" 2>&1; then
  note "Extract Dataset: $(tail -n 1 "$work/exchange.log") (dbfread)"
else
  fail "extraction did not give back every table: $(tail -n 1 "$work/exchange.log")"
fi

# Backup of the raw dataset to the card: every file byte for byte.
transfer_storage "Removable Storage (Backup / Move)"
if expect 10 "the backup / move dialog did not open" "Backup / Move Dataset" "01 [North Block]" "Archive Before Move"; then
  keys Enter
  answer "Backup Dataset Succeeded!!" Enter
  backed=0
  for f in "$data"/01\ *; do
    cmp -s "$f" "$mobile/$(basename "$f")" && backed=$((backed + 1)) || fail "the card's copy of $(basename "$f") differs"
  done
  note "Backup to the card: $backed files byte for byte in Tallyfin Mobile/Data/Cruise"
  close_transfer
fi
mkdir -p "$work/raw-backup" && cp "$mobile"/01\ * "$work/raw-backup/"

# Bundled again and moved, archived first: gone from the data folder, on the card and in the archive.
bundle_now
mkdir -p "$work/bundles" && cp "$data"/\[North\ Block\]* "$work/bundles/"
transfer_storage "Removable Storage (Backup / Move)"
if expect 10 "the backup / move dialog did not open" "Backup / Move Dataset" "[North Block]"; then
  click_on "[North Block]"; sleep 0.3
  click_on "Archive Before Move"; sleep 0.3
  expect 5 "the archive check box did not take" "[x] Archive Before Move"
  click_on "< Move >"
  answer "Move Dataset Succeeded!!" Enter
  today=$(date +%Y%m%d)
  moved=0
  for f in "$work/bundles"/*; do
    n=$(basename "$f")
    [ -e "$data/$n" ] && fail "$n is still in the data folder after the move"
    cmp -s "$f" "$mobile/$n" || fail "the card's $n differs from the bundle moved"
    cmp -s "$f" "$data/Archives/$today/$n" || fail "the archive's $n differs from the bundle moved"
    moved=$((moved + 1))
  done
  note "Move with Archive Before Move: $moved bundles on the card and in Archives/$today, none left behind"
  close_transfer
fi

# Copy from the card: the bundles come back.
transfer_storage "Copy From Removable Storage"
if expect 10 "the copy dialog did not open" "Copy Dataset From Removable Storage" "Cruise" "[North Block]"; then
  keys Enter
  answer "Copy Dataset Succeeded!!" Enter
  copied=0
  for f in "$work/bundles"/*; do
    cmp -s "$f" "$data/$(basename "$f")" && copied=$((copied + 1)) || fail "$(basename "$f") did not come back from the card"
  done
  note "Copy From Removable Storage: $copied bundles back in the data folder"
  close_transfer
fi

# Posting a pending dataset over the present one: two questions, the pending folder goes.
mkdir -p "$pending" && cp "$work/bundles"/* "$pending/"
data_choice "Pending Datasets"
if expect 10 "Pending Datasets did not open the post dialog" "Post Pending Datasets" "Cruise" "[North Block]"; then
  keys Enter
  answer "OVERWRITE the Existing DataSet??" y
  answer "Are You Sure That You Want to OVERWRITE" y
  answer "Post Dataset Succeeded!!" Enter
  # The folder goes once the success box is closed.
  wait_until 10 test ! -d "$pending" || fail "the pending Cruise folder is still there after its last dataset was posted"
  for f in "$work/bundles"/*; do cmp -s "$f" "$data/$(basename "$f")" || fail "posting changed $(basename "$f")"; done
  note "Post Pending Datasets: both overwrite questions, the dataset posted, the pending folder removed"
  keys Escape
  wait_until 10 screen_lacks "Post Pending Datasets" || fail "the post dialog did not close"
fi

# --- Host transfer: tallyfin-host on loopback --------------------------------------------------
# Two tagged bundled datasets go to the host; a package, a dataset, a message
# and a program update come back, each byte for byte where it belongs.
host_bin=${TALLYFIN_HOST:-$(dirname "$bin")/../../tools/host/tallyfin-host}
hostroot="$work/host"
received="$root/TCPIP_Receive"
rm -rf "$hostroot" && mkdir -p "$hostroot"/outbox/all/{apps,datasets,messages,updates}
cp "$package" "$hostroot/outbox/all/apps/Survey.tfa"
cp "$work/bundles/[North Block]1A____ABC___+PLOTS.dbf" "$hostroot/outbox/all/datasets/[Cruise]1A____OFFICE+PLOTS.dbf"
printf 'Crew 4: the East Block is closed to traffic\r\nfrom Monday. Use the north road.\r\n' >"$hostroot/outbox/all/messages/Roads.mes"
printf '#!/bin/sh\necho the updated program\n' >"$hostroot/outbox/all/updates/tallyfin"
for f in "$work/bundles"/*; do n=$(basename "$f"); cp "$f" "$data/${n/North Block/South Block}"; done
hostport=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
# The host's port before the host runs: the first transfer is refused.
keys M-s
if expect 10 "Alt+S did not bring up the Setups choice" "TCP/IP Transfer Setups"; then
  sleep 0.3; click_on "TCP/IP Transfer Setups"
  if expect 10 "the host address dialog did not open" "Set Tallyfin Host IP Address" "Example 10.1.1.200" "Port Number (50000 or Greater)"; then
    keys BSpace BSpace BSpace; keys -l 127; keys Tab BSpace BSpace; keys -l 0; keys Tab BSpace BSpace; keys -l 0; keys Tab
    keys Tab BSpace BSpace BSpace BSpace BSpace; keys -l "$hostport"
    keys Tab Space; sleep 0.2; keys Tab Space
    expect 5 "the check boxes did not take" "[x] Archive Datasets After Transfer" "[x] Request Program Update if Available" &&
      sleep 0.2 && click_on "Save"
    wait_until 10 screen_lacks "Set Tallyfin Host IP Address" || fail "the host address dialog did not close on Save"
    [ "$(cat "$root/TFM_Host_IP.txt" 2>/dev/null)" = "127.0.0.1 $hostport" ] ||
      fail "TFM_Host_IP.txt holds \"$(cat "$root/TFM_Host_IP.txt" 2>/dev/null)\", not \"127.0.0.1 $hostport\""
    note "TCP/IP Transfer Setups: TFM_Host_IP.txt reads \"127.0.0.1 $hostport\", both options ticked"
  fi
fi
data_choice "Tag For Auto Transfer"
if expect 10 "Tag For Auto Transfer did not list the bundled datasets" "Datasets Sent With Every Host Transfer" "South Block"; then
  click_on "South Block"; sleep 0.2; keys Enter
  expect 5 "South Block was not marked" "* South Block" && sleep 0.2 && click_on "< OK >"
  wait_until 10 screen_lacks "Datasets Sent With Every Host Transfer" || fail "the tag dialog did not close"
  [ "$(stored AutoXfer)" = "South Block" ] || fail "AutoXfer is \"$(stored AutoXfer)\", not \"South Block\""
fi
# host_transfer: Transfer Data, Host Transfer, North Block.
host_transfer() {
  transfer_storage "Host Transfer"
  expect 10 "Host Transfer did not list the bundled datasets" "Bundled Datasets" "North Block" "No Dataset" &&
    sleep 0.3 && click_on "North Block" && sleep 0.2 && keys Enter
}
host_transfer
if expect 15 "a refused connection was not reported" "10061: Connection refused" "IP Error 3"; then
  keys Enter
  expect 10 "the Transfer Data dialog did not stay open after the refused transfer" "Host Transfer" "Copy From Removable Storage"
  [ -e "$received/XferFromPC.bin" ] && fail "a refused transfer left a host control file"
  close_transfer
  note "Host Transfer with no host: \"10061: Connection refused\" (IP Error 3), the program goes on"
fi
"$host_bin" --root "$hostroot" --port "$hostport" --listen 127.0.0.1 >"$work/host.log" 2>&1 &
host_pid=$!
wait_until 10 grep -q listening "$work/host.log" || fail "tallyfin-host did not start: $(cat "$work/host.log")"
host_transfer
if expect 30 "the host transfer did not end with its summary" "Dataset Files Sent:14" "Posted Apps Rcvd:1" \
     "Datasets Received:1" "Messages Rcvd:1" "Program Updates:Yes  (1 Updates)" "Transfer Successful!"; then
  keys Enter
  answer "You Have Data Files Pending" Enter
  answer "You Have Messages Pending" Enter
  wait_until 10 screen_lacks "Host Transfer" || fail "the Transfer Data dialog did not close after a complete transfer"
  session=$(ls "$hostroot/inbox/ABC" 2>/dev/null | head -n 1)
  sent=0
  for f in "$data"/\[North\ Block\]* "$data"/\[South\ Block\]*; do
    n=$(basename "$f")
    [ -f "$f" ] || continue
    if [ "$(sha256sum <"$f")" = "$(sha256sum <"$hostroot/inbox/ABC/$session/$n" 2>/dev/null)" ]; then
      sent=$((sent + 1))
    else
      fail "the host's copy of $n differs (sha256)"
    fi
    cmp -s "$f" "$data/Archives/$(date +%Y%m%d)/$n" || fail "$n was not archived after the transfer"
  done
  [ "$sent" = 14 ] || fail "$sent dataset files reached the host, not 14"
  same() { [ "$(sha256sum <"$1")" = "$(sha256sum <"$2" 2>/dev/null)" ] || fail "$3 differs from the host's (sha256)"; }
  same "$hostroot/outbox/all/apps/Survey.tfa" "$apps/../Apps_Pending/Survey.tfa" "the received package"
  same "$hostroot/outbox/all/datasets/[Cruise]1A____OFFICE+PLOTS.dbf" "$root/Pending_Data/Cruise/[Cruise]1A____OFFICE+PLOTS.dbf" "the received dataset"
  same "$hostroot/outbox/all/messages/Roads.mes" "$root/Messages/Roads.mes" "the received message"
  same "$hostroot/outbox/all/updates/tallyfin" "$received/Temp/tallyfin" "the program update"
  [ -f "$received/XferFromPC.bin" ] && compgen -G "$received/xfer_complete*" >/dev/null ||
    fail "the marker files are not in the receive folder"
  grep -q "result=complete" "$work/host.log" || fail "the host did not keep the session: $(tail -n 1 "$work/host.log")"
  note "Host Transfer: $sent dataset files on the host and archived (sha256); package, dataset, message and update placed byte for byte"
fi
kill "$host_pid" 2>/dev/null; wait "$host_pid" 2>/dev/null
# What came: the package under Pending Applications, the message in the viewer.
menu_path() { local item; for item in "$@"; do sleep 0.4; click_on "$item" || fail "no \"$item\" in the menus"; done; }
menu_path "Pending" "Applications" "Post Pending Apps"
if expect 10 "Pending Applications did not list the received package" "Pending Applications" "Survey.tfa"; then
  keys Escape
  wait_until 10 screen_lacks "Pending Applications" || fail "the pending applications list did not close"
  # Leaving the list without a package is said, and nothing is installed.
  answer "No App Selected" Enter
fi
menu_path "Pending" "Messages" "View Messages"
if expect 10 "View Messages did not list the received message" "Available Messages" "Roads.mes"; then
  keys Enter
  expect 10 "the message viewer did not show the received text" "the East Block is closed to traffic" "*** End of Message ***" &&
    note "Pending: Survey.tfa under Pending Applications, Roads.mes in the message viewer"
  keys Escape
  wait_until 10 screen_lacks "End of Message" || fail "the message viewer did not close"
fi
rm -f "$data"/\[South\ Block\]*

# Erase NonBundled Data (Data menu): the raw dataset goes, the bundles stay.
cp "$work/raw-backup"/* "$data/"
keys F10
expect 10 "F10 did not open the Data menu" "Erase NonBundled Data" && sleep 0.3 && click_on "Erase NonBundled Data"
if expect 10 "Erase NonBundled Data did not open the erase dialog" "Erase Datasets" "01 North Block" "Erase All Nonbundled"; then
  click_on "Erase All Nonbundled"
  answer "Erase All Nonbundled Data for" y
  answer "This Will Remove All Nonbundled Data !!!" y
  wait_until 10 screen_lacks "01 North Block" || fail "the erased dataset is still listed"
  compgen -G "$data/01 *" >/dev/null && fail "raw files are left after Erase All Nonbundled: $(ls "$data" | head -3)"
  kept=0
  for f in "$work/bundles"/*; do [ -f "$data/$(basename "$f")" ] && kept=$((kept + 1)) || fail "$(basename "$f") was erased"; done
  note "Erase All Nonbundled: the raw dataset is gone, the $kept bundles stay"
  keys Escape
  wait_until 10 screen_lacks "Erase Datasets" || fail "the erase dialog did not close"
fi

# Erase Application: the current application with its data, control folder and package.
keys M-a
if expect 10 "Alt+A did not bring up the Apps choice" "Erase Application"; then
  sleep 0.3; click_on "Erase Application"
  if expect 10 "the delete dialog did not list Cruise" "Delete Application" "Cruise"; then
    keys Enter
    answer "Delete This Application" y
    answer "Delete The CURRENT Application" y
    expect 10 "the status area still names an application" "Current Application: None"
    [ -e "$data" ] && fail "the data folder is still there: $(ls "$data" | head -3)"
    [ -e "$apps/Cruise" ] && fail "the control folder is still there"
    [ -e "$apps/Cruise.tfa" ] && fail "the package is still there"
    [ -z "$(stored CurAppName)" ] || fail "CurAppName is \"$(stored CurAppName)\" after the current application was deleted"
    note "Erase Application: data, control folder and package gone; CurAppName empty"
    keys Escape
    wait_until 10 screen_lacks "Delete Application" || fail "the delete dialog did not close"
  fi
fi

# --- 8. Leaving ----------------------------------------------------------------------------------
keys M-e
leave_program
finish

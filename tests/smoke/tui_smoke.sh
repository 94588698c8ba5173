#!/usr/bin/env bash
# Smoke test of the terminal program "tallyfin" in a detached tmux session.
#
# Usage: tui_smoke.sh TALLYFIN_BINARY WORK_FOLDER
#
# Starts "tallyfin --root WORK_FOLDER/root" in a 100x30 tmux pane (TERM
# xterm-256color; XDG_CONFIG_HOME and XDG_DATA_HOME inside WORK_FOLDER so the
# registry store is private), waits for the main screen ("Tallyfin PC",
# "Current Application", the menu bar and the six command-bar buttons),
# checks that the program switched the terminal to the alternate screen with
# SGR mouse reporting, opens the menu with F10 and closes it, sets a level-2
# password through the Setups choice (Alt+S, Tab twice to "Level 2 Password",
# Enter, both fields, Enter, OK) and checks it in the settings file
# (ROOT/tfp_mobilePC.dft, byte offset 8652), then leaves (Alt+E, the
# password, y) and checks that the program ended with status 0 and gave the
# terminal back: main screen text gone, alternate screen left, mouse
# reporting off, cursor shown. Prints every failure and exits non-zero when
# there was one. The tmux server (a private socket) is always killed.
set -u

usage() { echo "usage: $0 TALLYFIN_BINARY WORK_FOLDER" >&2; exit 2; }
[ $# -eq 2 ] || usage
command -v tmux >/dev/null || { echo "tui_smoke: FAIL: tmux is not installed" >&2; exit 1; }
[ -x "$1" ] || { echo "tui_smoke: FAIL: no program at $1" >&2; exit 1; }
bin=$(realpath "$1")
mkdir -p "$2" || exit 1
work=$(realpath "$2")

root="$work/root"
status_file="$work/exit-status"
rm -rf "$root" "$work/config" "$work/data" "$status_file"
mkdir -p "$root" "$work/config" "$work/data"

socket="tallyfin-smoke-$$"
pane="smoke:0.0"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() { tm kill-server >/dev/null 2>&1 || true; }
trap cleanup EXIT
trap 'exit 130' INT TERM

failures=0
fail() {
  echo "tui_smoke: FAIL: $*" >&2
  failures=$((failures + 1))
}
note() { echo "tui_smoke: $*"; }
screen() { tm capture-pane -p -t "$pane" 2>/dev/null; }
flags() { tm display-message -p -t "$pane" "$1" 2>/dev/null; }
show_screen() {
  echo "--- pane ---" >&2
  screen >&2
  echo "------------" >&2
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
status_written() { [ -s "$status_file" ]; }

# The program's status goes to a file; the pane then stays with a marker line.
printf -v run 'env TERM=xterm-256color XDG_CONFIG_HOME=%q XDG_DATA_HOME=%q %q --root %q; echo $? > %q; echo SMOKE-PROGRAM-ENDED; exec sleep 600' \
  "$work/config" "$work/data" "$bin" "$root" "$status_file"
tm new-session -d -s smoke -x 100 -y 30 "$run" || { echo "tui_smoke: FAIL: tmux could not start" >&2; exit 1; }

if ! wait_until 30 screen_has_all "Tallyfin PC" "Current Application"; then
  fail "the main screen did not appear within 30 s"
  show_screen
  [ -s "$status_file" ] && fail "the program ended with status $(cat "$status_file")"
  exit 1
fi
note "main screen shown"
[ "$(flags '#{alternate_on}')" = 1 ] || fail "the program did not switch to the alternate screen"
[ "$(flags '#{mouse_sgr_flag}')" = 1 ] || fail "SGR mouse reporting is not on"

screen_lacks() { ! screen_has "$1"; }
password="smoke42"

# The main window: the menu bar and the six buttons.
menu_bar="Data  Application  Setups  GPS  Pending  Help  Exit"
if screen_has_all "$menu_bar" "Data" "Apps" "Setups" "GPS" "Helps" "Exit Program"; then
  note "menu bar and command bar shown"
else
  fail "the menu bar or the command-bar buttons are missing"
  show_screen
fi

# F10 opens the Data menu under the bar; Escape closes it.
tm send-keys -t "$pane" F10
if wait_until 10 screen_has_all "Collect Data" "Extract Dataset" "$menu_bar"; then
  note "menu opened with F10"
  tm send-keys -t "$pane" Escape
  wait_until 10 screen_lacks "Collect Data" || fail "Escape did not close the menu"
else
  fail "F10 did not open the Data menu within 10 s"
  show_screen
fi

# Setups (Alt+S): Tab from "Preferences" past "Level 1 Password" to "Level 2 Password", Enter.
password_set=0
tm send-keys -t "$pane" M-s
if wait_until 10 screen_has_all "Level 1 Password" "Level 2 Password"; then
  note "Setups choice shown"
  tm send-keys -t "$pane" Tab Tab
  tm send-keys -t "$pane" Enter
  if wait_until 10 screen_has "Set Level 2 Password"; then
    note "password change dialog shown"
    tm send-keys -t "$pane" -l "$password"
    tm send-keys -t "$pane" Tab
    tm send-keys -t "$pane" -l "$password"
    wait_until 5 screen_has "*******  " || fail "the password fields do not show stars"
    tm send-keys -t "$pane" Enter
    if wait_until 10 screen_has "PassWord Level 2 Set"; then
      tm send-keys -t "$pane" Enter
      wait_until 10 screen_lacks "Set Level 2 Password" || fail "the change dialog did not close"
      password_set=1
    else
      fail "saving the password did not say \"PassWord Level 2 Set\""
      show_screen
    fi
  else
    fail "the \"Level 2 Password\" button did not open the change dialog"
    show_screen
  fi
else
  fail "Alt+S did not bring up the Setups choice within 10 s"
  show_screen
fi

settings="$root//tfp_mobilePC.dft"
if ((password_set)); then
  stored=$(dd if="$settings" bs=1 skip=8652 count=16 2>/dev/null | od -An -c | tr -d ' \n')
  want="${password}$(printf '\\0%.0s' $(seq $((16 - ${#password}))))"
  if [ "$stored" = "$want" ]; then
    note "password stored in the settings file"
  else
    fail "the settings file holds \"$stored\" at offset 8652, not \"$want\""
  fi
fi

# Leaving asks the level-2 password first, then the question.
tm send-keys -t "$pane" M-e
if ((password_set)); then
  if wait_until 10 screen_has "Level 2 Password"; then
    note "exit asks the level-2 password"
    tm send-keys -t "$pane" -l "$password"
    tm send-keys -t "$pane" Enter
  else
    fail "Alt+E did not ask the level-2 password"
    show_screen
  fi
fi
if wait_until 10 screen_has "Exit Tallyfin?"; then
  note "exit prompt shown"
  tm send-keys -t "$pane" y
else
  fail "Alt+E did not bring up \"Exit Tallyfin?\" within 10 s"
  show_screen
fi

if wait_until 15 status_written; then
  code=$(cat "$status_file")
  [ "$code" = 0 ] || fail "the program ended with status $code, not 0"
  wait_until 5 screen_has "SMOKE-PROGRAM-ENDED" || fail "the shell line after the program did not appear"
  after=$(screen)
  [[ $after == *"Tallyfin PC"* || $after == *"Current Application"* ]] &&
    fail "the main screen text is still on the terminal after exit"
  [ "$(flags '#{alternate_on}')" = 0 ] || fail "the alternate screen was not left"
  [ "$(flags '#{mouse_any_flag}')" = 0 ] || fail "mouse reporting was left on"
  [ "$(flags '#{mouse_sgr_flag}')" = 0 ] || fail "SGR mouse encoding was left on"
  [ "$(flags '#{cursor_flag}')" = 1 ] || fail "the cursor was left hidden"
  ((failures == 0)) || show_screen
else
  fail "the program did not end within 15 s of answering the exit prompt"
  show_screen
fi

if ((failures > 0)); then
  echo "tui_smoke: $failures failure(s)" >&2
  exit 1
fi
note "ok"

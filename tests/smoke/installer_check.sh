#!/usr/bin/env bash
# Check of the Windows installer "Tallyfin-PC-Setup.exe" under Wine on a
# private X server.
#
# Usage: installer_check.sh BUILD_DIR
#   BUILD_DIR is the win64 build folder holding Tallyfin-PC-Setup.exe (and
#   frontends/win32/"Tallyfin PC.exe", which the installer must carry). Needs
#   wine (64-bit), Xvfb, xdotool and x11-utils.
#
# In a fresh Wine prefix under BUILD_DIR inside a 1024x768 Wine virtual
# desktop it installs silently (/S) and checks C:\Orvandat\Tallyfin PC holds
# the program and its uninstaller, the Start-menu shortcut points at the
# program and Add/Remove Programs lists it. It starts the program through the
# shortcut, sees its main window and the install root C:\ in the registry,
# checks that installing or uninstalling while it runs changes nothing, and
# leaves it with Alt+E. A table is put into the Data folder as the program
# would, then the uninstaller Add/Remove Programs names runs silently: the
# program, the uninstaller, the shortcut and the Add/Remove entry are gone,
# the Data folder, the table, the settings file and the registry settings are
# kept. Installed again over the kept data, the table is still there.
# Exits non-zero with a message on the first failure; always stops Wine and
# the X server it started.
set -u
# Wine, the X server and the virtual desktop.
source "$(dirname "$0")/wine_desktop.sh" || exit 1

fail() {
  echo "installer_check: FAIL: $*" >&2
  if [ -n "${xvfb_pid:-}" ] && command -v import >/dev/null && import -window root "$work/failure.png" 2>/dev/null; then
    echo "installer_check: the screen at the failure: $work/failure.png" >&2
  fi
  exit 1
}
note() { echo "installer_check: $*"; }

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || fail "no build folder $1"
setup="$build/Tallyfin-PC-Setup.exe"
[ -f "$setup" ] || fail "no $setup (is makensis installed? Debian package nsis)"
exe="$build/frontends/win32/Tallyfin PC.exe"
[ -f "$exe" ] || fail "no \"$exe\""

for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
find_wine

work="$build/installer-check"
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts; the shortcut must not become a menu
# entry of this machine's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=""
cleanup() { stop_wine_desktop; }
trap cleanup EXIT
trap 'exit 130' INT TERM


rm -rf "$work"
mkdir -p "$work" || fail "cannot create $work"
start_xvfb || fail "no X server could be started (see $work/xvfb.log)"
note "X server on $DISPLAY"

boot_wine_prefix
start_wine_desktop
desktop=$(xdotool search --name 'Wine desktop' | head -1)

drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Orvandat/Tallyfin PC"
installed_exe="$install_dir/Tallyfin PC.exe"
uninstaller="$install_dir/Uninstall.exe"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tallyfin PC.lnk"
win_shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallyfin PC.lnk'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyfin PC'

# reg_value KEY NAME: the data of value NAME under KEY; status 1 when missing.
reg_value() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name "    REG_") == 1 {
      rest = substr(line, length(name "    ") + 1); sub(/^REG_[A-Z_]+    /, "", rest)
      print rest; found = 1; exit
    }
    END { exit !found }'
}
expect_value() {  # KEY NAME WANTED
  local got
  got=$(reg_value "$1" "$2") || fail "registry value \"$2\" is missing under $1"
  [ "$got" = "$3" ] || fail "registry value \"$2\" under $1 is \"$got\" (expected \"$3\")"
}
key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

# install: runs the installer silently; status 0 expected.
install() {
  timeout 300 "$wine" "$setup" /S >"$work/$1.log" 2>&1
  local rc=$?
  [ $rc -eq 0 ] || fail "the silent install ended with status $rc (see $work/$1.log)"
}

# --- Silent install -------------------------------------------------------------
note "installing silently: $(basename "$setup") /S"
install setup1
[ -f "$installed_exe" ] || fail "no C:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe after the install"
cmp -s "$exe" "$installed_exe" || fail "the installed Tallyfin PC.exe is not the one built"
[ -f "$uninstaller" ] || fail "no C:\\Orvandat\\Tallyfin PC\\Uninstall.exe after the install"
[ -f "$shortcut" ] || fail "no Start-menu shortcut $win_shortcut"
# The shortcut's target, as Windows Explorer would follow it.
link_target=$(python3 - "$shortcut" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
target = "C:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"
print("yes" if target.encode("cp1252") in data or target.encode("utf-16-le") in data else "no")
PY
)
[ "$link_target" = yes ] || fail "the Start-menu shortcut does not point at C:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"
expect_value "$uninstall_key" DisplayName 'Tallyfin PC'
expect_value "$uninstall_key" DisplayVersion '4.13.05'
expect_value "$uninstall_key" UninstallString '"C:\Orvandat\Tallyfin PC\Uninstall.exe"'
expect_value "$uninstall_key" QuietUninstallString '"C:\Orvandat\Tallyfin PC\Uninstall.exe" /S'
expect_value "$uninstall_key" InstallLocation 'C:\Orvandat\Tallyfin PC'
note "installed: the program, its uninstaller, the Start-menu shortcut and the Add/Remove Programs entry"

# --- Started through the shortcut ----------------------------------------------------
main_windows() { xdotool search --name '^Tallyfin PC$' 2>/dev/null; }
program_windows() { xdotool search --onlyvisible --class 'tallyfin pc.exe' 2>/dev/null; }
main_up() { [ -n "$(main_windows)" ]; }
main_gone() { [ -z "$(main_windows)" ]; }
note "starting the program through $win_shortcut"
# Wine's start now and then fails at once on a fresh prefix, with nothing said
# (status only): once more after a pause before it counts.
if ! "$wine" start "$win_shortcut" >"$work/start.log" 2>&1; then
  note "start failed with status $? and \"$(head -c 200 "$work/start.log")\"; once more"
  sleep 3
  "$wine" start "$win_shortcut" >>"$work/start.log" 2>&1 || fail "start could not open the shortcut (see $work/start.log)"
fi
wait_for 90 main_up || fail "no \"Tallyfin PC\" window within 90 s of starting the shortcut"
main_id=$(main_windows | head -1)
note "main window up (X window $main_id)"
# The install-root rule: the program in C:\Orvandat\Tallyfin PC keeps its root at C:\.
settings='HKCU\Software\Tallyfin PC'
expect_value "$settings" 'PC InstallDir' 'C:\'
expect_value "$settings" 'PC DataPath' 'C:\Orvandat\Tallyfin PC\Data'
[ -f "$drive_c/tfp_mobilePC.dft" ] || fail "the program made no C:\\tfp_mobilePC.dft"
note "the installed program keeps its install root at C:\\"

# While it runs, neither an install nor an uninstall changes anything.
timeout 120 "$wine" "$setup" /S >"$work/setup-running.log" 2>&1
rc=$?
[ $rc -ne 0 ] || fail "a silent install while the program runs reported success"
# _?= keeps the uninstaller in place, so its status is its own. It takes the
# rest of the command line unquoted: two arguments, which Wine joins with a blank.
timeout 120 "$wine" "$uninstaller" /S '_?=C:\Orvandat\Tallyfin' 'PC' >"$work/uninstall-running.log" 2>&1
rc2=$?
[ $rc2 -ne 0 ] || fail "a silent uninstall while the program runs reported success"
[ -f "$installed_exe" ] && [ -f "$uninstaller" ] && [ -f "$shortcut" ] && key_exists "$uninstall_key" ||
  fail "an install or uninstall while the program runs changed the install"
main_up || fail "the program's window went away during the install or uninstall"
note "install and uninstall refused while the program runs (status $rc, $rc2)"

# Alt+E and Yes at the exit prompt.
xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
xdotool mousemove --window "$main_id" 200 10 click 1
xdotool key alt+e
prompt_up() { [ "$(program_windows | wc -l)" -ge 2 ]; }
wait_for 30 prompt_up || fail "Alt+E did not bring up the exit prompt"
xdotool key Return
wait_for 30 main_gone || fail "the program did not end after the exit prompt was answered Yes"
note "program left through Alt+E"

# --- Collected data, then the uninstall ---------------------------------------------
data_dir="$install_dir/Data"
[ -d "$data_dir" ] || fail "the program made no Data folder in C:\\Orvandat\\Tallyfin PC"
# A level-1 table of a dataset, named as the program names them.
table="$data_dir/Cruise/01 1AA___[North Block]ABC___~   1~PLOTS.dbf"
mkdir -p "$(dirname "$table")" && head -c 4096 /dev/urandom >"$table" && cp "$table" "$work/table.dbf" ||
  fail "cannot put a table into the Data folder"

quiet=$(reg_value "$uninstall_key" QuietUninstallString) || fail "no QuietUninstallString"
note "uninstalling silently: $quiet"
# The uninstaller runs on from a copy in the temporary folder; its last
# step is the Add/Remove entry.
timeout 120 "$wine" 'C:\Orvandat\Tallyfin PC\Uninstall.exe' /S >"$work/uninstall.log" 2>&1 ||
  fail "the silent uninstall could not start (see $work/uninstall.log)"
uninstalled() { [ ! -e "$installed_exe" ] && [ ! -e "$uninstaller" ] && ! key_exists "$uninstall_key"; }
wait_for 120 uninstalled || fail "the uninstall did not remove the program, its uninstaller and its Add/Remove entry"
[ ! -e "$shortcut" ] || fail "the uninstall left the Start-menu shortcut"
[ -d "$data_dir" ] || fail "the uninstall removed the Data folder"
cmp -s "$table" "$work/table.dbf" || fail "the uninstall removed or changed the table in the Data folder"
[ -f "$drive_c/tfp_mobilePC.dft" ] || fail "the uninstall removed C:\\tfp_mobilePC.dft"
key_exists "$settings" || fail "the uninstall removed the registry settings $settings"
note "uninstalled: the program, uninstaller, shortcut and entry are gone; the Data folder and its table, the settings file and the registry settings are kept"

# --- Installed again over the kept data ----------------------------------------------
install setup2
[ -f "$installed_exe" ] && [ -f "$uninstaller" ] && [ -f "$shortcut" ] || fail "the second install is not complete"
cmp -s "$table" "$work/table.dbf" || fail "installing again changed the table in the Data folder"
note "installed again over the kept data"
note "PASS"

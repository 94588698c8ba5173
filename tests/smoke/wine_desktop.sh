# What the Windows smoke tests share: finding Wine, a private X server, and
# a fresh Wine prefix whose windows all go onto one 1024x768 virtual desktop,
# so a screenshot shows what Windows would. Sourced; the caller gives fail,
# note and work (its scratch folder) and sets WINEPREFIX.

# find_wine: sets wine (64-bit when there is one) and wineserver, or fails.
find_wine() {
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; }
  [ -n "$wine" ] || wine=$(command -v wine || true)
  [ -n "$wine" ] || fail "wine is not installed"
  wineserver=$(command -v wineserver || true)
  [ -n "$wineserver" ] || { [ -x /usr/lib/wine/wineserver ] && wineserver=/usr/lib/wine/wineserver; }
  [ -n "$wineserver" ] || fail "wineserver is not installed"
}

# wait_for SECONDS COMMAND...: polls every half second until COMMAND
# succeeds; false after SECONDS.
wait_for() {
  local timeout=$1
  shift
  local until=$((SECONDS + timeout))
  while ! "$@"; do
    [ $SECONDS -lt $until ] || return 1
    sleep 0.5
  done
}

# start_xvfb: an X server on a free display (DISPLAY exported, xvfb_pid set).
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

# boot_wine_prefix: makes the prefix and waits until Wine has settled.
boot_wine_prefix() {
  note "creating the Wine prefix $WINEPREFIX"
  timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed (see $work/wineboot.log)"
  timeout 300 "$wineserver" -w || fail "wineboot did not finish"
}

# start_wine_desktop: the virtual desktop, up and waited for.
start_wine_desktop() {
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d tallyfin /f >/dev/null 2>&1 ||
    fail "cannot set the virtual desktop"
  "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v tallyfin /d 1024x768 /f >/dev/null 2>&1 ||
    fail "cannot set the virtual desktop size"
  "$wine" explorer /desktop=tallyfin,1024x768 >"$work/explorer.log" 2>&1 &
  desktop_up() { xdotool search --name 'Wine desktop' >/dev/null 2>&1; }
  wait_for 60 desktop_up || fail "the Wine virtual desktop did not appear"
}

# stop_wine_desktop: stops the prefix's Wine and the X server.
stop_wine_desktop() {
  if [ -d "$WINEPREFIX" ]; then "$wineserver" -k >/dev/null 2>&1; fi
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  return 0
}

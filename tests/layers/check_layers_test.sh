#!/usr/bin/env bash
# The layer check passes on the tree and fails, naming the line, on a copy of
# it with one offence planted at a time.
#   check_layers_test.sh TOP   (TOP: the checkout)
set -u
top=$1
check=$top/scripts/check-layers
failures=0

if ! out=$("$check" "$top" 2>&1); then
  echo "FAIL: the tree breaks the layer table:"; echo "$out"
  exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# expect_offence NAME FILE TEXT: plants TEXT as a new last line of FILE in a
# fresh copy of src/ and frontends/; the check must fail and name FILE:line.
expect_offence() {
  local name=$1 file=$2 text=$3
  rm -rf "$tmp/tree" && mkdir -p "$tmp/tree" || exit 1
  cp -r "$top/src" "$top/frontends" "$tmp/tree/" || exit 1
  printf '%s\n' "$text" >>"$tmp/tree/$file"
  local line
  line=$(wc -l <"$tmp/tree/$file")
  local rc=0
  out=$("$check" "$tmp/tree" 2>&1) || rc=$?
  if ((rc == 0)); then
    echo "FAIL: $name: the check passed"; ((failures++))
  elif ! grep -qF "$file:$line: $text" <<<"$out"; then
    echo "FAIL: $name: \"$file:$line: $text\" not reported; got:"; echo "$out"; ((failures++))
  else
    echo "ok: $name"
  fi
}

# The untouched copy passes, so a failure below is the planted line's doing.
mkdir -p "$tmp/clean" && cp -r "$top/src" "$top/frontends" "$tmp/clean/"
if ! out=$("$check" "$tmp/clean" 2>&1); then
  echo "FAIL: the copy of src/ breaks the layer table:"; echo "$out"; exit 1
fi

expect_offence "upward include" src/tablestore/table.cpp '#include "shell/main_window.hpp"'
expect_offence "base includes platform" src/base/text.cpp '#include "platform/files.hpp"'
expect_offence "platform includes ui" src/platform/clock.hpp '#include "ui/screen.hpp"'
expect_offence "#ifdef _WIN32 outside platform" src/config/prompts.cpp '#ifdef _WIN32'
expect_offence "__linux outside platform" src/ui/screen.cpp '#if defined(__linux)'
expect_offence "posix half outside platform" src/ui/host.cpp '#include "platform/posix/errno_map.hpp"'
expect_offence "POSIX header outside platform" src/apps/app_ctl.cpp '#include <unistd.h>'
expect_offence "windows.h outside platform" src/datasets/open_data.cpp '#include <windows.h>'
expect_offence "Windows front end uses the terminal one" frontends/win32/main.cpp '#include "tui/cell_grid.hpp"'

exit $((failures > 0))

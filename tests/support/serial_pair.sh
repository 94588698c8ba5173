#!/usr/bin/env bash
# Pseudo-terminal pairs that stand in for serial cables, made by socat.
#
#   serial_pair.sh DIR [COUNT]   start COUNT pairs (default 1) in the folder DIR
#   serial_pair.sh stop DIR      stop the pairs started in DIR
#
# Starting prints one line per pair: "DIR/ttyA<i> DIR/ttyB<i>", two links to
# the pseudo-terminals whose bytes socat passes across (raw, no echo). It
# waits until both links of every pair exist (at most 10 s) and records the
# socat processes in DIR/serial_pair.pids, which the stop form ends (only
# those). Exits non-zero with a message when socat is missing or a pair does
# not come up.
set -u

fail() { echo "serial_pair.sh: $*" >&2; exit 1; }

stop_pairs() {
  local dir=$1 pid
  [ -f "$dir/serial_pair.pids" ] || return 0
  while read -r pid; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done <"$dir/serial_pair.pids"
  rm -f "$dir/serial_pair.pids" "$dir"/ttyA* "$dir"/ttyB*
}

if [ "${1:-}" = stop ]; then
  [ -n "${2:-}" ] || fail "usage: serial_pair.sh stop DIR"
  stop_pairs "$2"
  exit 0
fi

dir=${1:-}
count=${2:-1}
[ -n "$dir" ] || fail "usage: serial_pair.sh DIR [COUNT] | stop DIR"
case $count in ''|*[!0-9]*) fail "COUNT must be a number" ;; esac
command -v socat >/dev/null || fail "socat is not installed"
mkdir -p "$dir" || fail "cannot make $dir"
dir=$(cd "$dir" && pwd)

for i in $(seq 1 "$count"); do
  rm -f "$dir/ttyA$i" "$dir/ttyB$i"
  socat -d -d "pty,raw,echo=0,link=$dir/ttyA$i" "pty,raw,echo=0,link=$dir/ttyB$i" \
    </dev/null >/dev/null 2>"$dir/socat$i.log" &
  echo $! >>"$dir/serial_pair.pids"
done

for i in $(seq 1 "$count"); do
  for _ in $(seq 1 100); do
    [ -e "$dir/ttyA$i" ] && [ -e "$dir/ttyB$i" ] && break
    sleep 0.1
  done
  if ! [ -e "$dir/ttyA$i" ] || ! [ -e "$dir/ttyB$i" ]; then
    stop_pairs "$dir"
    fail "pair $i did not come up (see $dir/socat$i.log)"
  fi
  echo "$dir/ttyA$i $dir/ttyB$i"
done

#!/usr/bin/env bash
# Load test of tallyfin-host: 200 units at once (host_load, real sessions on
# their own links in one process) against one host, first straight to it and
# then, with a fresh host tree, through a relay that resets every connection
# at a random point: each session must complete or place nothing, and a
# second run completes the ones that did not.
#
# Usage: host_load.sh TALLYFIN_HOST HOST_LOAD WORK_FOLDER [UNITS]
set -u
host_bin=$1 load_bin=$2 work=$3 units=${4:-200}
rm -rf "$work" && mkdir -p "$work"
failed=0
pid=

stop_host() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=
}
trap stop_host EXIT

# start_host ROOT: an outbox with a package, a dataset and a message for every unit.
start_host() {
  local root=$1
  mkdir -p "$root"/outbox/all/{apps,datasets,messages,updates}
  head -c 100000 /dev/urandom >"$root/outbox/all/apps/Load.tfa"
  head -c 30000 /dev/urandom >"$root/outbox/all/datasets/[Load]1A____HOST__PLOTS.dbf"
  echo "Crews: the load test reached you." >"$root/outbox/all/messages/Welcome.mes"
  # A free port: let the system pick one, then take it (a race only with other tests).
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  "$host_bin" --root "$root" --port "$port" --listen 127.0.0.1 --max-connections $((units + 50)) \
    >"$root.log" 2>&1 &
  pid=$!
  for _ in $(seq 50); do
    grep -q "listening" "$root.log" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "FAIL: tallyfin-host did not start: $(cat "$root.log")"
  return 1
}

# run_load NAME ROOT [--reset SEED]
run_load() {
  local name=$1 root=$2; shift 2
  echo "--- $name"
  start_host "$root" || { failed=1; return; }
  "$load_bin" "$root" "$work/units-$name" "$port" "$units" "$@" || failed=1
  stop_host
  local kept
  kept=$(grep -c "result=complete" "$root.log")
  echo "the host's log: $kept sessions kept, $(grep -c "FAILED" "$root.log") failed"
  if compgen -G "$root/inbox/*/.partial-*" >/dev/null; then
    echo "FAIL: partial session folders are left in the host's inbox"
    failed=1
  fi
}

run_load straight "$work/host-straight"
run_load reset "$work/host-reset" --reset "${TALLYFIN_LOAD_SEED:-$RANDOM}"
exit $failed

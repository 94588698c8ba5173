#!/usr/bin/env python3
"""Kills a running GPS line log at random moments and checks its file.

    gps_log_kill.py GPS_LOG_WRITER WORK_FOLDER TRIALS

Each trial starts gps_log_writer on a fresh coordinate file, kills it with
SIGKILL after 20-600 ms, and checks what is on disk: the file opens in
dbfread, every record it counts is whole, and the latitudes run 45, 45.000001,
... with none twice and none missing. Then the writer appends three more
fixes to the same file and the check is made again, so a killed log never
leaves a file the program cannot go on with. Exits 1 on the first fault.
"""
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import time

import dbfread


def fail(text):
    print("gps_log_kill: FAIL: " + text)
    sys.exit(1)


def check(path, trial):
    with open(path, "rb") as f:
        head = f.read(32)
    if len(head) < 32:
        fail("trial %d: the file holds no whole header (%d bytes)" % (trial, len(head)))
    count, header_len, record_len = struct.unpack("<IHH", head[4:12])
    size = os.path.getsize(path)
    if header_len + count * record_len > size:
        fail("trial %d: the header counts %d records, the file holds %d bytes" % (trial, count, size))
    try:
        records = list(dbfread.DBF(path, ignorecase=False))
    except Exception as e:  # a torn table is what this test looks for
        fail("trial %d: dbfread cannot read the file: %s" % (trial, e))
    for i, r in enumerate(records):
        lat = r["LATITUDE"]
        if lat is None or abs(lat - (45.0 + i * 1e-6)) > 5e-10:
            fail("trial %d: record %d holds latitude %r, not %.6f (a fix twice or lost)" % (trial, i + 1, lat, 45.0 + i * 1e-6))
        if r["F_TYPE"].strip() != "LINE" or r["L1_KEY"].strip() != "PLOT1":
            fail("trial %d: record %d is not whole: %r" % (trial, i + 1, dict(r)))
    return len(records)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        sys.exit(2)
    writer, work, trials = sys.argv[1], sys.argv[2], int(sys.argv[3])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    rng = random.Random(int(os.environ.get("TALLYFIN_KILL_SEED", "0")) or None)
    total = 0
    for trial in range(1, trials + 1):
        path = os.path.join(work, "trial.GPF")
        if os.path.exists(path):
            os.remove(path)
        p = subprocess.Popen([writer, path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0.02, 0.6))
        p.send_signal(signal.SIGKILL)
        p.wait()
        if not os.path.exists(path):
            continue  # killed before the first fix was stored
        before = check(path, trial)
        if subprocess.call([writer, path, "--fixes", "3"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) != 0:
            fail("trial %d: the writer could not go on with the killed file" % trial)
        after = check(path, trial)
        if after != before + 3:
            fail("trial %d: %d records after appending 3 to %d" % (trial, after, before))
        total += before
    print("gps_log_kill: %d kills during line logging; every file whole, %d fixes, none twice or lost" % (trials, total))


if __name__ == "__main__":
    main()

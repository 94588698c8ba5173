#!/usr/bin/env python3
"""Checks what GPS logging stored against what the replayed receiver sent.

    gps_log_check.py REPLAY_LOG PLOTS_TABLE LINE_FILE POLYGON_FILE

REPLAY_LOG is nmea_replay.py's --log (hhmmss latitude longitude height
satellites per epoch). The first plot of PLOTS_TABLE must hold in LAT, LON
and ELEV the mean of five consecutive accepted epochs (8 satellites; the
3-satellite ones are refused by the warning filters). Every record of the
line and polygon coordinate files must be an accepted epoch, in order, none
twice; the line's records at least 5 seconds apart (by the hhmmss rule), the
polygon's every accepted epoch between its first and last record. Prints
what it found; exits 1 on the first mismatch.
"""
import sys

import dbfread


def fail(text):
    print("gps_log_check: FAIL: " + text)
    sys.exit(1)


def epochs(path):
    out = []
    for line in open(path):
        t, lat, lon, height, sv = line.split()
        out.append((t, float(lat), float(lon), float(height), int(sv)))
    return out


def table(path):
    return list(dbfread.DBF(path, ignorecase=False, char_decode_errors="replace"))


def matching(sent, record):
    t = record["UTC_TOF"].replace(":", "")
    for i, e in enumerate(sent):
        if e[0] == t and abs(e[1] - record["LATITUDE"]) < 1e-8 and abs(e[2] - record["LONGITUDE"]) < 1e-8:
            return i
    return None


def check_log(sent, path, shape, every_second):
    records = table(path)
    if len(records) < 2:
        fail("%s holds %d records" % (path, len(records)))
    indexes = []
    for r in records:
        if r["F_TYPE"].strip() != shape:
            fail("%s: F_TYPE %r, not %r" % (path, r["F_TYPE"], shape))
        i = matching(sent, r)
        if i is None:
            fail("%s: %s %.9f %.9f was never sent" % (path, r["UTC_TOF"], r["LATITUDE"], r["LONGITUDE"]))
        if sent[i][4] < 4:
            fail("%s: a fix of %d satellites was logged (%s)" % (path, sent[i][4], r["UTC_TOF"]))
        if indexes and i <= indexes[-1]:
            fail("%s: %s is logged out of order or twice" % (path, r["UTC_TOF"]))
        indexes.append(i)
    if every_second:
        wanted = [i for i in range(indexes[0], indexes[-1] + 1) if sent[i][4] >= 4]
        if wanted != indexes:
            missing = sorted(set(wanted) - set(indexes))
            fail("%s: accepted fixes not logged: %s" % (path, [sent[i][0] for i in missing]))
    else:
        for a, b in zip(indexes, indexes[1:]):
            if int(sent[b][0]) - int(sent[a][0]) < 5:
                fail("%s: %s and %s are less than the interval apart" % (path, sent[a][0], sent[b][0]))
    print("gps_log_check: %s: %d %s records, each an accepted fix, in order" % (path, len(records), shape))


def check_average(sent, plots):
    first = table(plots)[0]
    accepted = [e for e in sent if e[4] >= 4]
    for k in range(len(accepted) - 4):
        five = accepted[k:k + 5]
        lat = sum(e[1] for e in five) / 5
        lon = sum(e[2] for e in five) / 5
        height = sum(e[3] for e in five) / 5
        if abs(lat - first["LAT"]) < 2e-9 and abs(lon - first["LON"]) < 2e-9 and abs(height - first["ELEV"]) < 0.051:
            print("gps_log_check: plot 1 holds the mean of the five fixes %s..%s" % (five[0][0], five[-1][0]))
            return
    fail("plot 1's LAT %r LON %r ELEV %r is the mean of no five consecutive accepted fixes"
         % (first["LAT"], first["LON"], first["ELEV"]))


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        sys.exit(2)
    sent = epochs(sys.argv[1])
    check_average(sent, sys.argv[2])
    check_log(sent, sys.argv[3], "LINE", False)
    check_log(sent, sys.argv[4], "POLY", True)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Holds the smokes' Waypoints.dbf to what they keyed.

    waypoints_check.py WAYPOINTS_DBF

The table must hold "WP Here" (captured near where the replayed receiver
starts, 45.5231 -122.6765), then "North Corner" at 45.525 -122.675 and
"East Gate" at 45.524 -122.673 as typed. Prints the records; exits 1 when
they differ.
"""
import sys

import dbfread


def main():
    rows = [(r["WAYPOINT"], r["LATITUDE"], r["LONGITUDE"])
            for r in dbfread.DBF(sys.argv[1], ignorecase=False)]
    print(rows)
    ok = ([r[0] for r in rows] == ["WP Here", "North Corner", "East Gate"]
          and abs(rows[0][1] - 45.5231) < 0.01 and abs(rows[0][2] + 122.6765) < 0.01
          and rows[1][1:] == (45.525, -122.675) and rows[2][1:] == (45.524, -122.673))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

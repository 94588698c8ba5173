#!/usr/bin/env python3
"""Holds the navigation window's text to GeographicLib's GeodSolve.

    nav_check.py SCREEN_TEXT SENT_LOG DEST_LAT DEST_LON

SCREEN_TEXT is what the window showed (a terminal capture, or the text the
Windows smoke read from the window); SENT_LOG is the replayed receiver's log
(one line per epoch: time, latitude, longitude, height, satellites). The
" To Destination GO:<bearing>°T <distance> <unit>" text must agree with the
geodesic from one of the last positions sent to the destination, within the
display's rounding (a whole degree; a tenth of the unit) and a metre or two.
Prints what it compared; exits 1 when nothing agrees.
"""
import re
import subprocess
import sys

UNITS = {"Meters": 1.0, "KiloMeters": 1000.0, "Feet": 0.3048000831495, "Miles": 1609.3444390292,
         "Nautical Miles": 1852.0}


def main():
    screen, sent, dest_lat, dest_lon = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
    text = open(screen, encoding="utf-8", errors="replace").read()
    m = re.search(r"To Destination GO:\s*(\d+)°([TM])\s+([\d.]+)\s+(Nautical Miles|KiloMeters|Meters|Feet|Miles)", text)
    if not m:
        print("nav_check: no \"To Destination GO:\" text on the screen")
        return 1
    bearing, reference, shown, unit = int(m.group(1)), m.group(2), float(m.group(3)), m.group(4)
    if reference != "T":
        print("nav_check: the bearing is magnetic; this check expects true bearings")
        return 1
    positions = [line.split() for line in open(sent) if line.strip()][-8:]
    query = "".join("%s %s %.9f %.9f\n" % (p[1], p[2], dest_lat, dest_lon) for p in positions)
    out = subprocess.run(["GeodSolve", "-i", "-p", "3"], input=query, capture_output=True, text=True, check=True)
    metres = UNITS[unit]
    for line in out.stdout.splitlines():
        azimuth, _, distance = (float(v) for v in line.split())
        expected_bearing = round(azimuth) % 360
        close_bearing = min(abs(expected_bearing - bearing), 360 - abs(expected_bearing - bearing)) <= 1
        close_distance = abs(distance - shown * metres) <= 0.05 * metres + 2.0
        if close_bearing and close_distance:
            print("nav_check: %d°T %.1f %s agrees with GeodSolve's %.2f° %.1f m" % (bearing, shown, unit, azimuth, distance))
            return 0
    print("nav_check: %d°T %.1f %s agrees with none of GeodSolve's answers: %s" % (bearing, shown, unit,
                                                                              out.stdout.replace("\n", "; ")))
    return 1


if __name__ == "__main__":
    sys.exit(main())

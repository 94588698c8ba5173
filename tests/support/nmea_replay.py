#!/usr/bin/env python3
"""A GPS receiver at the far end of a serial cable (a socat pseudo-terminal).

    nmea_replay.py DEVICE [--lat DEG] [--lon DEG] [--interval SECONDS]
                          [--few-every N] [--log FILE]

Every interval (default 1 s) it writes one epoch of NMEA sentences, GGA, GSA,
VTG, RMC and ZDA, stamped with the current UTC time, for a position that
walks slowly north-east from the start point (8 satellites, HDOP 0.9, PDOP
1.8, 3D fix). It runs until it is killed; killing it is a receiver falling
silent, starting it again is the receiver coming back. With --few-every N
every Nth epoch reports only 3 satellites (a fix the default warning
filters refuse); --log FILE appends one line per epoch: UTC time (hhmmss),
latitude, longitude, height above the ellipsoid and satellites, as sent.
"""
import argparse
import datetime
import os
import sys
import termios
import time
import tty


def with_checksum(body):
    x = 0
    for c in body.encode("ascii"):
        x ^= c
    return "$%s*%02X\r\n" % (body, x)


def nmea_angle(value, degree_digits, positive, negative):
    hemisphere = positive if value >= 0 else negative
    value = abs(value)
    degrees = int(value)
    minutes = (value - degrees) * 60.0
    return "%0*d%07.4f" % (degree_digits, degrees, minutes), hemisphere


def parse_angle(text, hemisphere):
    head = 2 if hemisphere in "NS" else 3
    value = int(text[:head]) + float(text[head:]) / 60.0
    return -value if hemisphere in "SW" else value


def epoch(lat, lon, now, satellites):
    hhmmss = now.strftime("%H%M%S") + ".00"
    la, ns = nmea_angle(lat, 2, "N", "S")
    lo, ew = nmea_angle(lon, 3, "E", "W")
    return [
        with_checksum("GPGGA,%s,%s,%s,%s,%s,1,%02d,0.9,545.4,M,46.9,M,," % (hhmmss, la, ns, lo, ew, satellites)),
        with_checksum("GPGSA,A,3,04,05,09,12,17,21,24,28,,,,,1.8,0.9,1.5"),
        with_checksum("GPVTG,045.0,T,030.0,M,002.1,N,003.9,K"),
        with_checksum("GPRMC,%s,A,%s,%s,%s,%s,002.1,045.0,%s,015.0,E"
                      % (hhmmss, la, ns, lo, ew, now.strftime("%d%m%y"))),
        with_checksum("GPZDA,%s,%02d,%02d,%04d,00,00" % (hhmmss, now.day, now.month, now.year)),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("device")
    parser.add_argument("--lat", type=float, default=45.5231)
    parser.add_argument("--lon", type=float, default=-122.6765)
    parser.add_argument("--interval", type=float, default=1.0)
    parser.add_argument("--few-every", type=int, default=0)
    parser.add_argument("--log")
    args = parser.parse_args()
    log = open(args.log, "a", buffering=1) if args.log else None
    fd = os.open(args.device, os.O_WRONLY | os.O_NOCTTY)
    try:
        tty.setraw(fd)
    except termios.error:
        pass  # a plain file or pipe
    lat, lon = args.lat, args.lon
    count = 0
    while True:
        count += 1
        satellites = 3 if args.few_every and count % args.few_every == 0 else 8
        now = datetime.datetime.now(datetime.timezone.utc)
        sentences = epoch(lat, lon, now, satellites)
        # The position as the receiver reports it: minutes to four decimals.
        sent_lat = parse_angle(sentences[0].split(",")[2], sentences[0].split(",")[3])
        sent_lon = parse_angle(sentences[0].split(",")[4], sentences[0].split(",")[5])
        if log:
            log.write("%s %.9f %.9f %.1f %d\n" % (now.strftime("%H%M%S"), sent_lat, sent_lon, 545.4 + 46.9, satellites))
        for s in sentences:
            os.write(fd, s.encode("ascii"))
        lat += 0.00001
        lon += 0.00001
        time.sleep(args.interval)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit(0)

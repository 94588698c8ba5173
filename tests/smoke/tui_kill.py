#!/usr/bin/env python3
"""The terminal program is killed with SIGKILL at random moments while a crew
keys plot lines on the demo cruise.

Usage: tui_kill.py TALLYFIN_BINARY CRUISE_PACKAGE WORK_FOLDER [TRIALS]

Each trial starts "tallyfin" in a 100x30 pseudo-terminal on a private install
root, opens the dataset "Kill Test" with Collect Data (creating it the first
time), goes to its last line and keys plot after plot, a key at a time, moving
on with PageDown; at a random moment the program is killed. Lines are
appended only after the line before them was stored, so every plot line but
the last in the table must hold all its keyed values; the last may be blank
or whole. After every trial the table must open in dbfread; the next trial
opens it in ours (the edit window must come up on the dataset again).

Exits non-zero on the first failure, printing what the table held.
"""
import os
import pty
import random
import shutil
import signal
import struct
import subprocess
import sys
import termios
import fcntl
import time

ROWS, COLS = 30, 100
NOTES = "kill"


def fail(message):
    print("tui_kill: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


class Program:
    """tallyfin on a pseudo-terminal, its output read and kept."""

    def __init__(self, binary, root, work, select):
        env = dict(os.environ, TERM="xterm-256color", LC_ALL="C.UTF-8",
                   XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"))
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execve(binary, [binary, "--root", root] + (["--select", "Cruise"] if select else []), env)
        fcntl.ioctl(self.fd, termios.TIOCSWINSZ, struct.pack("HHHH", ROWS, COLS, 0, 0))
        os.kill(self.pid, signal.SIGWINCH)
        self.output = b""

    def read(self, seconds):
        end = time.monotonic() + seconds
        while True:
            left = end - time.monotonic()
            if left <= 0:
                return
            import select
            ready, _, _ = select.select([self.fd], [], [], left)
            if not ready:
                return
            try:
                chunk = os.read(self.fd, 65536)
            except OSError:
                return
            if not chunk:
                return
            self.output = (self.output + chunk)[-200000:]

    def wait_for(self, text, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if text.encode() in self.output:
                return True
            self.read(0.1)
        return False

    def send(self, data, pause=0.03):
        for ch in data:
            os.write(self.fd, ch.encode("latin-1"))
            self.read(pause)

    def kill(self):
        try:
            os.kill(self.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        os.waitpid(self.pid, 0)
        os.close(self.fd)


def plot_keys(number):
    # Plot, date and time (full: they move on), crew (full), stand, slope,
    # aspect (full), the three display columns, notes; PageDown to a new line.
    return [str(number), "\r", "050124", "083000", "ABR", "N12", "\r", "35", "\r", "180",
            "\r", "\r", "\r", NOTES, "\r", "\x1b[6~"]


def read_table(path):
    python = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else "python3"
    script = ("import sys, dbfread\n"
              "for r in dbfread.DBF(sys.argv[1], ignorecase=False):\n"
              "    print('|'.join(str(r[f]).strip() for f in ('PLOT', 'CRUISEDT', 'CREW', 'SLOPE', 'ASPECT', 'NOTES')))\n")
    done = subprocess.run([python, "-c", script, path], capture_output=True, text=True)
    if done.returncode != 0:
        fail("dbfread could not read the table:\n" + done.stderr)
    return done.stdout.splitlines()


def whole(line):
    plot, date, crew, slope, aspect, notes = line.split("|")
    return plot not in ("", "None") and date == "05/01/24" and crew == "ABR" and slope == "35" \
        and aspect == "180" and notes == NOTES


def blank(line):
    return all(v in ("", "None") for v in line.split("|"))


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    binary, package, work = (os.path.abspath(a) for a in sys.argv[1:4])
    trials = int(sys.argv[4]) if len(sys.argv) == 5 else int(os.environ.get("TALLYFIN_KILL_TRIALS", "100"))
    root = os.path.join(work, "root")
    shutil.rmtree(work, ignore_errors=True)
    apps = os.path.join(root, "Orvandat", "Tallyfin PC", "Apps")
    os.makedirs(apps)
    os.makedirs(os.path.join(work, "config"))
    os.makedirs(os.path.join(work, "data"))
    shutil.copy(package, os.path.join(apps, "Cruise.tfa"))
    data = os.path.join(root, "Orvandat", "Tallyfin PC", "Data", "Cruise")
    rng = random.Random(20261208)
    stored_before = 0
    plot = 1
    for trial in range(trials):
        p = Program(binary, root, work, trial == 0)  # later starts find Cruise current
        # The terminal is written by difference: texts arrive as they change.
        if not p.wait_for("Current Application", 30):
            p.kill()
            fail("trial %d: the main screen did not come up" % trial)
        p.read(0.3)
        p.send("\x1bd")
        if not p.wait_for("Collect Data", 10):
            p.kill()
            fail("trial %d: no Data choice" % trial)
        p.output = b""
        p.send("\r")
        if trial == 0:
            if not p.wait_for("Create New Dataset", 10):
                p.kill()
                fail("trial 0: the dataset was not asked for")
            p.send("Kill Test\r")
        else:
            if not p.wait_for("Select Dataset", 10):
                p.kill()
                fail("trial %d: the dataset list did not come" % trial)
            p.send("\r")
        if not p.wait_for('~Dataset"Kill Test"', 15):
            p.kill()
            fail("trial %d: the edit window did not open on the dataset (our table storage)" % trial)
        p.send("\x1b[6;5~")  # Ctrl+PageDown: the last line
        deadline = time.monotonic() + rng.uniform(0.2, 2.5)
        while time.monotonic() < deadline:
            for k in plot_keys(plot):
                p.send(k, 0.02)
                if time.monotonic() >= deadline:
                    break
            plot += 1
        p.kill()
        tables = [f for f in os.listdir(data) if f.endswith("~~PLOTS.dbf")] if os.path.isdir(data) else []
        if not tables:
            fail("trial %d: no PLOTS table in %s" % (trial, data))
        lines = read_table(os.path.join(data, tables[0]))
        for n, line in enumerate(lines[:-1], 1):
            if not whole(line):
                fail("trial %d: line %d of %d is not whole: %s\n%s" % (trial, n, len(lines), line, "\n".join(lines)))
        if lines and not (whole(lines[-1]) or blank(lines[-1])):
            fail("trial %d: the last line is torn: %s" % (trial, lines[-1]))
        if len(lines) - 1 < stored_before:
            fail("trial %d: %d whole lines, %d before: stored lines were lost" % (trial, len(lines) - 1, stored_before))
        stored_before = max(stored_before, len(lines) - 1)
    print("tui_kill: %d trials, %d lines stored, none lost" % (trials, stored_before))


if __name__ == "__main__":
    main()

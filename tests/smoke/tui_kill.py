#!/usr/bin/env python3
"""The terminal program is killed with SIGKILL at random moments while a crew
keys plot lines on the demo cruise.

Usage: tui_kill.py TALLYFIN_BINARY CRUISE_PACKAGE WORK_FOLDER [TRIALS]

Each trial starts "tallyfin" in a 100x30 pseudo-terminal on a private install
root, opens the dataset "Kill Test" with Collect Data (creating it the first
time) and keys a key at a time until, at a random moment, the program is
killed. The first half of the trials go to the last plot line and key plot
after plot, moving on with PageDown: lines are appended only after the line
before them was stored, so every plot line but the last must hold all its
keyed values; the last may be whole or as a new line starts (its number, date
and time filled in, nothing keyed). The second half go from plot 1 down to
its trees (F5) and key trees, insert trees before others (F9), give trees
logs (F5, F4 back) and delete trees with their logs (F10): no complete tree
may be lost but by a delete sent in that trial, and no tree or log table may
hang under a line that is not there. After every trial every table must open
in dbfread; the next trial opens them in ours.

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


def fresh(line):
    """A new line as the program makes it: numbered and dated, nothing keyed."""
    plot, date, crew, slope, aspect, notes = line.split("|")
    return crew == "" and slope in ("", "None") and aspect in ("", "None") and notes == ""


PLOT_FIELDS = ("PLOT", "CRUISEDT", "CREW", "SLOPE", "ASPECT", "NOTES")
TREE_KEYS = ["\r", "DF", "\r", "20", "\r", "120", "C", "0", "\r"]  # from the tree number to L/D
# In a trial's keys: CLEAR forgets the output so far, a 1-tuple waits for its
# text (a question empties the keys typed ahead of it).
CLEAR = ("",)
LOG_KEYS = ["\r", "16", "\r", "12", "\r", "S2", "5", "\r"]       # from the log number on


def read_rows(path, fields):
    """The rows of a table as tuples of stripped texts, read by dbfread."""
    python = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else "python3"
    script = ("import sys, dbfread\n"
              "fields = sys.argv[2].split(',')\n"
              "for r in dbfread.DBF(sys.argv[1], ignorecase=False):\n"
              "    print('|'.join(str(r[f]).strip() for f in fields))\n")
    done = subprocess.run([python, "-c", script, path, ",".join(fields)], capture_output=True, text=True)
    if done.returncode != 0:
        fail("dbfread could not read %s:\n%s" % (os.path.basename(path), done.stderr))
    return [tuple(line.split("|")) for line in done.stdout.splitlines()]


def key_of(name):
    """The parent key path of a data file name: the text between the two "~"."""
    first = name.index("~")
    return name[first + 1:name.index("~", first + 1)]


def hierarchy(data):
    """Every table of the dataset opened; returns (plots, trees by plot key,
    logs by tree key) and fails on a child table without its parent line."""
    names = sorted(f for f in os.listdir(data) if f.endswith(".dbf") and "#$$" not in f)
    plots = [f for f in names if f.endswith("~~PLOTS.dbf")]
    if len(plots) != 1:
        fail("%d PLOTS tables in %s" % (len(plots), data))
    plot_rows = read_rows(os.path.join(data, plots[0]), PLOT_FIELDS)
    held_plots = {r[0].rjust(4) for r in plot_rows}
    trees, logs = {}, {}
    for f in names:
        if f.endswith("~TREES.dbf") or f.endswith("~REGEN.dbf"):
            key = key_of(f)
            if key not in held_plots:
                fail("%s hangs under plot '%s', which no plot line holds" % (f, key))
            rows = read_rows(os.path.join(data, f), ("PLOT", "TREE", "SPC", "DBH") if "TREES" in f else ("PLOT",))
            if "TREES" in f:
                trees[key] = rows
    for f in names:
        if f.endswith("~LOGS.dbf"):
            key = key_of(f)
            plot, _, tree = key.partition("-")
            held = {r[1].rjust(3) for r in trees.get(plot, [])}
            if tree not in held:
                fail("%s hangs under tree '%s' of plot '%s', which no tree line holds" % (f, tree, plot))
            logs[key] = read_rows(os.path.join(data, f), ("LOG", "LENGTH"))
    return plot_rows, trees, logs


def complete_trees(rows):
    return sum(1 for r in rows if r[2] != "" and r[3] not in ("", "None"))


def tree_keys(rng, rows):
    """The keys of one tree trial, from the trees of plot 1 as they stand
    (rows: PLOT, TREE, SPC, DBH), and how many deletes they send."""
    keys, deletes = [], 0
    if not rows:
        keys += TREE_KEYS  # a new table: the cursor stands on the tree number
    elif rows[-1][2] == "":
        keys += ["\x1b[1;5F", "\x1b[H", "\r"] + TREE_KEYS[1:]  # the blank last line: Home, to the species
    else:
        keys += ["\x1b[1;5F", "\r"] + TREE_KEYS  # Ctrl+End, Enter: a new line
    count = len(rows)
    for _ in range(12):
        action = rng.choice(("tree", "tree", "insert", "log", "delete"))
        if action == "tree":
            keys += ["\r"] + TREE_KEYS
            count += 1
        elif action == "insert":
            keys += ["\x1b[A", CLEAR, "\x1b[20~", ("Insert Line?",), "y"] + TREE_KEYS  # Up, F9, yes
            count += 1
        elif action == "log":
            # Up, F5, a log, F4, Ctrl+End
            keys += ["\x1b[A", CLEAR, "\x1b[15~", ("Length",)] + LOG_KEYS + [CLEAR, "\x1bOS", ("Species",), "\x1b[1;5F"]
        elif action == "delete" and count >= 3 and deletes == 0:
            # Up, F10, yes, yes, Ctrl+End
            keys += ["\x1b[A", CLEAR, "\x1b[21~", ("Delete Current Line?",), "y", ("ALSO ERASE",), "y", "\x1b[1;5F"]
            deletes += 1
            count -= 1
    return keys, deletes


def open_edit_window(p, trial, first):
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
    if first:
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


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    binary, package, work = (os.path.abspath(a) for a in sys.argv[1:4])
    trials = int(sys.argv[4]) if len(sys.argv) == 5 else int(os.environ.get("TALLYFIN_KILL_TRIALS", "200"))
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
    plot_trials = trials // 2
    for trial in range(plot_trials):
        p = Program(binary, root, work, trial == 0)  # later starts find Cruise current
        # The terminal is written by difference: texts arrive as they change.
        open_edit_window(p, trial, trial == 0)
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
        if lines and not (whole(lines[-1]) or fresh(lines[-1])):
            fail("trial %d: the last line is torn: %s" % (trial, lines[-1]))
        if len(lines) - 1 < stored_before:
            fail("trial %d: %d whole lines, %d before: stored lines were lost" % (trial, len(lines) - 1, stored_before))
        stored_before = max(stored_before, len(lines) - 1)
        hierarchy(data)
    if stored_before < 2:
        fail("only %d plots were stored in %d trials: too few to go on to the trees" % (stored_before, plot_trials))

    trees_before = 0
    deleted_total = 0
    for trial in range(plot_trials, trials):
        plots, trees, _ = hierarchy(data)
        rows = trees.get(plots[0][0].rjust(4), [])
        before = complete_trees(rows)
        keys, deletes = tree_keys(rng, rows)
        p = Program(binary, root, work, False)
        open_edit_window(p, trial, False)
        p.send("\x1b[5;5~")  # Ctrl+PageUp: plot 1
        p.send("\x1b[15~")   # F5: its children
        if not p.wait_for("Select Child", 10):
            p.kill()
            fail("trial %d: F5 on plot 1 did not list its child tables" % trial)
        p.output = b""
        p.send("\r")
        if not p.wait_for("L/D", 10):
            p.kill()
            fail("trial %d: the trees of plot 1 did not open" % trial)
        deadline = time.monotonic() + rng.uniform(0.3, 4.0)
        sent_deletes = 0
        for k in keys:
            if time.monotonic() >= deadline:
                break
            if k == CLEAR:
                p.output = b""
            elif isinstance(k, tuple):
                if not p.wait_for(k[0], 5):
                    break  # not as planned: the kill comes now
            else:
                if k == "\x1b[21~":
                    sent_deletes += 1
                p.send(k, 0.03)
        p.kill()
        plots_after, trees_after, _ = hierarchy(data)
        if len(plots_after) < len(plots):
            fail("trial %d: %d plot lines, %d before" % (trial, len(plots_after), len(plots)))
        after = complete_trees(trees_after.get(plots_after[0][0].rjust(4), []))
        if after < before - sent_deletes:
            fail("trial %d: %d complete trees, %d before and %d deletes sent: stored trees were lost\n%s"
                 % (trial, after, before, sent_deletes, trees_after))
        deleted_total += sent_deletes
        trees_before = after
    print("tui_kill: %d trials, %d plot lines stored, %d trees under plot 1 (%d deletes sent), none lost"
          % (trials, stored_before, trees_before, deleted_total))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Bundling and extraction killed at random moments, and the round trip.

Usage: exchange_kill.py EXCHANGE_RUNNER WORK_FOLDER [TRIALS]

First the round trip on a generated dataset of five levels, 200 plots with
20 trees each: bundled, every bundle read by dbfread and ogrinfo, extracted
under the first free number, and every table read back by dbfread equal,
record for record, to what was generated.

Then TRIALS times each: a copy of a smaller dataset is bundled (or its
bundles extracted) and the run is killed with SIGKILL after a random delay;
the command is run again to its end. Every table must open, no record may
be lost or doubled (the folder's dump equals that of an unkilled run), and
no file of the run may be left behind.
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import time

try:
    from dbfread import DBF
except ImportError:  # scripts/setup installs python3-dbfread
    DBF = None

NAME = "Generated"
UNIT = "ABC___"


def run(runner, *args, check=True):
    p = subprocess.run([runner, *args], capture_output=True, text=True, errors="replace")
    if check and p.returncode != 0:
        raise SystemExit(f"exchange_runner {' '.join(args)} failed ({p.returncode}): {p.stderr}")
    return p


def dump(runner, folder):
    p = run(runner, "dump", folder, check=False)
    if p.returncode != 0:
        raise SystemExit(f"a table of {folder} does not open:\n{p.stdout[-2000:]}")
    # A coordinate file comes back with the level's table name in place of
    # the level's own name: the bundle's name carries only the table name.
    return p.stdout.replace("~Plot^", "~PLOTS^")


def read_all(folder):
    tables = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith((".dbf", ".GPF")) and "#$$DataAppVer" not in name:
            table = DBF(os.path.join(folder, name), ignorecase=False, char_decode_errors="replace")
            tables[name.replace("~Plot^", "~PLOTS^")] = [tuple(r.values()) for r in table]
    return tables


def round_trip(runner, work):
    folder = os.path.join(work, "round-trip")
    shutil.rmtree(folder, ignore_errors=True)
    run(runner, "generate", folder, "5", "200", "20")
    before = read_all(folder) if DBF else None
    raw_dump = dump(runner, folder)
    run(runner, "bundle", folder, "1")
    bundles = sorted(n for n in os.listdir(folder) if n.endswith((".dbf", ".GPF")))
    for name in bundles:
        if not name.startswith(f"[{NAME}]"):
            raise SystemExit(f"round trip: {name} is not in the bundle form")
    print(f"round trip: {len(bundles)} bundles: {', '.join(bundles)}")
    if DBF:
        records = sum(len(DBF(os.path.join(folder, n), ignorecase=False)) for n in bundles)
        raw_records = sum(len(r) for r in before.values())
        if records != raw_records:
            raise SystemExit(f"round trip: bundles hold {records} records, the raw tables {raw_records}")
    if shutil.which("ogrinfo"):
        for name in bundles:
            if not name.endswith(".dbf"):
                continue  # GDAL knows tables by their extension
            out = subprocess.run(["ogrinfo", "-so", "-al", os.path.join(folder, name)], capture_output=True,
                                 text=True, errors="replace").stdout
            if "Feature Count" not in out:
                raise SystemExit(f"round trip: ogrinfo cannot read {name}:\n{out}")
    run(runner, "extract", folder, NAME, UNIT)
    if dump(runner, folder) != raw_dump:
        raise SystemExit("round trip: the extracted tables differ from the generated ones")
    if DBF and read_all(folder) != before:
        raise SystemExit("round trip: dbfread reads other records after the round trip")
    print(f"round trip: {len(os.listdir(folder))} files back, every table equal record for record")


def kill_trials(runner, work, trials, kind, source, args, expected, leftover):
    durations = []
    for _ in range(3):
        folder = os.path.join(work, "timing")
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(source, folder)
        start = time.monotonic()
        run(runner, kind, folder, *args)
        durations.append(time.monotonic() - start)
    longest = max(durations) * 1.1
    rng = random.Random(int(os.environ.get("TALLYFIN_KILL_SEED", "0")) or None)
    killed = 0
    for trial in range(trials):
        folder = os.path.join(work, "trial")
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(source, folder)
        p = subprocess.Popen([runner, kind, folder, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, longest))
        if p.poll() is None:
            p.send_signal(signal.SIGKILL)
            killed += 1
        p.wait()
        again = run(runner, kind, folder, *args, check=False)
        if again.returncode != 0 and leftover(folder):
            raise SystemExit(f"{kind} trial {trial}: the run after the kill failed: {again.stderr}")
        if dump(runner, folder) != expected:
            raise SystemExit(f"{kind} trial {trial}: records lost or doubled after a kill (folder kept: {folder})")
        stray = [n for n in os.listdir(folder) if leftover(folder, n)]
        if stray:
            raise SystemExit(f"{kind} trial {trial}: files of the run left behind: {stray[:5]}")
    print(f"{kind}: {trials} trials, {killed} killed mid-run, nothing lost, every table opens")


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    runner, work = sys.argv[1], sys.argv[2]
    trials = int(sys.argv[3]) if len(sys.argv) == 4 else 100
    os.makedirs(work, exist_ok=True)
    if DBF is None:
        print("dbfread missing: the round trip is compared by the runner's dump only")
    round_trip(runner, work)

    raw = os.path.join(work, "raw")
    shutil.rmtree(raw, ignore_errors=True)
    run(runner, "generate", raw, "5", "40", "10")
    raw_dump = dump(runner, raw)
    bundled = os.path.join(work, "bundled")
    shutil.rmtree(bundled, ignore_errors=True)
    shutil.copytree(raw, bundled)
    run(runner, "bundle", bundled, "1")
    bundled_dump = dump(runner, bundled)

    def bundle_leftover(folder, name=None):
        names = [name] if name else os.listdir(folder)
        return any(n.startswith("01 ") or n.endswith((".tmp", ".del", ".gel")) for n in names)

    def extract_leftover(folder, name=None):
        names = [name] if name else os.listdir(folder)
        return any(n.startswith(f"[{NAME}]") or n.endswith((".db~", ".GP~", ".del", ".gel")) for n in names)

    kill_trials(runner, work, trials, "bundle", raw, ["1"], bundled_dump, bundle_leftover)
    kill_trials(runner, work, trials, "extract", bundled, [NAME, UNIT], raw_dump, extract_leftover)


if __name__ == "__main__":
    main()

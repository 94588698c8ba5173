#!/usr/bin/env python3
"""The tables of a data folder before and after bundling and extraction.

    exchange_tables.py dump FOLDER OUT.json
    exchange_tables.py bundled FOLDER BEFORE.json
    exchange_tables.py raw FOLDER BEFORE.json
    exchange_tables.py nonbundled-gone FOLDER BEFORE.json

dump writes every raw table and coordinate file of FOLDER (names beginning
with a two-digit dataset number and a blank, ".dbf" or ".GPF") with its
fields and records, read by dbfread.

bundled checks FOLDER after bundling the dataset BEFORE.json holds: none of
its raw files is left; each bundle holds exactly as many records as the raw
files of its branch together, and every raw record's values are in it (the
bundle adds its ancestors' keys); the version table carries its bundled name.

raw checks FOLDER after extraction: the raw files are those of BEFORE.json,
field for field and record for record, except that a coordinate file comes
back with the level's table name in place of the level's own name
("~Plot^" becomes "~PLOTS^", the name the bundle carries).

nonbundled-gone checks that no raw file is left while every bundle is.

Prints what it found; exits 1 with the reason on the first mismatch.
"""
import collections
import json
import os
import re
import sys

import dbfread

# "01 2AA___[North Block]ABC___~   1~TREES.dbf": number, level digit and
# code, dataset, unit code, parent keys, table (with the GPS suffix of a
# coordinate file), extension.
RAW = re.compile(r"^(\d\d) (\d)(.{5})\[([^\]]*)\](.+?)~(.*)~([^~^]+)(\^[^~]*)?\.(dbf|GPF)$")
VERSION = re.compile(r"^(\d\d) 1A____\[([^\]]*)\](.+)#\$\$DataAppVer\.dbf$")
# "[North Block]1A____ABC___+PLOTS.dbf", "[North Block]2AA___ABC___TREES+.dbf",
# coordinate bundles with their GPS suffix before the extension.
BUNDLE = re.compile(r"^\[([^\]]*)\](\d)(.{5})(.*)\.(dbf|GPF)$")
# The level's own name in a coordinate file, and the table name its bundle carries.
RENAMES = [("~Plot^", "~PLOTS^")]


def fail(text):
    print("exchange_tables: FAIL: " + text)
    sys.exit(1)


def read(path):
    try:
        table = dbfread.DBF(path, ignorecase=False, char_decode_errors="strict", load=True)
    except Exception as e:  # a table that does not open is the failure reported
        fail(f"{os.path.basename(path)} does not open: {e}")
    fields = [[f.name, f.type, f.length, f.decimal_count] for f in table.fields]
    records = [[str(v) for v in r.values()] for r in table.records]
    return {"fields": fields, "records": records}


def data_files(folder):
    return sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))


def raw_files(folder):
    return [n for n in data_files(folder) if RAW.match(n) or VERSION.match(n)]


def bundle_files(folder):
    return [n for n in data_files(folder) if n.startswith("[")]


def dump(folder, out):
    tables = {n: read(os.path.join(folder, n)) for n in raw_files(folder)}
    if not tables:
        fail(f"no raw tables in {folder}")
    with open(out, "w") as f:
        json.dump(tables, f, indent=1, sort_keys=True)
    total = sum(len(t["records"]) for t in tables.values())
    print(f"{len(tables)} raw files, {total} records")


def load(path):
    with open(path) as f:
        return json.load(f)


def branch_of(name):
    """(level digit and code, table or GPS suffix, extension, dataset, unit) of a raw name."""
    m = RAW.match(name)
    if not m:
        return None
    _, digit, code, dataset, unit, _, table, gps, ext = m.groups()
    # A coordinate file's bundle is named by its GPS suffix; a table's by its table name.
    return (digit + code, gps if gps else table, ext, dataset, unit)


def bundle_branch(name, unit):
    m = BUNDLE.match(name)
    if not m or "#$$" in name:
        return None
    dataset, digit, code, rest, ext = m.groups()
    if not rest.startswith(unit):
        return None
    rest = rest[len(unit):]
    gps = ""
    if "^" in rest:
        gps = rest[rest.index("^"):]
        rest = rest[: rest.index("^")]
    table = rest.replace("+", "")
    return (digit + code, gps if gps else table, ext, dataset, unit)


def projected(fields, records, keep):
    """The records' values of the fields named in keep, as a multiset."""
    names = [f[0] for f in fields]
    at = [names.index(k) for k in keep]
    return collections.Counter(tuple(r[i] for i in at) for r in records)


def check_bundled(folder, before):
    left = [n for n in raw_files(folder) if n in before]
    if left:
        fail("raw files left after bundling: " + ", ".join(left))
    raws = {n: t for n, t in before.items() if RAW.match(n)}
    unit = branch_of(next(iter(raws)))[4]
    branches = collections.defaultdict(list)
    for n in raws:
        branches[branch_of(n)].append(n)
    bundles = {}
    for n in bundle_files(folder):
        b = bundle_branch(n, unit)
        if b is not None:
            bundles[b] = n
    lines = []
    for branch, names in sorted(branches.items()):
        if branch not in bundles:
            fail(f"no bundle for {', '.join(names)} (bundles: {', '.join(bundle_files(folder))})")
        name = bundles[branch]
        got = read(os.path.join(folder, name))
        want = sum(len(raws[n]["records"]) for n in names)
        if len(got["records"]) != want:
            fail(f"{name} holds {len(got['records'])} records, its raw files {want}")
        bundle_fields = [f[0] for f in got["fields"]]
        have = collections.Counter()
        for n in names:
            keep = [f[0] for f in raws[n]["fields"] if f[0] in bundle_fields]
            if len(keep) < len(raws[n]["fields"]):
                fail(f"{name} lacks fields of {n}")
            have = projected(got["fields"], got["records"], keep)
            need = projected(raws[n]["fields"], raws[n]["records"], keep)
            missing = need - have
            if missing:
                fail(f"{name} lacks records of {n}: {list(missing)[:3]}")
        lines.append(f"{name}: {want} records")
    for n in before:
        m = VERSION.match(n)
        if m:
            bundled = f"[{m.group(2)}]1A____{m.group(3)}#$$DataAppVer.dbf"
            if bundled not in data_files(folder):
                fail(f"no version table {bundled}")
            if read(os.path.join(folder, bundled))["records"] != before[n]["records"]:
                fail(f"{bundled} does not hold the records of {n}")
            lines.append(f"{bundled}: {len(before[n]['records'])} records")
    print("; ".join(lines))


def renamed(name):
    if not name.endswith(".GPF"):
        return name
    for old, new in RENAMES:
        name = name.replace(old, new)
    return name


def check_raw(folder, before):
    want = {renamed(n): t for n, t in before.items()}
    got_names = raw_files(folder)
    if sorted(want) != got_names:
        fail(f"the raw files are {got_names}, not {sorted(want)}")
    total = 0
    for n in got_names:
        got = read(os.path.join(folder, n))
        if got["fields"] != want[n]["fields"]:
            fail(f"{n} has the fields {got['fields']}, not {want[n]['fields']}")
        if got["records"] != want[n]["records"]:
            fail(f"{n} holds {got['records']}, not {want[n]['records']}")
        total += len(got["records"])
    print(f"{len(got_names)} raw files with all {total} records, field for field")


def check_nonbundled_gone(folder, before):
    left = raw_files(folder)
    if left:
        fail("raw files left: " + ", ".join(left))
    bundles = bundle_files(folder)
    if not bundles:
        fail("the bundles are gone too")
    print(f"no raw file left; {len(bundles)} bundles kept")


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("dump", "bundled", "raw", "nonbundled-gone"):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    command, folder, other = sys.argv[1:]
    if command == "dump":
        dump(folder, other)
    elif command == "bundled":
        check_bundled(folder, load(other))
    elif command == "raw":
        check_raw(folder, load(other))
    else:
        check_nonbundled_gone(folder, load(other))


if __name__ == "__main__":
    main()

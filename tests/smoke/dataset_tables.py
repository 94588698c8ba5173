#!/usr/bin/env python3
"""The tables of a data folder as dbfread reads them, for the exchange stages.

  dataset_tables.py dump FOLDER OUT.json      every table's records into OUT.json
  dataset_tables.py raw FOLDER BEFORE.json    the raw tables equal BEFORE, record for record
  dataset_tables.py bundled FOLDER BEFORE.json  only bundles of the dataset, holding BEFORE's records

Version tables are left out. A coordinate file comes back from a bundle with
its level's table name where it had the level's own name ("~Plot^" becomes
"~PLOTS^"): the bundle's name carries only the table name. Exits 1 with the
difference when the check fails.
"""
import json
import os
import sys

from dbfread import DBF


def tables(folder):
    out = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith((".dbf", ".GPF")) or "#$$DataAppVer" in name:
            continue
        records = DBF(os.path.join(folder, name), ignorecase=False, char_decode_errors="replace")
        out[name.replace("~Plot^", "~PLOTS^")] = [[str(v) for v in r.values()] for r in records]
    return out


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("dump", "raw", "bundled"):
        raise SystemExit(__doc__)
    mode, folder, saved = sys.argv[1:]
    now = tables(folder)
    if mode == "dump":
        json.dump(now, open(saved, "w"))
        print(f"{len(now)} tables, {sum(len(r) for r in now.values())} records")
        return
    before = json.load(open(saved))
    if mode == "raw":
        if now != before:
            missing = sorted(set(before) - set(now))
            extra = sorted(set(now) - set(before))
            changed = sorted(n for n in set(now) & set(before) if now[n] != before[n])
            raise SystemExit(f"tables differ: missing {missing}, extra {extra}, changed {changed}")
        print(f"{len(now)} tables equal record for record")
        return
    stray = [n for n in now if not n.startswith("[")]
    if stray:
        raise SystemExit(f"raw tables left beside the bundles: {stray}")
    count = sum(len(r) for r in now.values())
    expected = sum(len(r) for r in before.values())
    if count != expected:
        raise SystemExit(f"the bundles hold {count} records, the raw tables held {expected}")
    # Every raw record is in a bundle, whole.
    pool = sorted(tuple(r) for rows in now.values() for r in rows)
    raws = sorted(tuple(r) for rows in before.values() for r in rows)
    if pool != raws:
        raise SystemExit("the bundles' records are not the raw tables' records")
    print(f"{len(now)} bundles hold the {count} records")


if __name__ == "__main__":
    main()

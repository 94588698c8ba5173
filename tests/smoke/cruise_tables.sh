# The tables of the demo cruise after the smoke tests' whole-cruise stage,
# read by dbfread and ogrinfo: exactly the six tables the naming rules give,
# the keyed values in each (a tree's basal area filled by the demo's program), plot 1's timer at two seconds and a little, and
# ogrinfo's record counts. Sourced by the terminal and the Windows smoke
# tests, which give fail, note and py (a python3 with dbfread); and what the
# demo prints of those trees.

# check_cruise_tables DATA_FOLDER
check_cruise_tables() {
  local data=$1 tables want_tables got want secs counts t n
  tables=$(cd "$data" && LC_ALL=C ls -1 ./*.dbf 2>/dev/null | sed 's|^\./||')
  want_tables=$'01 1A____[North Block]ABC___#$$DataAppVer.dbf\n01 1A____[North Block]ABC___~~PLOTS.dbf\n01 2AA___[North Block]ABC___~   1~TREES.dbf\n01 2AA___[North Block]ABC___~   2~TREES.dbf\n01 2AB___[North Block]ABC___~   2~REGEN.dbf\n01 3AAA__[North Block]ABC___~   1-  1~LOGS.dbf'
  [ "$tables" = "$want_tables" ] || fail "the dataset's tables are:"$'\n'"$tables"$'\n'"instead of:"$'\n'"$want_tables"
  got=$("$py" - "$data" <<'PY' 2>&1
import glob, os, sys, dbfread
for path in sorted(glob.glob(os.path.join(sys.argv[1], "*~*~*.dbf"))):
    name = os.path.basename(path)
    for r in dbfread.DBF(path, ignorecase=False):
        fields = [f for f in r.keys() if f not in ("CRUISEDT", "STARTTM", "STAND", "LAT", "LON", "ELEV")]
        print(name.split("~", 1)[1] + ":" + "|".join(str(r[f]).strip() for f in fields))
PY
)
  want=$'~PLOTS.dbf:1|ABR|35|180|windthrow|SECS\n~PLOTS.dbf:2|JMC|35|180|steep|None\n~PLOTS.dbf:3|LKO|70|180|rocky|None\n   1~TREES.dbf:1|1|Douglas-fir|20.0|120|C|0||2.18\n   1~TREES.dbf:1|2|Western hemlock|22.0|110|C|0||2.64\n   1~TREES.dbf:1|3|Lodgepole pine|14.0|100|I|0||1.07\n   1~TREES.dbf:1|4|Western redcedar|30.0|None||None||4.91\n   2~TREES.dbf:2|1|Douglas-fir|25.0|130|D|0||3.41\n   2~REGEN.dbf:2|1|Ponderosa pine|2|12\n   1-  1~LOGS.dbf:1|1|1|18.0|15.0|S1|0'
  # The plot timer ran for two seconds and a little.
  secs=$(sed -n 's/^~PLOTS.dbf:1|ABR|35|180|windthrow|\([0-9]*\)$/\1/p' <<<"$got")
  if [[ $secs =~ ^[0-9]+$ ]] && ((secs >= 2 && secs <= 4)); then
    got=${got/windthrow|$secs/windthrow|SECS}
  else
    fail "plot 1's timer holds '$secs' seconds, not 2-4"
  fi
  if [ "$got" = "$want" ]; then
    note "dbfread reads every table of the cruise"
  else
    fail "dbfread read:"$'\n'"$got"$'\n'"instead of:"$'\n'"$want"
  fi
  command -v ogrinfo >/dev/null || fail "ogrinfo is not installed"
  counts=""
  while IFS= read -r t; do
    n=$(ogrinfo -ro -al -so "$data/$t" 2>&1 | sed -n 's/^Feature Count: //p')
    counts+="$n "
  done <<<"$tables"
  if [ "$counts" = "1 3 4 1 1 1 " ]; then
    note "ogrinfo reads every table"
  else
    fail "ogrinfo counts the records of the tables as '$counts', not '1 3 4 1 1 1 '"
  fi
}

# printed_report FILE: writes what PRINT.RPF prints on COM 4 for plot 1's
# trees after the whole-cruise stage, byte for byte.
printed_report() {
  {
    printf 'Cruise plot report\r\nSpecies         DBH    Height  Basal\r\n'
    printf '%-16s%5s%8s%7s\r\n' Douglas-fir 20.0 120 2.18 "Western hemlock" 22.0 110 2.64 \
      "Lodgepole pine" 14.0 100 1.07 "Western redcedar" 30.0 "" 4.91
    printf 'Trees: 4\r\n'
  } >"$1"
}

#!/usr/bin/env bash
# Writes pts.dat, the sample survey table: a closed traverse of eight points
# with Cyrillic names, made with shapelib's dbfcreate and dbfadd (Debian
# package shapelib). Names are in Windows-1251, as the language driver says.
set -euo pipefail
cd "$(dirname "$0")"
rm -f pts.dbf pts.dat
dbfcreate pts -s NAME 12 -n X 12 2 -n Y 12 2
while IFS='|' read -r name x y; do
    dbfadd pts "$(printf '%s' "$name" | iconv -t CP1251)" "$x" "$y"
done <<'POINTS'
Репер 1|6171234.56|2310456.78
Точка 2|6171398.12|2310587.34
Точка 3|6171512.90|2310810.05
Точка 4|6171455.31|2311040.66
Точка 5|6171280.47|2311122.19
Точка 6|6171102.88|2311008.73
Точка 7|6171031.64|2310790.12
Точка 8|6171089.25|2310580.40
POINTS
mv pts.dbf pts.dat

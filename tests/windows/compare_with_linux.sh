#!/usr/bin/env bash
# Runs geocalc-cli built for Linux and geocalc-cli.exe under Wine on the same
# arguments, input and files, and compares what they write byte for byte:
# standard output, every file written with -o, and the exit code. Standard
# error is compared with the CR of Windows line ends taken away.
#
#   tests/windows/compare_with_linux.sh build/ci/src/geocalc-cli build/windows/src/geocalc-cli.exe
set -uo pipefail
cd "$(dirname "$0")/../.."

linux=$(realpath "$1")
windows=$(realpath "$2")
wine=$(realpath cmake/run-under-wine.sh)
# Wine turns arguments and file names from UTF-8 into UTF-16 only under a
# UTF-8 locale.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"
failures=0 runs=0

# The regional settings of the runs: "C" (where Linux writes dates as
# 05/06/24 and Windows, in US English, as 05/06/2024) or "ru", where both
# write 06.05.2024 and a decimal comma. The Linux side's Russian locale is
# compiled here, so that the machine need not have it.
region=C
mkdir "$work/locales"
localedef -c -i ru_RU -f UTF-8 "$work/locales/ru_RU.UTF-8" >/dev/null 2>&1

# choose SIDE: sets `program` to the command line of that side's program.
choose() {
    if [[ $1 == windows ]]; then program=("$wine" "$windows"); else program=("$linux"); fi
}

# run SIDE STDIN ARGS...: the side's program in its own folder, so that the
# files it writes with a relative -o name land apart.
run() {
    local side=$1 input=$2 program
    shift 2
    choose "$side"
    local settings=()
    [[ $region == ru ]] && settings=(LOCPATH="$work/locales" LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8)
    (cd "$work/$side" && env "${settings[@]}" "${program[@]}" "$@" <"$input" >stdout 2>stderr; echo $? >status)
    tr -d '\r' <"$work/$side/stderr" >"$work/$side/stderr.lf"
}

# same NAME STDIN ARGS...: both sides agree on everything they wrote.
same() {
    local name=$1
    shift
    runs=$((runs + 1))
    rm -f "$work"/linux/* "$work"/windows/*
    run linux "$@"
    run windows "$@"
    local file
    local written
    written=$(ls "$work/linux" "$work/windows" | grep -v '^std\|^status\|:$\|^$' | sort -u)
    for file in stdout stderr.lf status $written; do
        if ! cmp -s "$work/linux/$file" "$work/windows/$file"; then
            echo "DIFFERS: $name: $file"
            diff <(od -c "$work/linux/$file") <(od -c "$work/windows/$file" 2>&1) | head -10
            failures=$((failures + 1))
        fi
    done
}

here=$(pwd)
sample=$here/samples/pts.dat
fixtures=$here/tests/table/fixtures
none=/dev/null

# Sides from standard input: ordinary, blank, malformed, huge and degenerate lines.
python3 - >"$work/sides.txt" <<'PY'
import random
random.seed(14)
lines = ["0 0 100 100", "", "0 0 0 100", "1 2 1 2", "0 0 1e4932 0", "0 0 -1e4000 1e4000", "x 1 2 3",
         "1,5 2 3 4", "6171234.56 2310456.78 6171398.12 2310587.34", "1 2 3", "  7   8   9   10  ",
         "0 0 1e-4950 1e-4950", "0 0 100 -0", "-0 -0 -100 0"]
for _ in range(3000):
    digits = lambda: f"{random.uniform(-1e7, 1e7):.{random.randint(0, 9)}f}"
    lines.append(" ".join(digits() for _ in range(4)))
print("\n".join(lines))
PY

same "inverse of arguments" "$none" inverse 0 0 100 100
same "inverse, comma" "$none" --decimal-separator , inverse 0 0 100,5 -0,25
same "inverse of equal points" "$none" inverse 0 0 0 0
same "inverse overflow" "$none" inverse 0 0 1e4932 1e4932
same "inverse usage" "$none" inverse 1 2
same "inverse from input" "$work/sides.txt" inverse
same "inverse from input, comma" "$work/sides.txt" --decimal-separator , inverse

region=ru
for table in "$sample" "$fixtures"/*.dbf; do
    same "show $(basename "$table")" "$none" show "$table"
done
same "show, full stop" "$none" --decimal-separator . show "$fixtures/pydbf_vfp.dbf"
same "traverse, Russian settings" "$none" traverse "$sample" 1 2 3 4
if ! grep -q '1234,56' "$work/windows/stdout"; then  # the settings were read, not just alike
    echo "DIFFERS: the Russian settings gave no decimal comma"
    failures=$((failures + 1))
fi
same "show, Russian dates" "$none" show "$fixtures/pydbf_vfp.dbf"
if ! grep -q '06\.05\.2024 07:08:09' "$work/windows/stdout"; then
    echo "DIFFERS: the Russian settings gave no Russian date"
    failures=$((failures + 1))
fi
region=C
same "show without dates" "$none" show "$fixtures/shapelib_cp1251.dbf"
same "show of a missing table" "$none" show "$here/no-such-table.dbf"

same "traverse by numbers" "$none" traverse "$sample" 1 2 3 4 5 6 7 8
same "traverse by names" "$none" traverse --names "$sample" "Репер 1" "Точка 3" "Точка 5" "Точка 7"
same "traverse in UTF-8" "$none" traverse --encoding utf-8 "$sample" 8 6 4 2
same "traverse to a file" "$none" traverse -o results.txt "$sample" 1 2 3 4 5 6 7 8
same "traverse to a Cyrillic name" "$none" traverse -o "итоги.txt" "$sample" 2 4 6
same "traverse to a full disk" "$none" traverse -o /dev/full "$sample" 1 2 3
same "traverse, unknown name" "$none" traverse --names "$sample" "Репер 1" "Нет такой"
for format in text json csv svg dxf; do
    same "parcel as $format" "$none" parcel --format "$format" -o "parcel.$format" "$sample" 1 2 3 4 5 6 7 8
done
same "parcel with a crossing" "$none" parcel "$sample" 1 3 2 4

# A table under a Cyrillic name reaches the Windows program as UTF-16.
cp "$sample" "$work/точки.dat"
same "traverse of a Cyrillic table name" "$none" traverse "$work/точки.dat" 1 2 3 4

# A reader that stops early ends the run quietly, with exit code 1, on both.
yes "0 0 100 100" | head -200000 >"$work/many.txt"
for side in linux windows; do
    runs=$((runs + 1))
    choose "$side"
    "${program[@]}" inverse <"$work/many.txt" 2>"$work/$side/stderr" | head -1 >/dev/null
    status=${PIPESTATUS[0]}
    if [[ $status != 1 || -s $work/$side/stderr ]]; then
        echo "DIFFERS: $side after a closed pipe: exit code $status, '$(cat "$work/$side/stderr")'"
        failures=$((failures + 1))
    fi
done

echo "$runs comparisons, $failures differences"
((failures == 0))

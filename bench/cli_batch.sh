#!/usr/bin/env bash
# geocalc-cli's batch speed, measured side by side in one run with hyperfine:
#   inverse on 1,000,000 lines   against awk one-liners doing the same
#                                arithmetic, and against the side line
#                                benchmark's time per line times the lines;
#   show of the 1,000,000-record benchmark table against the table scan
#                                benchmark.
# Writes the figures into the README between the batch-figures markers.
# Usage: bench/cli_batch.sh [BUILD_FOLDER]   (default build/ci)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
packages=(hyperfine gawk mawk)
./scripts/install-packages "${packages[@]}"
cmake --build "$build" -j2 --target geocalc-cli numtext_bench table_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lines=1000000
mawk -v n=$lines 'BEGIN { srand(1); for (i = 0; i < n; i++) {
    xs = 6000000 + rand() * 100000; ys = 400000 + rand() * 100000
    printf "%.2f %.2f %.2f %.2f\n", xs, ys, xs + rand() * 1000 - 500, ys + rand() * 1000 - 500 } }' > "$work/lines.txt"
cat > "$work/inverse.awk" <<'AWK'
{ dx = $3 - $1; dy = $4 - $2; a = atan2(dy, dx) * 57.29577951308232; if (a < 0) a += 360
  d = int(a); m = int((a - d) * 60); s = ((a - d) * 60 - m) * 60
  printf "%d°%d'%.1f\" %.1f\n", d, m, s, sqrt(dx * dx + dy * dy) }
AWK

cli="$build/src/geocalc-cli"
input="$work/lines.txt"
hyperfine -w 1 -r 5 --output null --export-csv "$work/inverse.csv" -n geocalc "$cli inverse < $input" \
    -n gawk "gawk -f $work/inverse.awk < $input" -n mawk "mawk -f $work/inverse.awk < $input" >&2
"$build/bench/table_bench" --benchmark_filter=BM_ScanAllFieldTexts --benchmark_format=csv > "$work/scan.csv" 2>/dev/null
table=$(ls "${TMPDIR:-/tmp}"/geocalc-bench-1000000.dbf)
hyperfine -N -w 1 -r 10 --output null --export-csv "$work/show.csv" -n show "$cli show $table" >&2
"$build/bench/numtext_bench" --benchmark_filter=BM_SideLine --benchmark_format=csv > "$work/side.csv" 2>/dev/null

mean() { awk -F, -v name="$2" '$1 == name { print $2 * 1000 }' "$1"; }                  # ms
benchmarkMs() { awk -F, -v name="\"$2\"" '$1 == name { print $3 }' "$1"; }  # its unit is ms
geocalc=$(mean "$work/inverse.csv" geocalc)
gawk=$(mean "$work/inverse.csv" gawk)
mawk=$(mean "$work/inverse.csv" mawk)
show=$(mean "$work/show.csv" show)
scan=$(benchmarkMs "$work/scan.csv" BM_ScanAllFieldTexts)
sideNs=$(awk -F, '$1 == "\"BM_SideLine\"" { print $3 }' "$work/side.csv")
sides=$(awk -v ns="$sideNs" -v n=$lines 'BEGIN { print ns * n / 1e6 }')

figures=$(awk -v g="$geocalc" -v ga="$gawk" -v ma="$mawk" -v si="$sides" -v ns="$sideNs" -v sh="$show" -v sc="$scan" 'BEGIN {
    printf "| Measure | geocalc | baseline | ratio | target |\n|---|---|---|---|---|\n"
    printf "| `inverse`, 1,000,000 lines | %.0f ms | gawk one-liner %.0f ms | %.1f× faster | ≥ 5× faster |\n", g, ga, ga / g
    printf "| | | mawk one-liner %.0f ms | %.1f× faster | ≥ 3× faster |\n", ma, ma / g
    printf "| | | side line benchmark %.0f ns × 1,000,000 = %.0f ms | %.2f× | within 1.5× |\n", ns, si, g / si
    printf "| `show`, the 1,000,000-record table | %.0f ms | table scan benchmark %.0f ms | %.2f× | within 1.2× |\n", sh, sc, sh / sc
}')
echo "$figures"
awk -v figures="$figures" '
    /<!-- batch-figures -->/ { print; print figures; skip = 1; next }
    /<!-- \/batch-figures -->/ { skip = 0 }
    !skip { print }' README.md > "$work/README.md"
cp "$work/README.md" README.md

#!/bin/bash
# The native window's start-up failure box under Wine, on a real X server
# with a window manager (run by xvfb-run; openbox is started here): the box
# captioned "Application Error" shows, OK (Enter) closes it, and the program
# ends with exit code 1. Its text is the form layer's, tested there.
#   xvfb-run -a tests/windows/startup_failure_under_wine.sh build/windows/tests/startup_failure_probe.exe
set -euo pipefail
cd "$(dirname "$0")/../.."
probe=$(realpath "$1")
wine=$(realpath cmake/run-under-wine.sh)
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT

fail() { echo "start-up failure test: $*" >&2; exit 1; }

"$wine" "$probe" >/dev/null 2>&1 &
program=$!
box=
for _ in $(seq 120); do
    box=$(xdotool search --onlyvisible --name '^Application Error$' 2>/dev/null | head -n1 || true)
    [[ -n $box ]] && break
    sleep 0.25
done
[[ -n $box ]] || fail "no box captioned \"Application Error\""
kill -0 $program 2>/dev/null || fail "the program ended while its box was shown"
xdotool windowactivate --sync "$box" key Return
code=0
wait $program || code=$?
[[ $code == 1 ]] || fail "exit code $code after the box, not 1"
echo "start-up failure test: passed"

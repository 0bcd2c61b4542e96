#!/usr/bin/env bash
# The native window under Wine on a real X server with a window manager
# (run by xvfb-run; openbox is started here), driven by real input events
# from xdotool as a user drives it:
#  - a broken table: the error box, captioned with the application title,
#    and the window goes on;
#  - the whole job from the keyboard: "Открыть таблицу" and the open dialog
#    on a copy of the sample, Tab into the grid, Ctrl+Enter on each of the
#    eight records, Ctrl+Tab out, Tab to "Рассчет", Tab to "Сохранить" and
#    the save dialog;
# and the saved file compared byte for byte with what geocalc-cli.exe
# traverse writes for the same records.
#
#   xvfb-run -a tests/windows/window_under_wine.sh build/windows/src/win32/geocalc.exe build/windows/src/geocalc-cli.exe
set -euo pipefail
cd "$(dirname "$0")/../.."
window_exe=$(realpath "$1")
cli_exe=$(realpath "$2")
wine=$(realpath cmake/run-under-wine.sh)
export LC_ALL=C.UTF-8 LANG=C.UTF-8
work=$(mktemp -d /tmp/geocalc-window-XXXXXX)
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true; /usr/lib/wine/wineserver64 -k 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do  # until openbox has taken the screen
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
cp samples/pts.dat "$work/pts.dat"
head -c 40 samples/pts.dat >"$work/broken.dat"
windows_path() { echo "Z:${1//\//\\}"; }

fail() {
    echo "window test: $*" >&2
    import -window root "$work/screen.png" 2>/dev/null && cp "$work/screen.png" /tmp/geocalc-window-failure.png || true
    exit 1
}

# Waits for a window whose name matches; its id.
wait_for() {
    local id
    for _ in $(seq 120); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.25
    done
    return 1
}
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }
type_text() { xdotool type --delay 30 "$1"; sleep 0.3; }

"$wine" "$window_exe" >/dev/null 2>&1 &
main=$(wait_for '^расчет геоданных$') || fail "the window did not appear"
xdotool windowactivate --sync "$main"; sleep 1

# A broken table: the error box, and the window goes on.
keys space
dialog=$(wait_for '^Open$|^Открыть$') || fail "no open dialog"
type_text "$(windows_path "$work/broken.dat")"
keys Return
box=$(wait_for '^geocalc$') || fail "no error box captioned with the application title"
keys Return
sleep 1
xdotool search --onlyvisible --name '^geocalc$' >/dev/null 2>&1 && fail "the error box stayed"
xdotool search --onlyvisible --name '^расчет геоданных$' >/dev/null || fail "the window did not go on"

# The whole job from the keyboard.
xdotool windowactivate --sync "$main"; sleep 0.5
keys space
wait_for '^Open$|^Открыть$' >/dev/null || fail "no open dialog the second time"
type_text "$(windows_path "$work/pts.dat")"
keys Return
sleep 1
[[ -f $work/pts.dbf ]] || fail "no working copy"
xdotool windowactivate --sync "$main"; sleep 0.5
keys Tab
for record in 1 2 3 4 5 6 7 8; do
    [[ $record -gt 1 ]] && keys Down
    keys ctrl+Return
done
keys ctrl+Tab Tab Tab Tab space  # ListBox1, "Очистить", "Удалить", "Рассчет"
keys Tab Tab Tab Tab space       # ListBox2, ListBox3, ListBox4, "Сохранить"
wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog"
type_text "$(windows_path "$work/results.txt")"
keys Return
for _ in $(seq 40); do [[ -s $work/results.txt ]] && break; sleep 0.25; done
[[ -s $work/results.txt ]] || fail "no results file"

"$wine" "$cli_exe" traverse -o "$(windows_path "$work/expected.txt")" "$(windows_path "$work/pts.dat")" 1 2 3 4 5 6 7 8
cmp "$work/results.txt" "$work/expected.txt" || fail "the saved file differs from geocalc-cli.exe traverse"
echo "window test: passed"

# Sourced by the window tests under Wine: the arguments WINDOW_EXE CLI_EXE
# [DPI], a work folder, openbox on the X server, Wine's resolution set (and
# put back at the end), and the helpers that drive the window as a user
# does. The caller sets `main`, the window's X id, for click and doubleClick.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
window_exe=$(realpath "$1")
cli_exe=$(realpath "$2")
dpi=${3:-96}
wine=$(realpath cmake/run-under-wine.sh)
export LC_ALL=C.UTF-8 LANG=C.UTF-8
work=$(mktemp -d /tmp/geocalc-window-XXXXXX)
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
resolution() { "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'kill $wm 2>/dev/null || true; /usr/lib/wine/wineserver64 -k 2>/dev/null || true; resolution 96; rm -rf "$work"' EXIT
resolution "$dpi"
/usr/lib/wine/wineserver64 -k 2>/dev/null || true  # the setting is read when Wine starts
for _ in $(seq 100); do  # until openbox has taken the screen
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
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

# click X Y / doubleClick X Y: the mouse at X, Y of the window's client area.
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.4; }
doubleClick() { xdotool mousemove --window "$main" "$1" "$2" click --repeat 2 --delay 80 1; sleep 0.4; }

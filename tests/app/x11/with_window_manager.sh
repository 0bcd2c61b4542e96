#!/usr/bin/env bash
# Runs a command on the X server of xvfb-run under openbox, a small window
# manager that frames windows and hands the focus over as desktops do.
set -euo pipefail
openbox --sm-disable &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
for _ in $(seq 100); do  # until openbox has taken the screen
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
"$@"

#!/usr/bin/env bash
# The native window's grid and lists under the mouse, under Wine at 96 dpi
# on a real X server (run by xvfb-run), on a table of 1000 records opened
# from the command line:
#  - the wheel: a notch moves the current record by the system's three
#    lines, shown by the record a following edit reaches;
#  - the cell editor as wide as its text: F2, End and a digit typed in Y
#    widen the text shown by that digit (none scrolled out of sight);
#  - the scroll bar's thumb dragged: the rows shown move while it is held,
#    and the current record is where it was let go;
#  - a title held over another column: a marker in the selection colour
#    on the title row shows where it will land;
#  - a name wider than the names' list: the list gets a horizontal scroll
#    bar when the point is picked;
#  - a blank record added by Down and left for another control is dropped;
#  - in a window made smaller than its controls, the keyboard's move to a
#    control beyond the edge scrolls it into view.
#
#   xvfb-run -a tests/windows/grid_under_wine.sh build/windows/src/win32/geocalc.exe build/windows/src/geocalc-cli.exe
source "$(dirname "$0")/wine_session.sh"

# A table of 1000 records like the sample's (NAME C(12), X and Y N(12,2)),
# named "Пункт 1" to "Пункт 1000" in Windows-1251.
python3 - samples/pts.dat "$work/big.dat" <<'PY'
import struct, sys
sample = open(sys.argv[1], 'rb').read()
header_length, record_length = struct.unpack('<HH', sample[8:12])
header = bytearray(sample[:header_length])
header[4:8] = struct.pack('<I', 1000)
records = b''.join(b' ' + ('Пункт %d' % i).encode('cp1251').ljust(12) + b'%12.2f%12.2f' % (6171000 + i, 2310000 + i)
                   for i in range(1, 1001))
open(sys.argv[2], 'wb').write(bytes(header) + records + b'\x1a')
PY
"$wine" "$window_exe" "$(windows_path "$work/big.dat")" >/dev/null 2>&1 &
main=$(wait_for '^расчет геоданных$') || fail "the window did not appear"
xdotool windowactivate --sync "$main"; sleep 1
for _ in $(seq 20); do [[ -f $work/big.dbf ]] && break; sleep 0.25; done
[[ -f $work/big.dbf ]] || fail "the table named at start was not opened"

# record N: the working copy's record N as geocalc-cli.exe shows it.
record() { "$wine" "$cli_exe" show "$(windows_path "$work/big.dbf")" | sed -n "$(($1 + 1))p" | iconv -f CP1251 -t UTF-8; }
# The record whose name an edit set to $1, counted from 1.
record_named() {
    "$wine" "$cli_exe" show "$(windows_path "$work/big.dbf")" | iconv -f CP1251 -t UTF-8 |
        awk -F '\t' -v name="$1" '$1 == name { print NR - 1 }'
}
# pixels GEOMETRY: "x y red" of each pixel in that part of the window.
pixels() {
    import -window "$main" -crop "$1" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}

# The wheel: one notch down from the first record goes three records on.
keys Tab
xdotool mousemove --window "$main" 150 150; sleep 0.2
xdotool click 5; sleep 0.5
keys F2; type_text WHEEL; keys Return Down
[[ $(record_named WHEEL) == 4 ]] || fail "a notch of the wheel from record 1 went to record $(record_named WHEEL)"

# The cell editor: the text of Y in the next record (the current one), its
# dark pixels measured across the row before and after a digit is typed.
keys Right Right
current_y() { pixels "330x300+0+45" | awk '$5 > $3 + 60 { y += $2; n++ } END { if (n) print 45 + int(y / n) }'; }
row_y=$(current_y)
[[ -n $row_y ]] || fail "no current cell shown in the focused grid"
keys F2 End
text_width() {
    pixels "170x12+165+$((row_y - 6))" | awk '$3 < 100 { if (min == "" || $1 < min) min = $1; if ($1 > max) max = $1 }
        END { print max - min }'
}
before=$(text_width)
type_text 9
after=$(text_width)
(( after >= before + 4 )) || fail "a digit typed in Y widened the text shown from $before to $after pixels"
keys Escape Escape

# The thumb, at the top after Ctrl+Home, dragged half-way down its track:
# the rows shown differ while it is still held; the current record is
# where it was let go.
keys ctrl+Home
bar_x=$(( $(pixels "400x1+0+40" | awk '$3 < 200 { x = $1 } END { print x }') - 8 ))  # left of the grid's right edge
rows_shown() { import -window "$main" -crop 300x200+20+50 +repage -depth 8 rgb:- 2>/dev/null | md5sum; }
shown_before=$(rows_shown)
xdotool mousemove --window "$main" "$bar_x" 52 mousedown 1; sleep 0.3
xdotool mousemove --window "$main" "$bar_x" 110; sleep 0.2
xdotool mousemove --window "$main" "$bar_x" 170; sleep 0.5
shown_held=$(rows_shown)
xdotool mouseup 1; sleep 0.5
[[ $shown_held != "$shown_before" ]] || fail "the rows shown did not move while the thumb was held"
keys Home F2; type_text THUMB; keys Return Down
dragged=$(record_named THUMB)
(( dragged > 300 && dragged < 700 )) || fail "the thumb let go half-way left the current record at ${dragged:-none}"

# A title held over the last column: the selection colour (blue) shows on
# the title row only while it is held.
blue_in_titles() { pixels "400x10+0+34" | awk '$5 > $3 + 60 { n++ } END { print n + 0 }'; }
[[ $(blue_in_titles) == 0 ]] || fail "the title row shows blue before any title is held"
xdotool mousemove --window "$main" 40 38 mousedown 1; sleep 0.3
xdotool mousemove --window "$main" 200 38; sleep 0.2
xdotool mousemove --window "$main" 330 38; sleep 0.5
held=$(blue_in_titles)
xdotool mouseup 1; sleep 0.5
(( held > 0 )) || fail "no drop marker while a title was held"
[[ $(blue_in_titles) == 0 ]] || fail "the drop marker stayed after the drop"

# The names' list is narrower than "Пункт 501": picked, the list gets a
# horizontal scroll bar at its foot, where its white background was.
list_foot() { pixels "30x1+368+172" | awk '$3 < 250 { n++ } END { print n + 0 }'; }
[[ $(list_foot) == 0 ]] || fail "the empty names' list is not white at its foot"
keys ctrl+Return
(( $(list_foot) > 0 )) || fail "no horizontal scroll bar in the names' list under a name wider than it"

# Down on the last record adds a blank one; a click on the names' list
# drops it untouched, so that back in the grid a digit typed and posted
# goes into the last record, and the table keeps its 1000 records.
keys ctrl+End Down
click 380 120
keys shift+Tab
type_text 7
keys Return Up
records=$(( $("$wine" "$cli_exe" show "$(windows_path "$work/big.dbf")" | wc -l) - 1 ))
[[ $records == 1000 ]] || fail "a blank record left by a click elsewhere stayed: $records records"

# A window made smaller than its controls scrolls the control the keyboard
# moves to into view: Ctrl+Tab from the grid to the names' list, beyond the
# right edge, moves the grid's titles out of their place.
xdotool windowsize "$main" 300 250; sleep 0.8
titles() { import -window "$main" -crop 100x12+0+30 +repage -depth 8 rgb:- 2>/dev/null | md5sum; }
titles_before=$(titles)
keys ctrl+Tab
[[ $(titles) != "$titles_before" ]] || fail "the names' list was not scrolled into view"
echo "grid test under Wine: passed"

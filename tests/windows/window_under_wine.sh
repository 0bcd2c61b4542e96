#!/usr/bin/env bash
# The native window under Wine on a real X server with a window manager
# (run by xvfb-run; openbox is started here), driven by real input events
# from xdotool as a user drives it:
#  - the window's size at the resolution, every control inside it;
#  - a broken table: the error box, captioned with the application title,
#    and the window goes on;
#  - the whole job from the keyboard: "Открыть таблицу" and the open dialog
#    on a copy of the sample, Tab into the grid, Ctrl+Enter on each of the
#    eight records (at 96 dpi the first picked by a double click on it, the
#    current record, as the first thing after the open), Ctrl+Tab out,
#    Tab to "Рассчет", Ctrl+C in the side lines' list (its eight lines
#    copied), Tab to "Сохранить" and the save dialog;
# and the saved file compared byte for byte with what geocalc-cli.exe
# traverse writes for the same records; then
#  - a save over that file asks first: No keeps it, Yes replaces it;
#  - a grid edit (F2, a new X, Enter, Down) that reaches the working copy,
#    read back with geocalc-cli.exe show;
#  - typing "61715" in the X list (selecting Точка 3), "Удалить",
#    "Рассчет" and "Сохранить": seven lines, without that point;
#  - "Очистить" and "Сохранить": an empty file;
#  - double clicks on the eight records, "Рассчет", "Сохранить": the
#    traverse of the working copy as edited;
#  - a title dragged to another place and a border dragged to widen its
#    column, each shown by the cell a press then edits;
#  - minimising the window and restoring the program;
#  - starting minimised (restored from the task bar button) and maximised,
#    the latter with a table named on the command line, which opens;
#  - a table and results in a Cyrillic folder under Cyrillic names.
#
# With a screen resolution given (120, 144, 192: Wine's LogPixels setting,
# put back afterwards), the controls are scaled and the window grows with
# them; the same job is done there, but for the double clicks and drags,
# whose places are those of 96 dpi.
#
#   xvfb-run -a tests/windows/window_under_wine.sh build/windows/src/win32/geocalc.exe build/windows/src/geocalc-cli.exe [DPI]
source "$(dirname "$0")/wine_session.sh"
cp samples/pts.dat "$work/pts.dat"
head -c 40 samples/pts.dat >"$work/broken.dat"

"$wine" "$window_exe" >/dev/null 2>&1 &
main=$(wait_for '^расчет геоданных$') || fail "the window did not appear"
xdotool windowactivate --sync "$main"; sleep 1

# The window opens grown with the resolution (639 x 358 at 96 dpi), as far
# as the screen allows, so that its controls show without scrolling.
read -r shown_width shown_height < <(xdotool getwindowgeometry "$main" |
    sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
screen_width=$(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x.*/\1/p')
expected_width=$(( 639 * dpi / 96 < screen_width ? 639 * dpi / 96 : screen_width ))
(( shown_width * 100 >= expected_width * 95 && shown_height * 96 * 100 >= 330 * dpi * 95 )) ||
    (( shown_width >= screen_width * 95 / 100 )) ||
    fail "the window opened at ${shown_width}x${shown_height} at $dpi dpi"
# Where the screen holds that size, every control lies inside the client
# area and no scroll bar shows: its last column and last row of pixels are
# the window's background alone.
edge_colours() { import -window "$main" -crop "$1" +repage -depth 8 txt:- 2>/dev/null | tail -n +2 | awk '{ print $3 }' | sort -u | wc -l; }
if (( 639 * dpi / 96 <= screen_width )); then
    (( $(edge_colours "1x${shown_height}+$((shown_width - 1))+0") == 1 &&
        $(edge_colours "${shown_width}x1+0+$((shown_height - 1))") == 1 )) ||
        fail "at $dpi dpi a control or a scroll bar reaches the window's right or bottom edge"
fi


# A broken table: the error box, and the window goes on. "Открыть таблицу"
# is clicked with the mouse, at the window's top left. The box is captioned
# with the application title, as the never-seen application window is: it
# is the second visible window of that name.
titled() { xdotool search --onlyvisible --name '^geocalc$' 2>/dev/null | wc -l; }
before=$(titled)
click 20 10
dialog=$(wait_for '^Open$|^Открыть$') || fail "no open dialog"
type_text "$(windows_path "$work/broken.dat")"
keys Return
for _ in $(seq 40); do [[ $(titled) -gt $before ]] && break; sleep 0.25; done
[[ $(titled) -gt $before ]] || fail "no error box captioned with the application title"
keys Return
for _ in $(seq 20); do [[ $(titled) -eq $before ]] && break; sleep 0.25; done
[[ $(titled) -eq $before ]] || fail "the error box stayed"
xdotool search --onlyvisible --name '^расчет геоданных$' >/dev/null || fail "the window did not go on"

# The whole job from the keyboard.
xdotool windowactivate --sync "$main"; sleep 0.5
keys space
wait_for '^Open$|^Открыть$' >/dev/null || fail "no open dialog the second time"
type_text "$(windows_path "$work/pts.dat")"
keys Return
sleep 1
[[ -f $work/pts.dbf ]] || fail "no working copy pts.dbf"
xdotool windowactivate --sync "$main"; sleep 0.5
keys Tab
# The first pick, at 96 dpi, is the first thing a user does: a double click
# on the current record (whose first press opens the cell editor there).
for record in 1 2 3 4 5 6 7 8; do
    [[ $record -gt 1 ]] && keys Down
    if [[ $record == 1 && $dpi == 96 ]]; then doubleClick 60 52; else keys ctrl+Return; fi
done
keys ctrl+Tab Tab Tab Tab space  # ListBox1, "Очистить", "Удалить", "Рассчет"
keys Tab Tab Tab ctrl+c          # ListBox2, ListBox3, ListBox4: its side lines copied
copied=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true)
[[ $(printf '%s\n' "$copied" | wc -l) == 8 && $(printf '%s\n' "$copied" | grep -c "°") == 8 ]] ||
    fail "Ctrl+C in the side lines' list copied: $copied"
keys Tab space                   # "Сохранить"
wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog"
type_text "$(windows_path "$work/results.txt")"
keys Return
for _ in $(seq 40); do [[ -s $work/results.txt ]] && break; sleep 0.25; done
[[ -s $work/results.txt ]] || fail "no results file"

"$wine" "$cli_exe" traverse -o "$(windows_path "$work/expected.txt")" "$(windows_path "$work/pts.dat")" 1 2 3 4 5 6 7 8
cmp "$work/results.txt" "$work/expected.txt" || fail "the saved file differs from geocalc-cli.exe traverse"

# A save over an existing file asks first: No keeps the file and the
# dialog, Yes replaces it.
printf 'keep' >"$work/kept.txt"
xdotool windowactivate --sync "$main"; sleep 0.5
keys space
wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog over kept.txt"
type_text "$(windows_path "$work/kept.txt")"
keys Return; sleep 1
keys n; sleep 0.5
[[ $(cat "$work/kept.txt") == keep ]] || fail "kept.txt was replaced without a yes"
keys Return; sleep 1
keys y
for _ in $(seq 40); do [[ $(cat "$work/kept.txt") != keep ]] && break; sleep 0.25; done
cmp "$work/kept.txt" "$work/expected.txt" || fail "kept.txt was not replaced after the yes"

# save FILE: "Сохранить" is focused; the save dialog names FILE.
save() {
    keys space
    wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog for $1"
    type_text "$(windows_path "$work/$1")"
    keys Return
    for _ in $(seq 40); do [[ -e $work/$1 ]] && break; sleep 0.25; done
    [[ -e $work/$1 ]] || fail "$1 was not saved"
    xdotool windowactivate --sync "$main"; sleep 0.5
}

# A grid edit reaches the working copy. The focus is back on "Сохранить":
# back through the lists and buttons to the grid.
xdotool windowactivate --sync "$main"; sleep 0.5
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
keys ctrl+Home Right F2
type_text "6171234.5"
keys Return Down
shown=$("$wine" "$cli_exe" show "$(windows_path "$work/pts.dbf")" | sed -n 2p)
[[ $shown == *$'\t6171234.5\t'* ]] || fail "the edit did not reach the working copy: $shown"

# Typing selects by prefix: "61715" in the X list selects Точка 3's X
# (Windows' own list box would take each character alone: "6", the next X),
# and with it the whole point; "Удалить" takes it; "Рассчет" and
# "Сохранить" then give seven lines without it. (Typed in digits: xdotool
# types letters the keyboard map lacks by remapping keys, which a busy
# machine can race.)
keys ctrl+Tab Tab Tab Tab Tab  # out of the grid to ListBox1, then on to ListBox2
sleep 1                        # a prefix is typed within half a second of key to key
xdotool type --delay 20 "61715"; sleep 0.5
keys shift+Tab shift+Tab      # back over "Рассчет" to "Удалить"
keys space
keys Tab space     # "Рассчет"
keys Tab Tab Tab Tab
save seven.txt
[[ $(wc -l <"$work/seven.txt") == 7 ]] || fail "not seven lines after the delete: $(wc -l <"$work/seven.txt")"
iconv -f CP1251 -t UTF-8 "$work/seven.txt" | grep -q '^Точка 3 ' && fail "Точка 3 was not the point deleted"
iconv -f CP1251 -t UTF-8 "$work/seven.txt" | head -n1 | grep -q '^Репер 1 ' || fail "another point was deleted"

# "Очистить" empties the lists: the file saved then is empty.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space  # "Очистить"
keys Tab Tab Tab Tab Tab Tab
save empty.txt
[[ ! -s $work/empty.txt ]] || fail "the file saved after clearing is not empty"

# Double clicks on each of the eight records in order (rows of 16 pixels
# under a title row as high, in the font Wine gives the window at 96 dpi)
# pick them: the file saved is the traverse of the working copy, as edited.
if [[ $dpi == 96 ]]; then
    for row in 0 1 2 3 4 5 6 7; do doubleClick 60 $((52 + 16 * row)); done
    keys ctrl+Tab Tab Tab Tab space  # "Рассчет"
    keys Tab Tab Tab Tab
    save clicked.txt
    "$wine" "$cli_exe" traverse -o "$(windows_path "$work/clicked-expected.txt")" \
        "$(windows_path "$work/pts.dbf")" 1 2 3 4 5 6 7 8
    cmp "$work/clicked.txt" "$work/clicked-expected.txt" ||
        fail "the double clicks picked $(iconv -f CP1251 -t UTF-8 "$work/clicked.txt")"
fi

# Columns moved and sized with the mouse (places of 96 dpi, as above): the
# title NAME dragged past the last column puts it last (X, Y, NAME), so a
# press on the first cell of the first record and F2 edit that record's X.
# The border right of X, found on the screen (the first dark pixel of the
# title row after the indicator's), dragged 150 pixels right widens X: a
# press 40 pixels right of where that border was is still in X.
drag() {
    xdotool mousemove --window "$main" "$1" "$3" mousedown 1; sleep 0.3
    xdotool mousemove --window "$main" $(( ($1 + $2) / 2 )) "$3"; sleep 0.2
    xdotool mousemove --window "$main" "$2" "$3"; sleep 0.3
    xdotool mouseup 1; sleep 0.5
}
edit_cell() {  # X Y VALUE: typed into the cell there, and posted by Down
    click "$1" "$2"
    keys F2
    type_text "$3"
    keys Return Down
}
title_borders() {  # the x of each dark pixel in the title row, inside the grid's edge
    import -window "$main" -crop 390x1+0+31 +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),0: *(\([0-9]*\),.*/\1 \2/p' | awk '$1 > 2 && $2 < 200 { print $1 }'
}
if [[ $dpi == 96 ]]; then
    drag 30 380 38
    edit_cell 20 54 6171299.99
    shown=$("$wine" "$cli_exe" show "$(windows_path "$work/pts.dbf")" | sed -n 2p)
    [[ $shown == *$'\t6171299.99\t'* ]] || fail "the title NAME dragged last did not move it: $shown"
    border=$(title_borders | sed -n 2p)
    [[ -n $border ]] || fail "no column border found in the title row"
    drag "$border" $((border + 150)) 38
    edit_cell $((border + 40)) 70 6171300.01
    shown=$("$wine" "$cli_exe" show "$(windows_path "$work/pts.dbf")" | sed -n 3p)
    [[ $shown == *$'\t6171300.01\t'* ]] || fail "the border dragged did not widen X: $shown"
fi

# Minimising the window minimises the program to its task bar button (the
# application window's); restoring that shows the window again.
application=$(xdotool search --name '^geocalc$' | head -n1)
xdotool windowminimize --sync "$main"; sleep 1
xdotool search --onlyvisible --name '^расчет геоданных$' >/dev/null 2>&1 && fail "the window stayed after minimising"
xdotool windowactivate "$application" 2>/dev/null || true
wait_for '^расчет геоданных$' >/dev/null || fail "restoring the program did not show the window"

# The show command the program is started with: minimised, it waits on its
# task bar button until restored; maximised, the window fills the screen.
close_program() {
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    for _ in $(seq 40); do xdotool search --name '^расчет геоданных$' >/dev/null 2>&1 || return 0; sleep 0.25; done
    fail "the program did not end"
}
close_program
"$wine" start /min "$(windows_path "$window_exe")" >/dev/null 2>&1
sleep 3
application=$(xdotool search --name '^geocalc$' 2>/dev/null | head -n1 || true)  # minimised: not mapped
[[ -n $application ]] || fail "started minimised, no application window"
xdotool search --onlyvisible --name '^расчет геоданных$' >/dev/null 2>&1 && fail "started minimised, the window shows"
xdotool windowactivate "$application" 2>/dev/null || true
main=$(wait_for '^расчет геоданных$') || fail "restoring the program started minimised did not show the window"
close_program
# Started maximised with a table named: the table opens at once, its
# working copy made.
cp "$work/pts.dat" "$work/named.dat"
"$wine" start /max "$(windows_path "$window_exe")" "$(windows_path "$work/named.dat")" >/dev/null 2>&1
main=$(wait_for '^расчет геоданных$') || fail "started maximised, no window"
for _ in $(seq 20); do [[ -f $work/named.dbf ]] && break; sleep 0.25; done
cmp "$work/named.dbf" "$work/named.dat" || fail "the table named at start was not opened"
sleep 1
width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
[[ $width -gt 900 ]] || fail "started maximised, the window is $width pixels wide"
close_program  # a window with a table open shows no other: the next part starts afresh
"$wine" start /max "$(windows_path "$window_exe")" >/dev/null 2>&1
main=$(wait_for '^расчет геоданных$') || fail "started maximised, no window"
sleep 1
width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
[[ $width -gt 900 ]] || fail "started maximised, the window is $width pixels wide"

# File names in another script: a table in a Cyrillic folder opened, its
# working copy made beside it, three records picked and the results saved
# there under a Cyrillic name. The names are pasted into the dialogs (typed,
# xdotool would remap keys for each letter).
paste_path() {
    printf '%s' "$(windows_path "$1")" | xclip -selection clipboard 2>/dev/null
    sleep 0.3
    keys ctrl+v Return
}
mkdir "$work/Участок"
cp samples/pts.dat "$work/Участок/точки.dat"
xdotool windowactivate --sync "$main"; sleep 0.5
keys space
wait_for '^Open$|^Открыть$' >/dev/null || fail "no open dialog for the Cyrillic name"
paste_path "$work/Участок/точки.dat"
for _ in $(seq 20); do [[ -f $work/Участок/точки.dbf ]] && break; sleep 0.25; done
[[ -f $work/Участок/точки.dbf ]] || fail "no working copy точки.dbf: $(ls "$work/Участок")"
xdotool windowactivate --sync "$main"; sleep 0.5
keys Tab ctrl+Return Down ctrl+Return Down ctrl+Return
keys ctrl+Tab Tab Tab Tab space Tab Tab Tab Tab space
wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog for the Cyrillic name"
paste_path "$work/Участок/итоги.txt"
for _ in $(seq 40); do [[ -s $work/Участок/итоги.txt ]] && break; sleep 0.25; done
"$wine" "$cli_exe" traverse -o "$(windows_path "$work/three.txt")" "$(windows_path "$work/pts.dat")" 1 2 3
cmp "$work/Участок/итоги.txt" "$work/three.txt" || fail "итоги.txt is not the traverse of the first three records"

# Points kept as text: a UTF-8 .csv with decimal commas, picked in the open
# dialog under its own filter, opens as the table its points make; the
# traverse saved from it is what geocalc-cli writes for the same file.
printf '\xef\xbb\xbfname;x;y\r\nТочка 1;1000,00;2000,00\r\nТочка 2;1100,50;2000\r\nТочка 3;1100,5;2150,25\r\n' \
    >"$work/Участок/points.csv"
close_program
"$wine" start /max "$(windows_path "$window_exe")" >/dev/null 2>&1
main=$(wait_for '^расчет геоданных$') || fail "no window for the point text"
sleep 1
xdotool windowactivate --sync "$main"; sleep 0.5
keys space
wait_for '^Open$|^Открыть$' >/dev/null || fail "no open dialog for the point text"
keys Tab Down shift+Tab  # the file type list: its second filter, and back to the name
sleep 0.5
paste_path "$work/Участок/points.csv"
for _ in $(seq 20); do [[ -f $work/Участок/points.dbf ]] && break; sleep 0.25; done
[[ -f $work/Участок/points.dbf ]] || fail "no working copy points.dbf: $(ls "$work/Участок")"
xdotool windowactivate --sync "$main"; sleep 0.5
keys Tab ctrl+Return Down ctrl+Return Down ctrl+Return
keys ctrl+Tab Tab Tab Tab space Tab Tab Tab Tab space
wait_for '^Save As$|^Сохранить как$' >/dev/null || fail "no save dialog for the point text's traverse"
paste_path "$work/Участок/points.txt"
for _ in $(seq 40); do [[ -s $work/Участок/points.txt ]] && break; sleep 0.25; done
"$wine" "$cli_exe" traverse -o "$(windows_path "$work/from-text.txt")" "$(windows_path "$work/Участок/points.csv")" 1 2 3
cmp "$work/Участок/points.txt" "$work/from-text.txt" || fail "the traverse saved from the point text is not geocalc-cli's"
echo "window test at $dpi dpi: passed"

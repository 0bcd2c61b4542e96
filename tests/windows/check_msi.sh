#!/usr/bin/env bash
# Checks the Windows Installer package under Wine: a quiet install puts both
# programs, the sample and the README into Program Files\geocalc and a
# "geocalc" shortcut into the Start menu; the installed geocalc-cli.exe
# answers --version and computes the traverse of the installed sample; a
# quiet uninstall leaves nothing of them.
#
#   tests/windows/check_msi.sh build/windows/geocalc-0.1-win64.msi
set -euo pipefail
cd "$(dirname "$0")/../.."

msi=$(realpath "$1")
wine=$(realpath cmake/run-under-wine.sh)
version=$(sed -n 's/^project(geocalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
prefix=${WINEPREFIX:-$HOME/.wine}
folder="$prefix/drive_c/Program Files/geocalc"
# The Start menu of all users; Wine's installer puts a per-machine shortcut
# into the installing user's own Start menu, which counts as well.
shortcuts=("$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/geocalc.lnk"
    "$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/geocalc.lnk")
shortcutFound() { [[ -f ${shortcuts[0]} || -f ${shortcuts[1]} ]]; }
fail() {
    echo "msi check: $*" >&2
    exit 1
}

"$wine" msiexec /i "$(winepath -w "$msi" 2>/dev/null || echo "Z:${msi//\//\\}")" /qn
for file in geocalc.exe geocalc-cli.exe pts.dat README.txt; do
    [[ -f $folder/$file ]] || fail "$file was not installed into Program Files\\geocalc"
done
shortcutFound || fail "no geocalc shortcut in the Start menu"
[[ $("$wine" "$folder/geocalc-cli.exe" --version) == "geocalc-cli $version" ]] || fail "the installed --version"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$wine" "$folder/geocalc-cli.exe" traverse -o results.txt 'C:\Program Files\geocalc\pts.dat' 1 2 3 4 5 6 7 8)
[[ $(wc -l <"$work/results.txt") == 8 ]] || fail "the installed sample's traverse has not 8 lines"

"$wine" msiexec /x "$(winepath -w "$msi" 2>/dev/null || echo "Z:${msi//\//\\}")" /qn
[[ ! -e $folder ]] || fail "Program Files\\geocalc is left after the uninstall: $(ls "$folder")"
shortcutFound && fail "the shortcut is left after the uninstall"
echo "msi check: $msi passed"

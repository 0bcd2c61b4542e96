#!/usr/bin/env bash
# Checks the Windows zip: exactly the two programs, the README and the
# sample; the programs need no DLL beyond Windows' own and, unpacked
# elsewhere, geocalc-cli.exe answers --version and computes the sample's
# traverse under Wine.
#
#   tests/windows/check_zip.sh build/windows/geocalc-0.1-win64.zip
set -euo pipefail
cd "$(dirname "$0")/../.."

zip=$(realpath "$1")
wine=$(realpath cmake/run-under-wine.sh)
version=$(sed -n 's/^project(geocalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=geocalc-$version-win64
fail() {
    echo "zip check: $*" >&2
    exit 1
}

[[ $(basename "$zip") == "$name.zip" ]] || fail "$zip is not named $name.zip"
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="$name/ $name/README.txt $name/geocalc-cli.exe $name/geocalc.exe $name/pts.dat "
[[ $listed == "$expected" ]] || fail "the zip holds '$listed', not '$expected'"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
cd "$work/$name"

dllsOf() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' '; }
[[ $(dllsOf geocalc-cli.exe) == "KERNEL32.DLL MSVCRT.DLL " ]] ||
    fail "geocalc-cli.exe needs DLLs Windows lacks: $(dllsOf geocalc-cli.exe)"
[[ $(dllsOf geocalc.exe) == "COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL SHELL32.DLL USER32.DLL " ]] ||
    fail "geocalc.exe needs DLLs Windows lacks: $(dllsOf geocalc.exe)"
grep -q $'^# geocalc\r$' README.txt || fail "README.txt is not the README with Windows line ends"
cmp -s pts.dat "$OLDPWD/samples/pts.dat" || fail "pts.dat is not the sample table"

[[ $("$wine" geocalc-cli.exe --version) == "geocalc-cli $version" ]] || fail "--version does not say $version"
"$wine" geocalc-cli.exe traverse -o results.txt pts.dat 1 2 3 4 5 6 7 8
[[ $(wc -l <results.txt) == 8 ]] || fail "the sample's traverse has not 8 lines"
echo "zip check: $zip passed"

#!/usr/bin/env bash
# Checks the Windows zip: exactly the program, the README and the sample; the
# program needs no DLL beyond Windows' own and, unpacked elsewhere, answers
# --version and computes the sample's traverse under Wine.
#
#   tests/windows/check_zip.sh build/windows/geocalc-cli-0.1-win64.zip
set -euo pipefail
cd "$(dirname "$0")/../.."

zip=$(realpath "$1")
wine=$(realpath cmake/run-under-wine.sh)
version=$(sed -n 's/^project(geocalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=geocalc-cli-$version-win64
fail() {
    echo "zip check: $*" >&2
    exit 1
}

[[ $(basename "$zip") == "$name.zip" ]] || fail "$zip is not named $name.zip"
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="$name/ $name/README.txt $name/geocalc-cli.exe $name/pts.dat "
[[ $listed == "$expected" ]] || fail "the zip holds '$listed', not '$expected'"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
cd "$work/$name"

dlls=$(x86_64-w64-mingw32-objdump -p geocalc-cli.exe | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
[[ $dlls == "KERNEL32.DLL MSVCRT.DLL " ]] || fail "the program needs DLLs Windows lacks: $dlls"
grep -q $'^# geocalc\r$' README.txt || fail "README.txt is not the README with Windows line ends"
cmp -s pts.dat "$OLDPWD/samples/pts.dat" || fail "pts.dat is not the sample table"

[[ $("$wine" geocalc-cli.exe --version) == "geocalc-cli $version" ]] || fail "--version does not say $version"
"$wine" geocalc-cli.exe traverse -o results.txt pts.dat 1 2 3 4 5 6 7 8
[[ $(wc -l <results.txt) == 8 ]] || fail "the sample's traverse has not 8 lines"
echo "zip check: $zip passed"

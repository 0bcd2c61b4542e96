#!/usr/bin/env bash
# Checks the Debian package: what it holds, its desktop entry, lintian, and an
# install (its dependencies already present), a run from /usr/bin and a
# removal that leaves nothing behind.
set -euo pipefail
deb=$(realpath "$1")
version=$(dpkg-deb -f "$deb" Version)
fail() { echo "package check: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expected=(/usr/bin/geocalc /usr/bin/geocalc-cli /usr/share/applications/geocalc.desktop
    /usr/share/icons/hicolor/scalable/apps/geocalc.svg /usr/share/man/man1/geocalc.1.gz
    /usr/share/man/man1/geocalc-cli.1.gz /usr/share/geocalc/pts.dat /usr/share/doc/geocalc/copyright
    /usr/share/doc/geocalc/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/geocalc.png"); done
for file in "${expected[@]}"; do grep -qx "$file" <<<"$contents" || fail "$file is not in the package"; done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/geocalc.desktop"
lintian --fail-on error "$deb"

dpkg -i "$deb"
[[ $(/usr/bin/geocalc-cli --version) == "geocalc-cli $version" ]] || fail "geocalc-cli --version"
[[ $(env -u DISPLAY /usr/bin/geocalc --version) == "geocalc $version" ]] || fail "geocalc --version"
first=$(/usr/bin/geocalc-cli traverse --encoding utf-8 /usr/share/geocalc/pts.dat 1 2 3 4 5 6 7 8 | head -n 1)
[[ $first == $'Репер 1 6171234.56 2310456.78 38°35\'53.7" 209.3\r' ]] || fail "traverse on the installed sample: $first"
man -w geocalc-cli > /dev/null || fail "no manual page for geocalc-cli"

dpkg -r geocalc
for file in "${expected[@]}"; do [[ ! -e $file ]] || fail "$file is left after removal"; done
[[ $(dpkg-query -W -f='${Status}' geocalc 2>/dev/null || true) != *' ok installed' ]] || fail "geocalc is still installed"
echo "package check: $deb passed"

#!/bin/sh
# Runs a Windows program under Wine for CTest: quietly, without asking to
# install Wine's .NET and HTML engines, which no program here needs.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "${GEOCALC_WINE:-/usr/lib/wine/wine64}" "$@"

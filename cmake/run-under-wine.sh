#!/bin/sh
# Runs a Windows program under Wine for the tests: quietly, without asking to
# install Wine's .NET and HTML engines, which no program here needs.
#
# The Wine server is kept a minute after its last program: one that stops
# after its usual three seconds can take a program starting at that moment
# down with it ("recvmsg: Connection reset by peer"), and starting it for
# every program is slow. When a server runs already, this one just exits.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
/usr/lib/wine/wineserver64 -p60 2>/dev/null
exec /usr/lib/wine/wine64 "$@"

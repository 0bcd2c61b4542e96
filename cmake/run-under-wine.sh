#!/bin/sh
# Runs a Windows program under Wine for the tests: quietly, without asking to
# install Wine's .NET and HTML engines, which no program here needs.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# The Wine server is kept a minute after its last program: one that stops
# after its usual three seconds can take a program starting at that moment
# down with it ("recvmsg: Connection reset by peer"), and starting it for
# every program is slow. Wine's own background programs start with the first
# program under a new server and keep that program's output open as long as
# they live, which would hold up whoever reads it; they are started here,
# holding nothing of the caller's. When a server runs already, nothing is
# started.
if /usr/lib/wine/wineserver64 -p60 </dev/null >/dev/null 2>&1; then
    /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
fi

# A program that hangs fails its test instead of holding up the run.
exec timeout 600 /usr/lib/wine/wine64 "$@"

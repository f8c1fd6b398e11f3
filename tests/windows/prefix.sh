#!/bin/sh
# Makes the Wine prefix the Windows tests run in, once, and starts its
# session for this run of the tests; "stop" ends the session.
#     tests/windows/prefix.sh PREFIX [stop]
# A program that crashes ends at once with a report instead of waiting on a
# crash dialogue nobody can answer; windows are Wine's own, drawn and
# focused by Wine, as there is no window manager on the tests' X server
# (Wine would otherwise wait two seconds for one at every window it hides);
# Start-menu entries made under Wine stay in the prefix rather than becoming
# the Linux desktop's.
set -e
if [ $# -lt 1 ] || [ $# -gt 2 ] || [ -z "$1" ] || { [ $# -eq 2 ] && [ "$2" != stop ]; }; then
    echo "usage: $0 PREFIX [stop]" >&2
    exit 2
fi
WINEPREFIX=$1
WINEDEBUG=-all
WINEDLLOVERRIDES=winemenubuilder.exe=d
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# A session left from an earlier run may be bound to an X server now gone:
# the tests start a new one on theirs.
wineserver -k 2>/dev/null || true
[ "${2:-}" = stop ] && exit 0
# The stamp names the settings below: changing them makes the prefix anew.
stamp=$WINEPREFIX/.glimmerdeep-prefix-2
if [ ! -f "$stamp" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f >/dev/null 2>&1
    wineserver -w
    touch "$stamp"
fi
# One session for the whole run, up before the tests start side by side:
# each program then starts in a fraction of a second, rather than several
# starting the session at once.
wineserver -p </dev/null >/dev/null 2>&1
wineboot </dev/null >/dev/null 2>&1

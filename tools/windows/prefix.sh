#!/bin/sh
# Makes the Wine prefix the Windows tests run in, once; later runs find it
# ready and return at once.
#     tools/windows/prefix.sh PREFIX
# A program that crashes ends at once with a report instead of waiting on a
# crash dialogue nobody can answer; windows are Wine's own, drawn and
# focused by Wine, as there is no window manager on the tests' X server
# (Wine would otherwise wait two seconds for one at every window it hides).
set -e
WINEPREFIX=$1
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
[ -f "$WINEPREFIX/.glimmerdeep-ready" ] && exit 0
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.glimmerdeep-ready"

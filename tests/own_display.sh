#!/bin/sh
# Runs a test program on an X server of its own, started for it and gone when
# it ends, so that programs that open windows, take the focus or send keys
# can run side by side: no test's windows, focus or keys reach another's.
# Xvfb picks a free display itself and names it once it takes connections
# (-displayfd); without -noreset it would start afresh, refusing connections
# for a moment, each time its last client left.
set -u
if [ $# -eq 0 ]; then
    echo "usage: $0 PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/own-display.XXXXXX") || exit 1
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
if ! read -r number <"$dir/display"; then
    echo "own_display.sh: Xvfb did not start (is the xvfb package installed?)" >&2
    exit 1
fi
DISPLAY=":$number" "$@"

#!/bin/sh
# Builds in release mode and prints every performance figure in one run:
# the collector, sprite drawing, the game in the busiest update play reaches,
# the real program's pacing, CPU, start-up time and memory, the browser
# build's download, time to the menu (first and offline visits in headless
# Chromium, and in Firefox and WebKitGTK), updates a second and the main
# thread's share of a core on a phone, and the Windows build's sizes,
# start-up beside the Linux build's and pacing under Wine. Starts its own X server when there is no display.
# Takes a few minutes.
#
# Ends with one line per figure, "figure NAME VALUE TARGET met" (or MISSED),
# and fails when a benchmark failed (its own checks, or the program it
# measures) or a figure is missing.
set -e
if [ $# -ne 0 ]; then
    echo "usage: tools/bench.sh (it takes no arguments)" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
tools/install-packages.sh test
if [ -z "$DISPLAY" ]; then
    # -noreset: an X server that resets when its last client leaves refuses
    # the next benchmark's connection while it does.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target glimmerdeep gc_bench graphics_bench game_bench pacing bare_window windows_pacing

out=build-bench/bench-output
rm -rf "$out"
mkdir -p "$out"
failed=""

# A benchmark's output goes to a file first, so that its exit status is its
# own and not a filter's; the game's treasure log is left out of the display.
run() {
    name=$1
    shift
    echo "== $name"
    status=0
    "$@" >"$out/$name.txt" 2>&1 || status=$?
    grep -v '^Placed at ' "$out/$name.txt" || true
    if [ "$status" -ne 0 ]; then
        echo "$name FAILED (exit status $status)"
        failed="$failed $name"
    fi
    echo
}

run gc_bench build-bench/bench/gc_bench
run graphics_bench build-bench/bench/graphics_bench
run game_bench build-bench/bench/game_bench
run pacing build-bench/bench/pacing build-bench/glimmerdeep build-bench/data build-bench/bench/bare_window
tools/web.sh >"$out/web-build.txt" 2>&1 || { cat "$out/web-build.txt"; exit 1; }
(cd tests/browser && npm ci --no-audit --no-fund --silent)
run browser node bench/browser/measure.mjs build-web/site
tools/windows.sh >"$out/windows-build.txt" 2>&1 || { cat "$out/windows-build.txt"; exit 1; }
WINEPREFIX=$PWD/build-windows/wine
export WINEPREFIX
tests/windows/prefix.sh "$WINEPREFIX"
run windows build-bench/bench/windows_pacing build-bench/glimmerdeep \
    "$(ls -d build-windows/stage/Glimmerdeep-*-windows-x64)" "$(ls build-windows/Glimmerdeep-*-windows-x64.zip)"
tests/windows/prefix.sh "$WINEPREFIX" stop

echo "== figures"
for name in gc_bench graphics_bench game_bench pacing browser windows; do
    grep '^figure ' "$out/$name.txt" || true
done
for figure in update-busiest cave-easy cave-normal cave-hard playback collector-alloc collector-step frame-whole \
    updates-per-second slowest-second longest-gap first-visible-frame own-memory \
    web-download web-time-to-menu web-offline-time-to-menu web-firefox-time-to-menu web-webkit-time-to-menu \
    web-updates-per-second web-frame-evenness web-main-thread \
    windows-exe-size windows-zip-size windows-start-ratio windows-updates-per-second windows-longest-gap; do
    if ! grep -q "^figure $figure " "$out"/*.txt; then
        echo "figure $figure missing"
        failed="$failed $figure"
    fi
done
if [ -n "$failed" ]; then
    echo "failed:$failed" >&2
    exit 1
fi

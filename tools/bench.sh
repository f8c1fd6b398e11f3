#!/bin/sh
# Builds in release mode and prints every performance figure in one run:
# the collector, sprite drawing, the world and the game in its busiest
# state, and the real program's pacing, CPU, start-up time and memory.
# Starts its own X server when there is no display. Takes a few minutes.
set -e
cd "$(dirname "$0")/.."
if [ -z "$DISPLAY" ]; then
    tools/install-packages.sh
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
tools/install-packages.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_BENCH=ON >/dev/null
cmake --build build-release -j"$(nproc)" --target glimmerdeep gc_bench graphics_bench game_bench pacing bare_window

for bench in gc_bench graphics_bench game_bench; do
    echo "== $bench"
    build-release/bench/$bench 2>&1 | grep -v '^Placed at '
    echo
done
echo "== pacing of the real program"
build-release/bench/pacing build-release/glimmerdeep build-release/data build-release/bench/bare_window

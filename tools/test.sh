#!/bin/sh
# Installs what is needed, builds everything and runs every test headless.
# Starts its own X server when there is no display; needs no sound card.
set -e
cd "$(dirname "$0")/.."
tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -n "$DISPLAY" ]; then
    ctest --test-dir build --output-on-failure -j2
else
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build --output-on-failure -j2
fi

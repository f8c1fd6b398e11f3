#!/bin/sh
# Installs what is needed, builds the game and starts it.
set -e
cd "$(dirname "$0")/.."
tools/install-packages.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_BENCH=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target glimmerdeep
exec build-release/glimmerdeep "$@"

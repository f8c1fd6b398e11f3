#!/bin/sh
# Installs what is needed and builds the game for 64-bit Windows into
# build-windows/: glimmerdeep.exe, the test programs, the zip a player
# unpacks, Glimmerdeep-<version>-windows-x64.zip, and an installer,
# Glimmerdeep-<version>-windows-x64-setup.exe. The data, the icons and the
# Linux program that plays the zip under Wine come from the desktop build
# (build/); GLFW and OpenAL Soft are built once from Debian's source packages
# (platform/windows/deps.sh). Run the Windows tests afterwards with
#     xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build-windows
set -e
if [ $# -ne 0 ]; then
    echo "usage: tools/windows.sh (it takes no arguments)" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
tools/install-packages.sh test windows
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target game_data app_icon windows_program_tests
platform/windows/deps.sh build-windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/platform/windows/toolchain.cmake" \
    -DGLIMMERDEEP_WINDOWS_DEPS="$PWD/build-windows/deps/prefix" -DGLIMMERDEEP_DATA_FROM="$PWD/build" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows -j"$(nproc)"
echo "the Windows build is in $PWD/build-windows:" build-windows/Glimmerdeep-*-windows-x64*

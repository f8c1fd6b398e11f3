#!/bin/sh
# Installs what is needed, builds everything and runs every test headless:
# first the normal build, then the browser build in Chromium (headless,
# desktops, phones and tablets), Firefox and WebKitGTK, then
# the Windows build under Wine, then the whole suite again built by clang
# with AddressSanitizer and UndefinedBehaviorSanitizer, with a short run of
# every fuzz target. Starts its own X server when there is no display; needs
# no sound card.
#
#     tools/test.sh --quick   while working: the normal build and its tests
#                             alone (no fault tests, soak, browsers, Windows
#                             or checked build); what CI runs is the rest too.
set -e
cd "$(dirname "$0")/.."
quick=false
case "${1:-}" in
--quick) quick=true ;;
"") ;;
*)
    echo "usage: tools/test.sh [--quick]" >&2
    exit 2
    ;;
esac
if $quick; then
    tools/install-packages.sh test
else
    tools/install-packages.sh test web windows
fi

# -noreset: otherwise the X server starts afresh each time its last client
# leaves, refusing connections meanwhile, and a test starting just then finds
# no display.
headless() {
    if [ -n "$DISPLAY" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
    fi
}

# Runs ctest, showing its output as it comes, and fails when ctest does or when
# it reports a test that did not run: ctest counts a skipped test as passed.
run_ctest() {
    log=$1
    shift
    { ctest_status=0; headless ctest "$@" 2>&1 || ctest_status=$?; echo "$ctest_status" >"$log.status"; } |
        tee "$log"
    ctest_status=$(cat "$log.status")
    if grep -q "tests did not run" "$log"; then
        echo "some tests did not run (see the list above)" >&2
        [ "$ctest_status" -ne 0 ] || ctest_status=1
    fi
    return "$ctest_status"
}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# The fault tests (damaged data, state files and disks, kills in mid-save)
# run once, in the checked build below, where whatever they provoke is seen.
if $quick; then
    run_ctest build/ctest.log --test-dir build --output-on-failure -j2 -E '^(Reliability|Soak)'
    exit 0
fi
run_ctest build/ctest.log --test-dir build --output-on-failure -j2 -E '^Reliability'

# The same game built for the browser and played in Chromium (desktop, phone
# and tablet screens, offline and updated), Firefox and WebKitGTK; the
# desktop's menu frames it is held against come from the build above.
tools/web.sh
(cd tests/browser && npm ci --no-audit --no-fund --silent)
headless node --test --test-concurrency=1 tests/browser/*.test.mjs

# The same game built for Windows: its test programs run through Wine, and
# the zip played there by the desktop build's program.
tools/windows.sh
run_ctest build-windows/ctest.log --test-dir build-windows --output-on-failure -j2

# The checked build. -O1 keeps building and running it quick; no benchmarks.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DGLIMMERDEEP_FUZZ=ON -DGLIMMERDEEP_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
# Reports are written to files, so that one from a program a test starts (the
# game itself, helper programs) is seen even when that test does not look.
# Mesa leaks a few bytes at exit from a driver it has already unloaded, which
# no suppression can name: leaks are checked by the fuzz targets instead.
reports="$PWD/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
status=0
# The soak already ran its minute above; here it runs half as long, for what
# only the checks can find. The Debian package is a release artefact, tested
# in the first pass: a package of a checked build is nothing anyone ships.
ASAN_OPTIONS="detect_leaks=0:log_path=$reports/asan" UBSAN_OPTIONS="print_stacktrace=1:log_path=$reports/ubsan" \
    GLIMMERDEEP_SOAK_SECONDS=30 run_ctest build-asan/ctest.log --test-dir build-asan --output-on-failure -j2 \
    -E '^Package' || status=$?
if [ -n "$(ls "$reports")" ]; then
    cat "$reports"/*
    echo "sanitizer reports above (kept in $reports)" >&2
    status=1
fi
exit $status

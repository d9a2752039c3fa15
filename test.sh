#!/bin/sh
# Installs what is missing, builds everything and runs every test (no display
# needed): the whole suite, the web page in a headless browser
# (tests/web/run.sh), the fuzz targets' corpus replay and a short fuzz of each
# (fuzz/run.sh), then the whole suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer (leaks included).
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
# A test that hangs fails after five minutes instead of holding up the run.
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 300

# The web page (web.sh) in Debian's Chromium against the headless game.
tests/web/run.sh build

fuzz/run.sh 5

# The sanitizers stop at the first report, so any report fails its test.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVANE_SANITIZE=ON \
    -DHALVANE_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 900

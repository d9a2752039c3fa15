#!/bin/sh
# Installs what is missing, builds everything and runs every test (no display needed).
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# A test that hangs fails after five minutes instead of holding up the run.
ctest --test-dir build -j"$(nproc)" --output-on-failure --timeout 300

#!/bin/sh
# Installs what is missing, builds the game and starts it.
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target halvane
exec build/app/halvane

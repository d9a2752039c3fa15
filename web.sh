#!/bin/sh
# Builds the game as a web page in build-web/: index.html, halvane.js,
# halvane.wasm, halvane.data (the game's files) and the sound tool that makes
# the sounds in the browser (halvane_sounds.*, sounds_worker.js), with the
# empty page that the browser test measures against (floor.*). Installs what
# is missing first (Debian's emscripten among it). Serve the folder over HTTP, e.g.
#   python3 -m http.server -d build-web 8000   and open http://127.0.0.1:8000/
set -e
cd "$(dirname "$0")"
tools/install-deps.sh
# Debian's emscripten runs its JavaScript tools with the node that is
# installed; NODE_PATH lets one from elsewhere find Debian's node modules.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc)" --target halvane halvane_sounds floor

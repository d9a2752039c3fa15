#!/bin/sh
# Shows that the house-rules check catches what it is meant to catch: a clean
# small tree passes, and each kind of breach on its own fails.
here=$(cd "$(dirname "$0")" && pwd)
check="$here/house_rules.sh"
tmp=$(mktemp -d) || exit 2
trap 'rm -rf "$tmp"' EXIT
fail=0

fresh_tree() {
    rm -rf "$tmp/tree"
    mkdir -p "$tmp/tree/platform" "$tmp/tree/world" "$tmp/tree/build-x"
    printf '#include <SDL.h>\n' >"$tmp/tree/platform/display_sdl.cpp"
    printf '#include <SDL.h>\n' >"$tmp/tree/platform/display_sdl_events.cpp"
    printf '#include <emscripten.h>\n' >"$tmp/tree/platform/display_web.cpp"
    printf '#include "world/terrain.h"\n' >"$tmp/tree/world/terrain.cpp"
    # Build trees are not ours to check.
    printf '#include <SDL2/SDL.h>\n' >"$tmp/tree/build-x/generated.cpp"
}

expect() { # expect <0|1> <what>
    sh "$check" "$tmp/tree" 2>/dev/null
    got=$?
    if [ "$got" -ne "$1" ]; then
        echo "house rules: expected exit $1, got $got for: $2" >&2
        fail=1
    fi
}

fresh_tree
expect 0 "a clean tree"

fresh_tree
printf '#include <SDL2/SDL.h>\n' >>"$tmp/tree/world/terrain.cpp"
expect 1 "SDL included by the world"

fresh_tree
printf '  #  include "SDL_events.h"\n' >"$tmp/tree/platform/input.cpp"
expect 1 "an SDL header in the platform outside the window files"

fresh_tree
printf '#include <emscripten/html5.h>\n' >"$tmp/tree/platform/timing.cpp"
expect 1 "emscripten included outside the browser backend"

fresh_tree
printf '#include <AL/al.h>\n' >"$tmp/tree/platform/audio_mixer.cpp"
expect 1 "OpenAL included outside the browser backend"

fresh_tree
printf '#include <emscripten.h>\n' >"$tmp/tree/platform/display_sdl.cpp"
expect 1 "emscripten included by the SDL window"

fresh_tree
mkdir -p "$tmp/tree/tests/web/node_modules/x"
printf 'see spec%smd\n' '.' >"$tmp/tree/tests/web/node_modules/x/README.md"
expect 0 "a downloaded package's own files"

fresh_tree
mkdir -p "$tmp/tree/tests/web"
printf '// as Part %s says\n' '2.4' >"$tmp/tree/tests/web/page_test.mjs"
expect 1 "a section number in a browser test"

fresh_tree
printf '// see Part %s for the file\n' '3.2' >>"$tmp/tree/world/terrain.cpp"
expect 1 "a section number in a comment"

fresh_tree
printf 'Read ../shared/spec%smd first.\n' '.' >"$tmp/tree/README.md"
expect 1 "the papers named in the README"

exit $fail

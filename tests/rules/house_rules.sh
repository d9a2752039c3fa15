#!/bin/sh
# House rules of the source tree, checked on every test run:
#  - only the SDL window's own files (platform/display_sdl*) include SDL, and
#    only the browser backend's (platform/display_web*) emscripten and OpenAL;
#  - no source, script or document refers to the design papers by name or
#    by section number.
# Usage: house_rules.sh <source root>. Exit 0 when the tree keeps the rules.
root="${1:-.}"
cd "$root" || exit 2
status=0

# Every text file we write, without build trees and the git store.
files=$(find . \( -path './build*' -o -path './.git' -o -path './Data' -o -path './Graphics' \
    -o -name node_modules \) -prune \
    -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cmake' \
    -o -name 'CMakeLists.txt' -o -name '*.sh' -o -name '*.md' -o -name 'run' -o -name '*.js' \
    -o -name '*.mjs' -o -name '*.html' \) -print)

sdl=$(echo "$files" | grep -v '^\./platform/display_sdl[^/]*$' |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2/)?SDL' 2>/dev/null)
if [ -n "$sdl" ]; then
    echo "SDL is included outside platform/display_sdl*:" >&2
    echo "$sdl" >&2
    status=1
fi

web=$(echo "$files" | grep -v '^\./platform/display_web[^/]*$' |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](emscripten|AL/)' 2>/dev/null)
if [ -n "$web" ]; then
    echo "emscripten or OpenAL is included outside platform/display_web*:" >&2
    echo "$web" >&2
    status=1
fi

papers=$(echo "$files" | xargs grep -nE 'spec[.]md|Part [1-5][.][0-9]' 2>/dev/null)
if [ -n "$papers" ]; then
    echo "design papers named in the tree:" >&2
    echo "$papers" >&2
    status=1
fi
exit $status

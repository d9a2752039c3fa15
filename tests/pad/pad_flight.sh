#!/bin/sh
# Flies the game with SDL's virtual controller only (pad_flight) on a virtual
# X server of its own, in a copy of the game's folder (the flight's score may
# become the best score), and leaves a screenshot of each step in <shots>.
# Usage: tests/pad/pad_flight.sh build/tests/pad/pad_flight <shots folder>
# Needs xvfb and imagemagick.
set -e
program=$(realpath "$1")
mkdir -p "$2"
shots=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=$(mktemp -d)
cp -r "$root/Data" "$folder/"
for shipped in Graphics Sound; do
    [ -e "$root/$shipped" ] && ln -s "$root/$shipped" "$folder/$shipped"
done
fifo="$folder/display" && mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
server=$!
display=$(timeout 20 head -n 1 "$fifo")
status=0
(cd "$folder" && DISPLAY=":$display" SDL_AUDIODRIVER=dummy "$program" "$shots") || status=$?
kill "$server"
rm -rf "$folder"
ls "$shots"
exit $status

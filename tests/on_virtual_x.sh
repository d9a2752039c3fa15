#!/bin/sh
# Runs a window check (the controllers', the window at rest) on a virtual X
# server of its own (Xvfb picks a free display number), so it needs no
# display of the caller's.
# Usage: on_virtual_x.sh <check program>
program="$1"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
server=$!
display=$(timeout 20 head -n 1 "$fifo")
rm -f "$fifo"
if [ -z "$display" ]; then
    kill "$server" 2>/dev/null
    echo "Xvfb did not start" >&2
    exit 1
fi
# Under the sanitizers, the X and D-Bus libraries that SDL loads keep memory
# to the end (and are unloaded before a leak report could name them); the
# leak check of the game's own code is the other tests' work.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" DISPLAY=":$display" "$program"
status=$?
kill "$server"
wait "$server" 2>/dev/null
exit $status
